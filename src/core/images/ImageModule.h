#pragma once
// The entry points of the image decoders' module (libvips, LibRaw,
// libjpeg-turbo), loaded on the first picture decoded.

#include "images/DecodedImage.h"
#include "images/MetadataList.h"

#include <optional>

namespace mirelo {

struct ImageModule {
    void (*decode)(const char* path, int maxDimension, std::optional<DecodedImage>* out) = nullptr;
    void (*metadata)(const char* path, MetadataList* out) = nullptr;

    // The module's functions, or nulls when it cannot be loaded.
    static const ImageModule& get();
};

} // namespace mirelo
