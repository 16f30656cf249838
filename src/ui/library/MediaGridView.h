#pragma once
// The library's grid of cards: the model's visible items in adaptive
// columns, built 240 at a time as the user scrolls to the end. Only the
// cards in view are painted, each from a copy of its preview reduced to the
// card's size; previews are asked of the thumbnail store for the cards in
// view, and requests for cards that scrolled away are cancelled.

#include "CardMotion.h"
#include "GridLocation.h"
#include "layout/MediaGridLayout.h"
#include "library/MediaItem.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QStaticText>
#include <QVariantAnimation>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace mirelo {

class AppModel;
class MediaGridFocus;
class ThumbnailRequest;
class ThumbnailStore;

class MediaGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The thumbnail, 144 points tall, then the name and the size.
    static constexpr double kThumbnailHeight = 144, kCornerRadius = 15;

    MediaGridView(AppModel& model, ThumbnailStore& thumbnails, QWidget* parent = nullptr);
    ~MediaGridView() override;

    int builtCount() const { return built_; }
    bool showsProgressRow() const;
    // The card under a point of the viewport.
    std::optional<int> indexAt(const QPoint& point) const;
    // A card's rectangle in the viewport.
    QRect cardRect(int index) const;
    MediaGridLayout layout() const;
    size_t pendingRequests() const { return requests_.size(); }
    AppModel& model() const { return model_; }
    // Opens the card, or toggles it in selection mode.
    void activate(int index);
    double cardHeight() const { return cardHeight_; }
    MediaGridFocus& focus() const { return *focus_; }
    // Builds the pages up to the card and scrolls it into view.
    void ensureVisible(int index);
    // The accessibility ids of the cards described so far, by index.
    std::unordered_map<int, unsigned>& accessibleCards() { return accessibleCards_; }

Q_SIGNALS:
    void revealRequested(const std::string& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void restart();
    void forgetAccessibleCards();
    // Cards in view whose selected state changed move; the rest stay.
    void followSelection();
    void followSelecting();
    // The first and past-the-last index of the cards in view.
    std::pair<int, int> cardsInView() const;
    void repaintCard(const std::string& path);
    void contentChanged();
    void updateGeometry();
    void followScroll();
    bool isKeeper(int index) const;
    void paintKeeperLabel(QPainter& painter, const QRect& card);
    void paintGroupHeaders(QPainter& painter, const MediaGridLayout& grid, double top, const QRect& exposed);
    void paintCard(QPainter& painter, const MediaItem& item, const QRect& rect, bool selected, double hover,
                   const CardMotion::Pose& pose);
    void setHovered(int index);
    // How far the card's hover outline has come in (0 to 1).
    double hoverOf(int index) const;
    void paintDecorations(QPainter& painter, const MediaItem& item, const QRectF& frame) const;
    QPixmap thumbnail(const MediaItem& item, const QSize& size);
    static double measureCardHeight();
    QRect cardRect(const MediaGridLayout& grid, int index) const;
    struct Caption {
        QFont nameFont, sizeFont;
        QStaticText name, size;
        int nameHeight = 0;
    };
    const Caption& captionOf(const MediaItem& item, int width);

    AppModel& model_;
    ThumbnailStore& thumbnails_;
    const double cardHeight_ = measureCardHeight();
    int built_ = 0;
    int hovered_ = -1;
    int unhovered_ = -1; // the card the pointer left, fading
    QVariantAnimation hoverIn_, hoverOut_;
    QVariantAnimation badges_;             // selection badges coming and going with selection mode
    std::optional<GridLocation> location_; // of what is built
    QCache<QString, Caption> captions_{4000};
    std::unordered_map<std::string, std::shared_ptr<ThumbnailRequest>> requests_; // by path, in view
    CardMotion motion_;
    std::unordered_set<std::string> shownSelected_; // cards in view last seen selected
    std::unordered_map<int, unsigned> accessibleCards_;
    MediaGridFocus* focus_ = nullptr;
};

} // namespace mirelo
