#include "PictureHash.h"

#include "duplicates/SimilarPhotos.h"
#include "images/ImageDecoder.h"
#include "images/ThumbnailCache.h"
#include "files/RegularFile.h"

#include <QFile>
#include <QImageReader>

#include <unistd.h>

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

PictureHash::Facts PictureHash::ofFile(const std::string& path)
{
    static const ThumbnailCache thumbnails(ThumbnailCache::defaultRoot(), "mirelo"); // read only
    Facts facts;
    // The smallest thumbnail there is: the hash needs 32 × 32 levels.
    for (int pixels : {128, 256}) {
        const QImage thumbnail = thumbnails.find(path, pixels);
        if (thumbnail.isNull()) continue;
        facts.hash = of(thumbnail);
        return facts;
    }
    if (std::optional<DecodedImage> decoded = ImageDecoder::decode(path, 64)) {
        facts.hash = of(decoded->image);
        facts.pixels = int64_t(decoded->pixels.width * decoded->pixels.height);
    }
    return facts;
}

int64_t PictureHash::pixelsOf(const std::string& path)
{
    // Only a regular file, opened without blocking on the way in.
    const int fd = RegularFile::open(path);
    if (fd < 0) return 0;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return 0;
    }
    const QSize size = QImageReader(&file).size(); // the header only
    return size.isValid() ? int64_t(size.width()) * size.height() : 0;
}

} // namespace mirelo
