#include "files/UserFolders.h"

#include "files/FileUrl.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace mirelo {

namespace {

bool isAbsolute(const char* value) { return value && value[0] == '/'; }

} // namespace

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); isAbsolute(home)) return standardisedPath(home);
    if (const passwd* entry = ::getpwuid(::getuid()); entry && isAbsolute(entry->pw_dir))
        return standardisedPath(entry->pw_dir);
    return {};
}

std::string dataHome()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); isAbsolute(data)) return standardisedPath(data);
    const std::string home = homeFolder();
    return home.empty() ? std::string() : standardisedPath(home + "/.local/share");
}

std::string programsFolder()
{
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + (home.ends_with('/') ? "snap" : "/snap");
}

} // namespace mirelo
