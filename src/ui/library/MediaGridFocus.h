#pragma once
// The grid's keyboard focus: the card the arrow keys, Home, End and the page
// keys move between (a ring shows it while the grid has the focus), Return
// opening it in the viewer, Space toggling it in selection mode, and Shift
// with a move extending the selection from where it started. When the
// viewer closes, the focus is on the card it was showing.

#include <QObject>

#include <string>

class QKeyEvent;

namespace mirelo {

class MediaGridView;

class MediaGridFocus : public QObject {
    Q_OBJECT
public:
    explicit MediaGridFocus(MediaGridView& grid);

    // The focused card's index into the model's visible items, or -1.
    int index() const { return index_; }
    // Focuses a card: built and scrolled into view, repainted, and told to
    // assistive technologies.
    void setIndex(int index);
    // Whether the key was the grid's.
    bool handleKey(QKeyEvent* event);
    // Another place in the library: nothing is focused until a key asks.
    void reset();
    // The same place with fewer or more items.
    void clamp();

private:
    void extendSelection(int to);
    void followCurrent();

    MediaGridView& grid_;
    int index_ = -1;
    int anchor_ = -1;   // where a Shift selection started
    std::string shown_; // the viewer's item while it is open
};

} // namespace mirelo
