// Any bytes as the start of a file named .ts.
#include "library/MediaFormats.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    mirelo::MediaFormats::looksLikeTransportStream(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
