#include "SheetDimmer.h"

#include "Palette.h"

#include <QEvent>
#include <QPainter>

namespace mirelo {

void SheetDimmer::cover(QWidget* window, QWidget* sheet)
{
    if (!window || !sheet) return;
    for (auto* dimmer : window->findChildren<SheetDimmer*>(QString(), Qt::FindDirectChildrenOnly))
        if (dimmer->sheet_ == sheet) return;
    (new SheetDimmer(window, sheet))->show();
}

SheetDimmer::SheetDimmer(QWidget* window, QWidget* sheet) : QWidget(window), sheet_(sheet)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(window->rect());
    raise();
    window->installEventFilter(this);
    sheet->installEventFilter(this);
    connect(sheet, &QObject::destroyed, this, &QObject::deleteLater);
}

void SheetDimmer::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, Palette::dark() ? 110 : 70));
}

bool SheetDimmer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    if (watched == sheet_ && (event->type() == QEvent::Hide || event->type() == QEvent::Close)) deleteLater();
    return QWidget::eventFilter(watched, event);
}

} // namespace mirelo
