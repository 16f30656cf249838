#include "ImageStage.h"
#include "Translation.h"

#include "common/DesktopLook.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QThreadPool>
#include <QWheelEvent>

#include <cmath>
#include <limits>

namespace mirelo {

namespace {

QString canvasName(const QString& name)
{
    return translate("Mirelo", "%1. Pinch or double-click to zoom. Drag to pan.").arg(name);
}

// Mouse wheels turn in notches of 120; a notch counts as three lines.
constexpr double kLinesPerNotch = 3;

} // namespace

ImageStage::ImageStage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
    setAccessibleName(canvasName(translate("Mirelo", "Image canvas")));
    grabGesture(Qt::PinchGesture);

    motion_.setStartValue(0.0);
    motion_.setEndValue(1.0);
    motion_.setEasingCurve(QEasingCurve::Linear);
    connect(&motion_, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&motion_, &QAbstractAnimation::finished, this, [this] { settle_.start(); });
    entrance_.setStartValue(0.0);
    entrance_.setEndValue(double(kEntranceScaleMs));
    entrance_.setDuration(kEntranceScaleMs);
    connect(&entrance_, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));

    keyboardTimer_.setTimerType(Qt::PreciseTimer);
    connect(&keyboardTimer_, &QTimer::timeout, this, &ImageStage::advanceKeyboardZoom);
    settle_.setSingleShot(true);
    settle_.setInterval(120);
    connect(&settle_, &QTimer::timeout, this, &ImageStage::settled);
}

double ImageStage::now()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return double(clock.nsecsElapsed()) / 1e9;
}

void ImageStage::reset()
{
    ready_ = false;
    cancelKeyboardZoom();
    motion_.stop();
    entrance_.stop();
    frame_.reset();
    pyramid_.reset();
    ++pyramidGeneration_;
    still_ = QImage();
    update();
}

void ImageStage::display(const FrameRef& frame, const QString& name, bool first)
{
    cancelKeyboardZoom();
    ready_ = frame != nullptr;
    motion_.stop();
    entrance_.stop();
    frame_ = frame;
    name_ = name;
    pyramid_.reset();
    still_ = QImage();
    if (!frame_) return;

    buildPyramid();

    geometry_.imageSize = {frame_->pixels.width, frame_->pixels.height};
    geometry_.viewport = {imageViewport_.width(), imageViewport_.height()};
    geometry_.fit();
    renderGeometry(false, kToggleMs);
    if (first && !DesktopLook::shared().reduceMotion()) entrance_.start();
    setAccessibleName(canvasName(name));
}

void ImageStage::upgrade(const FrameRef& frame)
{
    const auto aspect = [](const PixelSize& size) { return size.height > 0 ? size.width / size.height : 0.0; };
    if (!frame_ || !frame || frame->pixels.width <= 0 ||
        std::abs(aspect(frame->pixels) / aspect(frame_->pixels) - 1) > 0.01) {
        display(frame, name_, false); // another picture: shown afresh
        return;
    }
    if (frame->pixels != frame_->pixels) {
        // The same picture at its real size: the same place on screen, or its fit.
        const double ratio = frame_->pixels.width / frame->pixels.width;
        const Pose shown = presentation();
        geometry_.imageSize = {frame->pixels.width, frame->pixels.height};
        if (geometry_.fitting) {
            geometry_.fit();
        } else {
            geometry_.scale =
                std::clamp(geometry_.scale * ratio, ViewerGeometry::minimumScale, ViewerGeometry::maximumScale);
            geometry_.constrainOffset();
        }
        motion_.stop();
        from_ = {shown.scale * ratio, shown.offset};
        to_ = {geometry_.scale, geometry_.offset};
        // Only a picture smaller than its guessed size moves: it settles on its fit.
        if (std::abs(from_.scale - to_.scale) > 1e-6 * to_.scale && !DesktopLook::shared().reduceMotion()) {
            motion_.setDuration(kCommandMs);
            motion_.start();
        }
    }
    frame_ = frame;
    pyramid_.reset();
    still_ = QImage();
    buildPyramid();
    settle_.start();
    update();
    if (onZoom) onZoom(geometry_.scale);
}

// The reduced copies, made off the main thread; until they arrive the
// frame's own bitmap is drawn.
void ImageStage::buildPyramid()
{
    const int generation = ++pyramidGeneration_;
    // The stage waits for its own workers when it goes, so they may post to it.
    workers_.start([this, generation, image = frame_->image] {
        auto pyramid = FramePyramid::build(image);
        QMetaObject::invokeMethod(this, [this, generation, pyramid] {
            if (generation != pyramidGeneration_) return;
            pyramid_ = pyramid;
            settle_.start();
            update();
        });
    });
}

void ImageStage::setImageViewport(const QRectF& rect)
{
    if (rect == imageViewport_) return;
    cancelKeyboardZoom();
    if (geometry_.fitting) {
        imageViewport_ = rect;
        geometry_.viewport = {rect.width(), rect.height()};
        geometry_.fit();
    } else {
        synchronize();
        imageViewport_ = rect;
        geometry_.viewport = {rect.width(), rect.height()};
        geometry_.constrainOffset();
    }
    renderGeometry(false, kToggleMs);
}

ImageStage::Pose ImageStage::presentation() const
{
    if (motion_.state() != QAbstractAnimation::Running) return {geometry_.scale, geometry_.offset};
    const double t = motion_.currentValue().toDouble();
    return {
        from_.scale + (to_.scale - from_.scale) * t,
        {from_.offset.x + (to_.offset.x - from_.offset.x) * t, from_.offset.y + (to_.offset.y - from_.offset.y) * t}};
}

// The single way the picture follows the geometry.
void ImageStage::renderGeometry(bool animated, int durationMs)
{
    const Pose shown = presentation();
    motion_.stop();
    entrance_.stop();
    from_ = shown;
    to_ = {geometry_.scale, geometry_.offset};
    settle_.stop();
    if (animated && !DesktopLook::shared().reduceMotion()) {
        motion_.setDuration(durationMs);
        motion_.start();
    } else {
        settle_.start();
    }
    update();
    if (onZoom) onZoom(geometry_.scale);
}

void ImageStage::synchronize()
{
    if (motion_.state() != QAbstractAnimation::Running) return;
    const Pose shown = presentation();
    motion_.stop();
    if (!std::isfinite(shown.scale) || shown.scale <= 0) return;
    geometry_.scale = std::clamp(shown.scale, 0.001, ViewerGeometry::maximumScale);
    geometry_.offset = shown.offset;
    geometry_.fitting = false;
    geometry_.constrainOffset();
}

PointF ImageStage::viewportPoint(QPointF widgetPoint) const
{
    return {widgetPoint.x() - imageViewport_.x(), widgetPoint.y() - imageViewport_.y()};
}

void ImageStage::toggleZoom(QPointF at)
{
    if (!ready_) return;
    cancelKeyboardZoom();
    synchronize();
    if (!geometry_.fitting && std::abs(geometry_.scale - geometry_.fitScale()) >= 0.005)
        geometry_.fit();
    else
        geometry_.zoom(std::max(2 * geometry_.fitScale(), 1.0), {at.x(), at.y()});
    renderGeometry(true, kToggleMs);
}

void ImageStage::perform(const ZoomAction& action)
{
    if (!ready_) return;
    cancelKeyboardZoom();
    synchronize();
    const PointF centre = geometry_.center();
    switch (action.kind) {
    case ZoomAction::fit: geometry_.fit(); break;
    case ZoomAction::actual: geometry_.zoom(1, centre); break;
    case ZoomAction::increase: geometry_.zoom(geometry_.scale + 0.1, centre); break;
    case ZoomAction::decrease: geometry_.zoom(geometry_.scale - 0.1, centre); break;
    case ZoomAction::value: geometry_.zoom(action.scale, centre); break;
    }
    renderGeometry(true, kCommandMs);
}

// Held keys

void ImageStage::beginKeyboardZoom(int direction, uint16_t keyCode, bool isRepeat)
{
    if (!ready_ || isRepeat) return;
    const double t = now();
    if (keyboardZoom_.isActive())
        advanceKeyboardZoom();
    else
        synchronize();
    const double scale = keyboardZoom_.begin(direction, keyCode, false, geometry_.scale, t);
    geometry_.zoom(scale, geometry_.center());
    renderGeometry(false, kToggleMs);
    if (!keyboardTimer_.isActive()) {
        // One step a frame, at the display's rate (60 to 120 a second).
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const double rate = screen && screen->refreshRate() >= 60 ? std::min(screen->refreshRate(), 120.0) : 60.0;
        keyboardTimer_.start(int(std::lround(1000.0 / rate)));
    }
}

void ImageStage::advanceKeyboardZoom()
{
    if (!ready_ || !keyboardZoom_.isActive()) return;
    const double scale = keyboardZoom_.advance(geometry_.scale, now());
    if (std::abs(scale - geometry_.scale) > std::numeric_limits<double>::epsilon()) {
        geometry_.zoom(scale, geometry_.center());
        renderGeometry(false, kToggleMs);
    }
}

void ImageStage::endKeyboardZoom(uint16_t keyCode)
{
    advanceKeyboardZoom();
    keyboardZoom_.end(keyCode, now());
    if (!keyboardZoom_.isActive()) keyboardTimer_.stop();
}

void ImageStage::cancelKeyboardZoom()
{
    advanceKeyboardZoom();
    keyboardZoom_.cancel();
    keyboardTimer_.stop();
}

// Pointer

bool ImageStage::event(QEvent* event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture && ready_) {
            cancelKeyboardZoom();
            synchronize();
            geometry_.zoom(geometry_.scale * (1 + gesture->value()), viewportPoint(gesture->position()));
            renderGeometry(false, kToggleMs);
        } else if (gesture->gestureType() == Qt::SmartZoomNativeGesture) {
            const PointF at = viewportPoint(gesture->position());
            toggleZoom({at.x, at.y});
        } else if (gesture->gestureType() == Qt::EndNativeGesture && gestureEnded) {
            gestureEnded();
        }
        return true;
    }
    return QWidget::event(event);
}

void ImageStage::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (!ready_) return;
    cancelKeyboardZoom();
    synchronize();
    const bool trackpad = !event->pixelDelta().isNull();
    if (trackpad && !(event->modifiers() & Qt::ControlModifier)) {
        geometry_.pan(event->pixelDelta().x(), event->pixelDelta().y());
    } else {
        const double delta = trackpad ? event->pixelDelta().y() : event->angleDelta().y() / 120.0 * kLinesPerNotch;
        geometry_.zoom(geometry_.scale * std::exp(0.035 * delta), viewportPoint(event->position()));
    }
    renderGeometry(false, kToggleMs);
}

void ImageStage::mousePressEvent(QMouseEvent* event)
{
    if (!ready_ || event->button() != Qt::LeftButton) return;
    cancelKeyboardZoom();
    synchronize();
    renderGeometry(false, kToggleMs);
    setFocus(Qt::MouseFocusReason);
    dragging_ = event->globalPosition();
    setCursor(Qt::ClosedHandCursor);
}

void ImageStage::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) return;
    const QPointF delta = event->globalPosition() - *dragging_;
    geometry_.pan(delta.x(), delta.y());
    dragging_ = event->globalPosition();
    renderGeometry(false, kToggleMs);
}

void ImageStage::mouseReleaseEvent(QMouseEvent*)
{
    if (!dragging_) return;
    dragging_.reset();
    setCursor(Qt::OpenHandCursor);
}

void ImageStage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!ready_ || event->button() != Qt::LeftButton) return;
    dragging_.reset();
    setCursor(Qt::OpenHandCursor);
    const PointF at = viewportPoint(event->position());
    toggleZoom({at.x, at.y});
}

// Painting

QRectF ImageStage::shownRect() const
{
    if (!frame_) return {};
    const Pose pose = presentation();
    double scale = pose.scale;
    if (entrance_.state() == QAbstractAnimation::Running) {
        const double t = entrance_.currentValue().toDouble() / kEntranceScaleMs;
        scale *= 0.94 + 0.06 * QEasingCurve(QEasingCurve::OutCubic).valueForProgress(t);
    }
    const QPointF centre(imageViewport_.x() + imageViewport_.width() / 2 + pose.offset.x,
                         imageViewport_.y() + imageViewport_.height() / 2 + pose.offset.y);
    const QSizeF size(frame_->pixels.width * scale, frame_->pixels.height * scale);
    return {centre - QPointF(size.width() / 2, size.height() / 2), size};
}

// Once still, what is visible is reduced once more at the best quality.
void ImageStage::settled()
{
    if (!frame_ || dragging_ || keyboardTimer_.isActive() || motion_.state() == QAbstractAnimation::Running) return;
    const QRectF target = shownRect();
    const QRectF visible = target.intersected(QRectF(rect()));
    const double ratio = devicePixelRatioF();
    const QImage& level = pyramid_ ? pyramid_->levelFor(target.width() * ratio) : frame_->image;
    if (visible.isEmpty() || level.isNull() || target.width() * ratio >= level.width() - 1) {
        still_ = QImage(); // shown at or above the copy's size: nothing to reduce
        return;
    }
    const double kx = level.width() / target.width(), ky = level.height() / target.height();
    const QRect source = QRectF((visible.x() - target.x()) * kx, (visible.y() - target.y()) * ky, visible.width() * kx,
                                visible.height() * ky)
                             .toAlignedRect()
                             .intersected(level.rect());
    still_ =
        level.copy(source).scaled((visible.size() * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    still_.setDevicePixelRatio(ratio);
    stillRect_ = visible;
    update();
}

// A soft shadow under the picture (0.18 black, 24 points, 8 below), filled
// only where it shows: around the picture, not under it. Drawn once per size
// of the picture; a repaint copies the four strips around it.
void ImageStage::paintShadow(QPainter& painter, const QRectF& target)
{
    constexpr double margin = 24;
    const double ratio = devicePixelRatioF();
    const QSizeF outer = target.size() + QSizeF(2 * margin, 2 * margin);
    const QSize device = (outer * ratio).toSize();
    if (shadow_.size() != device || shadow_.devicePixelRatio() != ratio) {
        shadow_ = QImage(device, QImage::Format_ARGB32_Premultiplied);
        shadow_.fill(Qt::transparent);
        shadow_.setDevicePixelRatio(ratio);
        QPainter rings(&shadow_);
        rings.setRenderHint(QPainter::Antialiasing);
        rings.setPen(Qt::NoPen);
        const QRectF local(margin, margin, target.width(), target.height());
        QPainterPath picture;
        picture.addRect(local);
        for (int ring = 6; ring >= 1; --ring) {
            const double spread = ring * 4.0;
            QPainterPath shadow;
            shadow.addRoundedRect(local.translated(0, 8).adjusted(-spread / 2, -spread / 2, spread / 2, spread / 2),
                                  3 + spread / 2, 3 + spread / 2);
            rings.setBrush(QColor(0, 0, 0, int(255 * 0.18 / 6 * (7 - ring) / 3.5)));
            rings.drawPath(shadow.subtracted(picture));
        }
    }
    const QPointF corner = target.topLeft() - QPointF(margin, margin);
    const double w = outer.width(), h = outer.height();
    for (const QRectF strip :
         {QRectF(0, 0, w, margin), QRectF(0, h - margin, w, margin), QRectF(0, margin, margin, h - 2 * margin),
          QRectF(w - margin, margin, margin, h - 2 * margin)})
        painter.drawImage(strip.translated(corner), shadow_, QRectF(strip.topLeft() * ratio, strip.size() * ratio));
}

void ImageStage::whenPainted(std::function<void()> then)
{
    afterPaint_ = std::move(then);
    update();
}

void ImageStage::paintEvent(QPaintEvent*)
{
    // After this paint reaches the screen.
    if (afterPaint_) QTimer::singleShot(0, this, std::exchange(afterPaint_, nullptr));
    if (!frame_) return;
    QPainter painter(this);
    const QRectF target = shownRect();
    double opacity = 1;
    if (entrance_.state() == QAbstractAnimation::Running)
        opacity = QEasingCurve(QEasingCurve::OutCubic)
                      .valueForProgress(std::min(1.0, entrance_.currentValue().toDouble() / kEntranceFadeMs));
    painter.setOpacity(opacity);

    paintShadow(painter, target);

    const QRectF visible = target.intersected(QRectF(rect()));
    if (visible.isEmpty()) return;
    QPainterPath corners;
    corners.addRoundedRect(target, 3, 3);
    painter.setClipPath(corners);
    const bool moving = motion_.state() == QAbstractAnimation::Running || dragging_ || keyboardTimer_.isActive() ||
                        entrance_.state() == QAbstractAnimation::Running;
    if (!moving && !still_.isNull() && stillRect_ == visible) {
        painter.drawImage(visible.topLeft(), still_);
        return;
    }
    // Bilinear from the copy nearest the shown size: at most a halving.
    const double ratio = devicePixelRatioF();
    const QImage& level = pyramid_ ? pyramid_->levelFor(target.width() * ratio) : frame_->image;
    if (level.isNull()) return;
    if (std::abs(target.width() * ratio - level.width()) < 1 &&
        std::abs(target.height() * ratio - level.height()) < 1) {
        // Shown at the bitmap's own size (a fitted picture): copied pixel for pixel.
        const QPointF corner(std::round(target.x() * ratio) / ratio, std::round(target.y() * ratio) / ratio);
        painter.drawImage(QRectF(corner, QSizeF(level.size()) / ratio), level);
        return;
    }
    const double kx = level.width() / target.width(), ky = level.height() / target.height();
    const QRectF source((visible.x() - target.x()) * kx, (visible.y() - target.y()) * ky, visible.width() * kx,
                        visible.height() * ky);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(visible, level, source);
}

} // namespace mirelo
