#pragma once
// The viewer's picture, zoomed and panned: fitted in the image viewport the
// scene gives it, zoomed by pinch, wheel, Ctrl with the trackpad, double
// click, held keys and the Image menu, panned by dragging and the trackpad.
// Only the visible part is painted, from the reduced copy nearest the shown
// size; the copies are made once per picture, off the main thread. Menu
// zooms and double clicks animate (0.14 s, 0.2 s), the first picture enters
// with a small scale and a fade; nothing animates under reduced motion.

#include "FramePyramid.h"
#include "ViewerFrame.h"
#include "layout/ViewerGeometry.h"
#include "layout/ZoomAction.h"

#include <QElapsedTimer>
#include <QImage>
#include <QThreadPool>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QPainter;

namespace mirelo {

class ImageStage : public QWidget {
    Q_OBJECT
public:
    static constexpr double kKeyboardUnitsPerSecond = 0.65;
    static constexpr int kCommandMs = 140, kToggleMs = 200, kEntranceScaleMs = 260, kEntranceFadeMs = 180;

    explicit ImageStage(QWidget* parent = nullptr);

    // Shows a new frame; `first` is the first picture since the viewer opened.
    void display(const FrameRef& frame, const QString& name, bool first);
    // The full frame of the picture already shown from a preview: the bitmap
    // is swapped and where it is shown stays (a preview of a guessed size
    // settles on the picture's own fit).
    void upgrade(const FrameRef& frame);
    // Forgets the picture until the next display (every load starts so).
    void reset();
    bool ready() const { return ready_; }
    void setImageViewport(const QRectF& rect);
    QRectF imageViewport() const { return imageViewport_; }
    void perform(const ZoomAction& action);
    void toggleZoom(QPointF at);

    // Held zoom keys (the coordinator passes them on).
    void beginKeyboardZoom(int direction, uint16_t keyCode, bool isRepeat);
    void endKeyboardZoom(uint16_t keyCode);
    void cancelKeyboardZoom();
    // Waits for the reduced copies being made.
    void finishWork() { workers_.waitForDone(); }
    bool keyboardZooming() const { return keyboardTimer_.isActive(); }

    const ViewerGeometry& geometry() const { return geometry_; }
    const FrameRef& frame() const { return frame_; }
    // The picture's rectangle on screen now (animations included).
    QRectF shownRect() const;
    // Whether the reduced copies are ready (tests wait for them).
    bool hasPyramid() const { return pyramid_ != nullptr; }

    // Runs `then` once the picture has next been painted: work that competes
    // for the cores waits until the picture is on screen.
    void whenPainted(std::function<void()> then);

    std::function<void(double scale)> onZoom;
    std::function<void()> gestureEnded;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Pose {
        double scale = 1;
        PointF offset;
    };
    // The single way the picture follows the geometry.
    void renderGeometry(bool animated, int durationMs);
    // Starts the next interaction from what is on screen.
    void synchronize();
    Pose presentation() const;
    void advanceKeyboardZoom();
    PointF viewportPoint(QPointF widgetPoint) const;
    void settled();
    void buildPyramid();
    void paintShadow(QPainter& painter, const QRectF& target);
    static double now();

    ViewerGeometry geometry_;
    KeyboardZoomState keyboardZoom_{kKeyboardUnitsPerSecond};
    QTimer keyboardTimer_;
    QRectF imageViewport_;
    std::optional<QPointF> dragging_;
    bool ready_ = false;
    QString name_;

    FrameRef frame_;
    std::shared_ptr<const FramePyramid> pyramid_;
    int pyramidGeneration_ = 0;

    Pose from_, to_;
    QVariantAnimation motion_;   // 0 → 1 between from_ and to_
    QVariantAnimation entrance_; // milliseconds since the first picture appeared
    // A high-quality copy of what is shown, made once the picture is still.
    QTimer settle_;
    std::function<void()> afterPaint_;
    QImage shadow_; // around a picture of the size last shown
    QImage still_;
    QRectF stillRect_;
    QThreadPool workers_; // last: waited for first when the stage goes
};

} // namespace mirelo
