#include "files/AtomicFile.h"

#include "files/FileUrl.h"
#include "files/LibraryError.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace mirelo {

std::string systemErrorText(int error) { return std::strerror(error); }

namespace {

[[noreturn]] void fail(const std::string& path, int error)
{
    throw LibraryError("Couldn’t write “" + path + "”: " + systemErrorText(error) + ".");
}

void createFolders(const std::string& folder)
{
    if (folder.empty() || folder == "/") return;
    struct stat attributes {};
    if (::stat(folder.c_str(), &attributes) == 0) {
        if (!S_ISDIR(attributes.st_mode)) fail(folder, ENOTDIR);
        return;
    }
    createFolders(std::string(parentPath(folder)));
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) fail(folder, errno);
}

void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // some file systems refuse to sync folders; the rename stands
    ::close(fd);
}

// Temporary files that an earlier write left behind when its process was
// killed: ours by name (".<name>.XXXXXX"), and older than a minute so that
// no write in progress loses its file.
void sweepStaleTemporaries(const std::string& folder, std::string_view name)
{
    std::string prefix(1, '.');
    prefix.append(name).push_back('.');
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int fd = ::dirfd(dir);
    const time_t cutoff = ::time(nullptr) - 60;
    while (dirent* entry = ::readdir(dir)) {
        const std::string_view entryName(entry->d_name);
        if (entryName.size() != prefix.size() + 6 || !entryName.starts_with(prefix)) continue;
        struct stat attributes {};
        if (::fstatat(fd, entry->d_name, &attributes, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(attributes.st_mode) && attributes.st_uid == ::getuid() && attributes.st_mtime < cutoff)
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

void FileSink::drain()
{
    const char* data = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        ssize_t n = ::write(fd_, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(path_, errno);
        }
        data += n;
        left -= size_t(n);
    }
    buffer_.clear();
}

void AtomicFile::write(const std::string& givenPath, const std::function<void(FileSink&)>& produce)
{
    const std::string path = absoluteStandardisedPath(givenPath);
    const std::string folder(parentPath(path));
    createFolders(folder);
    sweepStaleTemporaries(folder, lastPathComponent(path));

    std::string pattern = folder + (folder == "/" ? "" : "/") + "." + std::string(lastPathComponent(path)) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) fail(path, errno);
    const std::string temporary(name.data());

    try {
        FileSink sink(fd, path);
        produce(sink);
        sink.drain();
        if (::fsync(fd) != 0) fail(path, errno);
        int closed = ::close(fd);
        fd = -1;
        if (closed != 0) fail(path, errno);
        if (::rename(temporary.c_str(), path.c_str()) != 0) fail(path, errno);
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    syncFolder(folder);
}

} // namespace mirelo
