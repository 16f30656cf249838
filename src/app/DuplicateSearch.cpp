#include "DuplicateSearch.h"

#include "duplicates/DuplicateKeeper.h"
#include "duplicates/ExactDuplicates.h"
#include "duplicates/FingerprintCache.h"
#include "duplicates/SimilarPhotos.h"
#include "images/PictureHash.h"

#include "work/HandOff.h"

#include <QMetaObject>

#include <unordered_map>

namespace mirelo {

namespace {

DuplicateGroups::Reason reasonOf(DuplicateKeeper::Reason reason)
{
    switch (reason) {
    case DuplicateKeeper::Reason::firstFolder: return DuplicateGroups::Reason::firstFolder;
    case DuplicateKeeper::Reason::oldest: return DuplicateGroups::Reason::oldest;
    case DuplicateKeeper::Reason::largestPicture: return DuplicateGroups::Reason::largestPicture;
    case DuplicateKeeper::Reason::leastCompressed: return DuplicateGroups::Reason::leastCompressed;
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
        std::vector<const MediaItem*> photos;
        for (const MediaItem& item : input.items)
            if (!item.isVideo()) photos.push_back(&item);
        std::vector<PictureHash::Facts> facts(photos.size());
        std::vector<std::optional<FileStamp>> stamps(photos.size());
        for (size_t i = 0; i < photos.size(); ++i) {
            const std::string path(photos[i]->path());
            stamps[i] = FileStamp::of(path);
            if (stamps[i])
                if (const FileFingerprint* known = cache.find(path, *stamps[i]); known && known->picture)
                    facts[i].hash = known->picture;
        }
        std::atomic<size_t> next{0};
        std::atomic<int64_t> done{0};
        auto work = [&] {
            for (size_t i; (i = next++) < photos.size() && !stop;) {
                if (!facts[i].hash && stamps[i]) facts[i] = PictureHash::ofFile(std::string(photos[i]->path()));
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
            if (!facts[i].hash) {
                result.unreadable += stamps[i] ? 1 : 0;
                continue;
            }
            cache.rememberPicture(std::string(photos[i]->path()), *stamps[i], *facts[i].hash);
            hashes.push_back(*facts[i].hash);
            hashed.push_back(i);
        }
        for (const std::vector<int>& members : SimilarPhotos::group(hashes, input.within)) {
            std::vector<DuplicateKeeper::Copy> copies;
            for (int member : members) {
                const MediaItem& item = *photos[hashed[size_t(member)]];
                const std::string path(item.path());
                int64_t pixels = facts[hashed[size_t(member)]].pixels;
                if (pixels == 0) pixels = PictureHash::pixelsOf(path); // only for the few in groups
                copies.push_back({path, item.modified(), item.bytes(), pixels});
            }
            groups->groups.push_back(arrange(copies, DuplicateKeeper::similar(copies)));
        }
    }
    groups->reindex();
    result.groups = std::move(groups);
    return result;
}

DuplicateSearch::DuplicateSearch(std::string cachePath, QObject* parent)
    : QObject(parent), cachePath_(std::move(cachePath))
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
    join();
}

void DuplicateSearch::join()
{
    if (worker_.joinable()) worker_.join();
}

void DuplicateSearch::start(Input input)
{
    if (stop_) *stop_ = true;
    join(); // a stopped search ends within a chunk's read
    stop_ = std::make_shared<std::atomic<bool>>(false);
    done_ = 0;
    total_ = 0;
    running_ = true;
    poll_.start();
    Q_EMIT progressChanged();
    if (!cache_) {
        cache_ = std::make_unique<FingerprintCache>(cachePath_);
        cache_->load();
    }
    for (const std::string& path : forgotten_) cache_->forget(path);
    forgotten_.clear();
    {
        std::lock_guard lock(foundLock_);
        found_.clear();
        handedOver_ = 0;
    }
    kind_ = input.kind;
    sincePartial_.start();
    const int generation = ++generation_;
    worker_ = std::thread([this, input = std::move(input), stop = stop_, generation] {
        Result result = find(
            input, *cache_, *stop,
            [this](int64_t done, int64_t total) {
                done_ = done;
                total_ = total;
            },
            [this](DuplicateGroups::Group group) {
                std::lock_guard lock(foundLock_);
                found_.push_back(std::move(group));
            });
        cache_->save();
        QMetaObject::invokeMethod(
            this,
            handedOff([this, result, generation] {
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
    if (running_ || !cache_) forgotten_.push_back(path);
    else cache_->forget(path);
}

} // namespace mirelo
