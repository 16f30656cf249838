#include "LibraryFooter.h"
#include "Translation.h"

#include "AppModel.h"
#include "LibraryTexts.h"
#include "SelectionCopyButton.h"
#include "SelectionShareButton.h"
#include "common/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

namespace mirelo {

LibraryFooter::LibraryFooter(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(32, 0, 32, 0);
    row->setSpacing(8);
    loading_ = new QProgressBar(this);
    loading_->setRange(0, 0);
    loading_->setTextVisible(false);
    loading_->setFixedSize(36, 5);
    row->addWidget(loading_);
    text_ = new QLabel(this);
    text_->setFont(Palette::font(11));
    row->addWidget(text_, 1);
    hint_ = new QLabel(translate("Mirelo", "Double-click an image to open"), this);
    hint_->setFont(Palette::font(11));
    hint_->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(hint_);
    copy_ = new SelectionCopyButton(model_, this);
    copy_->setFixedHeight(24);
    row->addWidget(copy_);
    share_ = new SelectionShareButton(this);
    share_->setFiles([this] {
        std::vector<std::string> files;
        for (const MediaItem& item : model_.selectedItems()) files.emplace_back(item.path());
        return files;
    });
    row->addWidget(share_);
    trash_ = new CapsuleButton(translate("Mirelo", "Move to Trash"), CapsuleButton::Kind::destructive, this);
    trash_->setPointSize(11);
    trash_->setSymbol(QStringLiteral("user-trash-symbolic"));
    trash_->setFixedHeight(24);
    connect(trash_, &QAbstractButton::clicked, this, [this] { model_.requestTrash(model_.selectedItems()); });
    row->addWidget(trash_);

    for (auto signal : {&AppModel::selectingChanged, &AppModel::selectionChanged, &AppModel::visibleChanged,
                        &AppModel::loadingContentChanged, &AppModel::busyChanged, &AppModel::scanningChanged})
        connect(&model_, signal, this, &LibraryFooter::refresh);
    refresh();
}

QString LibraryFooter::text() const { return text_->text(); }

void LibraryFooter::refresh()
{
    const bool selecting = model_.selecting();
    const bool loading = model_.loadingContent();
    loading_->setVisible(!selecting && loading);
    text_->setText(selecting ? LibraryTexts::footerSelection(model_) : LibraryTexts::footerCount(model_));
    text_->setForegroundRole(selecting ? QPalette::PlaceholderText : QPalette::WindowText);
    hint_->setVisible(!selecting);
    for (QWidget* button : std::initializer_list<QWidget*>{copy_, share_, trash_}) button->setVisible(selecting);
    if (!selecting) return;
    const bool some = !model_.selection().empty();
    share_->setEnabled(some && !model_.busy() && !loading);
    trash_->setEnabled(some && !model_.busy() && !model_.scanning() && !loading);
}

// A hairline above the footer.
void LibraryFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QColor line = palette().color(QPalette::WindowText);
    line.setAlphaF(0.1f);
    painter.fillRect(QRect(0, 0, width(), 1), line);
}

} // namespace mirelo
