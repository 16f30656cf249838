#include "AppDelegate.h"

#include "AppModel.h"
#include "common/FileDialogPanel.h"
#include "common/FolderPromptSheet.h"
#include "common/AlertDialog.h"
#include "common/DesktopServices.h"
#include "library/LibraryWindow.h"
#include "viewer/OverlayWindow.h"
#include "viewer/ViewerCoordinator.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <sys/stat.h>

namespace mirelo {

AppDelegate::AppDelegate(AppModel& model, QObject* parent) : QObject(parent), model_(model), actions_(model)
{
    connect(&actions_, &ActionRegistry::windowCommand, this, &AppDelegate::windowCommand);
}

AppDelegate::~AppDelegate()
{
    model_.setOpenPanel(nullptr);
    model_.setFolderPrompt(nullptr);
}

void AppDelegate::willFinishLaunching()
{
    ViewerCoordinator& coordinator = ViewerCoordinator::shared();
    auto window = [] { return static_cast<QWidget*>(ViewerCoordinator::shared().libraryWindow()); };
    openPanel_ = std::make_unique<FileDialogPanel>(window);
    folderPrompt_ = std::make_unique<FolderPromptSheet>(window);
    model_.setOpenPanel(openPanel_.get());
    model_.setFolderPrompt(folderPrompt_.get());
    coordinator.connect(model_, actions_);
    connect(&coordinator, &ViewerCoordinator::revealRequested, this,
            [](const std::vector<std::string>& paths) { DesktopServices::reveal(paths); });
}

void AppDelegate::didFinishLaunching(bool defaultLaunch)
{
    if (defaultLaunch && !receivedFileOpen_) ViewerCoordinator::shared().reopenLibrary();
}

void AppDelegate::reopen() { ViewerCoordinator::shared().reopenLibrary(); }

void AppDelegate::openFiles(const std::vector<std::string>& paths)
{
    if (paths.empty()) return;
    receivedFileOpen_ = true;
    ViewerCoordinator& coordinator = ViewerCoordinator::shared();
    auto isFolder = [](const std::string& path) {
        struct stat attributes;
        return ::stat(path.c_str(), &attributes) == 0 && S_ISDIR(attributes.st_mode);
    };
    const bool folder = std::any_of(paths.begin(), paths.end(), isFolder);
    // Only what will open hides the library: a bad path leaves it as it is,
    // and the model says what is wrong.
    const bool opens = std::any_of(paths.begin(), paths.end(),
                                   [](const std::string& path) { return MediaItem::read(path).has_value(); });
    if (!folder && opens) {
        // The viewer alone appears.
        coordinator.openingExternalFile = true;
        coordinator.restoreLibraryOnDismiss = false;
        if (LibraryWindow* window = coordinator.libraryWindow()) window->hide();
    } else if (folder) {
        coordinator.reopenLibrary();
    }
    model_.open(paths);
}

bool AppDelegate::shouldTerminate()
{
    try {
        model_.flushLibrary();
    } catch (const LibraryError& error) {
        QPointer<AlertDialog> box =
            new AlertDialog(ViewerCoordinator::shared().libraryWindow(), QStringLiteral("Couldn’t save your library"),
                            QStringLiteral("Your media files are safe. ") + QString::fromStdString(error.what()));
        box->setAttribute(Qt::WA_DeleteOnClose, false);
        box->addButton(QStringLiteral("Keep Open"), AlertDialog::Role::Cancel);
        box->addButton(QStringLiteral("Quit Anyway"), AlertDialog::Role::Destructive);
        const bool quit = box->exec() == QDialog::Accepted;
        delete box;
        if (!quit) return false;
    }
    ViewerCoordinator::shared().prepareToQuit();
    return true;
}

void AppDelegate::closeWindow()
{
    ViewerCoordinator& coordinator = ViewerCoordinator::shared();
    QWidget* key = QApplication::activeWindow();
    // With no window in front, Close Window closes the viewer.
    if (!key) {
        if (coordinator.isPresenting() || !coordinator.libraryWindow()) Q_EMIT coordinator.closeRequested();
        return;
    }
    key->close();
}

void AppDelegate::windowCommand(ActionRegistry::Command command)
{
    using Command = ActionRegistry::Command;
    ViewerCoordinator& coordinator = ViewerCoordinator::shared();
    QWidget* key = QApplication::activeWindow();
    switch (command) {
    case Command::showLibrary: coordinator.reopenLibrary(); break;
    case Command::closeWindow: closeWindow(); break;
    case Command::quit:
        if (shouldTerminate()) QApplication::exit(0);
        break;
    case Command::copyImage: coordinator.copyImage(); break;
    case Command::reveal:
        if (model_.current()) DesktopServices::reveal({std::string(model_.current()->path())});
        break;
    case Command::selectAll:
        // In the library: every card matching the filters, in selection mode.
        if (key && key == coordinator.libraryWindow() && !model_.loadingContent()) {
            model_.setSelecting(true);
            if (model_.selection().size() != size_t(model_.visible().size())) model_.toggleSelectAll();
        }
        break;
    case Command::copy:
        if (key && key == coordinator.libraryWindow() && !model_.selection().empty()) model_.copySelection();
        break;
    case Command::minimize:
        if (key) key->showMinimized();
        break;
    case Command::zoom:
        // In the viewer it switches compact and immersive.
        if (key && key == static_cast<QWidget*>(coordinator.viewerWindow()))
            coordinator.toggleCompact();
        else if (key)
            key->isMaximized() ? key->showNormal() : key->showMaximized();
        break;
    case Command::about:
        QMessageBox::about(key, QStringLiteral("About Mirelo"),
                           QStringLiteral("<b>Mirelo</b> %1<br>Every image. Beautifully simple.<br><br>"
                                          "A media library and image viewer that keeps everything on your computer.")
                               .arg(QApplication::applicationVersion()));
        break;
    default: break;
    }
}

} // namespace mirelo
