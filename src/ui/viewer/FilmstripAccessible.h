#pragma once
// The filmstrip for assistive technologies: a list of the thumbnails in
// view, each a button named "View " and the file name, selected when it is
// the picture shown; pressing it shows that picture.

#include <QAccessibleWidget>

namespace mirelo {

class Filmstrip;

class FilmstripAccessible : public QAccessibleWidget {
public:
    explicit FilmstripAccessible(Filmstrip* strip);
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    Filmstrip* strip() const;
};

} // namespace mirelo
