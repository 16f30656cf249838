#pragma once
// The viewer window's content: the picture's softened, blurred copy as a
// backdrop, the picture (ImageStage), four glass buttons, the bar with the
// file name and the window's own buttons (the chrome), the position and
// zoom labels, notices, the error text and a spinner. It turns the
// coordinator's calls into what is seen and reports what the user does
// through its callbacks.

#include "library/MediaItem.h"
#include "ViewerFrame.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <optional>

class QGraphicsOpacityEffect;
class QLabel;
class QPushButton;
class QMediaPlayer;
class QToolButton;
class QVideoWidget;

namespace mirelo {

class Filmstrip;
class GlassButton;
class VideoControls;
class ImageStage;

class ViewerScene : public QWidget {
    Q_OBJECT
public:
    // Points kept free below and above the picture (filmstrip and count; chrome).
    static constexpr int kBottomSpace = 145, kTopSpace = 42, kTopBand = 44, kBarHeight = 32;
    static constexpr int kNoticeMs = 3000, kNoticeFadeMs = 180, kCopiedMs = 1600, kChromeFadeMs = 150;

    explicit ViewerScene(QWidget* parent = nullptr);

    ImageStage* stage() const { return stage_; }
    // The video's surface, made (and the player's back end started) when
    // the first video is shown: pictures alone never start it.
    QVideoWidget* video();
    bool hasVideo() const { return video_ != nullptr; }
    bool videoShown() const;
    Filmstrip* filmstrip() const { return filmstrip_; }
    VideoControls* videoControls() const { return videoControls_; }
    // Shows the player for a playable video (null hides it).
    void showVideo(QMediaPlayer* player);
    GlassButton* libraryButton() const { return library_; }
    GlassButton* folderButton() const { return folder_; }
    GlassButton* infoButton() const { return info_; }
    GlassButton* copyButton() const { return copy_; }
    QLabel* zoomLabel() const { return zoomLabel_; }
    QLabel* countLabel() const { return count_; }
    QLabel* fileName() const { return filename_; }
    QLabel* errorLabel() const { return errorLabel_; }
    QLabel* notice() const { return notice_; }
    QWidget* bar() const { return bar_; }
    // The stage's image viewport for a scene of this size.
    static QRectF imageViewportFor(QSize size);

    void setItems(const MediaItems& items, const std::string& current);
    std::optional<int> selectedIndex() const { return selectedIndex_; }
    void clearSelection() { selectedIndex_.reset(); }
    void prepareOpening();
    // The filmstrip appears with the window: its thumbnails rise into place.
    void revealFilmstrip();
    void showFrame(const FrameRef& frame, const MediaItem& item, bool first);
    // The full frame of a picture shown from its quick preview.
    void upgradeFrame(const FrameRef& frame);
    void showError(const QString& message);
    void setSpinning(bool spinning);
    bool spinning() const { return spinner_.state() == QAbstractAnimation::Running; }
    // A notice for three seconds; with `undoable`, an Undo button in it
    // (which calls onUndo).
    void toast(const QString& text, bool undoable = false);
    QPushButton* noticeUndoButton() const { return noticeUndo_; }
    // How long a notice stays fully visible (kNoticeMs unless a test asks
    // for less).
    void setNoticeDuration(int ms) { noticeTimer_.setInterval(ms); }
    void showCopied();
    bool copiedShown() const;
    void setChrome(bool show);
    bool chromeShown() const { return chromeShown_; }
    void clearAmbient();
    // The window's own buttons in the bar: shown when the window has no title bar.
    void setWindowButtonsShown(bool shown);

    std::function<void(int steps)> onNavigate;
    std::function<void(const MediaItem& item)> onChoose;
    std::function<void(bool inside)> onTopHover;
    std::function<bool(QKeyEvent* event)> onKey;
    std::function<void()> onClose, onMinimize, onCompact, onUndo;
    // The picture is zoomed past what its frame's bitmap holds.
    std::function<void()> onDetailWanted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutChildren();
    void describeZoom(const ViewerFrame& frame);
    void fade(QGraphicsOpacityEffect* effect, double to, int durationMs);
    void followPointer(QPointF scenePoint);

    ImageStage* stage_;
    QVideoWidget* video_ = nullptr;
    Filmstrip* filmstrip_;
    VideoControls* videoControls_ = nullptr;
    GlassButton* library_;
    GlassButton* folder_;
    GlassButton* info_;
    GlassButton* copy_;
    QWidget* bar_;
    QLabel* filename_;
    QList<QToolButton*> windowButtons_;
    QLabel* count_;
    QLabel* zoomLabel_;
    QLabel* notice_;
    QPushButton* noticeUndo_;
    QLabel* errorLabel_;
    QLabel* copied_;
    QGraphicsOpacityEffect* barOpacity_;
    QGraphicsOpacityEffect* noticeOpacity_;
    QGraphicsOpacityEffect* copiedOpacity_;
    QTimer noticeTimer_;
    QTimer copiedTimer_;
    QVariantAnimation spinner_;
    QImage ambient_;
    QImage backdrop_; // ambient_ tinted
    qint64 backdropSource_ = 0;
    MediaItems items_;
    std::optional<int> selectedIndex_;
    bool chromeShown_ = false;
    bool inTopBand_ = false;
};

} // namespace mirelo
