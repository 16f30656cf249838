#include "FolderListing.h"

#include "files/FileUrl.h"
#include "library/MediaScanner.h"
#include "files/UnicodeText.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace mirelo {

std::vector<std::string> FolderListing::subfolders(const std::string& folder)
{
    std::vector<std::string> found;
    int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd < 0) return found;
    DIR* dir = fdopendir(dirfd);
    if (!dir) {
        ::close(dirfd);
        return found;
    }
    const std::string base = folder == "/" ? std::string() : standardisedPath(folder);
    while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name.empty() || name[0] == '.' || MediaScanner::isPackageName(name)) continue;
        struct stat attributes;
        if (fstatat(dirfd, entry->d_name, &attributes, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(attributes.st_mode)) continue;
        found.push_back(base + "/" + std::string(name));
    }
    closedir(dir);
    std::stable_sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        return compareNames(lastPathComponent(a), lastPathComponent(b)) < 0;
    });
    return found;
}

} // namespace mirelo
