#include "MediaCardAccessible.h"

#include "AppModel.h"
#include "MediaGridAccessible.h"
#include "MediaGridView.h"

namespace mirelo {

bool MediaCardAccessible::isValid() const { return grid_ && index_ < grid_->builtCount(); }

QAccessibleInterface* MediaCardAccessible::parent() const
{
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QString MediaCardAccessible::text(QAccessible::Text t) const
{
    if (!isValid()) return {};
    switch (t) {
    case QAccessible::Name: return MediaGridAccessible::cardName(*grid_, index_);
    case QAccessible::Value: return MediaGridAccessible::cardValue(*grid_, index_);
    case QAccessible::Help:
    case QAccessible::Description: return MediaGridAccessible::cardHint(*grid_);
    default: return {};
    }
}

QRect MediaCardAccessible::rect() const
{
    if (!isValid()) return {};
    const QRect card = grid_->cardRect(index_);
    return QRect(grid_->viewport()->mapToGlobal(card.topLeft()), card.size());
}

QAccessible::State MediaCardAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = grid_->model().selecting();
    state.selected = MediaGridAccessible::cardValue(*grid_, index_) == QStringLiteral("Selected");
    return state;
}

void* MediaCardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void MediaCardAccessible::doAction(const QString& name)
{
    if (name == pressAction() && isValid()) grid_->activate(index_);
}

} // namespace mirelo
