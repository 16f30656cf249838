#include "CapsuleButton.h"

#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

namespace mirelo {

namespace {
constexpr int kSymbol = 14, kGap = 6, kPadding = 14;
}

CapsuleButton::CapsuleButton(const QString& title, Kind kind, QWidget* parent) : QAbstractButton(parent), kind_(kind)
{
    setText(title);
    setAccessibleName(title);
    setFont(Palette::font(12, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleButton::setSymbol(const QString& name, bool after)
{
    symbol_ = name;
    symbolAfter_ = after;
    updateGeometry();
    update();
}

void CapsuleButton::setPointSize(double size, QFont::Weight weight)
{
    setFont(Palette::font(size, weight));
    updateGeometry();
}

void CapsuleButton::setKind(Kind kind)
{
    kind_ = kind;
    update();
}

QSize CapsuleButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text()) + 2 * (kind_ == Kind::plain ? 6 : kPadding);
    if (!symbol_.isEmpty()) width += kSymbol + (text().isEmpty() ? 0 : kGap);
    return {width, std::max(metrics.height() + 12, 28)};
}

void CapsuleButton::enterEvent(QEnterEvent*)
{
    hovered_ = true;
    update();
}

void CapsuleButton::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void CapsuleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = frame.height() / 2;
    const QColor accent = Palette::accent();
    const QColor red = Palette::dark() ? QColor(0xff, 0x6b, 0x60) : QColor(0xd7, 0x26, 0x1c);
    QColor ink = palette().color(QPalette::ButtonText);
    const bool down = isDown();

    switch (kind_) {
    case Kind::prominent: {
        QColor fill = accent;
        if (down)
            fill = fill.darker(115);
        else if (hovered_)
            fill = fill.lighter(108);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(frame, radius, radius);
        ink = Palette::dark() ? QColor(0x0b, 0x1a, 0x33) : Qt::white;
        break;
    }
    case Kind::bordered:
    case Kind::destructive: {
        QColor fill = palette().color(QPalette::Button);
        if (down)
            fill = fill.darker(108);
        else if (hovered_)
            fill = fill.lighter(Palette::dark() ? 125 : 102);
        QColor edge = palette().color(QPalette::WindowText);
        edge.setAlphaF(0.16f);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(frame, radius, radius);
        if (kind_ == Kind::destructive) ink = red;
        break;
    }
    case Kind::plain:
        ink = accent;
        if (hovered_ || down) {
            QColor fill = accent;
            fill.setAlphaF(down ? 0.16f : 0.08f);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawRoundedRect(frame, radius, radius);
        }
        break;
    }
    if (!isEnabled()) ink.setAlphaF(0.35f);
    if (hasFocus()) {
        QColor ring = accent;
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }

    // The symbol and the title, centred together.
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    const bool hasSymbol = !symbol_.isEmpty();
    const int total = textWidth + (hasSymbol ? kSymbol + (text().isEmpty() ? 0 : kGap) : 0);
    int x = (width() - total) / 2;
    const int symbolY = (height() - kSymbol) / 2;
    auto drawSymbol = [&](int at) {
        // In the title's colour.
        const QPixmap picture = Palette::tintedSymbol(symbol_, kSymbol, ink, devicePixelRatioF());
        painter.drawPixmap(QRect(at, symbolY, kSymbol, kSymbol), picture);
    };
    if (hasSymbol && !symbolAfter_) {
        drawSymbol(x);
        x += kSymbol + kGap;
    }
    painter.setPen(ink);
    painter.setFont(font());
    painter.drawText(QRect(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, this->text());
    if (hasSymbol && symbolAfter_) drawSymbol(x + textWidth + kGap);
}

} // namespace mirelo
