// Any bytes as a JPEG: a picture within the size asked, or none.
#include "FuzzFile.h"
#include "images/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    const mirelo::JpegReader::Result result = mirelo::JpegReader::read(file.path(), 256);
    if (!result.image.isNull() && std::max(result.image.width(), result.image.height()) > 256) __builtin_trap();
    return 0;
}
