#include "VideoPoster.h"

#include "LoadableModule.h"

namespace mirelo {

namespace {

using PosterFunction = void (*)(const char*, int, const std::atomic<bool>*, QImage*);

// FFmpeg's module, loaded once on the first video.
PosterFunction posterFunction()
{
    static const auto function = reinterpret_cast<PosterFunction>(
        moduleSymbol(MIRELO_VIDEO_MODULE, "libmirelo-video.so", "mireloVideoPoster", "video previews are"));
    return function;
}

} // namespace

QImage VideoPoster::frame(const std::string& path, int maxSize, const std::atomic<bool>* cancelled)
{
    QImage image;
    if (PosterFunction function = posterFunction()) function(path.c_str(), maxSize, cancelled, &image);
    return image;
}

} // namespace mirelo
