#include "AppDelegate.h"
#include "Translation.h"

#include "AppModel.h"
#include "common/FileDialogPanel.h"
#include "common/FolderPromptSheet.h"
#include "common/AlertDialog.h"
#include "common/DesktopServices.h"
#include "images/LoadableModule.h"
#include "ThumbnailStore.h"
#include "ViewerPipeline.h"
#include "library/LibraryWindow.h"
#include "viewer/OverlayWindow.h"
#include "viewer/ViewerCoordinator.h"
#include "WindowShell.h"

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
    setModuleFailureListener({});
    model_.setOpenPanel(nullptr);
    model_.setFolderPrompt(nullptr);
    shell_.reset();
}

void AppDelegate::finishWork()
{
    if (shell_) shell_->finishWork();
}

void AppDelegate::willFinishLaunching()
{
    auto window = [this] { return static_cast<QWidget*>(shell_ ? shell_->libraryWindow() : nullptr); };
    openPanel_ = std::make_unique<FileDialogPanel>(window);
    folderPrompt_ = std::make_unique<FolderPromptSheet>(window);
    model_.setOpenPanel(openPanel_.get());
    model_.setFolderPrompt(folderPrompt_.get());
    model_.setThumbnailCache(ThumbnailStore::shared().disk());
    shell_ = std::make_unique<WindowShell>(model_, actions_);
    // A module that will not load is said once, plainly, instead of every
    // picture failing as if it were damaged.
    setModuleFailureListener([self = QPointer<AppDelegate>(this)](const ModuleFailure& failure) {
        QMetaObject::invokeMethod(qApp, [self, failure] {
            if (!self) return;
            QString what = QString::fromStdString(failure.what);
            if (!what.isEmpty()) what[0] = what[0].toUpper();
            self->model_.setErrorMessage(
                translate("Mirelo", "%1 unavailable: Mirelo couldn’t load its part %2 (%3). Reinstalling Mirelo should "
                                    "bring them back.")
                    .arg(what, QString::fromStdString(failure.module), QString::fromStdString(failure.reason)));
        });
    });
    connect(shell_.get(), &WindowShell::revealRequested, this,
            [](const std::vector<std::string>& paths) { DesktopServices::reveal(paths); });
}

void AppDelegate::didFinishLaunching(bool defaultLaunch)
{
    if (defaultLaunch && !receivedFileOpen_) shell_->reopenLibrary();
}

void AppDelegate::reopen() { shell_->reopenLibrary(); }

void AppDelegate::startFirstPicture(const std::vector<std::string>& paths)
{
    if (paths.empty()) return;
    const std::optional<MediaItem> item = MediaItem::read(paths.front());
    if (!item || item->isVideo()) return;
    ViewerPipeline& pipeline = ViewerPipeline::shared();
    pipeline.setFrameBox(ViewerCoordinator::frameBoxFor(QApplication::primaryScreen()));
    pipeline.load(*item, ViewerPipeline::veryHigh);
}

void AppDelegate::openFiles(const std::vector<std::string>& paths)
{
    if (paths.empty()) return;
    receivedFileOpen_ = true;
    auto isFolder = [](const std::string& path) {
        struct stat attributes;
        return ::stat(path.c_str(), &attributes) == 0 && S_ISDIR(attributes.st_mode);
    };
    const bool folder = std::any_of(paths.begin(), paths.end(), isFolder);
    // Only what will open hides the library: a bad path leaves it as it is,
    // and the model says what is wrong.
    const bool opens = std::any_of(paths.begin(), paths.end(),
                                   [](const std::string& path) { return MediaItem::read(path).has_value(); });
    if (!folder && opens)
        shell_->showViewerAlone();
    else if (folder)
        shell_->reopenLibrary();
    model_.open(paths);
}

bool AppDelegate::shouldTerminate()
{
    try {
        model_.flushLibrary();
    } catch (const LibraryError& error) {
        QPointer<AlertDialog> box =
            new AlertDialog(shell_->libraryWindow(), translate("Mirelo", "Couldn’t save your library"),
                            translate("Mirelo", "Your media files are safe. ") + QString::fromStdString(error.what()));
        box->setAttribute(Qt::WA_DeleteOnClose, false);
        box->addButton(translate("Mirelo", "Keep Open"), AlertDialog::Role::Cancel);
        box->addButton(translate("Mirelo", "Quit Anyway"), AlertDialog::Role::Destructive);
        const bool quit = box->exec() == QDialog::Accepted;
        delete box;
        if (!quit) return false;
    }
    shell_->prepareToQuit();
    return true;
}

void AppDelegate::closeWindow()
{
    QWidget* key = QApplication::activeWindow();
    // With no window in front, Close Window closes the viewer.
    if (!key) {
        if (shell_->viewer().isPresenting() || !shell_->libraryWindow()) shell_->viewer().requestClose();
        return;
    }
    key->close();
}

void AppDelegate::windowCommand(ActionRegistry::Command command)
{
    using Command = ActionRegistry::Command;
    ViewerCoordinator& viewer = shell_->viewer();
    QWidget* library = shell_->libraryWindow();
    QWidget* key = QApplication::activeWindow();
    switch (command) {
    case Command::showLibrary: shell_->reopenLibrary(); break;
    case Command::settings: shell_->showSettings(); break;
    case Command::closeWindow: closeWindow(); break;
    case Command::quit:
        if (shouldTerminate()) QApplication::exit(0);
        break;
    case Command::copyImage: viewer.copyImage(); break;
    case Command::reveal:
        if (model_.current()) DesktopServices::reveal({std::string(model_.current()->path())});
        break;
    case Command::selectAll:
        // In the library: every card matching the filters, in selection mode.
        if (key && key == library && !model_.loadingContent()) {
            model_.setSelecting(true);
            if (model_.selection().size() != size_t(model_.visible().size())) model_.toggleSelectAll();
        }
        break;
    case Command::copy:
        if (key && key == library && !model_.selection().empty()) model_.copySelection();
        break;
    case Command::minimize:
        if (key) key->showMinimized();
        break;
    case Command::zoom:
        // In the viewer it switches compact and immersive.
        if (key && key == static_cast<QWidget*>(viewer.viewerWindow()))
            viewer.toggleCompact();
        else if (key)
            key->isMaximized() ? key->showNormal() : key->showMaximized();
        break;
    case Command::about:
        QMessageBox::about(key, translate("Mirelo", "About Mirelo"),
                           translate("Mirelo",
                                     "<b>Mirelo</b> %1<br>Every image. Beautifully simple.<br><br>"
                                     "A media library and image viewer that keeps everything on your computer.")
                               .arg(QApplication::applicationVersion()));
        break;
    default: break;
    }
}

} // namespace mirelo
