#include "library/MediaFormats.h"

#include "files/FileUrl.h"

#include <QMimeDatabase>
#include <QMimeType>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <unordered_map>

namespace mirelo {

namespace {

enum class Registry : unsigned char { None, Image, Movie };

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

template <size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view lower)
{
    return std::find(list.begin(), list.end(), lower) != list.end();
}

Registry askRegistry(const std::string& extension)
{
    static QMimeDatabase database;
    QMimeType type =
        database.mimeTypeForFile(QStringLiteral("x.") + QString::fromUtf8(extension), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) return Registry::None;
    auto conforms = [&](const QString& prefix) {
        if (type.name().startsWith(prefix)) return true;
        const QStringList parents = type.allAncestors();
        return std::any_of(parents.begin(), parents.end(), [&](const QString& p) { return p.startsWith(prefix); });
    };
    if (conforms(QStringLiteral("video/"))) return Registry::Movie;
    if (conforms(QStringLiteral("image/"))) return Registry::Image;
    return Registry::None;
}

// The registry's verdict per extension as written; a scan asks about every file.
Registry registryType(std::string_view extension)
{
    if (extension.empty()) return Registry::None;
    thread_local std::unordered_map<std::string, Registry> local;
    std::string key(extension);
    if (auto it = local.find(key); it != local.end()) return it->second;

    static std::mutex mutex;
    static std::unordered_map<std::string, Registry> shared;
    Registry verdict;
    {
        std::lock_guard lock(mutex);
        auto it = shared.find(key);
        if (it == shared.end()) it = shared.emplace(key, askRegistry(key)).first;
        verdict = it->second;
    }
    local.emplace(std::move(key), verdict);
    return verdict;
}

// Only a regular file is read: a pipe, socket or device of that name could
// block forever or have side effects.
bool sniffTransportStream(int fd)
{
    if (fd < 0) return false;
    struct stat attributes;
    if (::fstat(fd, &attributes) != 0 || !S_ISREG(attributes.st_mode)) {
        ::close(fd);
        return false;
    }
    char buffer[1024];
    size_t filled = 0;
    while (filled < sizeof buffer) {
        ssize_t n = ::read(fd, buffer + filled, sizeof buffer - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        filled += size_t(n);
    }
    ::close(fd);
    return MediaFormats::looksLikeTransportStream(std::string_view(buffer, filled));
}

bool isVideoByExtension(std::string_view extension, const std::string& lower, int dirfd, std::string_view nameOrPath)
{
    if (lower == "ts") {
        constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
        const std::string name(nameOrPath);
        int fd = ::openat(dirfd >= 0 ? dirfd : AT_FDCWD, name.c_str(), kFlags);
        return sniffTransportStream(fd);
    }
    if (listed(MediaFormats::videoExtensions, lower)) return true;
    return registryType(extension) == Registry::Movie;
}

MediaFormats::Verdict classifyEntry(int dirfd, std::string_view nameOrPath)
{
    std::string_view extension = pathExtension(lastPathComponent(nameOrPath));
    std::string lower = lowerAscii(extension);
    MediaFormats::Verdict verdict;
    bool image = listed(MediaFormats::imageExtensions, lower);
    verdict.video = !image || lower == "ts" ? isVideoByExtension(extension, lower, dirfd, nameOrPath)
                                            : registryType(extension) == Registry::Movie;
    verdict.accepted = image || verdict.video || registryType(extension) == Registry::Image;
    return verdict;
}

} // namespace

bool MediaFormats::looksLikeTransportStream(std::string_view bytes)
{
    constexpr std::pair<size_t, size_t> layouts[] = {{0, 188}, {4, 192}, {0, 204}};
    for (auto [start, length] : layouts) {
        if (start + 3 * length >= bytes.size()) continue;
        bool match = true;
        for (size_t k = 0; k < 4 && match; ++k) match = bytes[start + k * length] == 0x47;
        if (match) return true;
    }
    return false;
}

bool MediaFormats::isVideo(std::string_view path)
{
    std::string_view extension = pathExtension(lastPathComponent(path));
    return isVideoByExtension(extension, lowerAscii(extension), -1, path);
}

bool MediaFormats::accepts(std::string_view path)
{
    std::string_view extension = pathExtension(lastPathComponent(path));
    std::string lower = lowerAscii(extension);
    if (listed(imageExtensions, lower)) return true;
    if (isVideoByExtension(extension, lower, -1, path)) return true;
    return registryType(extension) == Registry::Image;
}

MediaFormats::Verdict MediaFormats::classify(int dirfd, std::string_view name, std::string_view pathForOpen)
{
    return dirfd >= 0 ? classifyEntry(dirfd, name) : classifyEntry(-1, pathForOpen);
}

} // namespace mirelo
