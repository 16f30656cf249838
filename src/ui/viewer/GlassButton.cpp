#include "GlassButton.h"

#include "common/Palette.h"

#include <QPainter>

namespace mirelo {

GlassButton::GlassButton(const QString& symbol, const QString& help, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol)
{
    setToolTip(help);
    setAccessibleName(help);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    // Room around the circle for its shadow.
    setFixedSize(sizeHint());
}

void GlassButton::enterEvent(QEnterEvent*)
{
    hovered_ = true;
    update();
}

void GlassButton::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void GlassButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle((width() - kDiameter) / 2.0, (height() - kDiameter) / 2.0 - 1, kDiameter, kDiameter);
    // The shadow: black at 0.13, 10 points soft, 3 below.
    painter.setPen(Qt::NoPen);
    for (int ring = 5; ring >= 1; --ring) {
        painter.setBrush(QColor(0, 0, 0, int(255 * 0.13 / 5 * (6 - ring) / 3)));
        painter.drawEllipse(circle.translated(0, 3).adjusted(-ring, -ring, ring, ring));
    }
    QColor fill(255, 255, 255, hovered_ ? 255 : int(255 * 0.82));
    if (isDown()) fill = QColor(235, 235, 235);
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(255, 255, 255, int(255 * 0.6)), 0.7));
    painter.drawEllipse(circle);
    const QPixmap symbol = Palette::tintedSymbol(symbol_, kSymbol, isEnabled() ? QColor(0, 0, 0) : QColor(0, 0, 0, 90),
                                                 devicePixelRatioF());
    painter.drawPixmap(QRectF(circle.center() - QPointF(kSymbol / 2.0, kSymbol / 2.0), QSizeF(kSymbol, kSymbol)),
                       symbol, QRectF(symbol.rect()));
}

} // namespace mirelo
