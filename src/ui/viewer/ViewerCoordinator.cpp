#include "ViewerCoordinator.h"

#include "AppModel.h"
#include "library/LibraryWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

namespace mirelo {

ViewerCoordinator& ViewerCoordinator::shared()
{
    static ViewerCoordinator* coordinator = new ViewerCoordinator;
    return *coordinator;
}

ViewerCoordinator::ViewerCoordinator() = default;

ViewerCoordinator::~ViewerCoordinator()
{
    if (model_) model_->setViewer(nullptr);
    delete libraryWindow_;
}

LibraryWindow* ViewerCoordinator::libraryWindow() const { return libraryWindow_; }

void ViewerCoordinator::connect(AppModel& model, ActionRegistry& actions)
{
    model_ = &model;
    actions_ = &actions;
    model.setViewer(this);
    QObject::connect(&model, &AppModel::errorMessageChanged, this, &ViewerCoordinator::followError);
    QObject::connect(&model, &AppModel::showingSettingsChanged, this, &ViewerCoordinator::followSettings);
}

void ViewerCoordinator::makeLibraryIfNeeded()
{
    if (libraryWindow_ || !model_) return;
    auto* window = new LibraryWindow(*model_, *actions_);
    window->resize(1180, 780);
    if (window->restoreFrame()) {
        // Where the user left it.
    } else if (const QScreen* screen = QApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    registerLibrary(window);
}

void ViewerCoordinator::registerLibrary(LibraryWindow* window)
{
    if (libraryWindow_ == window) return;
    if (libraryWindow_) libraryWindow_->disconnect(this);
    libraryWindow_ = window;
    QObject::connect(window, &LibraryWindow::willClose, this, &ViewerCoordinator::libraryWillClose);
    QObject::connect(window, &LibraryWindow::becameKey, this, &ViewerCoordinator::libraryBecameKey);
    QObject::connect(window, &LibraryWindow::revealRequested, this, &ViewerCoordinator::revealRequested);
}

void ViewerCoordinator::libraryWillClose()
{
    restoreLibraryOnDismiss = false;
    if (model_) model_->setCurrent(std::nullopt);
    restoreLibraryOnDismiss = true;
}

// The user clicked the library while the viewer was open: the viewer closes
// and the library stays in front.
void ViewerCoordinator::libraryBecameKey()
{
    if (!libraryWindow_ || !libraryWindow_->isActiveWindow() || !presented_) return;
    libraryWillClose();
}

void ViewerCoordinator::reopenLibrary()
{
    openingExternalFile = false;
    makeLibraryIfNeeded();
    restoreLibraryOnDismiss = false;
    if (model_) model_->setCurrent(std::nullopt);
    dismiss();
    restoreLibraryOnDismiss = true;
    if (!libraryWindow_) return;
    if (libraryWindow_->isMinimized()) libraryWindow_->showNormal();
    if (libraryWindow_->isFullScreen()) libraryWindow_->showNormal();
    libraryWindow_->show();
    libraryWindow_->raise();
    libraryWindow_->activateWindow();
}

void ViewerCoordinator::prepareToQuit()
{
    if (libraryWindow_ && libraryWindow_->isVisible()) libraryWindow_->saveFrame();
    restoreLibraryOnDismiss = false;
    if (model_) model_->setCurrent(std::nullopt);
    dismiss();
}

void ViewerCoordinator::copyImage() {}

void ViewerCoordinator::present(const MediaItem&)
{
    // The viewer window arrives with the viewer; until then the model's
    // current item is all that changes.
}

void ViewerCoordinator::dismiss()
{
    const bool was = presented_;
    presented_ = false;
    if (was && restoreLibraryOnDismiss && libraryWindow_) {
        libraryWindow_->show();
        libraryWindow_->raise();
        libraryWindow_->activateWindow();
    }
}

void ViewerCoordinator::setItems(const MediaItems&, const MediaItem&) {}

bool ViewerCoordinator::confirmTrash(const MediaItems&) { return false; }

void ViewerCoordinator::followError()
{
    if (!model_ || !model_->errorMessage()) return;
    // The library window shows its own errors while it is on screen.
    if (!presented_ && libraryWindow_ && libraryWindow_->isVisible()) return;
    const QString message = *model_->errorMessage();
    model_->setErrorMessage(std::nullopt);
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Mirelo couldn’t open that"),
                                QStringLiteral("Mirelo couldn’t open that"), QMessageBox::Ok);
    box->setInformativeText(message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->open();
}

void ViewerCoordinator::followSettings()
{
    if (model_ && model_->showingSettings() && presented_) reopenLibrary();
}

} // namespace mirelo
