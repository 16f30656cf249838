#pragma once
// The grid as assistive technologies see it: a list whose children are the
// cards in view, each a button named "photo.jpg, JPG, 2.4 MB" with the
// value "Selected" or "Not selected", a hint that says what activating it
// does, and that action. The grid paints its cards itself, so they are
// described here rather than by widgets.

#include <QAccessibleWidget>

namespace mirelo {

class MediaGridView;

class MediaGridAccessible : public QAccessibleWidget {
public:
    explicit MediaGridAccessible(MediaGridView* grid);
    // Installs the factory that gives every grid this description.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // A card's words (index into the model's visible items).
    static QString cardName(const MediaGridView& grid, int index);
    static QString cardValue(const MediaGridView& grid, int index);
    static QString cardHint(const MediaGridView& grid);

private:
    MediaGridView* grid() const;
};

} // namespace mirelo
