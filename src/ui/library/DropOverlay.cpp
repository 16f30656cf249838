#include "DropOverlay.h"
#include "Translation.h"

#include "common/Palette.h"

#include <QPainter>

namespace mirelo {

DropOverlay::DropOverlay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void DropOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = Palette::accent();
    QColor fill = accent;
    fill.setAlphaF(0.12f);
    QPen dashes(accent, 3);
    // Dashes and gaps both 10 points (the pattern counts in pen widths).
    dashes.setDashPattern({10.0 / 3, 10.0 / 3});
    painter.setPen(dashes);
    painter.setBrush(fill);
    const QRectF frame = QRectF(rect()).adjusted(12, 12, -12, -12);
    painter.drawRoundedRect(frame, 24, 24);

    const QFont font = Palette::font(22, QFont::DemiBold);
    const QString label = translate("Mirelo", "Drop images or folders");
    const int textWidth = QFontMetrics(font).horizontalAdvance(label);
    const int symbol = 26, gap = 10;
    const int x = (width() - symbol - gap - textWidth) / 2;
    const QPixmap tinted =
        Palette::tintedSymbol(QStringLiteral("document-send-symbolic"), symbol, accent, devicePixelRatioF());
    painter.drawPixmap(QRect(x, (height() - symbol) / 2, symbol, symbol), tinted);
    painter.setFont(font);
    painter.setPen(accent);
    painter.drawText(QRect(x + symbol + gap, 0, textWidth + 2, height()), Qt::AlignVCenter | Qt::AlignLeft, label);
}

} // namespace mirelo
