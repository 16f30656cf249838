#include "library/CacheKey.h"

#include <charconv>

namespace mirelo {

std::string decimalWithFraction(double value)
{
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    std::string text(buffer, end);
    if (text.find_first_of(".eEn") == std::string::npos) text += ".0"; // "n": inf and nan stay as they are
    return text;
}

std::string cacheKey(const MediaItem& item)
{
    std::string key(item.path());
    key += ':';
    key += decimalWithFraction(item.modified() + kUnixEpochOffset); // seconds since 1970
    key += ':';
    key += std::to_string(item.bytes());
    return key;
}

} // namespace mirelo
