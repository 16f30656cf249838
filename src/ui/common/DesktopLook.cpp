#include "DesktopLook.h"

#include "DesktopServices.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QPalette>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>

#include <memory>

namespace mirelo {

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettings = QStringLiteral("org.freedesktop.portal.Settings");

// One value of the settings portal, unwrapped; invalid without a portal.
QVariant portalValue(const QString& group, const QString& key)
{
    if (!DesktopServices::hasSessionBus()) return {};
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return {};
    QDBusInterface settings(kPortal, kPortalPath, kSettings, bus);
    settings.setTimeout(300);
    QDBusReply<QVariant> reply = settings.call(QStringLiteral("Read"), group, key);
    if (!reply.isValid()) return {};
    QVariant value = reply.value();
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

QPalette ownPalette(bool dark)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = fusion->standardPalette();
    if (!dark) {
        palette.setColor(QPalette::Window, QColor(0xf6, 0xf7, 0xf9));
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::AlternateBase, QColor(0xf0, 0xf2, 0xf5));
        palette.setColor(QPalette::Button, QColor(0xfb, 0xfb, 0xfc));
        palette.setColor(QPalette::PlaceholderText, QColor(0x6e, 0x6e, 0x73));
        palette.setColor(QPalette::Highlight, QColor::fromRgbF(0.02f, 0.36f, 0.83f));
        return palette;
    }
    const QColor window(0x1e, 0x1f, 0x22), base(0x17, 0x18, 0x1b), text(0xec, 0xec, 0xef);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::AlternateBase, QColor(0x26, 0x27, 0x2b));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, QColor(0x2c, 0x2d, 0x31));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::ToolTipBase, QColor(0x2c, 0x2d, 0x31));
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::PlaceholderText, QColor(0x98, 0x98, 0x9f));
        palette.setColor(group, QPalette::Highlight, QColor::fromRgbF(0.4f, 0.7f, 1.0f));
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
        palette.setColor(group, QPalette::Light, QColor(0x3a, 0x3b, 0x40));
        palette.setColor(group, QPalette::Midlight, QColor(0x33, 0x34, 0x38));
        palette.setColor(group, QPalette::Mid, QColor(0x2a, 0x2b, 0x2f));
        palette.setColor(group, QPalette::Dark, QColor(0x12, 0x12, 0x14));
        palette.setColor(group, QPalette::Shadow, Qt::black);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::Link, QColor::fromRgbF(0.4f, 0.7f, 1.0f));
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6a, 0x6a, 0x70));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6a, 0x6a, 0x70));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6a, 0x6a, 0x70));
    palette.setColor(QPalette::Disabled, QPalette::Window, window);
    palette.setColor(QPalette::Disabled, QPalette::Base, base);
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(0x26, 0x27, 0x2b));
    return palette;
}

} // namespace

DesktopLook& DesktopLook::shared()
{
    static DesktopLook* look = new DesktopLook;
    return *look;
}

DesktopLook::DesktopLook()
{
    read();
    if (!DesktopServices::hasSessionBus()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.connect(kPortal, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
                    SLOT(settingChanged(QString, QString, QDBusVariant)));
}

void DesktopLook::read()
{
    const QByteArray forced = qgetenv("MIRELO_REDUCE_MOTION");
    if (!forced.isEmpty()) {
        reduceMotion_ = forced != "0";
    } else if (QVariant animations =
                   portalValue(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations"));
               animations.isValid()) {
        reduceMotion_ = !animations.toBool();
    } else {
        const QString globals =
            QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
        reduceMotion_ = !globals.isEmpty() && QSettings(globals, QSettings::IniFormat)
                                                      .value(QStringLiteral("KDE/AnimationDurationFactor"), 1)
                                                      .toDouble() == 0;
    }
    // color-scheme: 0 no preference, 1 dark, 2 light.
    const QVariant scheme = portalValue(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"));
    prefersDark_ = scheme.isValid() && scheme.toUInt() == 1;
}

void DesktopLook::settingChanged(const QString& group, const QString& key, const QDBusVariant&)
{
    if (group == QStringLiteral("org.freedesktop.appearance") || key == QStringLiteral("enable-animations")) refresh();
}

void DesktopLook::refresh()
{
    const bool motion = reduceMotion_, dark = prefersDark_;
    read();
    if (motion != reduceMotion_) Q_EMIT reduceMotionChanged();
    if (dark != prefersDark_ && appearance_ != QStringLiteral("light") && appearance_ != QStringLiteral("dark"))
        applyPalette();
}

void DesktopLook::apply(const QString& appearance)
{
    appearance_ = appearance;
    applyPalette();
}

void DesktopLook::applyPalette()
{
    // Our own palettes in every case: "system" picks the one the desktop prefers.
    const bool dark = appearance_ == QStringLiteral("dark") || (appearance_ != QStringLiteral("light") && prefersDark_);
    if (QApplication::style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(ownPalette(dark));
    // Style sheets resolve their colours when they are applied: applying
    // each again makes its widgets take the new palette.
    for (QWidget* widget : QApplication::allWidgets())
        if (!widget->styleSheet().isEmpty()) widget->setStyleSheet(widget->styleSheet());
    Q_EMIT lookChanged();
}

} // namespace mirelo
