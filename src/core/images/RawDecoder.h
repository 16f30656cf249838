#pragma once
// Camera RAW through LibRaw: the camera's own full-size preview when it is
// large enough, else a half-size decode of the sensor data; upright.

#include "images/DecodedImage.h"

#include <optional>
#include <string>

namespace mirelo {

class RawDecoder {
public:
    static std::optional<DecodedImage> decode(const std::string& path, int maxDimension);
};

} // namespace mirelo
