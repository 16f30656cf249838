#pragma once
// One running Mirelo per session: the first launch owns the application's
// name on the session bus and answers org.freedesktop.Application (Open,
// Activate); a later launch hands its files, or a plain activation, to it
// and exits. Without a session bus every launch runs alone.

#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <string>
#include <vector>

namespace mirelo {

class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    static inline const QString kService = QStringLiteral("com.tessel.local.viewer");
    static inline const QString kPath = QStringLiteral("/com/tessel/local/viewer");

    explicit SingleInstance(QObject* parent = nullptr);

    // Claims the name. False when another instance has it: then the files
    // (absolute paths; none for a plain launch) were handed to it, as file
    // URIs that carry every byte of their names.
    bool claim(const std::vector<std::string>& files);

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
    Q_SCRIPTABLE void ActivateAction(const QString& name, const QVariantList& parameter,
                                     const QVariantMap& platformData);

Q_SIGNALS:
    void activated();
    // The paths handed over, as the file system's bytes.
    void filesOpened(const std::vector<std::string>& paths);
};

} // namespace mirelo
