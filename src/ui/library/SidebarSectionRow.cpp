#include "SidebarSectionRow.h"
#include "Translation.h"

#include "common/Palette.h"

#include <QPainter>

namespace mirelo {

SidebarSectionRow::SidebarSectionRow(const QString& title, const QString& symbol, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol)
{
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SidebarSectionRow::sizeHint() const { return {200, kHeight}; }

void SidebarSectionRow::setCurrent(bool current)
{
    current_ = current;
    setAccessibleDescription(current ? translate("Mirelo", "Selected") : QString());
    update();
}

void SidebarSectionRow::setCount(const QString& count)
{
    count_ = count;
    update();
}

void SidebarSectionRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);
    const QColor foreground = current_ ? Palette::accent() : primary;
    if (current_ && drawsHighlight_) {
        QColor fill = Palette::accent();
        fill.setAlphaF(0.13f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()), 11, 11);
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) { // reached with the keyboard
        painter.setPen(QPen(Palette::accent(), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 11, 11);
    }
    const QRect box(12, 0, 21, height());
    const QPixmap symbol = Palette::tintedSymbol(symbol_, 15, foreground, devicePixelRatioF());
    painter.drawPixmap(QRect(box.center() - QPoint(7, 7), QSize(15, 15)), symbol);
    painter.setPen(foreground);
    painter.setFont(Palette::font(13, current_ ? QFont::DemiBold : QFont::Medium));
    const QRect titleBox(box.right() + 9, 0, width() - box.right() - 21, height());
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (!count_.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.setFont(Palette::font(11, QFont::Medium));
        painter.drawText(titleBox, Qt::AlignRight | Qt::AlignVCenter, count_);
    }
}

} // namespace mirelo
