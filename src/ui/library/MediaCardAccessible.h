#pragma once
// One card of the grid for assistive technologies (see MediaGridAccessible).

#include "common/PaintedButtonAccessible.h"

namespace mirelo {

class MediaGridView;

class MediaCardAccessible : public PaintedButtonAccessible {
public:
    MediaCardAccessible(MediaGridView* grid, int index);

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::State state() const override;

protected:
    void press() override;

private:
    MediaGridView* grid() const;
};

} // namespace mirelo
