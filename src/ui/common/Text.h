#pragma once
// The core's UTF-8 text (names, titles, paths) as Qt's strings.

#include "Translation.h"
#include "library/MediaItem.h"

#include <QLocale>
#include <QString>

#include <string_view>

namespace mirelo {

inline QString qstring(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A count as the user's locale writes it: "6,562" in English.
inline QString countText(qint64 count) { return QLocale().toString(count); }

// A file size in the user's language and locale: "1.2 MB" and "24 bytes" in
// English, "1,2 MB" and "24 Byte" in German.
inline QString sizeText(int64_t bytes)
{
    const std::string label = sizeLabel(bytes);
    const size_t space = label.find(' ');
    const std::string unit = label.substr(space + 1);
    if (unit == "byte" || unit == "bytes") return translate("Mirelo", "%Ln byte(s)", nullptr, pluralCount(bytes));
    QString number = QString::fromStdString(label.substr(0, space));
    number.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return number + QLatin1Char(' ') + QString::fromStdString(unit);
}

} // namespace mirelo
