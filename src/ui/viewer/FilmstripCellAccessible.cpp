#include "FilmstripCellAccessible.h"

#include "Filmstrip.h"
#include "ViewerGeometry.h"

namespace mirelo {

bool FilmstripCellAccessible::isValid() const { return strip_ && index_ < strip_->items().size(); }

QAccessibleInterface* FilmstripCellAccessible::parent() const
{
    return strip_ ? QAccessible::queryAccessibleInterface(strip_.data()) : nullptr;
}

QString FilmstripCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name) return {};
    const std::string_view name = strip_->items()[index_].name();
    return QStringLiteral("View ") + QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QRect FilmstripCellAccessible::rect() const
{
    if (!isValid()) return {};
    const RectF frame = FilmstripGeometry(strip_->width(), int(strip_->items().size())).frame(index_);
    const QPoint topLeft = strip_->mapToGlobal(QPoint(int(frame.x - strip_->scrollX()), int(frame.y)));
    return {topLeft, QSize(int(frame.width), int(frame.height))};
}

QAccessible::State FilmstripCellAccessible::state() const
{
    QAccessible::State state;
    state.invalid = !isValid();
    state.selectable = true;
    state.selected = isValid() && strip_->current() == index_;
    return state;
}

void* FilmstripCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void FilmstripCellAccessible::doAction(const QString& name)
{
    if (name == pressAction() && isValid() && strip_->onChoose) strip_->onChoose(strip_->items()[index_]);
}

} // namespace mirelo
