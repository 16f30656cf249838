#include "images/ImageModule.h"
#include "images/GLibTypes.h"

#include "images/LoadableModule.h"

#include <cstdlib>

namespace mirelo {

const ImageModule& ImageModule::get()
{
    static const ImageModule module = [] {
        ImageModule loaded;
        constexpr const char* kFile = "libmirelo-images.so";
        loaded.decode = reinterpret_cast<decltype(loaded.decode)>(
            moduleSymbol(MIRELO_IMAGES_MODULE, kFile, "mireloDecodeImage", "pictures are"));
        if (loaded.decode)
            loaded.metadata = reinterpret_cast<decltype(loaded.metadata)>(
                moduleSymbol(MIRELO_IMAGES_MODULE, kFile, "mireloImageMetadata", "camera details are"));
        return loaded;
    }();
    return module;
}

SharedGate& glibTypes()
{
    static SharedGate gate;
    return gate;
}

void ImageModule::prepareProcess() { ::setenv("VIPSHOME", MIRELO_VIPS_PREFIX, 0); }

} // namespace mirelo
