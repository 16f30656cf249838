// Any bytes as a thumbnail in the desktop's cache: a picture no larger than
// its folder's size, or nothing; never a crash.
#include "images/ThumbnailCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto entry = mirelo::ThumbnailCache::parse(bytes, 256))
        if (entry->image.width() > 256 || entry->image.height() > 256) __builtin_trap();
    return 0;
}
