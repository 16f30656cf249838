#include "files/FileRename.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace mirelo {

int linkThenUnlink(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return error;
    }
    return 0;
}

int renameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // The file system cannot refuse by itself. Files are linked, which fails
    // when the name is taken. Folders cannot be linked: check, then rename
    // (the only case with a window between the two).
    struct stat attributes;
    if (::lstat(from.c_str(), &attributes) != 0) return errno;
    if (!S_ISDIR(attributes.st_mode)) return linkThenUnlink(from, to);
    if (::lstat(to.c_str(), &attributes) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace mirelo
