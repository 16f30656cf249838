#pragma once
// One thumbnail of the filmstrip for assistive technologies (see
// FilmstripAccessible).

#include "common/PaintedButtonAccessible.h"

namespace mirelo {

class Filmstrip;

class FilmstripCellAccessible : public PaintedButtonAccessible {
public:
    FilmstripCellAccessible(Filmstrip* strip, int index);

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::State state() const override;

protected:
    void press() override;

private:
    Filmstrip* strip() const;
};

} // namespace mirelo
