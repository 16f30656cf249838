#include "PictureHash.h"

#include "duplicates/SimilarPhotos.h"

namespace mirelo {

std::optional<uint64_t> PictureHash::of(const QImage& image)
{
    if (image.isNull()) return std::nullopt;
    // Area-averaged grey levels: the hash sees the picture's shape, not its noise.
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8)
                            .scaled(SimilarPhotos::kColumns, SimilarPhotos::kRows, Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
    uint8_t levels[SimilarPhotos::kColumns * SimilarPhotos::kRows];
    for (int y = 0; y < SimilarPhotos::kRows; ++y)
        for (int x = 0; x < SimilarPhotos::kColumns; ++x) levels[y * SimilarPhotos::kColumns + x] = grey.constScanLine(y)[x];
    return SimilarPhotos::differenceHash(levels);
}

} // namespace mirelo
