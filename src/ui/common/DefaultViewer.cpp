#include "DefaultViewer.h"
#include "Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>

#undef signals // GLib uses the word
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace mirelo {

namespace {

QString mimeTypeOf(const QString& extension)
{
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + extension, QMimeDatabase::MatchExtension);
    return type.isDefault() ? QString() : type.name();
}

GDesktopAppInfo* ourEntry() { return g_desktop_app_info_new(DefaultViewer::kDesktopId); }

QString glibMessage(GError* error)
{
    const QString message = error ? QString::fromUtf8(error->message) : translate("Mirelo", "Unknown error");
    if (error) g_error_free(error);
    return message;
}

} // namespace

const QStringList& DefaultViewer::offered()
{
    static const QStringList formats{"jpg", "png",  "heic", "heif", "svg", "gif", "webp", "tiff",
                                     "bmp", "avif", "ico",  "icns", "dng", "psd", "jp2",  "pdf"};
    return formats;
}

QStringList DefaultViewer::initialSelection() { return offered().mid(0, 10); }

std::optional<QString> DefaultViewer::prepare()
{
    if (GDesktopAppInfo* installed = ourEntry()) {
        g_object_unref(installed);
        return std::nullopt;
    }
    // Not installed: an entry for this very program.
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications");
    QStringList types;
    for (const QString& extension : offered())
        if (const QString type = mimeTypeOf(extension); !type.isEmpty() && !types.contains(type)) types << type;
    const QString program = QCoreApplication::applicationFilePath();
    const QString entry =
        QStringLiteral("[Desktop Entry]\nType=Application\nName=Mirelo\nComment=Your media library and image viewer\n"
                       "Exec=\"%1\" %U\nIcon=com.tessel.local.viewer\nTerminal=false\nCategories=Graphics;Viewer;\n"
                       "MimeType=%2;\n")
            .arg(program, types.join(QLatin1Char(';')));
    QSaveFile file(folder + QLatin1Char('/') + QString::fromLatin1(kDesktopId));
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit())
        return translate("Mirelo", "Couldn’t register Mirelo with your desktop: ") + file.errorString();
    if (GDesktopAppInfo* written =
            g_desktop_app_info_new_from_filename(QFile::encodeName(file.fileName()).constData())) {
        g_object_unref(written);
        return std::nullopt;
    }
    return translate("Mirelo", "Couldn’t register Mirelo with your desktop: its entry could not be read back.");
}

std::optional<QString> DefaultViewer::assign(const QString& extension)
{
    const QString label = extension.toUpper();
    const QString type = mimeTypeOf(extension);
    if (type.isEmpty()) return label + translate("Mirelo", ": not registered on this system");
    GDesktopAppInfo* entry = ourEntry();
    if (!entry) {
        // Just written: GIO's list of entries may not know it yet.
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/applications/") + QString::fromLatin1(kDesktopId);
        entry = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    }
    if (!entry) return label + translate("Mirelo", ": Mirelo’s desktop entry is missing");
    GError* error = nullptr;
    const bool done = g_app_info_set_as_default_for_type(G_APP_INFO(entry), type.toUtf8().constData(), &error);
    g_object_unref(entry);
    if (!done) return label + QStringLiteral(": ") + glibMessage(error);
    return std::nullopt;
}

QString DefaultViewer::resultMessage(int updated, const QStringList& failures)
{
    const QString message = translate("Mirelo", "Updated %Ln format(s).", nullptr, updated);
    if (failures.isEmpty())
        return translate("Mirelo", "%1 Files you open from your file manager will now use Mirelo.").arg(message);
    return message + QLatin1Char('\n') + failures.join(QLatin1Char('\n'));
}

QString DefaultViewer::defaultFor(const QString& mimeType)
{
    GAppInfo* info = g_app_info_get_default_for_type(mimeType.toUtf8().constData(), FALSE);
    if (!info) return {};
    const char* id = g_app_info_get_id(info);
    const QString answer = id ? QString::fromUtf8(id) : QString();
    g_object_unref(info);
    return answer;
}

} // namespace mirelo
