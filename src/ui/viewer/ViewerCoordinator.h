#pragma once
// Owns the application's two windows and what happens between them: it
// makes the library window, brings it back, hides it while the viewer
// shows a file from the file manager, and routes the model's errors to
// whichever window can show them. The model presents and dismisses the
// viewer through it.

#include "ViewerConnection.h"

#include <QObject>
#include <QPointer>

namespace mirelo {

class ActionRegistry;
class AppModel;
class LibraryWindow;

class ViewerCoordinator : public QObject, public ViewerConnection {
    Q_OBJECT
public:
    static ViewerCoordinator& shared();
    ViewerCoordinator();
    ~ViewerCoordinator() override;

    // Follows `model` from now on; `actions` gives the windows their menus.
    void connect(AppModel& model, ActionRegistry& actions);

    LibraryWindow* libraryWindow() const;
    void makeLibraryIfNeeded();
    void registerLibrary(LibraryWindow* window);
    // Closes the viewer and brings the library window forward.
    void reopenLibrary();
    void prepareToQuit();
    void copyImage();

    // Set while files from the file manager open: the library stays hidden.
    bool openingExternalFile = false;
    // Bring the library window back when the viewer closes.
    bool restoreLibraryOnDismiss = false;

    // ViewerConnection.
    void present(const MediaItem& item) override;
    void dismiss() override;
    bool isPresenting() const override { return presented_; }
    void setItems(const MediaItems& items, const MediaItem& current) override;
    bool confirmTrash(const MediaItems& items) override;

Q_SIGNALS:
    void revealRequested(const std::vector<std::string>& paths);

private:
    void libraryWillClose();
    void libraryBecameKey();
    void followError();
    void followSettings();

    AppModel* model_ = nullptr;
    ActionRegistry* actions_ = nullptr;
    QPointer<LibraryWindow> libraryWindow_;
    bool presented_ = false;
};

} // namespace mirelo
