#include "OpenPanel.h"

#include "library/MediaFormats.h"

#include <QMimeDatabase>

namespace mirelo {

// One pattern per extension that a scan accepts, the fixed lists and what
// the type registry calls an image or a video, each matching any letter
// case ("*.[jJ][pP][gG]"), since a native dialog may compare exactly.
QStringList OpenPanelRequest::mediaNameFilters()
{
    QStringList extensions;
    for (std::string_view extension : MediaFormats::imageExtensions)
        extensions << QString::fromUtf8(extension.data(), qsizetype(extension.size()));
    for (std::string_view extension : MediaFormats::videoExtensions)
        extensions << QString::fromUtf8(extension.data(), qsizetype(extension.size()));
    for (const QMimeType& type : QMimeDatabase().allMimeTypes()) {
        const bool media = type.name().startsWith(QStringLiteral("image/")) ||
                           type.name().startsWith(QStringLiteral("video/")) ||
                           type.inherits(QStringLiteral("image/x-generic"));
        if (!media) continue;
        for (const QString& suffix : type.suffixes())
            if (!suffix.contains(u'.') && MediaFormats::accepts(("x." + suffix).toStdString()))
                extensions << suffix.toLower();
    }
    extensions.removeDuplicates();
    QStringList filters;
    for (const QString& extension : extensions) {
        QString pattern = QStringLiteral("*.");
        for (QChar c : extension) {
            if (c.toLower() != c.toUpper())
                pattern += u'[' + QString(c.toLower()) + QString(c.toUpper()) + u']';
            else
                pattern += c;
        }
        filters << pattern;
    }
    return filters;
}

} // namespace mirelo
