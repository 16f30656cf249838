// The images module's entry points, loaded by ImageModule.
#include "images/ImageEngine.h"

extern "C" __attribute__((visibility("default"))) void mireloDecodeImage(const char* path, int maxDimension,
                                                                         std::optional<mirelo::DecodedImage>* out)
{
    *out = mirelo::ImageEngine::decode(path, maxDimension);
}

extern "C" __attribute__((visibility("default"))) void mireloImageMetadata(const char* path, mirelo::MetadataList* out)
{
    *out = mirelo::ImageEngine::metadata(path);
}
