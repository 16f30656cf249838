#pragma once
// What the viewer shows for one picture: the bitmap (at most 4,096 pixels on
// its longer side), the blurred 720-pixel backdrop, the picture's full size
// and its camera details. Immutable once made; shared by reference.

#include "images/DecodedImage.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace mirelo {

struct ViewerFrame {
    QImage image;
    std::optional<QImage> ambient; // absent only when rendering it failed
    PixelSize pixels;
    bool downsampled = false;
    // A stand-in shown until the frame is ready (a preview whose picture's
    // size may not be known yet).
    bool placeholder = false;
    std::vector<std::pair<QString, QString>> metadata; // "Camera", "Lens", "Captured", "Color profile"

    // Whether a picture shown at `devicePixelsPerPixel` of its own pixels
    // needs more of them than the bitmap has, and there are more to have
    // (up to `limit` on the longer side).
    bool needsDetail(double devicePixelsPerPixel, int limit) const
    {
        const double longer = std::max(pixels.width, pixels.height);
        const int have = std::max(image.width(), image.height());
        return !placeholder && have < std::min(longer, double(limit)) - 1 && longer * devicePixelsPerPixel > have;
    }

    // Bitmap bytes, the frame's weight in the cache.
    int64_t cost() const
    {
        int64_t bytes = int64_t(image.bytesPerLine()) * image.height();
        if (ambient) bytes += int64_t(ambient->bytesPerLine()) * ambient->height();
        return bytes;
    }
};

using FrameRef = std::shared_ptr<const ViewerFrame>;

} // namespace mirelo
