#pragma once
// A picture's 64-bit perceptual hash, from any reduced copy of it (a
// thumbnail, a preview), upright as shown.

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

namespace mirelo {

class PictureHash {
public:
    // Nothing from a null image.
    static std::optional<uint64_t> of(const QImage& image);

    struct Facts {
        std::optional<uint64_t> hash;
        int64_t pixels = 0; // width × height, 0 when unknown
    };
    // The picture at `path`: from its freedesktop thumbnail when another
    // program or Mirelo made one, else from a small decode.
    static Facts ofFile(const std::string& path);
    // The picture's width × height from its header; 0 when unknown.
    static int64_t pixelsOf(const std::string& path);
};

} // namespace mirelo
