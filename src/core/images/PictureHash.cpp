#include "PictureHash.h"

#include "duplicates/SimilarPhotos.h"

namespace mirelo {

std::optional<uint64_t> PictureHash::of(const QImage& image)
{
    if (image.isNull()) return std::nullopt;
    // Grey levels averaged over each of the square's cells, in one pass: the
    // hash sees the picture's shape, not its noise.
    constexpr int side = SimilarPhotos::kSide;
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    uint32_t sums[side * side] = {}, counts[side * side] = {};
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const int cellRow = y * side / height * side;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = row[x];
            const int cell = cellRow + x * side / width;
            sums[cell] += (qRed(pixel) * 77 + qGreen(pixel) * 150 + qBlue(pixel) * 29) >> 8;
            ++counts[cell];
        }
    }
    uint8_t levels[side * side];
    // A picture smaller than the square repeats its pixels.
    for (int cell = 0; cell < side * side; ++cell) {
        if (counts[cell] == 0) {
            const int y = cell / side * height / side, x = cell % side * width / side;
            const QRgb pixel = reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x];
            levels[cell] = uint8_t((qRed(pixel) * 77 + qGreen(pixel) * 150 + qBlue(pixel) * 29) >> 8);
        } else {
            levels[cell] = uint8_t(sums[cell] / counts[cell]);
        }
    }
    return SimilarPhotos::perceptualHash(levels);
}

} // namespace mirelo
