#pragma once
// The core's UTF-8 text (names, titles, paths) as Qt's strings.

#include <QLocale>
#include <QString>

#include <string_view>

namespace mirelo {

inline QString qstring(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A count as the user's locale writes it: "6,562" in English.
inline QString countText(qint64 count) { return QLocale().toString(count); }

} // namespace mirelo
