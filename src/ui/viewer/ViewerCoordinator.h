#pragma once
// The viewer: it presents the model's current item (the window appears only
// once there is something to show), loads each item through the frame
// pipeline with its neighbours ahead, routes the viewer's keys, switches
// immersive and compact, hides the chrome after a moment, plays video and
// asks before moving the shown file to the Trash. The window it takes the
// place of, and what happens to it, is the shell's business: the viewer
// says when it opens, shows and closes.

#include "AppSettings.h"
#include "library/MediaItem.h"
#include "ViewerActions.h"
#include "common/ActionRegistry.h"
#include "ViewerConnection.h"
#include "ViewerFrame.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QThreadPool>
#include <QTimer>

#include <optional>
#include <set>
#include <string>

class QKeyEvent;
class QMediaPlayer;
class QScreen;

namespace mirelo {

class AppModel;
class OverlayWindow;
class ViewerScene;
class ViewerVideo;

class ViewerCoordinator : public QObject, public ViewerConnection, public ViewerActions::Viewer {
    Q_OBJECT
public:
    // The size of the frames the viewer shows fitted on `screen`.
    static QSize frameBoxFor(const QScreen* screen);
    static constexpr int kSpinnerDelayMs = 180, kChromeHideMs = 700, kPreviewSize = 640;

    ViewerCoordinator();
    ~ViewerCoordinator() override;

    // Follows `model` from now on; `actions` gives the windows their menus.
    void connect(AppModel& model, ActionRegistry& actions);

    OverlayWindow* viewerWindow() const override;
    ViewerScene* scene() const override { return scene_; }
    // Where the compact viewer goes and which screen the immersive one
    // fills: those of the window the viewer takes the place of.
    void setHome(const QRect& frame, QScreen* screen);
    // Asks the model to close the viewer, as Escape does.
    void requestClose() { Q_EMIT closeRequested(); }
    // At quit: waits for the pictures being prepared for the windows.
    void finishWork();
    void copyImage();
    void showInformation();
    void showFolders();
    ViewerActions* actions() const { return viewerActions_; }
    AppModel* model() const override { return model_; }
    // Held zoom keys stop (focus goes elsewhere, a panel opens).
    void dropHeldKeys() override;
    void toggleCompact();
    bool immersive() const { return immersive_; }
    // Shows the chrome now, or hides it after a moment in immersive mode.
    void setChrome(bool show);
    bool awaitingFirstFrame() const { return awaitingFirstFrame_; }
    const FrameRef& currentFrame() const override { return currentFrame_; }
    QMediaPlayer* player() const;
    bool videoFullScreen() const;

    // ViewerConnection.
    void present(const MediaItem& item) override;
    void dismiss() override;
    bool isPresenting() const override { return presented_; }
    void setItems(const MediaItems& items, const MediaItem& current) override;
    bool confirmTrash(const MediaItems& items) override;

    // Keys (also called by the window before normal dispatch).
    bool handleKey(QKeyEvent* event);
    bool handleZoomKey(QKeyEvent* event);
    bool releaseZoomKey(QKeyEvent* event);

Q_SIGNALS:
    // The user closes the viewer (Escape, the window's close button).
    void closeRequested();
    // The user asks for the library (the viewer's Library button).
    void libraryRequested();
    // A closed viewer begins to present an item; its window is not on
    // screen yet.
    void opening();
    // The viewer's window came on screen with its first picture.
    void shown();
    // The presented viewer closed.
    void dismissed();

private:
    void makeWindow();
    void perform(ActionRegistry::Command command);
    void load(const MediaItem& item);
    void showPreparedWindow();
    MediaItems neighbourItems() const;
    void loadVideo(const MediaItem& item, int generation);
    // Something of the picture until the full frame is ready: the cached
    // preview of the grid, or a quick, small decode.
    void startPreview(const MediaItem& item, int generation);
    void showPreview(const FrameRef& frame, const MediaItem& item);
    void prefetchNeighbours();
    void loadDetail();
    void videoFullScreenChanged(bool full);

    AppModel* model_ = nullptr;
    ActionRegistry* actions_ = nullptr;
    QPointer<QScreen> homeScreen_;
    OverlayWindow* window_ = nullptr;
    ViewerScene* scene_ = nullptr;
    std::set<uint16_t> heldZoomKeys_;
    QRect normalFrame_{120, 100, AppSettings::kWindowWidth, AppSettings::kWindowHeight};
    bool immersive_ = true;
    bool presented_ = false;
    bool awaitingFirstFrame_ = false;
    int generation_ = 0;
    QTimer loadingWork_;
    QTimer chromeWork_;
    FrameRef currentFrame_;
    bool previewShown_ = false; // of the item being loaded
    bool detailAsked_ = false;  // its detailed frame
    int travel_ = 1;            // the direction of the last move through the list
    std::optional<int> shownIndex_;
    QThreadPool previewWorkers_;
    ViewerVideo* video_ = nullptr;
    std::optional<std::string> displayedID_;
    ViewerActions* viewerActions_;
};

} // namespace mirelo
