#include "DuplicateSearch.h"

#include "duplicates/DuplicateKeeper.h"
#include "duplicates/ExactDuplicates.h"
#include "duplicates/FingerprintCache.h"
#include "duplicates/SimilarPhotos.h"
#include "images/ImageMetadata.h"
#include "images/PictureHash.h"

#include "work/HandOff.h"

#include <QMetaObject>

#include <map>
#include <thread>
#include <unordered_map>

namespace mirelo {

namespace {

DuplicateGroups::Reason reasonOf(DuplicateKeeper::Reason reason)
{
    switch (reason) {
    case DuplicateKeeper::Reason::firstFolder: return DuplicateGroups::Reason::firstFolder;
    case DuplicateKeeper::Reason::oldest: return DuplicateGroups::Reason::oldest;
    case DuplicateKeeper::Reason::largestPicture: return DuplicateGroups::Reason::largestPicture;
    case DuplicateKeeper::Reason::cameraDetails: return DuplicateGroups::Reason::cameraDetails;
    }
    return DuplicateGroups::Reason::oldest;
}

// The copies in keeper-first order, with the reason.
DuplicateGroups::Group arrange(const std::vector<DuplicateKeeper::Copy>& copies, DuplicateKeeper::Choice choice)
{
    DuplicateGroups::Group group;
    group.reason = reasonOf(choice.reason);
    group.paths.push_back(copies[choice.index].path);
    for (size_t i = 0; i < copies.size(); ++i)
        if (i != choice.index) group.paths.push_back(copies[i].path);
    return group;
}

bool carriesCameraDetails(const std::string& path)
{
    for (const auto& [label, value] : ImageMetadata::read(path))
        if (label == "Camera") return true;
    return false;
}

// Pictures that look alike. Names of one file (hard links, a folder reached
// through a link) are one picture; a group needs two files.
void similarGroups(const DuplicateSearch::Input& input, FingerprintCache& cache, const std::atomic<bool>& stop,
                   const DuplicateSearch::Progress& progress, DuplicateGroups& groups, DuplicateSearch::Result& result)
{
    struct Photo {
        const MediaItem* item;
        FileStamp stamp;
        std::vector<std::string> links;
        PictureHash::Facts facts;
    };
    std::vector<Photo> photos;
    std::map<std::pair<uint64_t, uint64_t>, size_t> files;
    for (const MediaItem& item : input.items) {
        if (item.isVideo()) continue;
        const std::string path(item.path());
        const std::optional<FileStamp> stamp = FileStamp::of(path);
        if (!stamp) {
            ++result.unreadable;
            continue;
        }
        const auto [known, added] = files.try_emplace({stamp->device, stamp->inode}, photos.size());
        if (!added) {
            photos[known->second].links.push_back(path);
            continue;
        }
        Photo photo{&item, *stamp, {}, {}};
        if (const FileFingerprint* fingerprint = cache.find(path, *stamp); fingerprint && fingerprint->picture)
            photo.facts.hash = fingerprint->picture;
        photos.push_back(std::move(photo));
    }
    std::atomic<size_t> next{0};
    std::atomic<int64_t> done{0};
    auto work = [&] {
        for (size_t i; (i = next++) < photos.size() && !stop;) {
            if (!photos[i].facts.hash) photos[i].facts = PictureHash::ofFile(std::string(photos[i].item->path()));
            if (progress) progress(++done, int64_t(photos.size()));
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::max(2u, std::thread::hardware_concurrency()); ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    result.stopped = stop;
    std::vector<uint64_t> hashes;
    std::vector<size_t> hashed;
    for (size_t i = 0; i < photos.size(); ++i) {
        if (!photos[i].facts.hash) {
            result.unreadable += stop ? 0 : 1;
            continue;
        }
        cache.rememberPicture(std::string(photos[i].item->path()), photos[i].stamp, *photos[i].facts.hash);
        hashes.push_back(*photos[i].facts.hash);
        hashed.push_back(i);
    }
    for (const std::vector<int>& members : SimilarPhotos::group(hashes, input.within)) {
        if (stop) break;
        std::vector<DuplicateKeeper::Copy> copies;
        std::unordered_map<int64_t, int> sizes;
        for (int member : members) ++sizes[photos[hashed[size_t(member)]].item->bytes()];
        for (int member : members) {
            Photo& photo = photos[hashed[size_t(member)]];
            const std::string path(photo.item->path());
            DuplicateKeeper::Copy copy{path, photo.item->modified(), photo.item->bytes(), photo.facts.pixels};
            if (copy.pixels == 0) copy.pixels = PictureHash::pixelsOf(path); // only for the few in groups
            copy.camera = carriesCameraDetails(path);
            // Files of one size may be the same bytes: the identical files' rule decides between them.
            if (sizes[copy.bytes] > 1) {
                const FileFingerprint* known = cache.find(path, photo.stamp);
                std::optional<ContentHash> content = known ? known->content : std::nullopt;
                if (!content && (content = ExactDuplicates::contentHash(path, &stop)))
                    cache.rememberContent(path, photo.stamp, *content);
                if (content) copy.content = std::pair{content->high, content->low};
            }
            copies.push_back(std::move(copy));
        }
        DuplicateGroups::Group group = arrange(copies, DuplicateKeeper::similar(copies, input.folders));
        for (int member : members) {
            const Photo& photo = photos[hashed[size_t(member)]];
            if (!photo.links.empty()) group.links[std::string(photo.item->path())] = photo.links;
        }
        groups.groups.push_back(std::move(group));
    }
}

} // namespace

DuplicateSearch::Result DuplicateSearch::find(const Input& input, FingerprintCache& cache,
                                              const std::atomic<bool>& stop, const Progress& progress,
                                              const Found& found)
{
    auto groups = std::make_shared<DuplicateGroups>();
    groups->kind = input.kind;
    Result result;
    if (input.kind == DuplicateGroups::Kind::exact) {
        std::vector<ExactDuplicates::File> files;
        std::unordered_map<std::string, double> modified;
        for (const MediaItem& item : input.items) {
            files.push_back({std::string(item.path()), item.bytes()});
            modified.emplace(std::string(item.path()), item.modified());
        }
        auto arranged = [&](const ExactGroup& group) {
            std::vector<DuplicateKeeper::Copy> copies;
            for (const std::string& path : group.paths) copies.push_back({path, modified.at(path), group.size});
            DuplicateGroups::Group shown = arrange(copies, DuplicateKeeper::exact(copies, input.folders));
            for (size_t i = 0; i < group.paths.size(); ++i)
                if (!group.links[i].empty()) shown.links[group.paths[i]] = group.links[i];
            return shown;
        };
        ExactDuplicates::Options options;
        options.cache = &cache;
        options.stop = &stop;
        options.progress = progress;
        if (found) options.found = [&](const ExactGroup& group) { found(arranged(group)); };
        const auto exact = ExactDuplicates::find(files, options);
        result.unreadable = exact.unreadable.size();
        result.stopped = exact.stopped;
        for (const ExactGroup& group : exact.groups) groups->groups.push_back(arranged(group));
    } else {
        similarGroups(input, cache, stop, progress, *groups, result);
    }
    groups->reindex();
    result.groups = std::move(groups);
    return result;
}

struct DuplicateSearch::Shared {
    explicit Shared(std::string path) : cache(std::move(path)) {}
    FingerprintCache cache; // the worker's alone
    bool loaded = false;
    std::mutex lock; // guards forgotten
    std::vector<std::string> forgotten;
};

DuplicateSearch::DuplicateSearch(std::string cachePath, QObject* parent)
    : QObject(parent), shared_(std::make_shared<Shared>(std::move(cachePath)))
{
    poll_.setInterval(100);
    connect(&poll_, &QTimer::timeout, this, [this] {
        Q_EMIT progressChanged();
        // What was found so far, twice a second: the section fills as it goes.
        if (sincePartial_.isValid() && sincePartial_.elapsed() < 500) return;
        auto groups = std::make_shared<DuplicateGroups>();
        {
            std::lock_guard lock(foundLock_);
            if (found_.size() == handedOver_) return;
            handedOver_ = found_.size();
            groups->groups = found_;
        }
        sincePartial_.start();
        groups->kind = kind_;
        groups->reindex();
        Q_EMIT partial(std::move(groups));
    });
}

DuplicateSearch::~DuplicateSearch()
{
    if (stop_) *stop_ = true;
    worker_.cancelPending();
}

void DuplicateSearch::start(Input input)
{
    // The search before this one ends at its next stop check; this one
    // queues behind it on the worker, so nothing waits here.
    if (stop_) *stop_ = true;
    worker_.cancelPending();
    stop_ = std::make_shared<std::atomic<bool>>(false);
    done_ = 0;
    total_ = 0;
    running_ = true;
    poll_.start();
    Q_EMIT progressChanged();
    {
        std::lock_guard lock(foundLock_);
        found_.clear();
        handedOver_ = 0;
    }
    kind_ = input.kind;
    sincePartial_.start();
    const int generation = ++generation_;
    worker_.async([this, shared = shared_, input = std::move(input), stop = stop_, generation] {
        if (!shared->loaded) {
            shared->cache.load();
            shared->loaded = true;
        }
        {
            std::lock_guard lock(shared->lock);
            for (const std::string& path : shared->forgotten) shared->cache.forget(path);
            shared->forgotten.clear();
        }
        // Stopped before it started: a newer search came, or the user.
        Result result;
        if (*stop) {
            auto none = std::make_shared<DuplicateGroups>();
            none->kind = input.kind;
            result = {std::move(none), 0, true};
        } else {
            result = find(
                input, shared->cache, *stop,
                [this, generation](int64_t done, int64_t total) {
                    if (generation != generation_) return;
                    done_ = done;
                    total_ = total;
                },
                [this, generation](DuplicateGroups::Group group) {
                    std::lock_guard lock(foundLock_);
                    if (generation == generation_) found_.push_back(std::move(group));
                });
        }
        shared->cache.save();
        QMetaObject::invokeMethod(this, handedOff([this, result, generation] {
                                      if (generation != generation_) return;
                                      running_ = false;
                                      poll_.stop();
                                      {
                                          std::lock_guard lock(foundLock_);
                                          found_.clear();
                                      }
                                      Q_EMIT progressChanged();
                                      Q_EMIT finished(result);
                                  }),
                                  Qt::QueuedConnection);
    });
}

void DuplicateSearch::stop()
{
    if (!running_) return;
    *stop_ = true; // what was found so far still arrives
}

void DuplicateSearch::forget(const std::string& path)
{
    std::lock_guard lock(shared_->lock);
    shared_->forgotten.push_back(path);
}

} // namespace mirelo
