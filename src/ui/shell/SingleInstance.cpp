#include "SingleInstance.h"

#include "files/FileUrl.h"
#include "common/DesktopServices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace mirelo {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

bool SingleInstance::claim(const std::vector<std::string>& files)
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
    if (files.empty()) {
        message = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.Application"),
                                                 QStringLiteral("Activate"));
        message << QVariantMap();
    } else {
        QStringList uris;
        for (const std::string& file : files) uris << QString::fromStdString(fileUrlString(file));
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
    std::vector<std::string> paths;
    for (const QString& uri : uris)
        if (std::optional<std::string> path = pathFromFileUrl(uri.toStdString())) paths.push_back(std::move(*path));
    if (paths.empty())
        Q_EMIT activated();
    else
        Q_EMIT filesOpened(paths);
}

void SingleInstance::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { Q_EMIT activated(); }

} // namespace mirelo
