#include "SelectionShareButton.h"
#include "Translation.h"

#include "common/AlertDialog.h"
#include "common/DesktopServices.h"

#include <QMenu>
#include <QPointer>

namespace mirelo {

SelectionShareButton::SelectionShareButton(QWidget* parent)
    : CapsuleButton(translate("Mirelo", "Share"), Kind::bordered, parent)
{
    setPointSize(11);
    setSymbol(QStringLiteral("send-to-symbolic"));
    setToolTip(translate("Mirelo", "Share selected files"));
    setAccessibleName(translate("Mirelo", "Share selected files"));
    setFixedSize(72, 24);
    connect(this, &QAbstractButton::clicked, this, &SelectionShareButton::share);
}

QMenu* SelectionShareButton::makeMenu(const std::vector<std::string>& files)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(translate("Mirelo", "Email…"), this, [files] { DesktopServices::email(files); });
    QAction* openWith = menu->addAction(translate("Mirelo", "Open With…"), this, [this, files] {
        QPointer<QWidget> window = this->window();
        DesktopServices::openWith(files.front(), [window](bool openedByDefault) {
            if (!window) return;
            AlertDialog::inform(window, translate("Mirelo", "No application chooser"),
                                openedByDefault
                                    ? translate("Mirelo", "This desktop has no way to choose an application, so the "
                                                          "file was opened in its default application.")
                                    : translate("Mirelo", "This desktop has no way to choose an application, and no "
                                                          "application is set to open this file."));
        });
    });
    openWith->setEnabled(files.size() == 1); // the desktop's chooser takes one file
    menu->addAction(translate("Mirelo", "Show in File Manager"), this, [files] { DesktopServices::reveal(files); });
    return menu;
}

void SelectionShareButton::share()
{
    const std::vector<std::string> files = files_ ? files_() : std::vector<std::string>();
    if (files.empty()) return;
    // Above the button.
    QMenu* menu = makeMenu(files);
    const QSize size = menu->sizeHint();
    menu->popup(mapToGlobal(QPoint(0, -size.height() - 4)));
}

} // namespace mirelo
