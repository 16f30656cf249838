#include "MediaCardAccessible.h"
#include "Translation.h"

#include "AppModel.h"
#include "MediaGridAccessible.h"
#include "MediaGridFocus.h"
#include "MediaGridView.h"

namespace mirelo {

MediaCardAccessible::MediaCardAccessible(MediaGridView* grid, int index) : PaintedButtonAccessible(grid, index) {}

MediaGridView* MediaCardAccessible::grid() const { return static_cast<MediaGridView*>(owner()); }

bool MediaCardAccessible::isValid() const { return grid() && index() < grid()->builtCount(); }

QString MediaCardAccessible::text(QAccessible::Text t) const
{
    if (!isValid()) return {};
    switch (t) {
    case QAccessible::Name: return MediaGridAccessible::cardName(*grid(), index());
    case QAccessible::Value: return MediaGridAccessible::cardValue(*grid(), index());
    case QAccessible::Help:
    case QAccessible::Description: return MediaGridAccessible::cardHint(*grid());
    default: return {};
    }
}

QRect MediaCardAccessible::rect() const
{
    if (!isValid()) return {};
    const QRect card = grid()->cardRect(index());
    return QRect(grid()->viewport()->mapToGlobal(card.topLeft()), card.size());
}

QAccessible::State MediaCardAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.focused = grid()->hasFocus() && grid()->focus().index() == index();
    state.selectable = grid()->model().selecting();
    state.selected = MediaGridAccessible::cardValue(*grid(), index()) == translate("Mirelo", "Selected");
    return state;
}

void MediaCardAccessible::press() { grid()->activate(index()); }

} // namespace mirelo
