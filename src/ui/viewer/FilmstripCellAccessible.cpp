#include "FilmstripCellAccessible.h"
#include "Translation.h"

#include "Filmstrip.h"
#include "layout/ViewerGeometry.h"
#include "common/Text.h"

namespace mirelo {

FilmstripCellAccessible::FilmstripCellAccessible(Filmstrip* strip, int index) : PaintedButtonAccessible(strip, index) {}

Filmstrip* FilmstripCellAccessible::strip() const { return static_cast<Filmstrip*>(owner()); }

bool FilmstripCellAccessible::isValid() const { return strip() && index() < strip()->items().size(); }

QString FilmstripCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name) return {};
    return translate("Mirelo", "View %1").arg(qstring(strip()->items()[index()].name()));
}

QRect FilmstripCellAccessible::rect() const
{
    if (!isValid()) return {};
    const RectF frame = FilmstripGeometry(strip()->width(), int(strip()->items().size())).frame(index());
    const QPoint topLeft = strip()->mapToGlobal(QPoint(int(frame.x - strip()->scrollX()), int(frame.y)));
    return {topLeft, QSize(int(frame.width), int(frame.height))};
}

QAccessible::State FilmstripCellAccessible::state() const
{
    QAccessible::State state;
    state.invalid = !isValid();
    state.selectable = true;
    state.selected = isValid() && strip()->current() == index();
    return state;
}

void FilmstripCellAccessible::press()
{
    if (strip()->onChoose) strip()->onChoose(strip()->items()[index()]);
}

} // namespace mirelo
