#include "WindowShell.h"
#include "Translation.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "common/AlertDialog.h"
#include "library/LibraryWindow.h"
#include "viewer/OverlayWindow.h"
#include "viewer/ViewerCoordinator.h"

#include <QApplication>
#include <QScreen>

namespace mirelo {

WindowShell::WindowShell(AppModel& model, ActionRegistry& actions, QObject* parent)
    : QObject(parent), model_(model), actions_(actions), viewer_(std::make_unique<ViewerCoordinator>())
{
    ViewerCoordinator& viewer = *viewer_;
    connect(&viewer, &ViewerCoordinator::libraryRequested, this, &WindowShell::reopenLibrary);
    connect(&viewer, &ViewerCoordinator::opening, this, &WindowShell::viewerOpening);
    connect(&viewer, &ViewerCoordinator::shown, this, [this] {
        if (library_) library_->hide();
    });
    connect(&viewer, &ViewerCoordinator::dismissed, this, &WindowShell::viewerDismissed);
    connect(&model, &AppModel::errorMessageChanged, this, &WindowShell::followError);
    viewer.connect(model, actions);
}

WindowShell::~WindowShell()
{
    delete library_;
    viewer_.reset();
}

void WindowShell::makeLibraryIfNeeded()
{
    if (library_) return;
    library_ = new LibraryWindow(model_, actions_);
    library_->resize(AppSettings::kWindowWidth, AppSettings::kWindowHeight);
    if (library_->restoreFrame()) {
        // Where the user left it.
    } else if (const QScreen* screen = QApplication::primaryScreen()) {
        QRect frame = library_->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        library_->move(frame.topLeft());
    }
    // Closing the library window closes the viewer too, and neither comes back.
    connect(library_, &LibraryWindow::willClose, this, &WindowShell::closeViewer);
    connect(library_, &LibraryWindow::becameActive, this, &WindowShell::libraryBecameActive);
    connect(library_, &LibraryWindow::revealRequested, this, &WindowShell::revealRequested);
}

// Closes the viewer without bringing the library back.
void WindowShell::closeViewer()
{
    restoreLibrary_ = false;
    viewer_->requestClose();
}

void WindowShell::viewerOpening()
{
    restoreLibrary_ = !viewerAlone_ && library_ && library_->isVisible();
    viewerAlone_ = false;
    // The compact viewer takes the library's place.
    if (library_) viewer_->setHome(library_->geometry(), library_->screen());
}

void WindowShell::viewerDismissed()
{
    if (!restoreLibrary_ || !library_) return;
    library_->show();
    library_->raise();
    library_->activateWindow();
}

// The user clicked the library while the viewer was open: the viewer closes
// and the library stays in front. Until the viewer is on screen the library
// is still the window in front (it may become active late, from an earlier
// closing), and the opening goes on.
void WindowShell::libraryBecameActive()
{
    if (!library_ || !library_->isActiveWindow() || !viewer_->isPresenting() || viewer_->awaitingFirstFrame()) return;
    closeViewer();
}

void WindowShell::reopenLibrary()
{
    viewerAlone_ = false;
    model_.clearDeferredOpen();
    makeLibraryIfNeeded();
    closeViewer();
    if (library_->isMinimized() || library_->isFullScreen()) library_->showNormal();
    library_->show();
    library_->raise();
    library_->activateWindow();
}

void WindowShell::showViewerAlone()
{
    if (!viewer_->isPresenting()) viewerAlone_ = true;
    restoreLibrary_ = false;
    if (library_) library_->hide();
}

void WindowShell::prepareToQuit()
{
    if (library_ && library_->isVisible()) library_->saveFrame();
    closeViewer();
}

void WindowShell::finishWork() { viewer_->finishWork(); }

void WindowShell::followError()
{
    if (!model_.errorMessage()) return;
    // The library window shows its own errors while it is on screen.
    const bool presented = viewer_->isPresenting();
    if (!presented && library_ && library_->isVisible()) return;
    const QString message = *model_.errorMessage();
    model_.setErrorMessage(std::nullopt);
    if (presented && viewer_->viewerWindow()) {
        AlertDialog::inform(viewer_->viewerWindow(), translate("Mirelo", "Mirelo couldn’t complete that"), message);
        return;
    }
    AlertDialog::inform(nullptr, translate("Mirelo", "Mirelo couldn’t open that"), message);
}

// Settings open in the library window, over which the viewer closes.
void WindowShell::showSettings()
{
    reopenLibrary();
    library_->showSettings();
}

} // namespace mirelo
