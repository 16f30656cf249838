#include "images/LoadableModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <vector>

namespace mirelo {

namespace {

std::mutex failureMutex;
std::function<void(const ModuleFailure&)> failureListener;
std::set<std::string> failedModules;

std::string executablePath()
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), size_t(length)) : std::string();
}

// Where to look: the installed module folder beside the program's own
// folder, and the build's output only for programs inside the build tree, so
// an installed program never depends on a build that may be gone.
std::vector<std::string> candidates(const char* builtPath, const char* fileName)
{
    const std::string program = executablePath();
    const std::string folder = program.substr(0, program.rfind('/') + 1);
    std::vector<std::string> paths{folder + MIRELO_MODULES_FROM_BIN + "/" + fileName};
    const std::string buildRoot = std::string(MIRELO_BUILD_ROOT) + "/";
    if (program.compare(0, buildRoot.size(), buildRoot) == 0) paths.insert(paths.begin(), builtPath);
    return paths;
}

void report(const char* fileName, const char* what, const std::string& reason)
{
    std::function<void(const ModuleFailure&)> listener;
    {
        std::lock_guard lock(failureMutex);
        if (!failedModules.insert(fileName).second) return;
        listener = failureListener;
    }
    if (listener)
        listener({fileName, what, reason});
    else
        std::fprintf(stderr, "Mirelo: %s unavailable: %s\n", what, reason.c_str());
}

} // namespace

void* moduleSymbol(const char* builtPath, const char* fileName, const char* symbol, const char* what)
{
    std::string reason;
    for (const std::string& candidate : candidates(builtPath, fileName)) {
        if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            if (void* address = ::dlsym(module, symbol)) return address;
            reason = candidate + " lacks " + symbol;
        } else if (const char* why = ::dlerror(); reason.empty() && why) {
            reason = why;
        }
    }
    report(fileName, what, reason);
    return nullptr;
}

void setModuleFailureListener(std::function<void(const ModuleFailure&)> listener)
{
    std::lock_guard lock(failureMutex);
    failureListener = std::move(listener);
}

} // namespace mirelo
