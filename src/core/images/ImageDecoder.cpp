#include "images/ImageDecoder.h"
#include "images/GLibTypes.h"

#include "files/FileUrl.h"
#include "images/ImageModule.h"
#include "files/RegularFile.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace mirelo {

namespace {

// Whether the file's extension, in any case, is one of `extensions`.
template <size_t N>
bool hasExtension(const std::string& path, const std::array<std::string_view, N>& extensions)
{
    std::string extension(pathExtension(lastPathComponent(path)));
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

} // namespace

bool ImageDecoder::isCameraRaw(const std::string& path)
{
    static constexpr std::array<std::string_view, 9> raw = {"dng", "cr2", "cr3", "nef", "arw",
                                                            "orf", "raf", "rw2", "pef"};
    return hasExtension(path, raw);
}

bool ImageDecoder::readsReduced(const std::string& path)
{
    static constexpr std::array<std::string_view, 9> reduced = {"jpg",  "jpeg", "jpe",  "jfif", "webp",
                                                                "heic", "heif", "avif", "svg"};
    return isCameraRaw(path) || hasExtension(path, reduced);
}

std::optional<DecodedImage> ImageDecoder::decode(const std::string& path, int maxDimension)
{
    if (maxDimension < 1) return std::nullopt;
    // The decoders open files by their paths: only a regular file gets there.
    if (!RegularFile::is(path)) return std::nullopt;
    std::optional<DecodedImage> decoded;
    const SharedGate::Shared types(glibTypes());
    if (const ImageModule& module = ImageModule::get(); module.decode)
        module.decode(path.c_str(), maxDimension, &decoded);
    return decoded;
}

} // namespace mirelo
