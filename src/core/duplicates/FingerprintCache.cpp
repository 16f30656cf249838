#include "FingerprintCache.h"

#include "files/AtomicFile.h"
#include "files/LibraryError.h"
#include "files/RegularFile.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

namespace mirelo {

namespace {

constexpr char kMagic[] = "MIRELO-FINGERPRINTS-2\n";
constexpr uint8_t kHasContent = 1, kHasPicture = 2, kHasEdges = 4;

template <typename T>
void put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads what was written by put, within the bytes there are.
class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    template <typename T>
    bool get(T& value)
    {
        if (bytes_.size() - at_ < sizeof value) return false;
        std::memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool text(std::string& value, size_t length)
    {
        if (bytes_.size() - at_ < length) return false;
        value.assign(bytes_, at_, length);
        at_ += length;
        return true;
    }
    bool done() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    size_t at_ = 0;
};

} // namespace

std::optional<FileStamp> FileStamp::of(const std::string& path)
{
    struct stat attributes;
    if (::lstat(path.c_str(), &attributes) != 0 || !S_ISREG(attributes.st_mode)) return std::nullopt;
    return FileStamp{int64_t(attributes.st_size),
                     int64_t(attributes.st_mtim.tv_sec) * 1'000'000'000 + attributes.st_mtim.tv_nsec,
                     int64_t(attributes.st_ctim.tv_sec) * 1'000'000'000 + attributes.st_ctim.tv_nsec,
                     uint64_t(attributes.st_dev),
                     uint64_t(attributes.st_ino),
                     uint32_t(attributes.st_nlink)};
}

std::string FingerprintCache::defaultPath()
{
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        return std::string(cache) + "/mirelo/fingerprints";
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] == '/' ? home : "/tmp") + "/.cache/mirelo/fingerprints";
}

void FingerprintCache::load()
{
    entries_.clear();
    changed_ = false;
    const std::optional<std::string> contents = RegularFile::read(path_, kMostBytes);
    if (!contents || contents->compare(0, sizeof kMagic - 1, kMagic) != 0) return;
    const std::string& bytes = *contents;
    Reader reader(bytes);
    std::string magic;
    reader.text(magic, sizeof kMagic - 1);
    std::unordered_map<std::string, FileFingerprint> read;
    uint64_t count = 0;
    if (!reader.get(count)) return;
    for (uint64_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        std::string path;
        FileFingerprint entry;
        uint8_t flags = 0;
        ContentHash content;
        uint64_t picture = 0, edges = 0;
        if (!reader.get(length) || length == 0 || length > 65536 || !reader.text(path, length) ||
            !reader.get(entry.stamp.size) || !reader.get(entry.stamp.modifiedNs) ||
            !reader.get(entry.stamp.changedNs) || !reader.get(entry.stamp.device) || !reader.get(entry.stamp.inode) ||
            !reader.get(flags) || !reader.get(content.high) || !reader.get(content.low) || !reader.get(picture) ||
            !reader.get(edges))
            return; // damaged: start again
        if (flags & kHasContent) entry.content = content;
        if (flags & kHasPicture) entry.picture = picture;
        if (flags & kHasEdges) entry.edges = edges;
        read[std::move(path)] = entry;
    }
    if (!reader.done()) return;
    entries_ = std::move(read);
}

bool FingerprintCache::save()
{
    if (!changed_) return true;
    std::string out(kMagic);
    put(out, uint64_t(entries_.size()));
    for (const auto& [path, entry] : entries_) {
        put(out, uint32_t(path.size()));
        out += path;
        put(out, entry.stamp.size);
        put(out, entry.stamp.modifiedNs);
        put(out, entry.stamp.changedNs);
        put(out, entry.stamp.device);
        put(out, entry.stamp.inode);
        put(out, uint8_t((entry.content ? kHasContent : 0) | (entry.picture ? kHasPicture : 0) |
                         (entry.edges ? kHasEdges : 0)));
        const ContentHash content = entry.content.value_or(ContentHash{});
        put(out, content.high);
        put(out, content.low);
        put(out, entry.picture.value_or(0));
        put(out, entry.edges.value_or(0));
    }
    try {
        AtomicFile::write(path_, [&](FileSink& sink) { sink.write(out); });
        ::chmod(path_.c_str(), 0600);
    } catch (const LibraryError&) {
        return false;
    }
    changed_ = false;
    return true;
}

const FileFingerprint* FingerprintCache::find(const std::string& path, const FileStamp& stamp) const
{
    const auto found = entries_.find(path);
    return found != entries_.end() && found->second.stamp == stamp ? &found->second : nullptr;
}

FileFingerprint& FingerprintCache::entry(const std::string& path, const FileStamp& stamp)
{
    FileFingerprint& entry = entries_[path];
    if (!(entry.stamp == stamp)) {
        entry = FileFingerprint{stamp, std::nullopt, std::nullopt, std::nullopt};
        changed_ = true;
    }
    return entry;
}

namespace {

template <typename T>
void assign(std::optional<T>& slot, const T& value, bool& changed)
{
    if (slot == value) return;
    slot = value;
    changed = true;
}

} // namespace

void FingerprintCache::rememberEdges(const std::string& path, const FileStamp& stamp, uint64_t hash)
{
    assign(entry(path, stamp).edges, hash, changed_);
}

void FingerprintCache::rememberContent(const std::string& path, const FileStamp& stamp, ContentHash hash)
{
    assign(entry(path, stamp).content, hash, changed_);
}

void FingerprintCache::rememberPicture(const std::string& path, const FileStamp& stamp, uint64_t hash)
{
    assign(entry(path, stamp).picture, hash, changed_);
}

void FingerprintCache::forget(const std::string& path)
{
    if (entries_.erase(path)) changed_ = true;
}

} // namespace mirelo
