// Any bytes as an Exif payload: an orientation from 1 to 8.
#include "images/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int orientation = mirelo::JpegReader::exifOrientation(data, size);
    if (orientation < 1 || orientation > 8) __builtin_trap();
    return 0;
}
