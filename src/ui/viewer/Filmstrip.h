#pragma once
// The row of thumbnails along the bottom of the viewer: every item of the
// viewer's list, the current one centred and outlined. It glides to a new
// current item (0.26 s) and jumps when the list is replaced; the wheel
// steps one item a notch, a trackpad one item per 60 points; a click
// chooses. Only the thumbnails in view are painted and asked for; those
// that scroll away are cancelled.

#include "library/MediaItem.h"

#include <QCache>
#include <QPixmap>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace mirelo {

class ThumbnailRequest;
class ThumbnailStore;

class Filmstrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 105, kGlideMs = 260, kRevealMs = 220;
    static constexpr double kTravelPerItem = 60;

    explicit Filmstrip(ThumbnailStore& thumbnails, QWidget* parent = nullptr);
    ~Filmstrip() override;

    // The list and its current item: a glide within the same list, a jump to a new one.
    void setItems(const MediaItems& items, std::optional<int> current);
    // The thumbnails rise and fade in from left to right.
    void reveal();
    // While held, the strip shows the thumbnails it has and starts no
    // decoding: the picture the user waits for has the cores.
    void holdThumbnails(bool held);
    double scrollX() const { return scrollX_; }
    bool gliding() const { return glide_.state() == QAbstractAnimation::Running; }
    void stopGlide() { glide_.stop(); }
    const MediaItems& items() const { return items_; }
    std::optional<int> current() const { return current_; }
    // The thumbnail under a point, if any.
    std::optional<int> indexAt(QPointF point) const;
    // The accessibility ids of the thumbnails described so far, by index.
    std::unordered_map<int, unsigned>& accessibleCells() { return accessibleCells_; }

    std::function<void(int steps)> onNavigate;
    std::function<void(const MediaItem& item)> onChoose;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void centre(double x, bool animated);
    void forgetAccessibleCells();
    QPixmap thumbnail(const MediaItem& item, QSize size);
    void followView();

    ThumbnailStore& thumbnails_;
    MediaItems items_;
    std::optional<int> current_;
    double scrollX_ = 0;
    double travel_ = 0;
    QVariantAnimation glide_;
    QVariantAnimation reveal_; // milliseconds since the reveal began
    QCache<QString, QPixmap> pictures_{400};
    bool held_ = false;
    std::unordered_map<std::string, std::shared_ptr<ThumbnailRequest>> requests_; // by path, in view
    std::unordered_map<int, unsigned> accessibleCells_;
};

} // namespace mirelo
