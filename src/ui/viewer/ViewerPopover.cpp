#include "ViewerPopover.h"

#include "common/Palette.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace mirelo {

ViewerPopover::ViewerPopover(QWidget* parent) : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // A click on the button that opened it only closes it.
    setAttribute(Qt::WA_NoMouseReplay);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setPalette(QApplication::palette()); // not the viewer's greys
    setFixedWidth(kWidth);
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(kInset, kInset, kInset, kInset);
    column_->setSpacing(8);
}

void ViewerPopover::addHeading(const QString& title, const QString& subtitle)
{
    auto* heading = new QLabel(fontMetrics().elidedText(title, Qt::ElideMiddle, kTextWidth), this);
    heading->setFont(Palette::font(17, QFont::DemiBold));
    column_->addWidget(heading);
    auto* line = new QLabel(subtitle, this);
    line->setFont(Palette::font(12));
    line->setForegroundRole(QPalette::PlaceholderText);
    line->setWordWrap(true);
    line->setToolTip(subtitle);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column_->addWidget(line);
    column_->addSpacing(20 - column_->spacing());
}

void ViewerPopover::present(QWidget* anchor)
{
    anchor_ = anchor;
    adjustSize();
    const QRect bounds(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QPoint at(bounds.left() - width() - 8, bounds.center().y() - height() / 2);
    if (const QScreen* screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        at.setY(std::clamp(at.y(), room.top() + 8, std::max(room.top() + 8, room.bottom() - height() - 8)));
        at.setX(std::max(at.x(), room.left() + 8));
    }
    move(at);
    show();
}

void ViewerPopover::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    Q_EMIT closed();
}

} // namespace mirelo
