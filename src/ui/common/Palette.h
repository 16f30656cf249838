#pragma once
// The application's own colours, following the light or dark appearance,
// and its fonts at the sizes the windows use (the desktop's UI font).

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>

#include <functional>

class QAbstractScrollArea;

namespace mirelo::Palette {

// Selection and highlights: card borders and badges, the sidebar's and
// folders' highlights, the spinner.
QColor accent();
// The sidebar's fill.
QColor sidebar();
// The window's backdrop.
QColor background();
// Whether the dark appearance is in effect.
bool dark();

// Runs `apply` now and again each time the look changes (a choice in
// Settings, or the desktop's preference under "system"), for as long as
// `context` lives: colours worked out from the palette follow the look.
void followLook(QObject* context, const std::function<void()>& apply);

// Makes a scroll area's bars thin, without arrow buttons, with a rounded
// handle that shows in either look and darkens under the pointer.
void thinScrollBars(QAbstractScrollArea* area);

// A style sheet for the small borderless tool buttons of the sidebar and
// the folder rows: no frame, a soft grey under the pointer or the focus.
QString flatButtonStyle();
// The desktop's UI font, `size` points tall (a point is a device-independent pixel).
QFont font(double size, QFont::Weight weight = QFont::Normal);

// A freedesktop icon by name ("image-x-generic-symbolic"), from the
// desktop's theme or else from Adwaita, which the install script brings.
QIcon symbol(const QString& name);
// A symbol drawn in one colour, `size` points square at `ratio` pixels a point.
QPixmap tintedSymbol(const QString& name, int size, const QColor& colour, double ratio);

} // namespace mirelo::Palette
