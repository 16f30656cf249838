#include "Palette.h"

#include <QApplication>
#include <QPalette>

namespace mirelo::Palette {

bool dark() { return QApplication::palette().color(QPalette::Window).lightnessF() < 0.5; }

QColor accent() { return dark() ? QColor::fromRgbF(0.4f, 0.7f, 1.0f) : QColor::fromRgbF(0.02f, 0.36f, 0.83f); }

QColor sidebar() { return dark() ? QColor::fromRgbF(0.105f, 0.15f, 0.23f) : QColor::fromRgbF(0.89f, 0.94f, 1.0f); }

QColor background() { return QApplication::palette().color(QPalette::Window); }

QFont font(double size, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(qRound(size));
    font.setWeight(weight);
    return font;
}

} // namespace mirelo::Palette
