#include "ExactDuplicates.h"

#include "files/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace mirelo {

namespace {

constexpr int64_t kEdge = 4096;
constexpr size_t kChunk = 256 * 1024;
// More files alike than this are hashed one by one rather than read together.
constexpr size_t kMostOpen = 64;

struct Member {
    int index = 0; // into the files given
    FileStamp stamp;
    std::vector<int> links; // other files given that are this one
    std::optional<uint64_t> edges;
    std::optional<ContentHash> content;
    bool unreadable = false;
    bool opened = false;
};

// Reads exactly `length` bytes at `offset` (fewer only at the end of the
// file), a slice at a time so that a stop is seen within 64 KiB; false on an
// error or a stop.
constexpr size_t kSlice = 64 * 1024;
bool readAt(int fd, char* buffer, size_t length, int64_t offset, size_t& got, const std::atomic<bool>* stop)
{
    got = 0;
    while (got < length) {
        if (stop && stop->load(std::memory_order_relaxed)) return false;
        const ssize_t n = ::pread(fd, buffer + got, std::min(length - got, kSlice), offset + int64_t(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += size_t(n);
    }
    return true;
}

std::optional<uint64_t> edgeHash(const std::string& path, int64_t size, const std::atomic<bool>* stop)
{
    FileDescriptor fd(RegularFile::open(path));
    if (!fd) return std::nullopt;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_RANDOM);
    char buffer[2 * kEdge];
    size_t first = 0, last = 0;
    if (!readAt(fd.get(), buffer, size_t(std::min(size, kEdge)), 0, first, stop)) return std::nullopt;
    if (size > kEdge) {
        const int64_t from = std::max(kEdge, size - kEdge);
        if (!readAt(fd.get(), buffer + first, size_t(size - from), from, last, stop)) return std::nullopt;
    }
    return XXH3_64bits(buffer, first + last);
}

ContentHash toHash(XXH128_hash_t hash) { return {hash.high64, hash.low64}; }

} // namespace

std::optional<ContentHash> ExactDuplicates::contentHash(const std::string& path, const std::atomic<bool>* stop)
{
    FileDescriptor fd(RegularFile::open(path));
    if (!fd) return std::nullopt;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), XXH3_freeState);
    XXH3_128bits_reset(state.get());
    std::vector<char> buffer(kChunk);
    for (int64_t offset = 0;;) {
        size_t got = 0;
        if (!readAt(fd.get(), buffer.data(), buffer.size(), offset, got, stop)) return std::nullopt;
        if (got == 0) break;
        XXH3_128bits_update(state.get(), buffer.data(), got);
        offset += int64_t(got);
    }
    return toHash(XXH3_128bits_digest(state.get()));
}

namespace {

class Search {
public:
    Search(const std::vector<ExactDuplicates::File>& files, const ExactDuplicates::Options& options)
        : files_(files), options_(options)
    {
    }

    ExactDuplicates::Result run();

private:
    bool stopping() const { return options_.stop && options_.stop->load(); }
    void advance(int64_t count)
    {
        const int64_t done = done_ += count;
        if (options_.progress) options_.progress(done, total_);
    }
    // One size's files, on a worker.
    void settle(std::vector<Member*> members);
    // Files alike so far: their bytes, read together, decide.
    void readTogether(const std::vector<Member*>& members);
    void groupByContent(const std::vector<Member*>& members);
    void emit(const std::vector<Member*>& members);

    const std::vector<ExactDuplicates::File>& files_;
    const ExactDuplicates::Options& options_;
    std::vector<Member> members_;
    std::atomic<int64_t> done_{0};
    int64_t total_ = 0;
    std::mutex mutex_; // guards result_
    ExactDuplicates::Result result_;
};

void Search::emit(const std::vector<Member*>& members)
{
    if (members.size() < 2) return;
    ExactGroup group;
    group.size = files_[members.front()->index].size;
    for (const Member* member : members) {
        group.paths.push_back(files_[member->index].path);
        std::vector<std::string> links;
        for (int link : member->links) links.push_back(files_[link].path);
        group.links.push_back(std::move(links));
    }
    std::lock_guard lock(mutex_);
    if (options_.found) options_.found(group);
    result_.groups.push_back(std::move(group));
}

void Search::groupByContent(const std::vector<Member*>& members)
{
    std::map<std::pair<uint64_t, uint64_t>, std::vector<Member*>> byHash;
    for (Member* member : members) byHash[{member->content->high, member->content->low}].push_back(member);
    for (auto& [hash, alike] : byHash) emit(alike);
}

void Search::readTogether(const std::vector<Member*>& members)
{
    if (members.size() > kMostOpen) {
        std::vector<Member*> read;
        for (Member* member : members) {
            if (stopping()) return;
            member->opened = true;
            if (!member->content)
                member->content = ExactDuplicates::contentHash(files_[member->index].path, options_.stop);
            if (stopping()) return;
            if (member->content)
                read.push_back(member);
            else
                member->unreadable = true;
        }
        groupByContent(read);
        return;
    }
    struct Reading {
        Member* member;
        FileDescriptor fd;
        std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state{XXH3_createState(), XXH3_freeState};
        std::vector<char> chunk = std::vector<char>(kChunk);
        size_t got = 0;
        int64_t next = 0; // where reading goes on
    };
    std::vector<std::unique_ptr<Reading>> readings;
    for (Member* member : members) {
        member->opened = true;
        auto reading = std::make_unique<Reading>();
        reading->member = member;
        reading->fd.reset(RegularFile::open(files_[member->index].path));
        if (!reading->fd) {
            member->unreadable = true;
            continue;
        }
        ::posix_fadvise(reading->fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
        XXH3_128bits_reset(reading->state.get());
        readings.push_back(std::move(reading));
    }
    // Files that are still alike, each list a candidate group.
    std::vector<std::vector<Reading*>> parts(1);
    std::vector<Reading*> alone;
    for (auto& reading : readings) parts[0].push_back(reading.get());
    const int64_t size = files_[members.front()->index].size;
    for (int64_t offset = 0; offset < size && !parts.empty(); offset += int64_t(kChunk)) {
        if (stopping()) return;
        std::vector<std::vector<Reading*>> next;
        for (auto& part : parts) {
            std::vector<std::vector<Reading*>> split;
            for (Reading* reading : part) {
                if (!readAt(reading->fd.get(), reading->chunk.data(), kChunk, offset, reading->got, options_.stop)) {
                    if (stopping()) return;
                    reading->member->unreadable = true;
                    continue;
                }
                reading->next = offset + int64_t(reading->got);
                XXH3_128bits_update(reading->state.get(), reading->chunk.data(), reading->got);
                auto same = std::find_if(split.begin(), split.end(), [&](const std::vector<Reading*>& other) {
                    const Reading* first = other.front();
                    return first->got == reading->got &&
                           std::memcmp(first->chunk.data(), reading->chunk.data(), reading->got) == 0;
                });
                if (same == split.end())
                    split.push_back({reading});
                else
                    same->push_back(reading);
            }
            for (auto& alike : split) {
                if (alike.size() > 1)
                    next.push_back(std::move(alike));
                else
                    alone.push_back(alike.front());
            }
        }
        parts = std::move(next);
    }
    // A file that parted from the others is read to its end all the same,
    // so that the next search knows its hash without reading it.
    for (Reading* reading : alone) {
        bool whole = true;
        for (int64_t offset = reading->next; offset < size && whole; offset += int64_t(reading->got)) {
            if (stopping()) return;
            whole = readAt(reading->fd.get(), reading->chunk.data(), kChunk, offset, reading->got, options_.stop) &&
                    reading->got > 0;
            if (whole) XXH3_128bits_update(reading->state.get(), reading->chunk.data(), reading->got);
        }
        if (whole) reading->member->content = toHash(XXH3_128bits_digest(reading->state.get()));
    }
    for (const auto& part : parts) {
        std::vector<Member*> group;
        for (Reading* reading : part) {
            reading->member->content = toHash(XXH3_128bits_digest(reading->state.get()));
            group.push_back(reading->member);
        }
        emit(group);
    }
}

void Search::settle(std::vector<Member*> members)
{
    const size_t count = members.size();
    const bool known =
        std::all_of(members.begin(), members.end(), [](const Member* m) { return m->content.has_value(); });
    if (known) {
        groupByContent(members);
        advance(int64_t(count));
        return;
    }
    std::map<uint64_t, std::vector<Member*>> byEdges;
    for (Member* member : members) {
        if (stopping()) return;
        if (!member->edges) {
            member->opened = true;
            member->edges = edgeHash(files_[member->index].path, files_[member->index].size, options_.stop);
            if (stopping()) return;
        }
        if (member->edges)
            byEdges[*member->edges].push_back(member);
        else
            member->unreadable = true;
    }
    for (auto& [edges, alike] : byEdges) {
        if (alike.size() < 2) continue;
        if (std::all_of(alike.begin(), alike.end(), [](const Member* m) { return m->content.has_value(); }))
            groupByContent(alike);
        else
            readTogether(alike);
    }
    advance(int64_t(count));
}

ExactDuplicates::Result Search::run()
{
    std::unordered_map<int64_t, std::vector<int>> bySize;
    for (size_t i = 0; i < files_.size(); ++i)
        if (files_[i].size > 0) bySize[files_[i].size].push_back(int(i));
    // Each size's distinct files (hard links folded), with what the cache knows.
    std::vector<std::vector<int>> sizes;
    for (auto& [size, indices] : bySize)
        if (indices.size() > 1) sizes.push_back(std::move(indices));
    members_.reserve(files_.size());
    std::vector<std::vector<size_t>> work; // indices into members_
    for (const std::vector<int>& indices : sizes) {
        std::map<std::pair<uint64_t, uint64_t>, size_t> seen;
        std::vector<size_t> distinct;
        for (int index : indices) {
            const std::string& path = files_[index].path;
            const std::optional<FileStamp> stamp = FileStamp::of(path);
            if (!stamp) {
                result_.unreadable.push_back(path);
                continue;
            }
            if (stamp->size != files_[index].size) continue; // changed since the library saw it
            if (auto found = seen.find({stamp->device, stamp->inode}); found != seen.end()) {
                members_[found->second].links.push_back(index);
                continue;
            }
            Member member{index, *stamp};
            if (options_.cache)
                if (const FileFingerprint* known = options_.cache->find(path, *stamp)) {
                    member.edges = known->edges;
                    member.content = known->content;
                }
            seen[{stamp->device, stamp->inode}] = members_.size();
            distinct.push_back(members_.size());
            members_.push_back(std::move(member));
        }
        if (distinct.size() > 1) {
            total_ += int64_t(distinct.size());
            work.push_back(std::move(distinct));
        }
    }
    // Larger files first: they take longest, and are worth most.
    std::sort(work.begin(), work.end(), [&](const auto& a, const auto& b) {
        return files_[members_[a.front()].index].size > files_[members_[b.front()].index].size;
    });
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i; (i = next++) < work.size() && !stopping();) {
            std::vector<Member*> members;
            for (size_t m : work[i]) members.push_back(&members_[m]);
            settle(std::move(members));
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < std::max(options_.threads, 1); ++t) threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads) thread.join();

    result_.stopped = stopping();
    for (const Member& member : members_) {
        const std::string& path = files_[member.index].path;
        if (member.opened) ++result_.filesRead;
        if (member.unreadable) result_.unreadable.push_back(path);
        if (!options_.cache || member.unreadable) continue;
        if (member.edges) options_.cache->rememberEdges(path, member.stamp, *member.edges);
        if (member.content) options_.cache->rememberContent(path, member.stamp, *member.content);
    }
    std::sort(result_.groups.begin(), result_.groups.end(), [](const ExactGroup& a, const ExactGroup& b) {
        return a.size != b.size ? a.size > b.size : a.paths.front() < b.paths.front();
    });
    return std::move(result_);
}

} // namespace

ExactDuplicates::Result ExactDuplicates::find(const std::vector<File>& files, const Options& options)
{
    return Search(files, options).run();
}

} // namespace mirelo
