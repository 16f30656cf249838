#pragma once
// A picture decoded for display: a bounded rendering, upright, and the size
// of the whole picture it stands for.

#include <QImage>

#include <algorithm>

namespace mirelo {

struct PixelSize {
    double width = 0;
    double height = 0;
    double longerSide() const { return std::max(width, height); }
    bool operator==(const PixelSize&) const = default;
};

struct DecodedImage {
    QImage image;             // at most the requested size on its longer side
    PixelSize pixels;         // of the full picture, after its orientation
    bool downsampled = false; // the picture is larger than `image`
};

} // namespace mirelo
