#include "images/VideoPoster.h"

#include "images/LoadableModule.h"

namespace mirelo {

namespace {

using PosterFunction = void (*)(const char*, int, const std::atomic<bool>*, QImage*);
using PlayableFunction = bool (*)(const char*);

// FFmpeg's module, loaded once on the first video.
void* videoSymbol(const char* name)
{
    return moduleSymbol(MIRELO_VIDEO_MODULE, "libmirelo-video.so", name, "video previews are");
}

PosterFunction posterFunction()
{
    static const auto function = reinterpret_cast<PosterFunction>(videoSymbol("mireloVideoPoster"));
    return function;
}

} // namespace

QImage VideoPoster::frame(const std::string& path, int maxSize, const std::atomic<bool>* cancelled)
{
    QImage image;
    if (PosterFunction function = posterFunction()) function(path.c_str(), maxSize, cancelled, &image);
    return image;
}

bool VideoPoster::playable(const std::string& path)
{
    static const auto function = reinterpret_cast<PlayableFunction>(videoSymbol("mireloVideoPlayable"));
    return function && function(path.c_str());
}

} // namespace mirelo
