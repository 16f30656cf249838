#include "Filmstrip.h"
#include "Translation.h"

#include "FilmstripAccessible.h"
#include "library/CacheKey.h"
#include "ThumbnailStore.h"
#include "layout/ViewerGeometry.h"
#include "common/DesktopLook.h"
#include "common/Palette.h"

#include <QAccessible>
#include <QFile>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace mirelo {

namespace {

// p² (3 − 2p): eases in and out.
qreal smoothstep(qreal p) { return p * p * (3 - 2 * p); }

constexpr double kRevealStepMs = 24, kRevealLastMs = 240;

} // namespace

Filmstrip::Filmstrip(ThumbnailStore& thumbnails, QWidget* parent) : QWidget(parent), thumbnails_(thumbnails)
{
    FilmstripAccessible::install();
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(translate("Mirelo", "Filmstrip"));
    glide_.setDuration(kGlideMs);
    QEasingCurve ease;
    ease.setCustomType(smoothstep);
    glide_.setEasingCurve(ease);
    connect(&glide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        scrollX_ = value.toDouble();
        followView();
        update();
    });
    reveal_.setStartValue(0.0);
    reveal_.setEndValue(kRevealLastMs + kRevealMs);
    reveal_.setDuration(int(kRevealLastMs + kRevealMs));
    connect(&reveal_, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
}

Filmstrip::~Filmstrip()
{
    forgetAccessibleCells();
    for (auto& [path, request] : requests_) request->cancel();
}

void Filmstrip::setItems(const MediaItems& items, std::optional<int> current)
{
    const bool changed = !(items == items_);
    if (changed) {
        items_ = items;
        forgetAccessibleCells();
    }
    if (!current || (current == current_ && !changed)) {
        if (changed) update();
        return;
    }
    current_ = current;
    const FilmstripGeometry strip(width(), int(items_.size()));
    centre(strip.centredOffset(*current), !changed);
}

void Filmstrip::forgetAccessibleCells()
{
    for (auto& [index, id] : accessibleCells_) QAccessible::deleteAccessibleInterface(id);
    accessibleCells_.clear();
}

void Filmstrip::centre(double x, bool animated)
{
    glide_.stop();
    if (animated && !DesktopLook::shared().reduceMotion() && std::abs(scrollX_ - x) > 0.5) {
        glide_.setStartValue(scrollX_);
        glide_.setEndValue(x);
        glide_.start();
        return;
    }
    scrollX_ = x;
    followView();
    update();
}

void Filmstrip::resizeEvent(QResizeEvent*)
{
    // The current thumbnail stays centred, without a glide.
    if (current_) centre(FilmstripGeometry(width(), int(items_.size())).centredOffset(*current_), false);
}

void Filmstrip::reveal()
{
    if (!DesktopLook::shared().reduceMotion()) reveal_.start();
}

// Only the thumbnails in view keep their requests.
void Filmstrip::followView()
{
    const FilmstripGeometry strip(width(), int(items_.size()));
    const auto [first, last] = strip.itemsBetween(scrollX_, scrollX_ + width());
    std::unordered_map<std::string, std::shared_ptr<ThumbnailRequest>> kept;
    for (int index = first; index < last; ++index) {
        const std::string path(items_[index].path());
        if (auto found = requests_.find(path); found != requests_.end()) kept.insert(requests_.extract(found));
    }
    for (auto& [path, request] : requests_) request->cancel();
    requests_ = std::move(kept);
}

void Filmstrip::holdThumbnails(bool held)
{
    if (held == held_) return;
    held_ = held;
    if (!held) update(); // the cells ask again
}

QPixmap Filmstrip::thumbnail(const MediaItem& item, QSize size)
{
    const QString key = QString::fromStdString(cacheKey(item));
    if (const QPixmap* known = pictures_.object(key)) return *known;
    const std::string path(item.path());
    if (requests_.count(path)) return {};
    if (held_) {
        if (std::optional<QImage> known = thumbnails_.cache().find(cacheKey(item)); known && !known->isNull())
            return QPixmap::fromImage(known->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        return {};
    }
    auto arrived = std::make_shared<QImage>();
    auto returned = std::make_shared<bool>(false);
    auto request = thumbnails_.load(item, [=, guard = QPointer<Filmstrip>(this)](QImage image) {
        if (!*returned) {
            *arrived = std::move(image);
            return;
        }
        if (!guard || !guard->requests_.count(path)) return; // scrolled away
        guard->requests_.erase(path);
        // Only the cell showing this very item takes the picture.
        guard->pictures_.insert(
            key, new QPixmap(QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
        guard->update();
    });
    *returned = true;
    if (request) {
        requests_[path] = std::move(request);
        return {};
    }
    if (arrived->isNull()) return {};
    auto* pixmap =
        new QPixmap(QPixmap::fromImage(arrived->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    const QPixmap copy = *pixmap;
    pictures_.insert(key, pixmap);
    return copy;
}

void Filmstrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const FilmstripGeometry strip(width(), int(items_.size()));
    const auto [first, last] = strip.itemsBetween(scrollX_, scrollX_ + width());
    const bool revealing = reveal_.state() == QAbstractAnimation::Running;
    int shown = 0;
    for (int index = first; index < last; ++index, ++shown) {
        const RectF frame = strip.frame(index);
        QRectF cell(frame.x - scrollX_, frame.y, frame.width, frame.height);
        if (cell.right() < 0 || cell.left() > width()) continue;
        const bool selected = current_ == index;
        double opacity = selected ? 1.0 : 0.68;
        if (revealing) {
            // Each rises 8 points and fades in, 24 ms after the one before.
            const double local =
                (reveal_.currentValue().toDouble() - std::min(kRevealStepMs * shown, kRevealLastMs)) / kRevealMs;
            const double eased = QEasingCurve(QEasingCurve::OutCubic).valueForProgress(std::clamp(local, 0.0, 1.0));
            opacity *= eased;
            cell.translate(0, 8 * (1 - eased));
        }
        painter.setOpacity(opacity);
        painter.setPen(selected ? QPen(Qt::white, 2) : Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 38));
        painter.drawRoundedRect(cell.adjusted(1, 1, -1, -1), 7, 7);
        const QRectF inner = cell.adjusted(4, 4, -4, -4);
        const QPixmap picture = thumbnail(items_[index], (inner.size() * devicePixelRatioF()).toSize());
        if (!picture.isNull()) {
            QSizeF fitted = QSizeF(picture.size()) / picture.devicePixelRatio();
            fitted.scale(inner.size(), Qt::KeepAspectRatio);
            painter.drawPixmap(QRectF(inner.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted),
                               picture, QRectF(picture.rect()));
        } else {
            const QPixmap symbol =
                Palette::tintedSymbol(items_[index].isVideo() ? QStringLiteral("video-x-generic-symbolic")
                                                              : QStringLiteral("image-x-generic-symbolic"),
                                      22, QColor(255, 255, 255, 200), devicePixelRatioF());
            painter.drawPixmap(QRectF(inner.center() - QPointF(11, 11), QSizeF(22, 22)), symbol, QRectF(symbol.rect()));
        }
    }
}

// The strip never scrolls freely: the wheel and the trackpad step through the list.
void Filmstrip::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (event->phase() == Qt::ScrollMomentum) return;
    if (event->phase() == Qt::ScrollBegin) travel_ = 0;
    const bool trackpad = !event->pixelDelta().isNull();
    const QPoint delta = trackpad ? event->pixelDelta() : event->angleDelta();
    const double along = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    if (!trackpad) {
        if (along != 0 && onNavigate) onNavigate(along < 0 ? +1 : -1);
    } else {
        travel_ -= along;
        const int steps = int(travel_ / kTravelPerItem);
        if (steps != 0) {
            travel_ -= kTravelPerItem * steps;
            if (onNavigate) onNavigate(steps);
        }
    }
    if (event->phase() == Qt::ScrollEnd) travel_ = 0;
}

std::optional<int> Filmstrip::indexAt(QPointF point) const
{
    const FilmstripGeometry strip(width(), int(items_.size()));
    const double x = point.x() + scrollX_;
    const auto [first, last] = strip.itemsBetween(x, x + 0.5);
    for (int index = first; index < last; ++index) {
        const RectF frame = strip.frame(index);
        if (x >= frame.x && x < frame.x + frame.width && point.y() >= frame.y && point.y() < frame.y + frame.height)
            return index;
    }
    return std::nullopt;
}

void Filmstrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    if (const std::optional<int> index = indexAt(event->position()); index && onChoose) onChoose(items_[*index]);
}

bool Filmstrip::event(QEvent* event)
{
    // Each thumbnail's file name, as a tooltip.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<int> index = indexAt(help->pos()))
            QToolTip::showText(help->globalPos(),
                               QFile::decodeName(QByteArray::fromStdString(std::string(items_[*index].name()))), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace mirelo
