#include "PanelButton.h"

#include "Palette.h"

#include <QPainter>

namespace mirelo {

PanelButton::PanelButton(const QString& title, const QString& symbol, std::function<void()> invoke, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol)
{
    setText(title);
    setToolTip(title);
    setAccessibleName(title);
    setFont(Palette::font(13, QFont::Medium));
    setFixedHeight(kHeight);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [invoke = std::move(invoke)] {
        if (invoke) invoke();
    });
}

void PanelButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::WindowText);
    fill.setAlphaF(isDown() ? 0.15f : 0.07f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 8, 8);
    if (hasFocus()) {
        painter.setPen(QPen(Palette::accent(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 7, 7);
    }
    const QColor ink = palette().color(QPalette::WindowText);
    int x = kInset;
    if (!symbol_.isEmpty()) {
        const QPixmap icon = Palette::tintedSymbol(symbol_, 15, ink, devicePixelRatioF());
        painter.drawPixmap(QPoint(x, (height() - 15) / 2), icon);
        x += 15 + 8;
    }
    painter.setPen(ink);
    painter.setFont(font());
    painter.drawText(QRect(x, 0, width() - x - kInset, height()), Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text(), Qt::ElideMiddle, width() - x - kInset));
}

} // namespace mirelo
