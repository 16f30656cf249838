#pragma once
// The viewer's transient panel beside one of its buttons, a rounded card
// whose arrow points at the button: it closes when the user clicks
// elsewhere or presses Escape. `panel` starts the usual content, a title and
// a subtitle, in a 340-point column with 24 points around it.

#include <QFrame>
#include <QPointer>

class QPainterPath;
class QVBoxLayout;

namespace mirelo {

class ViewerPopover : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 340, kInset = 24, kTextWidth = 292;
    static constexpr int kArrow = 9, kRadius = 12;

    explicit ViewerPopover(QWidget* parent);
    QVBoxLayout* column() const { return column_; }
    // Adds the panel's title and subtitle.
    void addHeading(const QString& title, const QString& subtitle);
    // Shown beside `anchor`, on its left.
    void present(QWidget* anchor);
    QWidget* anchor() const { return anchor_; }
    // Where the arrow's tip is, from the panel's top.
    int arrowY() const { return arrowY_; }

Q_SIGNALS:
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QVBoxLayout* column_;
    QPainterPath outline() const;

    QPointer<QWidget> anchor_;
    int arrowY_ = 0;
};

} // namespace mirelo
