#include "files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace mirelo {

int RegularFile::open(const std::string& path)
{
    // O_NONBLOCK makes opening a FIFO return at once; it is cleared again
    // once the file is known to be regular, where it changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat attributes;
    if (::fstat(fd, &attributes) != 0 || !S_ISREG(attributes.st_mode)) {
        const int error = S_ISDIR(attributes.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool RegularFile::is(const std::string& path)
{
    struct stat attributes;
    return ::stat(path.c_str(), &attributes) == 0 && S_ISREG(attributes.st_mode);
}

void FileDescriptor::reset(int fd)
{
    if (fd_ >= 0 && fd_ != fd) ::close(fd_);
    fd_ = fd;
}

} // namespace mirelo
