#include "MediaGridAccessible.h"
#include "Translation.h"

#include "AppModel.h"
#include "MediaCardAccessible.h"
#include "MediaGridFocus.h"
#include "MediaGridView.h"
#include "common/Text.h"

#include <QScrollBar>

namespace mirelo {

namespace {

QAccessibleInterface* describe(const QString& className, QObject* object)
{
    if (className == QLatin1String("mirelo::MediaGridView"))
        return new MediaGridAccessible(static_cast<MediaGridView*>(object));
    return nullptr;
}

} // namespace

MediaGridAccessible::MediaGridAccessible(MediaGridView* grid) : QAccessibleWidget(grid, QAccessible::List)
{
    addControllingSignal(QStringLiteral("revealRequested(std::string)"));
}

void MediaGridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    (void)installed;
}

MediaGridView* MediaGridAccessible::grid() const { return static_cast<MediaGridView*>(widget()); }

QString MediaGridAccessible::cardName(const MediaGridView& grid, int index)
{
    const MediaItem& item = grid.model().visible()[index];
    return qstring(item.name()) + QStringLiteral(", ") + QString::fromStdString(std::string(item.format())) +
           QStringLiteral(", ") + sizeText(item.bytes());
}

QString MediaGridAccessible::cardValue(const MediaGridView& grid, int index)
{
    return grid.model().selection().contains(grid.model().visible()[index].path())
               ? translate("Mirelo", "Selected")
               : translate("Mirelo", "Not selected");
}

QString MediaGridAccessible::cardHint(const MediaGridView& grid)
{
    return grid.model().selecting() ? translate("Mirelo", "Activate to toggle selection")
                                    : translate("Mirelo", "Activate to open in the viewer");
}

// The built cards are the list's children; a screen reader reaches those
// out of view by scrolling, as the grid pages in more.
int MediaGridAccessible::childCount() const
{
    return std::min(grid()->builtCount(), int(grid()->model().visible().size()));
}

QAccessibleInterface* MediaGridAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) return nullptr;
    // One interface per card and grid, kept by Qt's registry.
    auto& cards = grid()->accessibleCards();
    auto found = cards.find(index);
    if (found != cards.end()) return QAccessible::accessibleInterface(found->second);
    auto* card = new MediaCardAccessible(grid(), index);
    cards[index] = QAccessible::registerAccessibleInterface(card);
    return card;
}

QAccessibleInterface* MediaGridAccessible::focusChild() const
{
    const int focused = grid()->focus().index();
    return grid()->hasFocus() && focused >= 0 ? child(focused) : nullptr;
}

int MediaGridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (auto* card = dynamic_cast<const MediaCardAccessible*>(child)) return card->index();
    return -1;
}

QAccessibleInterface* MediaGridAccessible::childAt(int x, int y) const
{
    const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    if (auto index = grid()->indexAt(local)) return child(*index);
    return nullptr;
}

} // namespace mirelo
