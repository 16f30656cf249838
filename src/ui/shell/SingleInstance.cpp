#include "SingleInstance.h"

#include "common/DesktopServices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>

namespace mirelo {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

bool SingleInstance::claim(const QStringList& files)
{
    if (!DesktopServices::hasSessionBus()) return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return true;
    if (bus.registerService(kService)) {
        bus.registerObject(kPath, this, QDBusConnection::ExportScriptableSlots);
        return true;
    }
    // Another instance runs: it opens the files, or shows its library.
    QDBusMessage message;
    if (files.isEmpty()) {
        message = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.Application"),
                                                 QStringLiteral("Activate"));
        message << QVariantMap();
    } else {
        QStringList uris;
        for (const QString& file : files) uris << QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
        message = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.Application"),
                                                 QStringLiteral("Open"));
        message << uris << QVariantMap();
    }
    const QDBusMessage reply = bus.call(message, QDBus::Block, 5000);
    // An instance that doesn't answer is stuck or gone: run alone.
    return reply.type() == QDBusMessage::ErrorMessage;
}

void SingleInstance::Activate(const QVariantMap&) { Q_EMIT activated(); }

void SingleInstance::Open(const QStringList& uris, const QVariantMap&)
{
    QStringList paths;
    for (const QString& uri : uris) {
        const QUrl url(uri);
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        Q_EMIT activated();
    else
        Q_EMIT filesOpened(paths);
}

void SingleInstance::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { Q_EMIT activated(); }

} // namespace mirelo
