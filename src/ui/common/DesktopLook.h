#pragma once
// What the desktop says about look and motion: its colour scheme and whether
// animations are off, read from the settings portal (GNOME and others) or
// KDE's globals, and followed as they change. The application's own choice
// ("system", "light" or "dark") is applied here to every window: light and
// dark are our own Fusion palettes, system follows the desktop.

#include <QObject>
#include <QString>

class QDBusVariant;

namespace mirelo {

class DesktopLook : public QObject {
    Q_OBJECT
public:
    static DesktopLook& shared();

    // Animations are off on the desktop (or MIRELO_REDUCE_MOTION=1).
    bool reduceMotion() const { return reduceMotion_; }
    // The desktop prefers dark colours.
    bool prefersDark() const { return prefersDark_; }

    // "system", "light" or "dark": sets the application's palette.
    void apply(const QString& appearance);
    const QString& appearance() const { return appearance_; }
    // Reads the desktop's settings again and follows what changed.
    void refresh();

Q_SIGNALS:
    void reduceMotionChanged();
    // The palette in effect changed (a choice, or the desktop under "system").
    void lookChanged();

private:
    DesktopLook();
    void read();
    Q_SLOT void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);
    void applyPalette();

    QString appearance_ = QStringLiteral("system");
    bool reduceMotion_ = false;
    bool prefersDark_ = false;
};

} // namespace mirelo
