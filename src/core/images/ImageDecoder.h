#pragma once
// Turns an image file into a displayable picture no larger than a requested
// number of pixels on its longer side, upright, remembering the picture's
// true size. libvips reads most formats straight at the requested size,
// LibRaw reads camera RAW, Qt's readers take what the others cannot open.

#include "images/DecodedImage.h"

#include <optional>
#include <string>

namespace mirelo {

class ImageDecoder {
public:
    // Pictures declaring more pixels than this are refused unread.
    static constexpr double kMaximumPixels = 1 << 30;

    // Nothing when the file cannot be decoded. Safe from any thread.
    static std::optional<DecodedImage> decode(const std::string& path, int maxDimension);

    // The file's extension names a camera RAW format.
    static bool isCameraRaw(const std::string& path);
    // The file's format can be read at a reduced size for much less than the
    // whole picture (JPEG's scaled decoding, WebP's, a RAW's or HEIF's
    // embedded preview, vector formats); PNG, GIF, TIFF and the rest are
    // read whole whatever the size asked for.
    static bool readsReduced(const std::string& path);
};

} // namespace mirelo
