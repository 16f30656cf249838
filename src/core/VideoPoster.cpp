#include "VideoPoster.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace mirelo {

namespace {

constexpr const char* kModuleName = "libmirelo-video.so";

using PosterFunction = void (*)(const char*, int, const std::atomic<bool>*, QImage*);

std::string executableFolder()
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    std::string path(buffer.data(), size_t(length));
    return path.substr(0, path.rfind('/') + 1);
}

// FFmpeg's module, loaded once on the first video: where the build put it,
// beside the program, or on the library path.
PosterFunction posterFunction()
{
    static const PosterFunction function = [] {
        std::string tried;
        for (const std::string& candidate : {std::string(MIRELO_VIDEO_MODULE), executableFolder() + kModuleName,
                                             std::string(kModuleName)}) {
            if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
                if (void* symbol = ::dlsym(module, "mireloVideoPoster")) return reinterpret_cast<PosterFunction>(symbol);
            if (const char* why = ::dlerror()) tried = why;
        }
        std::fprintf(stderr, "Mirelo: video previews are unavailable: %s\n", tried.c_str());
        return PosterFunction(nullptr);
    }();
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
