#pragma once
// Memory-cache keys of media items: path, modification date and size, so
// that a file changed on disk gets a new key.

#include "library/MediaItem.h"

#include <string>

namespace mirelo {

// The shortest decimal that reads back exactly, always with a fractional
// part ("12.0", "12.5", "0.1").
std::string decimalWithFraction(double value);

// "path:modified:bytes".
std::string cacheKey(const MediaItem& item);

} // namespace mirelo
