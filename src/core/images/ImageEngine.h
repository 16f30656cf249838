#pragma once
// The decoders themselves, behind ImageDecoder and ImageMetadata: libvips,
// LibRaw, libjpeg-turbo and Qt's readers. They live in the images module,
// so that only processes that show pictures load those libraries.

#include "images/DecodedImage.h"
#include "images/MetadataList.h"

#include <optional>
#include <string>

namespace mirelo {

class ImageEngine {
public:
    static std::optional<DecodedImage> decode(const std::string& path, int maxDimension);
    static MetadataList metadata(const std::string& path);
};

} // namespace mirelo
