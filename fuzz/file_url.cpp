// Any text as a file URL: a path or nothing, and a path's own URL names it again.
#include "files/FileUrl.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto path = mirelo::pathFromFileUrl(text)) {
        if (path->empty() || (*path)[0] != '/') __builtin_trap();
        if (mirelo::pathFromFileUrl(mirelo::fileUrlString(*path)) != path) __builtin_trap();
    }
    const std::string standard = mirelo::standardisedPath(text);
    if (mirelo::standardisedPath(standard) != standard) __builtin_trap();
    return 0;
}
