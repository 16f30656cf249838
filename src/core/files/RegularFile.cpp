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

std::optional<std::string> RegularFile::read(const std::string& path, int64_t most)
{
    FileDescriptor fd(open(path));
    struct stat attributes;
    if (!fd || ::fstat(fd.get(), &attributes) != 0 || attributes.st_size > most) return std::nullopt;
    std::string bytes(size_t(attributes.st_size), '\0');
    size_t got = 0;
    // A file that grows while it is read stops at the size it had.
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += size_t(n);
    }
    bytes.resize(got);
    return bytes;
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
