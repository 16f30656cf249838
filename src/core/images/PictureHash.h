#pragma once
// A picture's 64-bit perceptual hash, from any reduced copy of it (a
// thumbnail, a preview), upright as shown.

#include <QImage>

#include <cstdint>
#include <optional>

namespace mirelo {

class PictureHash {
public:
    // Nothing from a null image.
    static std::optional<uint64_t> of(const QImage& image);
};

} // namespace mirelo
