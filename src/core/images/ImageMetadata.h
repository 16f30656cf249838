#pragma once
// The camera details shown beside a picture: camera model, lens, capture
// time (as the file writes it, "2024:05:01 10:30:00") and colour profile,
// in that order and only those present.

#include "images/MetadataList.h"

#include <cstddef>
#include <string>

namespace mirelo {

class ImageMetadata {
public:
    static MetadataList read(const std::string& path);
    // The description of an ICC profile ("sRGB IEC61966-2.1"), or "".
    static std::string profileName(const unsigned char* profile, size_t length);
};

} // namespace mirelo
