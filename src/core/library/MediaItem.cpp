#include "library/MediaItem.h"

#include "files/FileUrl.h"
#include "library/MediaFormats.h"
#include "files/UnicodeText.h"

#include <fcntl.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace mirelo {

uint64_t MediaItem::hashPath(std::string_view path)
{
    // FNV-1a, then a final mix so that nearby paths spread over a table.
    uint64_t h = 0xcbf29ce484222325ULL;
    for (char c : path) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

MediaItem::MediaItem(std::string_view path, int64_t bytes, Date modified, bool isVideo)
{
    void* memory = std::malloc(sizeof(Rep) + path.size());
    if (!memory) throw std::bad_alloc();
    rep_ = new (memory) Rep{};
    rep_->refs.store(1, std::memory_order_relaxed);
    rep_->pathLength = uint32_t(path.size());
    rep_->bytes = plausibleBytes(bytes) ? bytes : 0; // unknown rather than a size no file has
    rep_->modified = modified;
    rep_->hash = hashPath(path);
    if (!path.empty()) std::memcpy(rep_->chars(), path.data(), path.size());
    size_t slash = path.rfind('/');
    rep_->nameOffset = slash == std::string_view::npos ? 0 : uint32_t(slash + 1);
    rep_->flags = uint8_t((isVideo ? kVideo : 0) | (isNfc(path) ? kNfc : 0));
    std::string_view extension = pathExtension(path.substr(rep_->nameOffset));
    rep_->extensionLength = extension.size() < 0xFFFF ? uint16_t(extension.size()) : 0xFFFF;
}

MediaItem& MediaItem::operator=(const MediaItem& other) noexcept
{
    other.retain();
    release();
    rep_ = other.rep_;
    return *this;
}

MediaItem& MediaItem::operator=(MediaItem&& other) noexcept
{
    if (this != &other) {
        release();
        rep_ = other.rep_;
        other.rep_ = nullptr;
    }
    return *this;
}

void MediaItem::release()
{
    if (rep_ && rep_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        rep_->~Rep();
        std::free(rep_);
    }
    rep_ = nullptr;
}

std::string_view MediaItem::path() const
{
    return rep_ ? std::string_view(rep_->chars(), rep_->pathLength) : std::string_view();
}

std::string_view MediaItem::name() const
{
    return rep_ ? std::string_view(rep_->chars() + rep_->nameOffset, rep_->pathLength - rep_->nameOffset)
                : std::string_view();
}

std::string_view MediaItem::extension() const
{
    if (!rep_ || rep_->extensionLength == 0) return {};
    if (rep_->extensionLength == 0xFFFF) return pathExtension(name());
    return std::string_view(rep_->chars() + rep_->pathLength - rep_->extensionLength, rep_->extensionLength);
}

std::string MediaItem::format() const { return upperCased(extension()); }

bool MediaItem::hasFormat(std::string_view label) const
{
    std::string_view ext = extension();
    if (!isAscii(ext)) return format() == label;
    if (ext.size() != label.size()) return false;
    for (size_t i = 0; i < ext.size(); ++i) {
        char c = ext[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != label[i]) return false;
    }
    return true;
}

std::string MediaItem::sizeLabel() const { return mirelo::sizeLabel(bytes()); }

std::string MediaItem::urlString() const { return fileUrlString(path()); }

QUrl MediaItem::url() const { return QUrl(QString::fromLatin1(urlString()), QUrl::StrictMode); }

std::string_view MediaItem::comparablePath(std::string& storage) const
{
    if (!rep_ || (rep_->flags & kNfc)) return path();
    storage = nfc(path());
    return storage;
}

bool MediaItem::operator==(const MediaItem& other) const
{
    if (rep_ == other.rep_) return true;
    return path() == other.path() && bytes() == other.bytes() && modified() == other.modified() &&
           isVideo() == other.isVideo();
}

Date dateFromTimespec(const struct timespec& time)
{
    return double(time.tv_sec) - kUnixEpochOffset + double(time.tv_nsec) / 1e9;
}

std::optional<MediaItem> MediaItem::fromEntry(int dirfd, std::string_view name, std::string_view path,
                                              const struct stat& attributes)
{
    if (!S_ISREG(attributes.st_mode)) return std::nullopt;
    auto verdict = MediaFormats::classify(dirfd, name, path);
    if (!verdict.accepted) return std::nullopt;
    return MediaItem(path, attributes.st_size > 0 ? int64_t(attributes.st_size) : 0,
                     dateFromTimespec(attributes.st_mtim), verdict.video);
}

std::optional<MediaItem> MediaItem::read(std::string_view path)
{
    struct stat attributes {};
    std::string raw(path);
    if (::fstatat(AT_FDCWD, raw.c_str(), &attributes, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    if (!S_ISREG(attributes.st_mode)) return std::nullopt; // folders, links, pipes, devices
    auto verdict = MediaFormats::classify(-1, path, path);
    if (!verdict.accepted) return std::nullopt;
    return MediaItem(absoluteStandardisedPath(path), attributes.st_size > 0 ? int64_t(attributes.st_size) : 0,
                     dateFromTimespec(attributes.st_mtim), verdict.video);
}

std::string sizeLabel(int64_t bytes)
{
    if (bytes < 0) bytes = 0;
    if (bytes == 1) return "1 byte";
    if (bytes < 1000) return std::to_string(bytes) + " bytes";
    static constexpr struct {
        const char* unit;
        int decimals;
    } kUnits[] = {{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}};
    double value = double(bytes);
    size_t unit = 0;
    value /= 1000.0;
    for (;;) {
        double scale = std::pow(10.0, kUnits[unit].decimals);
        double rounded = std::round(value * scale) / scale;
        if (rounded < 1000.0 || unit + 1 == std::size(kUnits)) {
            value = rounded;
            break;
        }
        value /= 1000.0;
        ++unit;
    }
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, kUnits[unit].decimals);
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text + " " + kUnits[unit].unit;
}

} // namespace mirelo
