#pragma once
// The core's UTF-8 text (names, titles, paths) as Qt's strings.

#include <QString>

#include <string_view>

namespace mirelo {

inline QString qstring(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace mirelo
