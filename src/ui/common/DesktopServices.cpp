#include "DesktopServices.h"

#include "files/RegularFile.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QVariantMap>

#include <fcntl.h>
#include <unistd.h>

namespace mirelo::DesktopServices {

namespace {

QString text(const std::string& path) { return QString::fromStdString(path); }

} // namespace

bool hasSessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QString::fromLocal8Bit(runtime) + QStringLiteral("/bus"));
}

namespace {

// Runs `message`; on an error reply (or no bus) runs `fallback`.
void callOr(const QDBusMessage& message, std::function<void()> fallback)
{
    if (!hasSessionBus()) {
        fallback();
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        fallback();
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, 3000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [fallback = std::move(fallback)](QDBusPendingCallWatcher* call) {
                         if (call->isError()) fallback();
                         call->deleteLater();
                     });
}

} // namespace

void reveal(const std::vector<std::string>& paths)
{
    if (paths.empty()) return;
    QStringList uris;
    for (const std::string& path : paths) uris << QUrl::fromLocalFile(text(path)).toString(QUrl::FullyEncoded);
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    message << uris << QString();
    const QString folder = QFileInfo(text(paths.front())).absolutePath();
    callOr(message, [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
}

void email(const std::vector<std::string>& paths)
{
    if (paths.empty()) return;
    QStringList arguments;
    for (const std::string& path : paths) arguments << QStringLiteral("--attach") << text(path);
    QProcess::startDetached(QStringLiteral("xdg-email"), arguments);
}

void openWith(const std::string& path, std::function<void(bool openedByDefault)> unavailable)
{
    const QUrl url = QUrl::fromLocalFile(text(path));
    auto byDefault = [url, unavailable = std::move(unavailable)] {
        const bool opened = QDesktopServices::openUrl(url);
        if (unavailable) unavailable(opened);
    };
    const int fd = RegularFile::open(path);
    if (fd < 0) {
        byDefault();
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenFile"));
    QVariantMap options;
    options.insert(QStringLiteral("ask"), true);
    message << QString() << QVariant::fromValue(QDBusUnixFileDescriptor(fd)) << options;
    ::close(fd); // the message holds its own copy
    callOr(message, std::move(byDefault));
}

} // namespace mirelo::DesktopServices
