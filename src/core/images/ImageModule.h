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

    // Call first thing in main, while the process has one thread. libvips,
    // started later on a worker, would otherwise set VIPSHOME in the
    // environment itself, and changing the environment while another thread
    // reads it (Qt does, as it paints) can crash the process.
    static void prepareProcess();
};

} // namespace mirelo
