#include "MediaGridView.h"
#include "Translation.h"

#include "MediaGridAccessible.h"
#include "MediaGridFocus.h"

#include "AppModel.h"
#include "library/CacheKey.h"
#include "ThumbnailStore.h"
#include "common/DesktopLook.h"
#include "common/Palette.h"
#include "common/Text.h"
#include "LibraryTexts.h"
#include "files/FileUrl.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QFile>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPointer>
#include <QToolTip>
#include <QHelpEvent>
#include <QScrollBar>

#include <cmath>

namespace mirelo {

namespace {

constexpr double kCaptionGap = 7, kLineGap = 2;

QRectF inset(const QRectF& rect, double by) { return rect.adjusted(by, by, -by, -by); }

QPainterPath rounded(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

MediaGridView::MediaGridView(AppModel& model, ThumbnailStore& thumbnails, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model), thumbnails_(thumbnails),
      motion_([this](const std::string& path) { repaintCard(path); }, this)
{
    MediaGridAccessible::install();
    for (QVariantAnimation* animation : {&hoverIn_, &hoverOut_, &badges_}) {
        animation->setDuration(animation == &badges_ ? 200 : 140);
        animation->setEasingCurve(QEasingCurve::OutQuad);
        animation->setStartValue(0.0);
        animation->setEndValue(0.0);
    }
    connect(&hoverIn_, &QVariantAnimation::valueChanged, this, [this] {
        if (hovered_ >= 0) viewport()->update(cardRect(hovered_));
    });
    connect(&hoverOut_, &QVariantAnimation::valueChanged, this, [this] {
        if (unhovered_ >= 0) viewport()->update(cardRect(unhovered_));
    });
    connect(&badges_, &QVariantAnimation::valueChanged, viewport(), qOverload<>(&QWidget::update));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    // Every pixel is painted here, which lets a scroll move the pixels
    // already painted instead of painting all again.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(48);
    Palette::thinScrollBars(this);
    // Every applied query counts, even one whose list did not change.
    connect(&model_, &AppModel::contentRevisionChanged, this, &MediaGridView::contentChanged);
    connect(&model_, &AppModel::selectionChanged, this, &MediaGridView::followSelection);
    connect(&model_, &AppModel::selectingChanged, this, &MediaGridView::followSelecting);
    focus_ = new MediaGridFocus(*this);
    setFocusPolicy(Qt::StrongFocus);
    restart();
}

MediaGridView::~MediaGridView()
{
    forgetAccessibleCards();
    for (auto& [path, request] : requests_) request->cancel();
}

// The thumbnail and the two caption lines, measured once.
double MediaGridView::measureCardHeight()
{
    return kThumbnailHeight + kCaptionGap + QFontMetrics(Palette::font(12, QFont::Medium)).height() + kLineGap +
           QFontMetrics(Palette::font(10)).height();
}

MediaGridLayout MediaGridView::layout() const
{
    MediaGridLayout grid(viewport()->width(), cardHeight_);
    // The duplicates section: a row of its own for each group, under its header.
    if (model_.section() == LibrarySection::duplicates && !model_.shownGroups().empty()) {
        std::vector<int> firsts;
        for (const ShownGroup& group : model_.shownGroups()) firsts.push_back(group.first);
        grid.setGroups(std::move(firsts), int(model_.visible().size()));
    }
    return grid;
}

// Whether card `index` is the copy Mirelo suggests keeping in its group.
bool MediaGridView::isKeeper(int index) const
{
    if (model_.section() != LibrarySection::duplicates) return false;
    for (const ShownGroup& group : model_.shownGroups())
        if (group.first == index) return group.keeperShown;
    return false;
}

bool MediaGridView::showsProgressRow() const
{
    return MediaGridLayout::showsProgressRow(built_, int(model_.visible().size()));
}

// A new place in the library (another folder, section, filter, search or
// order) starts at the top with the first page.
void MediaGridView::restart()
{
    forgetAccessibleCards();
    shownSelected_.clear();
    focus_->reset();
    built_ = MediaGridLayout::firstPage(int(model_.visible().size()));
    updateGeometry();
    verticalScrollBar()->setValue(0);
    followScroll();
}

void MediaGridView::forgetAccessibleCards()
{
    for (auto& [index, id] : accessibleCards_) QAccessible::deleteAccessibleInterface(id);
    accessibleCards_.clear();
}

void MediaGridView::contentChanged()
{
    if (model_.loadedGridLocation() != location_) {
        location_ = model_.loadedGridLocation();
        restart();
        return;
    }
    // The same place with other contents (files came or went): keep what was built.
    const int count = int(model_.visible().size());
    focus_->clamp();
    built_ = std::max(std::min(built_, count), MediaGridLayout::firstPage(count));
    updateGeometry();
    followScroll();
}

void MediaGridView::updateGeometry()
{
    const MediaGridLayout grid = layout();
    const int height = int(std::ceil(grid.contentHeight(built_, showsProgressRow())));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    viewport()->update();
}

void MediaGridView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateGeometry();
    followScroll();
}

// The pixels already painted move; only the band that comes into view is
// painted.
void MediaGridView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
    // The card under the pointer changed with the scroll.
    if (hovered_ >= 0) setHovered(indexAt(viewport()->mapFromGlobal(QCursor::pos())).value_or(-1));
    followScroll();
}

// After every move: a progress row in view builds the next page, and only
// the cards in view keep their preview requests.
void MediaGridView::followScroll()
{
    const MediaGridLayout grid = layout();
    const double top = verticalScrollBar()->value(), bottom = top + viewport()->height();
    const int count = int(model_.visible().size());
    if (showsProgressRow() && grid.progressRowRect(built_).y < bottom) {
        built_ = MediaGridLayout::nextPage(built_, count);
        updateGeometry();
        QMetaObject::invokeMethod(this, &MediaGridView::followScroll, Qt::QueuedConnection);
    }
    const auto [first, last] = grid.cardsBetween(top, bottom, built_);
    std::unordered_map<std::string, std::shared_ptr<ThumbnailRequest>> kept;
    for (int index = first; index < last; ++index) {
        const std::string path(model_.visible()[index].path());
        if (auto found = requests_.find(path); found != requests_.end()) kept.insert(requests_.extract(found));
    }
    for (auto& [path, request] : requests_) request->cancel(); // scrolled away
    requests_ = std::move(kept);
}

std::pair<int, int> MediaGridView::cardsInView() const
{
    const double top = verticalScrollBar()->value();
    const auto [first, last] = layout().cardsBetween(top, top + viewport()->height(), built_);
    return {first, std::min(last, int(model_.visible().size()))};
}

void MediaGridView::followSelection()
{
    const auto [first, last] = cardsInView();
    const PathSelection& selection = model_.selection();
    for (int index = first; index < last; ++index) {
        const std::string path(model_.visible()[index].path());
        const bool now = selection.contains(path);
        if (now == shownSelected_.contains(path)) continue;
        if (now)
            shownSelected_.insert(path);
        else
            shownSelected_.erase(path);
        motion_.selectionChanged(path, model_.selecting(), now);
        viewport()->update(cardRect(index).adjusted(-4, -4, 4, 4));
    }
}

void MediaGridView::followSelecting()
{
    badges_.stop();
    if (!DesktopLook::shared().reduceMotion()) {
        badges_.setStartValue(model_.selecting() ? 0.0 : 1.0);
        badges_.setEndValue(model_.selecting() ? 1.0 : 0.0);
        badges_.start();
    }
    const auto [first, last] = cardsInView();
    for (int index = first; index < last; ++index) {
        const std::string path(model_.visible()[index].path());
        motion_.pulse(path, model_.selecting(), model_.selection().contains(path));
    }
    viewport()->update();
}

void MediaGridView::repaintCard(const std::string& path)
{
    const auto [first, last] = cardsInView();
    for (int index = first; index < last; ++index)
        if (model_.visible()[index].path() == path) {
            viewport()->update(cardRect(index).adjusted(-4, -4, 4, 4));
            return;
        }
    motion_.forget(path); // scrolled away
}

std::optional<int> MediaGridView::indexAt(const QPoint& point) const
{
    const MediaGridLayout grid = layout();
    const double y = point.y() + verticalScrollBar()->value();
    const auto [first, last] = grid.cardsBetween(y, y + 0.5, built_);
    for (int index = first; index < last; ++index) {
        const RectF card = grid.cardRect(index);
        if (point.x() >= card.x && point.x() < card.x + card.width) return index;
    }
    return std::nullopt;
}

QRect MediaGridView::cardRect(int index) const { return cardRect(layout(), index); }

QRect MediaGridView::cardRect(const MediaGridLayout& grid, int index) const
{
    const RectF card = grid.cardRect(index);
    return QRectF(card.x, card.y - verticalScrollBar()->value(), card.width, card.height).toAlignedRect();
}

// A preview reduced once to the card's size and kept in the pixmap cache;
// a missing one is asked for and repaints its card when it comes.
QPixmap MediaGridView::thumbnail(const MediaItem& item, const QSize& size)
{
    const QString key =
        QString::fromStdString(cacheKey(item)) +
        QStringLiteral("@%1x%2%3").arg(size.width()).arg(size.height()).arg(Palette::dark() ? "d" : "l");
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    const std::string path(item.path());
    if (requests_.count(path)) return {};

    // The store answers a cached preview at once, anything else later.
    struct Arrival {
        bool returned = false;
        QImage image;
        const ThumbnailRequest* request = nullptr;
    };
    auto arrival = std::make_shared<Arrival>();
    auto request = thumbnails_.load(item, [arrival, guard = QPointer<MediaGridView>(this), path](QImage image) {
        if (!arrival->returned) {
            arrival->image = std::move(image);
            return;
        }
        if (!guard) return;
        auto found = guard->requests_.find(path);
        if (found == guard->requests_.end() || found->second.get() != arrival->request) return; // cancelled
        guard->requests_.erase(found);
        if (!image.isNull()) guard->viewport()->update();
    });
    arrival->returned = true;
    if (request) {
        arrival->request = request.get();
        requests_[path] = std::move(request);
        return {};
    }
    if (arrival->image.isNull()) return {};
    // Reduced to fill the card, centred, its corners rounded once here
    // rather than clipped on every frame. A picture smaller than the card is
    // never blown up: it sits at its own size in the middle of the card's ground.
    const QImage& source = arrival->image;
    // Filling would enlarge it: it is fitted instead, never above its own size.
    const bool small = source.width() < size.width() || source.height() < size.height();
    const bool fits = source.width() <= size.width() && source.height() <= size.height();
    const QImage filled = !small ? source.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                          : fits ? source
                                 : source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage card(size, QImage::Format_ARGB32_Premultiplied);
    card.fill(Qt::transparent);
    {
        QPainter painter(&card);
        painter.setRenderHint(QPainter::Antialiasing);
        const double radius = kCornerRadius * size.height() / kThumbnailHeight;
        painter.setClipPath(rounded(QRectF(QPointF(), QSizeF(size)), radius));
        if (small) {
            QColor ground = palette().color(QPalette::WindowText);
            ground.setAlphaF(0.06f);
            painter.fillRect(card.rect(), ground);
        }
        painter.drawImage(QPointF(-(filled.width() - size.width()) / 2.0, -(filled.height() - size.height()) / 2.0),
                          filled);
        painter.setClipping(false);
        const double ratio = double(size.height()) / kThumbnailHeight;
        painter.scale(ratio, ratio);
        paintDecorations(painter, item, QRectF(0, 0, size.width() / ratio, kThumbnailHeight));
    }
    pixmap = QPixmap::fromImage(std::move(card));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void MediaGridView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Palette::background());
    painter.setRenderHint(QPainter::Antialiasing);
    const MediaGridLayout grid = layout();
    const double top = verticalScrollBar()->value();
    const auto [first, last] = grid.cardsBetween(top + event->rect().top(), top + event->rect().bottom() + 1, built_);
    const MediaItems& visible = model_.visible();
    const bool selecting = model_.selecting();
    for (int index = first; index < last && index < visible.size(); ++index) {
        const MediaItem& item = visible[index];
        const std::string path(item.path());
        const bool selected = model_.selection().contains(path);
        // A card that comes into view shows its state at rest.
        if (selected != shownSelected_.contains(path))
            selected ? (void)shownSelected_.insert(path) : (void)shownSelected_.erase(path);
        const QRect rect = cardRect(grid, index);
        paintCard(painter, item, rect, selected, hoverOf(index), motion_.pose(path, selecting, selected));
        if (isKeeper(index)) paintKeeperLabel(painter, rect);
    }
    if (grid.grouped()) paintGroupHeaders(painter, grid, top, event->rect());
    if (shownSelected_.size() > 512) {
        // Forget the cards far out of view.
        const auto [inFirst, inLast] = cardsInView();
        std::unordered_set<std::string> kept;
        for (int index = inFirst; index < inLast; ++index)
            if (auto found = shownSelected_.find(std::string(visible[index].path())); found != shownSelected_.end())
                kept.insert(*found);
        shownSelected_ = std::move(kept);
    }
    // The keyboard's card, ringed while the grid has the focus.
    if (const int focused = focus_->index(); hasFocus() && focused >= first && focused < last) {
        QColor ring = Palette::accent();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ring, 2.5));
        const QRect card = cardRect(grid, focused);
        painter.drawPath(
            rounded(inset(QRectF(card.x(), card.y(), card.width(), kThumbnailHeight), -3.5), kCornerRadius + 3.5));
    }
    if (showsProgressRow()) {
        // More cards are coming: a small busy indicator, eight dots in a ring.
        const RectF row = grid.progressRowRect(built_);
        const QPointF centre(row.x + row.width / 2, row.y - top + row.height / 2);
        QColor dot = palette().color(QPalette::PlaceholderText);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 8; ++i) {
            const double angle = i * M_PI / 4;
            dot.setAlphaF(float(0.25 + 0.75 * i / 7));
            painter.setBrush(dot);
            painter.drawEllipse(centre + QPointF(std::cos(angle), std::sin(angle)) * 7, 1.6, 1.6);
        }
    }
}

// What a card shows over its picture that never changes: the format tag,
// the play mark of a video and the faint outline. Drawn once into the
// card's cached picture.
void MediaGridView::paintDecorations(QPainter& painter, const MediaItem& item, const QRectF& frame) const
{
    const QColor text = palette().color(QPalette::WindowText);
    // The format tag, and a play mark for videos, on small capsules.
    const QFont tagFont = Palette::font(8, QFont::Bold);
    const QString format = QString::fromStdString(std::string(item.format()));
    const QFontMetricsF tagMetrics(tagFont);
    const QRectF tag(frame.left() + 8, frame.bottom() - 8 - (tagMetrics.height() + 10),
                     tagMetrics.horizontalAdvance(format) + 14, tagMetrics.height() + 10);
    const QColor material = Palette::dark() ? QColor(30, 30, 30, 190) : QColor(255, 255, 255, 200);
    painter.setPen(Qt::NoPen);
    painter.setBrush(material);
    painter.drawRoundedRect(tag, tag.height() / 2, tag.height() / 2);
    painter.setFont(tagFont);
    painter.setPen(text);
    painter.drawText(tag, Qt::AlignCenter, format);
    if (item.isVideo()) {
        const QRectF mark(frame.right() - 8 - 22, frame.bottom() - 8 - 22, 22, 22);
        painter.setPen(Qt::NoPen);
        painter.setBrush(material);
        painter.drawEllipse(mark);
        QPainterPath play;
        const QPointF c = mark.center();
        play.moveTo(c + QPointF(-3, -5));
        play.lineTo(c + QPointF(5, 0));
        play.lineTo(c + QPointF(-3, 5));
        play.closeSubpath();
        painter.setBrush(text);
        painter.drawPath(play);
    }

    QColor outline = text;
    outline.setAlphaF(0.06f);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(outline, 1));
    painter.drawPath(rounded(inset(frame, 0.5), kCornerRadius - 0.5));
}

void MediaGridView::paintCard(QPainter& painter, const MediaItem& item, const QRect& rect, bool selected, double hover,
                              const CardMotion::Pose& pose)
{
    const bool selecting = model_.selecting();
    // The card's scale about its centre and its lift.
    painter.save();
    if (pose.scale != 1 || pose.lift != 0) {
        const QPointF centre = QRectF(rect).center();
        painter.translate(centre.x(), centre.y() + pose.lift);
        painter.scale(pose.scale, pose.scale);
        painter.translate(-centre.x(), -centre.y());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    const QRectF frame(rect.x(), rect.y(), rect.width(), kThumbnailHeight);
    const QColor text = palette().color(QPalette::WindowText);

    // The thumbnail (its corners already rounded), or the placeholder.
    const QPixmap picture = thumbnail(item, (frame.size() * devicePixelRatioF()).toSize());
    if (!picture.isNull()) {
        painter.drawPixmap(frame, picture, QRectF(picture.rect()));
    } else {
        QColor placeholder = text;
        placeholder.setAlphaF(0.06f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(placeholder);
        painter.drawRoundedRect(frame, kCornerRadius, kCornerRadius);
        paintDecorations(painter, item, frame);
    }

    if (hover > 0) {
        QColor outline = text;
        outline.setAlphaF(float(0.2 * hover));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(outline, 1));
        painter.drawPath(rounded(inset(frame, 0.5), kCornerRadius - 0.5));
    }
    if (pose.border > 0) {
        // Drawn along the outline up to the share the pose gives.
        const QPainterPath outline = rounded(inset(frame, 1.5), kCornerRadius - 1.5);
        QPen pen(Palette::accent(), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (pose.border < 1) {
            const double length = outline.length() / 3; // in pen widths
            pen.setDashPattern({std::max(0.01, pose.border * length), length + 1});
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(pen);
        painter.drawPath(outline);
    }
    // The badge grows from 0.82 and fades in as selection mode starts.
    const double badgeShown =
        badges_.state() == QAbstractAnimation::Running ? badges_.currentValue().toDouble() : (selecting ? 1.0 : 0.0);
    if (badgeShown > 0) {
        QRectF badge(frame.right() - 8 - 22, frame.top() + 8, 22, 22);
        const QPointF centre = badge.center();
        badge.setSize(badge.size() * (0.82 + 0.18 * badgeShown));
        badge.moveCenter(centre);
        painter.setOpacity(badgeShown);
        painter.setBrush(selected ? Palette::accent() : QColor(0, 0, 0, 77));
        painter.setPen(QPen(Qt::white, 1.7));
        painter.drawEllipse(badge);
        if (selected) {
            QPainterPath check;
            check.moveTo(badge.center() + QPointF(-5, 0));
            check.lineTo(badge.center() + QPointF(-1.5, 3.5));
            check.lineTo(badge.center() + QPointF(5, -4));
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPath(check);
        }
        painter.setOpacity(1);
    }

    // The name, elided in the middle, and the size.
    const double nameTop = frame.bottom() + kCaptionGap;
    const Caption& caption = captionOf(item, int(frame.width()));
    painter.setFont(caption.nameFont);
    painter.setPen(text);
    painter.drawStaticText(QPointF(frame.left(), nameTop), caption.name);
    painter.setFont(caption.sizeFont);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawStaticText(QPointF(frame.left(), nameTop + caption.nameHeight + kLineGap), caption.size);
    painter.restore();
}

// In the duplicates section every card says where it is (two copies have
// the same name), and the copy to keep says why.
bool MediaGridView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && model_.section() == LibrarySection::duplicates) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<int> index = indexAt(help->pos());
        const auto& groups = model_.duplicateGroups();
        if (index && groups) {
            const std::string path(model_.visible()[*index].path());
            const auto [group, place] = groups->find(path);
            QStringList lines{translate("Mirelo", "Folder: %1")
                                  .arg(QFile::decodeName(QByteArray::fromStdString(std::string(parentPath(path)))))};
            if (group >= 0 && isKeeper(*index))
                lines << LibraryTexts::keeperReason(int(groups->groups[size_t(group)].reason));
            // The same file under other names: letting one go frees nothing.
            if (group >= 0)
                if (auto found = groups->groups[size_t(group)].links.find(path);
                    found != groups->groups[size_t(group)].links.end())
                    for (const std::string& other : found->second)
                        lines << translate("Mirelo", "Also at: %1")
                                     .arg(QFile::decodeName(QByteArray::fromStdString(other)));
            QToolTip::showText(help->globalPos(), lines.join(u'\n'), viewport());
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// "Keep" in the card's top left corner.
void MediaGridView::paintKeeperLabel(QPainter& painter, const QRect& card)
{
    const QString text = translate("Mirelo", "Keep");
    const QFont font = Palette::font(10, QFont::DemiBold);
    const QRectF label(card.left() + 8, card.top() + 8, QFontMetricsF(font).horizontalAdvance(text) + 14, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::accent());
    painter.drawRoundedRect(label, 10, 10);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignCenter, text);
}

// Each group's line: how many, and what letting go of the extra copies frees.
void MediaGridView::paintGroupHeaders(QPainter& painter, const MediaGridLayout& grid, double top, const QRect& exposed)
{
    const auto [first, last] = grid.groupsBetween(top + exposed.top(), top + exposed.bottom() + 1, built_);
    const std::vector<ShownGroup>& groups = model_.shownGroups();
    const bool similar = model_.duplicateKind() == DuplicateGroups::Kind::similar;
    painter.setFont(Palette::font(12, QFont::DemiBold));
    painter.setPen(palette().color(QPalette::WindowText));
    for (int g = first; g < last && g < int(groups.size()); ++g) {
        const RectF header = grid.groupHeaderRect(g);
        const QRectF box(header.x, header.y - top, header.width, header.height - 6);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignBottom,
                         LibraryTexts::duplicateHeader(similar, groups[size_t(g)].count, groups[size_t(g)].freed));
    }
}

// A card's two lines, laid out once for its width.
const MediaGridView::Caption& MediaGridView::captionOf(const MediaItem& item, int width)
{
    const QString key = qstring(item.path()) + u'\n' + QString::number(width);
    if (const Caption* known = captions_.object(key)) return *known;
    auto* caption = new Caption;
    caption->nameFont = Palette::font(12, QFont::Medium);
    caption->sizeFont = Palette::font(10);
    const QFontMetrics nameMetrics(caption->nameFont);
    caption->nameHeight = nameMetrics.height();
    const QString name = QFile::decodeName(QByteArray(item.name().data(), qsizetype(item.name().size())));
    caption->name.setText(nameMetrics.elidedText(name, Qt::ElideMiddle, width));
    caption->name.prepare(QTransform(), caption->nameFont);
    caption->size.setText(sizeText(item.bytes()));
    caption->size.prepare(QTransform(), caption->sizeFont);
    captions_.insert(key, caption);
    return *caption;
}

void MediaGridView::activate(int index)
{
    const MediaItem& item = model_.visible()[index];
    if (model_.selecting()) {
        const std::string path(item.path());
        model_.setSelected(path, !model_.selection().contains(path));
    } else {
        model_.show(item);
    }
}

// In selection mode one click toggles a card; otherwise a double click opens it.
void MediaGridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (auto index = indexAt(event->position().toPoint())) {
            focus_->setIndex(*index); // the keys go on from the card clicked
            if (model_.selecting()) activate(*index);
        }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void MediaGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !model_.selecting())
        if (auto index = indexAt(event->position().toPoint())) activate(*index);
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

// The outline of the card under the pointer brightens, and that of the card
// it left fades, each over 0.14 s (at once under reduced motion).
void MediaGridView::setHovered(int index)
{
    if (index == hovered_) return;
    const bool still = DesktopLook::shared().reduceMotion();
    unhovered_ = hovered_;
    hovered_ = index;
    for (auto [animation, from, to] :
         {std::tuple{&hoverOut_, hoverIn_.currentValue().toDouble(), 0.0}, std::tuple{&hoverIn_, 0.0, 1.0}}) {
        animation->stop();
        animation->setStartValue(still ? to : from);
        animation->setEndValue(to);
        animation->start();
    }
    if (unhovered_ >= 0) viewport()->update(cardRect(unhovered_));
    if (hovered_ >= 0) viewport()->update(cardRect(hovered_));
}

double MediaGridView::hoverOf(int index) const
{
    if (index == hovered_) return hoverIn_.currentValue().toDouble();
    if (index == unhovered_) return hoverOut_.currentValue().toDouble();
    return 0;
}

void MediaGridView::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(indexAt(event->position().toPoint()).value_or(-1));
    QAbstractScrollArea::mouseMoveEvent(event);
}

void MediaGridView::leaveEvent(QEvent* event)
{
    setHovered(-1);
    QAbstractScrollArea::leaveEvent(event);
}

void MediaGridView::ensureVisible(int index)
{
    const int count = int(model_.visible().size());
    if (index < 0 || index >= count) return;
    if (index >= built_) {
        while (built_ <= index) built_ = MediaGridLayout::nextPage(built_, count);
        updateGeometry();
    }
    const QRect card =
        cardRect(index).adjusted(0, -int(MediaGridLayout::kTopPadding), 0, int(MediaGridLayout::kRowSpacing));
    QScrollBar* bar = verticalScrollBar();
    if (card.top() < 0)
        bar->setValue(bar->value() + card.top());
    else if (card.bottom() > viewport()->height())
        bar->setValue(bar->value() + card.bottom() - viewport()->height());
}

void MediaGridView::keyPressEvent(QKeyEvent* event)
{
    if (focus_->handleKey(event)) return;
    QAbstractScrollArea::keyPressEvent(event);
}

void MediaGridView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    // Arriving by Tab shows where the keys will act: the first card in view.
    if (focus_->index() < 0 && event->reason() != Qt::MouseFocusReason && !model_.visible().isEmpty())
        focus_->setIndex(cardsInView().first);
    else if (focus_->index() >= 0)
        focus_->setIndex(focus_->index());
}

void MediaGridView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    if (focus_->index() >= 0) viewport()->update(cardRect(focus_->index()).adjusted(-6, -6, 6, 6));
}

void MediaGridView::contextMenuEvent(QContextMenuEvent* event)
{
    const std::optional<int> index = indexAt(event->pos());
    if (!index) return;
    const MediaItem item = model_.visible()[*index];
    QMenu menu(this);
    menu.addAction(translate("Mirelo", "Open"), this, [this, item] { model_.show(item); });
    menu.addAction(translate("Mirelo", "Show in File Manager"), this,
                   [this, item] { Q_EMIT revealRequested(std::string(item.path())); });
    menu.addSeparator();
    QAction* trash =
        menu.addAction(translate("Mirelo", "Move to Trash"), this, [this, item] { model_.requestTrash({item}); });
    trash->setEnabled(!model_.busy() && !model_.scanning());
    menu.exec(event->globalPos());
}

} // namespace mirelo
