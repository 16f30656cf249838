#include "ImageDecoder.h"

#include "FileUrl.h"
#include "ImageModule.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace mirelo {

bool ImageDecoder::isCameraRaw(const std::string& path)
{
    static constexpr std::array<std::string_view, 9> raw = {"dng", "cr2", "cr3", "nef", "arw",
                                                            "orf", "raf", "rw2", "pef"};
    std::string extension(pathExtension(lastPathComponent(path)));
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return std::find(raw.begin(), raw.end(), extension) != raw.end();
}

std::optional<DecodedImage> ImageDecoder::decode(const std::string& path, int maxDimension)
{
    if (maxDimension < 1) return std::nullopt;
    // Only a regular file is read: a pipe or device of that name could block forever.
    struct stat attributes;
    if (::stat(path.c_str(), &attributes) != 0 || !S_ISREG(attributes.st_mode)) return std::nullopt;
    std::optional<DecodedImage> decoded;
    if (const ImageModule& module = ImageModule::get(); module.decode) module.decode(path.c_str(), maxDimension, &decoded);
    return decoded;
}

} // namespace mirelo
