#include "library/TrashService.h"

#include "files/FileRename.h"
#include "files/FileUrl.h"
#include "files/LibraryError.h"
#include "files/UserFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <unordered_set>

namespace mirelo {

namespace {

constexpr int kMostCandidates = 10000;

std::string failure(std::string_view path, const std::string& why)
{
    return std::string(lastPathComponent(path)) + ": " + why;
}

std::string joined(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

// "<trash>/files/<name>" is listed by "<trash>/info/<name>.trashinfo".
std::string infoFileOf(const std::string& trashed)
{
    const std::string files(parentPath(trashed));
    if (lastPathComponent(files) != "files") return {};
    return std::string(parentPath(files)) + "/info/" + std::string(lastPathComponent(trashed)) + ".trashinfo";
}

// The folder a drive's trash lists its paths against: the drive's top for
// "<top>/.Trash-<uid>" and "<top>/.Trash/<uid>", none for the home trash
// (whose listing holds absolute paths).
std::optional<std::string> topOfTrash(const std::string& trash)
{
    const std::string uid = std::to_string(::getuid());
    const std::string_view name = lastPathComponent(trash);
    if (name == ".Trash-" + uid) return std::string(parentPath(trash));
    const std::string_view parent = parentPath(trash);
    if (name == uid && lastPathComponent(parent) == ".Trash") return std::string(parentPath(parent));
    return std::nullopt;
}

bool isOwnFolder(const std::string& path)
{
    struct stat attributes;
    return ::lstat(path.c_str(), &attributes) == 0 && S_ISDIR(attributes.st_mode) && attributes.st_uid == ::getuid();
}

// Makes "files" and "info" inside a trash; "" or why they cannot be made.
std::string makeTrashFolders(const std::string& trash)
{
    for (const char* folder : {"/files", "/info"}) {
        const std::string path = trash + folder;
        struct stat attributes;
        if (::mkdir(path.c_str(), 0700) != 0 &&
            (::lstat(path.c_str(), &attributes) != 0 || !S_ISDIR(attributes.st_mode)))
            return "The Trash folder “" + trash + "” couldn’t be made: " + systemErrorText(errno) + ".";
    }
    return {};
}

// Makes the home trash and the folders above it; "" or why it cannot be made.
std::string makeHomeTrash(const std::string& trash)
{
    if (trash.empty()) return "The Trash folder couldn’t be found.";
    std::string partial;
    for (std::string_view rest = trash; !rest.empty();) {
        const size_t slash = rest.find('/', 1);
        partial += rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        ::mkdir(partial.c_str(), 0700);
    }
    return makeTrashFolders(trash);
}

// The device of a path, or of the nearest folder above it that exists.
dev_t deviceOfNearest(std::string path)
{
    struct stat attributes;
    while (::stat(path.c_str(), &attributes) != 0) {
        if (path == "/") return 0;
        path = std::string(parentPath(path));
    }
    return attributes.st_dev;
}

// The top of the mount that holds `path`: the highest folder above it on
// the same device.
std::string mountTop(const std::string& path, dev_t device)
{
    std::string top(parentPath(path));
    while (top != "/") {
        const std::string parent(parentPath(top));
        struct stat attributes;
        if (::lstat(parent.c_str(), &attributes) != 0 || attributes.st_dev != device) break;
        top = parent;
    }
    return top;
}

// The trash at the top of a drive: "<top>/.Trash/<uid>" when the drive has
// a shared, sticky ".Trash" that is no link, else "<top>/.Trash-<uid>".
std::optional<std::string> drivesTrash(const std::string& top)
{
    const std::string uid = std::to_string(::getuid());
    const std::string shared = joined(top, ".Trash");
    struct stat attributes;
    if (::lstat(shared.c_str(), &attributes) == 0 && S_ISDIR(attributes.st_mode) && (attributes.st_mode & S_ISVTX)) {
        const std::string mine = shared + "/" + uid;
        ::mkdir(mine.c_str(), 0700);
        if (isOwnFolder(mine) && makeTrashFolders(mine).empty()) return mine;
    }
    const std::string mine = joined(top, ".Trash-" + uid);
    ::mkdir(mine.c_str(), 0700);
    if (isOwnFolder(mine) && makeTrashFolders(mine).empty()) return mine;
    return std::nullopt;
}

std::string encodedPath(std::string_view path) { return fileUrlString(path).substr(7); }

std::string deletionDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The longest name an entry may have: its listing is "<name>.trashinfo",
// and a file system takes names of 255 bytes.
constexpr size_t kLongestEntryName = 255 - std::string_view(".trashinfo").size();

// `text` cut to at most `length` bytes, never inside a UTF-8 character.
std::string_view cutAtCharacter(std::string_view text, size_t length)
{
    if (text.size() <= length) return text;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    return text.substr(0, length);
}

// The n-th name tried for a file in the trash: "photo.jpg", "photo.2.jpg", …,
// its stem shortened when the listing's name would be too long (the listing
// keeps the full original path).
std::string candidateName(std::string_view name, int n)
{
    std::string_view extension = pathExtension(name);
    if (extension.size() + 1 > kLongestEntryName / 2) extension = {};
    const std::string_view stem = extension.empty() ? name : name.substr(0, name.size() - extension.size() - 1);
    const std::string number = n == 1 ? std::string() : "." + std::to_string(n);
    const std::string ending = number + (extension.empty() ? "" : "." + std::string(extension));
    std::string candidate(cutAtCharacter(stem, kLongestEntryName - ending.size()));
    return candidate + ending;
}

// Resolves the links in the folder holding `path` (never the file itself,
// which may be a link that is trashed as such): the file's own drive and its
// top are found from where it really is.
std::string realLocation(const std::string& path)
{
    char* folder = ::realpath(std::string(parentPath(path)).c_str(), nullptr);
    if (!folder) return path;
    std::string real = joined(folder, lastPathComponent(path));
    std::free(folder);
    return real;
}

bool writeAll(int fd, const std::string& text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

struct Placed {
    std::optional<TrashRecord> record;
    std::string why;
};

// Lists the file in the trash, then moves it in under a free name; neither
// step ever replaces anything.
Placed putInTrash(const std::string& path, const std::string& real, const struct stat& attributes,
                  const std::string& trash, const std::optional<std::string>& top)
{
    // A drive's trash lists the file against the drive's top, by its real
    // location; the home trash by the path the user knows it by.
    std::string listedAs = top ? real : path;
    if (top && *top != "/")
        listedAs = real.substr(top->size() + 1);
    else if (top)
        listedAs = real.substr(1);
    const std::string listing =
        "[Trash Info]\nPath=" + encodedPath(listedAs) + "\nDeletionDate=" + deletionDate() + "\n";
    const std::string_view name = lastPathComponent(path);
    for (int n = 1; n <= kMostCandidates; ++n) {
        const std::string candidate = candidateName(name, n);
        const std::string info = trash + "/info/" + candidate + ".trashinfo";
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0)
            return {std::nullopt, "The Trash can’t take it (" + systemErrorText(errno) + "), so it was left in place."};
        const bool written = writeAll(fd, listing);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            ::unlink(info.c_str());
            return {std::nullopt, "The Trash can’t take it (" + systemErrorText(written ? errno : writeError) +
                                      "), so it was left in place."};
        }
        const std::string target = trash + "/files/" + candidate;
        const int error = renameWithoutReplacing(path, target);
        if (error == EEXIST) {
            ::unlink(info.c_str());
            continue;
        }
        if (error != 0) {
            ::unlink(info.c_str());
            return {std::nullopt, "The Trash can’t take it (" + systemErrorText(error) + "), so it was left in place."};
        }
        struct stat moved;
        if (::lstat(target.c_str(), &moved) != 0 || moved.st_ino != attributes.st_ino)
            return {std::nullopt, "Trash did not return a recovery location."};
        return {TrashRecord{path, target, top ? real : path, uint64_t(moved.st_dev), uint64_t(moved.st_ino),
                            int64_t(moved.st_size), int64_t(moved.st_ctim.tv_sec), int64_t(moved.st_ctim.tv_nsec),
                            int64_t(moved.st_mtim.tv_sec), int64_t(moved.st_mtim.tv_nsec)},
                {}};
    }
    return {std::nullopt, "The Trash has too many items of this name, so it was left in place."};
}

// The location a trash listing names, or "" when it cannot be read.
std::string listedLocation(const std::string& trashed)
{
    const std::string info = infoFileOf(trashed);
    if (info.empty()) return {};
    const int fd = ::open(info.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    char buffer[4096];
    for (ssize_t n; text.size() < 65536 && (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, size_t(n));
    }
    ::close(fd);
    const size_t key = text.find("\nPath=");
    if (key == std::string::npos) return {};
    const size_t start = key + 6, end = text.find('\n', start);
    const std::string value = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::optional<std::string> top = topOfTrash(std::string(parentPath(parentPath(trashed))));
    if (!top) return value.starts_with('/') ? pathFromFileUrl("file://" + value).value_or("") : "";
    const std::optional<std::string> relative = pathFromFileUrl("file:///" + value);
    return relative ? standardisedPath(*top + *relative) : "";
}

// The trash still holds the file that was put there.
bool stillTheFile(const struct stat& now, const TrashRecord& record)
{
    if (uint64_t(now.st_dev) != record.device || uint64_t(now.st_ino) != record.inode ||
        int64_t(now.st_size) != record.size)
        return false;
    if (int64_t(now.st_ctim.tv_sec) == record.changedSeconds &&
        int64_t(now.st_ctim.tv_nsec) == record.changedNanoseconds)
        return true;
    // Another name of the file was trashed or restored since.
    return now.st_nlink > 1 && int64_t(now.st_mtim.tv_sec) == record.modifiedSeconds &&
           int64_t(now.st_mtim.tv_nsec) == record.modifiedNanoseconds;
}

} // namespace

TrashResult TrashService::move(const std::vector<std::string>& paths)
{
    TrashResult result;
    std::unordered_set<std::string> seen;
    const std::string data = dataHome();
    const std::string home = data.empty() ? std::string() : data + "/Trash";
    const std::string unavailable = paths.empty() ? std::string() : makeHomeTrash(home);
    const dev_t homeDevice = home.empty() ? 0 : deviceOfNearest(home);
    for (const std::string& given : paths) {
        const std::string path = standardisedPath(given);
        if (!seen.insert(path).second) continue; // each file once, in the order given
        struct stat attributes;
        if (::lstat(path.c_str(), &attributes) != 0) {
            result.failures.push_back(failure(path, systemErrorText(errno)));
            continue;
        }
        Placed placed;
        if (!home.empty() && attributes.st_dev == homeDevice) {
            if (!unavailable.empty()) {
                result.failures.push_back(failure(path, unavailable + " The file was left in place."));
                continue;
            }
            placed = putInTrash(path, path, attributes, home, std::nullopt);
        } else {
            const std::string real = realLocation(path);
            const std::string top = mountTop(real, attributes.st_dev);
            const std::optional<std::string> trash = drivesTrash(top);
            if (!trash) {
                result.failures.push_back(
                    failure(path, "Its drive has no Trash that can take it, so it was left in place."));
                continue;
            }
            placed = putInTrash(path, real, attributes, *trash, top);
        }
        if (placed.record)
            result.records.push_back(std::move(*placed.record));
        else
            result.failures.push_back(failure(path, placed.why));
    }
    return result;
}

TrashRestoreResult TrashService::restore(const std::vector<TrashRecord>& records)
{
    TrashRestoreResult result;
    for (const TrashRecord& record : records) {
        std::string why;
        const std::string folder(parentPath(record.original));
        struct stat attributes;
        if (::lstat(record.trashed.c_str(), &attributes) != 0 || !stillTheFile(attributes, record) ||
            listedLocation(record.trashed) != record.listed) {
            // Emptied, or another file has since been trashed under the same name.
            why = "It is no longer in the Trash.";
        } else if (::stat(folder.c_str(), &attributes) != 0 || !S_ISDIR(attributes.st_mode)) {
            why = "Its folder “" + folder + "” no longer exists.";
        } else if (int error = renameWithoutReplacing(record.trashed, record.original); error != 0) {
            why = error == EEXIST ? "Another item with this name is already there." : systemErrorText(error);
        }
        if (!why.empty()) {
            result.remaining.push_back(record);
            result.failures.push_back(failure(record.original, why));
            continue;
        }
        if (std::string info = infoFileOf(record.trashed); !info.empty()) ::unlink(info.c_str());
        result.restored.push_back(record.original);
    }
    return result;
}

} // namespace mirelo
