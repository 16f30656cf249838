#pragma once
// One indexed file: its standardised location, size, modification date and
// whether it is a video. A small immutable value: copies share one
// reference-counted block that holds the path inline.

#include <QList>
#include <QUrl>

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirelo {

// Seconds since 2001-01-01T00:00:00Z.
using Date = double;
inline constexpr Date kDistantPast = -63114076800.0;
inline constexpr double kUnixEpochOffset = 978307200.0; // 1970 -> 2001

class MediaItem {
public:
    MediaItem() = default;
    // Memberwise construction; `path` is taken as it is (no validation).
    MediaItem(std::string_view path, int64_t bytes, Date modified, bool isVideo);
    MediaItem(const MediaItem& other) noexcept : rep_(other.rep_) { retain(); }
    MediaItem(MediaItem&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
    MediaItem& operator=(const MediaItem& other) noexcept;
    MediaItem& operator=(MediaItem&& other) noexcept;
    ~MediaItem() { release(); }

    // The item for one file, or nothing when it is not a readable regular
    // media file (links, folders, vanished files give nothing).
    static std::optional<MediaItem> read(std::string_view path);
    // The same, from attributes already read for `name` inside the open
    // folder `dirfd`; `path` is the entry's standardised path.
    static std::optional<MediaItem> fromEntry(int dirfd, std::string_view name, std::string_view path,
                                              const struct stat& attributes);

    bool isNull() const { return rep_ == nullptr; }
    // The standardised absolute path, raw file-system bytes; also the id.
    std::string_view path() const;
    std::string_view id() const { return path(); }
    QUrl url() const;
    std::string urlString() const;
    int64_t bytes() const { return rep_ ? rep_->bytes : 0; }
    // Could a file be this large?
    static constexpr int64_t kMostBytes = int64_t(1) << 50; // 1 PiB
    static constexpr bool plausibleBytes(int64_t bytes) { return bytes >= 0 && bytes <= kMostBytes; }
    Date modified() const { return rep_ ? rep_->modified : kDistantPast; }
    bool isVideo() const { return rep_ && (rep_->flags & kVideo); }
    // Hash of the path, computed once.
    uint64_t pathHash() const { return rep_ ? rep_->hash : 0; }

    // Last path component, extension included.
    std::string_view name() const;
    std::string_view extension() const;
    // Upper-cased extension: the format label ("JPG"); "" without extension.
    std::string format() const;
    // Does the format label equal `label`? (No allocation for ASCII names.)
    bool hasFormat(std::string_view label) const;
    std::string sizeLabel() const;

    // The path in NFC, for comparisons against other paths.
    std::string_view comparablePath(std::string& storage) const;

    // Hints the processor to fetch the item's block (for loops in random order).
    void prefetch() const { __builtin_prefetch(rep_); }

    bool operator==(const MediaItem& other) const;

    static uint64_t hashPath(std::string_view path);

private:
    enum : uint8_t { kVideo = 1, kNfc = 2 };
    struct Rep {
        std::atomic<uint32_t> refs;
        uint32_t pathLength;
        int64_t bytes;
        Date modified;
        uint64_t hash;
        uint32_t nameOffset;
        uint8_t flags;
        uint16_t extensionLength; // 0 when the name has none
        const char* chars() const { return reinterpret_cast<const char*>(this + 1); }
        char* chars() { return reinterpret_cast<char*>(this + 1); }
    };
    void retain() const
    {
        if (rep_) rep_->refs.fetch_add(1, std::memory_order_relaxed);
    }
    void release();
    Rep* rep_ = nullptr;
};

// File-size text in decimal units: "0 bytes", "1 byte", "999 bytes", "1 KB", "4.2 MB".
std::string sizeLabel(int64_t bytes);

// A total of sizes that stays at its largest value instead of overflowing.
constexpr int64_t addBytes(int64_t total, int64_t bytes)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(total, bytes, &sum)) return bytes < 0 ? INT64_MIN : INT64_MAX;
    return sum;
}

// Seconds since 2001 of a modification time from stat.
Date dateFromTimespec(const struct timespec& time);

using MediaItems = QList<MediaItem>;

} // namespace mirelo

Q_DECLARE_TYPEINFO(mirelo::MediaItem, Q_RELOCATABLE_TYPE);

template <>
struct std::hash<mirelo::MediaItem> {
    size_t operator()(const mirelo::MediaItem& item) const noexcept
    {
        size_t h = item.pathHash();
        auto mix = [&](uint64_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(uint64_t(item.bytes()));
        mix(std::hash<double>()(item.modified()));
        mix(item.isVideo());
        return h;
    }
};
