#pragma once
// JPEG straight through libjpeg-turbo: shrunk while decoding by the largest
// DCT scale that keeps the requested size, decoded into 32-bit pixels Qt
// scales and paints without converting, then area-averaged to the size.
// Nearly twice as fast as the general path for large photos.

#include <QImage>

#include <string>

namespace mirelo {

class JpegReader {
public:
    struct Result {
        bool handled = false;      // false: not a JPEG, or a colour model (CMYK, YCCK) left to libvips
        QImage image;              // null when the file is damaged or cut short
        int width = 0, height = 0; // the picture as stored
        int orientation = 1;       // EXIF, 1 to 8
    };

    // The picture as stored (before its EXIF orientation), its longer side
    // at most `maxDimension`, never enlarged. Reads the file only when it
    // starts as a JPEG does.
    static Result read(const std::string& path, int maxDimension);

    // The orientation in an APP1 segment's Exif payload, 1 when none.
    static int exifOrientation(const unsigned char* data, size_t length);

    // `image` turned upright for an EXIF orientation of 1 to 8.
    static QImage upright(const QImage& image, int orientation);

    // The size that fits `width` × `height` within `maxDimension`, rounded.
    static QSize fitted(int width, int height, int maxDimension);
};

} // namespace mirelo
