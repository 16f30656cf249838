#pragma once
// The application's two windows and the rules between them: it makes the
// library window when it is first wanted and brings it back, hides it while
// the viewer is on screen and shows it again when the viewer closes (unless
// the viewer opened alone, for files from the file manager), closes the
// viewer when the user turns to the library, opens Settings over it, and
// routes the model's errors to whichever window can show them.

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

namespace mirelo {

class ActionRegistry;
class AppModel;
class LibraryWindow;
class ViewerCoordinator;

class WindowShell : public QObject {
    Q_OBJECT
public:
    WindowShell(AppModel& model, ActionRegistry& actions, QObject* parent = nullptr);
    ~WindowShell() override;

    LibraryWindow* libraryWindow() const { return library_; }
    ViewerCoordinator& viewer() const { return *viewer_; }

    // Closes the viewer and brings the library window forward.
    void reopenLibrary();
    // The library window forward with Settings on it.
    void showSettings();
    // Files from the file manager open: the viewer appears alone, and the
    // library stays hidden when it closes.
    void showViewerAlone();
    // Keeps the library's frame and closes the viewer.
    void prepareToQuit();
    // Waits for the pictures being prepared for the windows.
    void finishWork();

Q_SIGNALS:
    void revealRequested(const std::vector<std::string>& paths);

private:
    void makeLibraryIfNeeded();
    void closeViewer();
    void viewerOpening();
    void viewerDismissed();
    void libraryBecameActive();
    void followError();

    AppModel& model_;
    ActionRegistry& actions_;
    std::unique_ptr<ViewerCoordinator> viewer_;
    QPointer<LibraryWindow> library_;
    // Set while files from the file manager open: the library stays hidden.
    bool viewerAlone_ = false;
    // Bring the library window back when the viewer closes.
    bool restoreLibrary_ = false;
};

} // namespace mirelo
