#pragma once
// What Mirelo learned of each file's content, kept between runs so that a
// second search for duplicates reads nothing: per path the file's size,
// modification time, device and inode, the hash of its first and last
// 4 KiB, the XXH3-128 of its bytes once read whole, and its picture's
// perceptual hash once made. An entry counts only while the file still has
// that size, inode, modification and change time: a file edited in place
// with its old modification time put back has a new change time.
//
// The file is binary, written atomically with mode 0600; a damaged or
// foreign file reads as empty and is written anew.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace mirelo {

struct FileStamp {
    int64_t size = 0;
    int64_t modifiedNs = 0; // since the epoch
    int64_t changedNs = 0;  // the inode's change time
    uint64_t device = 0, inode = 0;
    uint32_t links = 1;
    bool operator==(const FileStamp& other) const
    {
        return size == other.size && modifiedNs == other.modifiedNs && changedNs == other.changedNs &&
               device == other.device && inode == other.inode;
    }
    // The file at `path` as it is now (links not followed); nothing when it
    // is not a regular file or can't be reached.
    static std::optional<FileStamp> of(const std::string& path);
};

struct ContentHash {
    uint64_t high = 0, low = 0;
    bool operator==(const ContentHash&) const = default;
};

struct FileFingerprint {
    FileStamp stamp;
    std::optional<uint64_t> edges; // XXH3-64 of the first and the last 4 KiB
    std::optional<ContentHash> content;
    std::optional<uint64_t> picture; // the perceptual hash
};

class FingerprintCache {
public:
    // "$XDG_CACHE_HOME/mirelo/fingerprints".
    static std::string defaultPath();

    explicit FingerprintCache(std::string path = defaultPath()) : path_(std::move(path)) {}
    // The largest file read: anything larger is taken for damaged.
    static constexpr int64_t kMostBytes = int64_t(1) << 30;

    // Reads the file (only a regular file, never waiting on one); a missing,
    // damaged or oversized one leaves the cache empty. Slow: never on the
    // main thread.
    void load();
    // Writes it when something changed; false when that failed.
    bool save();

    // The entry for `path` if it still describes `stamp`.
    const FileFingerprint* find(const std::string& path, const FileStamp& stamp) const;
    void rememberEdges(const std::string& path, const FileStamp& stamp, uint64_t hash);
    void rememberContent(const std::string& path, const FileStamp& stamp, ContentHash hash);
    void rememberPicture(const std::string& path, const FileStamp& stamp, uint64_t hash);
    // A file the watcher saw change, or that went.
    void forget(const std::string& path);
    size_t size() const { return entries_.size(); }

private:
    FileFingerprint& entry(const std::string& path, const FileStamp& stamp);

    std::string path_;
    std::unordered_map<std::string, FileFingerprint> entries_;
    bool changed_ = false;
};

} // namespace mirelo
