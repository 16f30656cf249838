#pragma once
// Looking for duplicates in the library, off the main thread: identical
// files, or photos that look alike, grouped with the copy to keep first. One
// search at a time, on a worker of its own: starting, restarting, stopping
// and ending a search never wait for it on the calling thread; a newer
// search, or stop(), makes the older one's result count for nothing. The
// fingerprint cache is read on the worker before the first search and
// written after each; paths the watcher saw change are forgotten first.

#include "duplicates/SimilarPhotos.h"
#include "library/DuplicateGroups.h"
#include "library/MediaItem.h"
#include "work/SerialQueue.h"

#include <QObject>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace mirelo {

class FingerprintCache;

class DuplicateSearch : public QObject {
    Q_OBJECT
public:
    struct Input {
        MediaItems items;
        std::vector<std::string> folders; // the library's, in the order added
        DuplicateGroups::Kind kind = DuplicateGroups::Kind::exact;
        int within = SimilarPhotos::kVerySimilar; // bits, for photos alike
    };
    struct Result {
        std::shared_ptr<const DuplicateGroups> groups;
        size_t unreadable = 0;
        bool stopped = false;
    };
    using Progress = std::function<void(int64_t done, int64_t total)>;
    // A group of identical files as soon as it is confirmed (any thread).
    using Found = std::function<void(DuplicateGroups::Group group)>;

    // The search itself, on the calling thread (the command line's too).
    // Every group holds two files or more: names of one file (hard links,
    // a folder reached twice) are that file's links, never its copies.
    static Result find(const Input& input, FingerprintCache& cache, const std::atomic<bool>& stop,
                       const Progress& progress = {}, const Found& found = {});

    // `cachePath`: the fingerprint cache's file.
    explicit DuplicateSearch(std::string cachePath, QObject* parent = nullptr);
    // Stops the search and waits for the worker, which then ends within a
    // 64 KiB read or one small decode.
    ~DuplicateSearch() override;

    void start(Input input);
    void stop();
    bool running() const { return running_; }
    int64_t done() const { return done_; }
    int64_t total() const { return total_; }
    // A file changed or went: its fingerprints are dropped before the next search.
    void forget(const std::string& path);

Q_SIGNALS:
    void progressChanged();
    // The groups found so far, at most twice a second while identical files are looked for.
    void partial(std::shared_ptr<const DuplicateGroups> groups);
    void finished(const Result& result);

private:
    struct Shared; // the cache and what is waiting to be forgotten, the worker's

    std::shared_ptr<Shared> shared_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::atomic<int64_t> done_{0}, total_{0};
    bool running_ = false;
    std::atomic<int> generation_{0};
    QTimer poll_;
    // Groups the worker found, not yet handed over.
    std::mutex foundLock_;
    std::vector<DuplicateGroups::Group> found_;
    size_t handedOver_ = 0;
    DuplicateGroups::Kind kind_ = DuplicateGroups::Kind::exact;
    QElapsedTimer sincePartial_;
    SerialQueue worker_{"Mirelo duplicates"}; // last: ended first
};

} // namespace mirelo
