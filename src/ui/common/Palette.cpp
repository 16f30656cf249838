#include "Palette.h"

#include "DesktopLook.h"
#include "SymbolIconEngine.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QPainter>
#include <QPalette>
#include <QStandardPaths>

namespace mirelo::Palette {

bool dark() { return QApplication::palette().color(QPalette::Window).lightnessF() < 0.5; }

QColor accent() { return dark() ? QColor::fromRgbF(0.4f, 0.7f, 1.0f) : QColor::fromRgbF(0.02f, 0.36f, 0.83f); }

QColor sidebar() { return dark() ? QColor::fromRgbF(0.105f, 0.15f, 0.23f) : QColor::fromRgbF(0.89f, 0.94f, 1.0f); }

QColor background() { return QApplication::palette().color(QPalette::Window); }

void thinScrollBars(QAbstractScrollArea* area)
{
    static const QString style = QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 1px; }"
        "QScrollBar:horizontal { background: transparent; height: 10px; margin: 1px 2px; }"
        "QScrollBar::handle { background: rgba(128, 128, 128, 0.45); border-radius: 3px; margin: 0 2px; }"
        "QScrollBar::handle:vertical { min-height: 36px; }"
        "QScrollBar::handle:horizontal { min-width: 36px; margin: 2px 0; }"
        "QScrollBar::handle:hover, QScrollBar::handle:pressed { background: rgba(128, 128, 128, 0.75); }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }");
    area->verticalScrollBar()->setStyleSheet(style);
    area->horizontalScrollBar()->setStyleSheet(style);
}

void followLook(QObject* context, const std::function<void()>& apply)
{
    apply();
    QObject::connect(&DesktopLook::shared(), &DesktopLook::lookChanged, context, apply);
}

QIcon symbol(const QString& name)
{
    static const bool fallback = [] {
        // Without a desktop (a bare session, the offscreen platform) Qt knows
        // no icon folders; the XDG data folders hold them.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& folder : QStandardPaths::locateAll(
                 QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory))
            if (!paths.contains(folder)) paths << folder;
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("Adwaita"));
        if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QStringLiteral("hicolor"))
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)fallback;
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull() || !name.endsWith(QStringLiteral("-symbolic"))) return icon;
    return QIcon(new SymbolIconEngine(icon));
}

QPixmap tintedSymbol(const QString& name, int size, const QColor& colour, double ratio)
{
    QPixmap picture = symbol(name).pixmap(QSize(size, size), ratio);
    QPainter tint(&picture);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(QRect(QPoint(), picture.size()), colour);
    return picture;
}

QString flatButtonStyle()
{
    return QStringLiteral("QToolButton { border: none; background: transparent; border-radius: 7px; padding: 2px 3px; }"
                          "QToolButton:hover { background: rgba(128, 128, 128, 0.14); }"
                          "QToolButton:focus { background: rgba(128, 128, 128, 0.22); }"
                          "QToolButton::menu-indicator { image: none; width: 0; }");
}

QFont font(double size, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(qRound(size));
    font.setWeight(weight);
    return font;
}

} // namespace mirelo::Palette
