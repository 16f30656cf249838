#include "FilmstripAccessible.h"

#include "Filmstrip.h"
#include "FilmstripCellAccessible.h"

namespace mirelo {

namespace {

QAccessibleInterface* describe(const QString& className, QObject* object)
{
    if (className == QLatin1String("mirelo::Filmstrip"))
        return new FilmstripAccessible(static_cast<Filmstrip*>(object));
    return nullptr;
}

} // namespace

FilmstripAccessible::FilmstripAccessible(Filmstrip* strip) : QAccessibleWidget(strip, QAccessible::List) {}

void FilmstripAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    (void)installed;
}

Filmstrip* FilmstripAccessible::strip() const { return static_cast<Filmstrip*>(widget()); }

int FilmstripAccessible::childCount() const { return int(strip()->items().size()); }

QAccessibleInterface* FilmstripAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) return nullptr;
    auto& cells = strip()->accessibleCells();
    if (auto found = cells.find(index); found != cells.end()) return QAccessible::accessibleInterface(found->second);
    auto* cell = new FilmstripCellAccessible(strip(), index);
    cells[index] = QAccessible::registerAccessibleInterface(cell);
    return cell;
}

int FilmstripAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (auto* cell = dynamic_cast<const FilmstripCellAccessible*>(child)) return cell->index();
    return -1;
}

} // namespace mirelo
