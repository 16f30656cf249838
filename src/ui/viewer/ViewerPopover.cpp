#include "ViewerPopover.h"

#include "common/Palette.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace mirelo {

ViewerPopover::ViewerPopover(QWidget* parent) : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // A click on the button that opened it only closes it.
    setAttribute(Qt::WA_NoMouseReplay);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    setPalette(QApplication::palette()); // not the viewer's greys
    setFixedWidth(kWidth + kArrow);
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(kInset, kInset, kInset + kArrow, kInset);
    column_->setSpacing(8);
}

void ViewerPopover::addHeading(const QString& title, const QString& subtitle)
{
    const QFont headingFont = Palette::font(17, QFont::DemiBold), lineFont = Palette::font(12);
    auto* heading = new QLabel(QFontMetrics(headingFont).elidedText(title, Qt::ElideMiddle, kTextWidth), this);
    heading->setFont(headingFont);
    column_->addWidget(heading);
    // A long name is shortened in its middle, whole in the tooltip.
    auto* line = new QLabel(QFontMetrics(lineFont).elidedText(subtitle, Qt::ElideMiddle, kTextWidth), this);
    line->setFont(lineFont);
    line->setForegroundRole(QPalette::PlaceholderText);
    line->setToolTip(subtitle);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column_->addWidget(line);
    column_->addSpacing(20 - column_->spacing());
}

void ViewerPopover::present(QWidget* anchor)
{
    anchor_ = anchor;
    adjustSize();
    // Wrapped lines (a long location) are as tall as the panel's width makes them.
    if (layout() && layout()->hasHeightForWidth()) resize(width(), layout()->heightForWidth(width()));
    const QRect bounds(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QPoint at(bounds.left() - width() - 8, bounds.center().y() - height() / 2);
    if (const QScreen* screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        at.setY(std::clamp(at.y(), room.top() + 8, std::max(room.top() + 8, room.bottom() - height() - 8)));
        at.setX(std::max(at.x(), room.left() + 8));
    }
    arrowY_ = std::clamp(bounds.center().y() - at.y(), kRadius + kArrow,
                         std::max(kRadius + kArrow, height() - kRadius - kArrow));
    move(at);
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
    show();
}

// The card, and on its right the arrow towards the button.
QPainterPath ViewerPopover::outline() const
{
    QPainterPath path;
    const QRectF card(0, 0, width() - kArrow, height());
    path.addRoundedRect(card, kRadius, kRadius);
    QPainterPath arrow;
    arrow.moveTo(card.right() - 1, arrowY_ - kArrow);
    arrow.lineTo(card.right() + kArrow, arrowY_);
    arrow.lineTo(card.right() - 1, arrowY_ + kArrow);
    arrow.closeSubpath();
    return path.united(arrow);
}

void ViewerPopover::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.18f);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawPath(outline().translated(0.5, 0.5));
}

void ViewerPopover::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
}

void ViewerPopover::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    Q_EMIT closed();
}

} // namespace mirelo
