#include "images/LoadableModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace mirelo {

namespace {

std::string executableFolder()
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    std::string path(buffer.data(), size_t(length));
    return path.substr(0, path.rfind('/') + 1);
}

} // namespace

void* moduleSymbol(const char* builtPath, const char* fileName, const char* symbol, const char* what)
{
    std::string tried;
    for (const std::string& candidate :
         {std::string(builtPath), executableFolder() + fileName, std::string(fileName)}) {
        if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
            if (void* address = ::dlsym(module, symbol)) return address;
        if (const char* why = ::dlerror()) tried = why;
    }
    std::fprintf(stderr, "Mirelo: %s unavailable: %s\n", what, tried.c_str());
    return nullptr;
}

} // namespace mirelo
