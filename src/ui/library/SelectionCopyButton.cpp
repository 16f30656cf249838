#include "SelectionCopyButton.h"
#include "Translation.h"

#include "AppModel.h"

namespace mirelo {

SelectionCopyButton::SelectionCopyButton(AppModel& model, QWidget* parent)
    : CapsuleButton(translate("Mirelo", "Copy"), Kind::bordered, parent), model_(model)
{
    setPointSize(11);
    setToolTip(translate("Mirelo", "Copy selected files to paste in your file manager or another app"));
    setMinimumWidth(48);
    feedback_.setSingleShot(true);
    feedback_.setInterval(kFeedbackMs);
    // The timer belongs to the button: it stops when the button goes.
    connect(&feedback_, &QTimer::timeout, this, &SelectionCopyButton::refresh);
    connect(this, &QAbstractButton::clicked, this, &SelectionCopyButton::copy);
    for (auto signal : {&AppModel::selectionChanged, &AppModel::busyChanged, &AppModel::loadingContentChanged})
        connect(&model_, signal, this, &SelectionCopyButton::refresh);
    refresh();
}

void SelectionCopyButton::copy()
{
    if (!model_.copySelection()) return; // the model shows the error
    feedback_.start();                   // a second copy restarts the confirmation
    refresh();
}

void SelectionCopyButton::refresh()
{
    const bool copied = feedback_.isActive();
    setText(copied ? translate("Mirelo", "Copied") : translate("Mirelo", "Copy"));
    setAccessibleName(text());
    setSymbol(copied ? QStringLiteral("object-select-symbolic") : QStringLiteral("edit-copy-symbolic"));
    setEnabled(!model_.selection().empty() && !model_.busy() && !model_.loadingContent());
}

} // namespace mirelo
