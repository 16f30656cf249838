#include "library/CollectionFiles.h"

#include "files/FileRename.h"
#include "files/FileUrl.h"
#include "files/LibraryError.h"
#include "files/RegularFile.h"

#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace mirelo {

namespace {

std::string quotedName(std::string_view path) { return "“" + std::string(lastPathComponent(path)) + "”"; }

[[noreturn]] void fail(const std::string& what, int error)
{
    throw CollectionError(what + ": " + systemErrorText(error) + ".", error);
}

// Copies all of `from` into `to`; 0 or the errno.
int copyContents(int from, int to)
{
    for (;;) {
        ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied == 0) return 0;
        if (copied > 0) continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
        break; // fall back to reading and writing
    }
    char buffer[1 << 16];
    for (;;) {
        ssize_t length = ::read(from, buffer, sizeof buffer);
        if (length == 0) return 0;
        if (length < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < length;) {
            ssize_t written = ::write(to, buffer + done, size_t(length - done));
            if (written < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += written;
        }
    }
}

} // namespace

std::string CollectionFiles::validatedName(const std::string& name)
{
    const std::string trimmed = QString::fromUtf8(name.data(), qsizetype(name.size())).trimmed().toStdString();
    if (trimmed.empty() || trimmed == "." || trimmed == ".." ||
        trimmed.find_first_of(std::string("/:\0", 3)) != std::string::npos || name.find('\0') != std::string::npos)
        throw CollectionError(kInvalidName);
    return trimmed;
}

std::string CollectionFiles::renameFolder(const std::string& folder, const std::string& name)
{
    const std::string trimmed = validatedName(name);
    const std::string path = standardisedPath(folder);
    struct stat attributes;
    if (::lstat(path.c_str(), &attributes) != 0) fail(quotedName(path) + " couldn’t be read", errno);
    if (!S_ISDIR(attributes.st_mode)) throw CollectionError(kUnsupported);
    const std::string destination = standardisedPath(std::string(parentPath(path)) + "/" + trimmed);
    if (destination == path) return path;
    if (int error = renameWithoutReplacing(path, destination); error != 0) {
        if (error == EEXIST || error == ENOTEMPTY)
            throw CollectionError("A folder or file named “" + trimmed + "” is already there.", EEXIST);
        fail(quotedName(path) + " couldn’t be renamed", error);
    }
    return destination;
}

std::string CollectionFiles::createFolder(const std::string& name, const std::string& parent)
{
    const std::string trimmed = validatedName(name);
    const std::string path = standardisedPath(parent + "/" + trimmed);
    if (::mkdir(path.c_str(), 0755) != 0) fail("The folder “" + path + "” couldn’t be created", errno);
    return path;
}

std::string CollectionFiles::addCopy(const std::string& source, const std::string& folder)
{
    struct stat attributes;
    if (::stat(folder.c_str(), &attributes) != 0) fail(quotedName(folder) + " couldn’t be read", errno);
    if (!S_ISDIR(attributes.st_mode)) throw CollectionError(kNotAFolder);

    const int input = RegularFile::open(source);
    if (input < 0) fail(quotedName(source) + " couldn’t be read", errno);
    struct stat sourceAttributes;
    ::fstat(input, &sourceAttributes);

    const std::string fileName(lastPathComponent(standardisedPath(source)));
    const std::string extension(pathExtension(fileName));
    const std::string base = extension.empty() ? fileName : fileName.substr(0, fileName.size() - extension.size() - 1);
    const std::string into = standardisedPath(folder);
    for (int attempt = 1; attempt <= 10'000; ++attempt) {
        std::string name =
            attempt == 1 ? fileName
                         : base + " (" + std::to_string(attempt) + ")" + (extension.empty() ? "" : "." + extension);
        const std::string destination = into + "/" + name;
        // O_EXCL: the name is claimed atomically, never replaced.
        const int output =
            ::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, sourceAttributes.st_mode & 0777);
        if (output < 0) {
            if (errno == EEXIST) continue;
            int error = errno;
            ::close(input);
            fail("A copy of " + quotedName(source) + " couldn’t be made", error);
        }
        int error = copyContents(input, output);
        if (::close(output) != 0 && error == 0) error = errno;
        if (error != 0) {
            ::unlink(destination.c_str()); // never leave a partial copy
            ::close(input);
            fail("A copy of " + quotedName(source) + " couldn’t be made", error);
        }
        ::close(input);
        return destination;
    }
    ::close(input);
    throw CollectionError(kTooManyCopies);
}

} // namespace mirelo
