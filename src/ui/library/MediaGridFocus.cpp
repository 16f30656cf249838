#include "MediaGridFocus.h"

#include "AppModel.h"
#include "MediaGridView.h"

#include <QAccessible>
#include <QKeyEvent>

#include <optional>

namespace mirelo {

namespace {

std::optional<MediaGridLayout::Step> stepOf(int key)
{
    using Step = MediaGridLayout::Step;
    switch (key) {
    case Qt::Key_Left: return Step::left;
    case Qt::Key_Right: return Step::right;
    case Qt::Key_Up: return Step::up;
    case Qt::Key_Down: return Step::down;
    case Qt::Key_PageUp: return Step::pageUp;
    case Qt::Key_PageDown: return Step::pageDown;
    case Qt::Key_Home: return Step::first;
    case Qt::Key_End: return Step::last;
    default: return std::nullopt;
    }
}

} // namespace

MediaGridFocus::MediaGridFocus(MediaGridView& grid) : QObject(&grid), grid_(grid)
{
    connect(&grid.model(), &AppModel::currentChanged, this, &MediaGridFocus::followCurrent);
}

void MediaGridFocus::setIndex(int index)
{
    const int count = int(grid_.model().visible().size());
    if (index >= count) index = count - 1;
    const int previous = index_;
    index_ = index;
    if (previous >= 0) grid_.viewport()->update(grid_.cardRect(previous).adjusted(-6, -6, 6, 6));
    if (index_ < 0) return;
    grid_.ensureVisible(index_);
    grid_.viewport()->update(grid_.cardRect(index_).adjusted(-6, -6, 6, 6));
    if (grid_.hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent event(&grid_, QAccessible::Focus);
        event.setChild(index_);
        QAccessible::updateAccessibility(&event);
    }
}

bool MediaGridFocus::handleKey(QKeyEvent* event)
{
    AppModel& model = grid_.model();
    const int count = int(model.visible().size());
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (const std::optional<MediaGridLayout::Step> step = stepOf(event->key());
        step && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        const MediaGridLayout layout = grid_.layout();
        const int pageRows =
            std::max(1, int(grid_.viewport()->height() / (grid_.cardHeight() + MediaGridLayout::kRowSpacing)));
        const int from = index_;
        const int to = MediaGridLayout::stepped(index_, *step, count, layout.columns(), pageRows);
        if (modifiers == Qt::ShiftModifier && to >= 0) {
            if (anchor_ < 0) anchor_ = from >= 0 ? from : to;
            extendSelection(to);
        } else {
            anchor_ = -1;
        }
        setIndex(to);
        return true;
    }
    if (modifiers != Qt::NoModifier || index_ < 0 || index_ >= count) return false;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        model.show(model.visible()[index_]);
        return true;
    }
    if (event->key() == Qt::Key_Space && model.selecting()) {
        const std::string path(model.visible()[index_].path());
        model.setSelected(path, !model.selection().contains(path));
        anchor_ = index_;
        return true;
    }
    return false;
}

void MediaGridFocus::extendSelection(int to)
{
    AppModel& model = grid_.model();
    if (!model.selecting()) model.setSelecting(true);
    PathSelection selection;
    for (int i = std::min(anchor_, to), last = std::max(anchor_, to); i <= last; ++i)
        selection.insert(std::string(model.visible()[i].path()));
    model.setSelection(std::move(selection));
}

void MediaGridFocus::reset()
{
    index_ = -1;
    anchor_ = -1;
}

void MediaGridFocus::clamp()
{
    const int count = int(grid_.model().visible().size());
    if (index_ >= count) index_ = count - 1;
    if (anchor_ >= count) anchor_ = -1;
}

// The viewer hands the focus back to the card it was showing.
void MediaGridFocus::followCurrent()
{
    const AppModel& model = grid_.model();
    if (model.current()) {
        shown_ = std::string(model.current()->path());
        return;
    }
    if (shown_.empty()) return;
    const MediaItems& visible = model.visible();
    for (qsizetype i = 0; i < visible.size(); ++i)
        if (visible[i].path() == shown_) {
            setIndex(int(i));
            grid_.setFocus(Qt::OtherFocusReason);
            break;
        }
    shown_.clear();
}

} // namespace mirelo
