// Keeping the library in step with the disk: the watcher over the top-most
// indexed folders, the quiet timer, and the background re-read of the
// folders that changed.

#include "AppModel.h"

#include "files/FileUrl.h"
#include "library/LibraryIndex.h"
#include "library/MountTable.h"
#include "files/UserFolders.h"

#include <QLocale>

#include <algorithm>
#include <iterator>

namespace mirelo {

namespace {

// The members of `folders` that do not lie inside another, different member.
PathList topMost(const PathList& folders)
{
    PathList top;
    for (const std::string& folder : folders) {
        bool inner = false;
        for (const std::string& other : folders)
            if (standardisedPath(other) != standardisedPath(folder) && LibraryIndex::contains(folder, other)) {
                inner = true;
                break;
            }
        if (!inner && std::find(top.begin(), top.end(), folder) == top.end()) top.push_back(folder);
    }
    return top;
}

bool hasHiddenComponent(std::string_view path)
{
    for (size_t start = 0; start < path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        std::string_view component = path.substr(start, end - start);
        if (component.size() > 1 && component[0] == '.') return true;
        start = end + 1;
    }
    return false;
}

} // namespace

void AppModel::startWatching()
{
    watcher_.setOnChange([this](const PathList& paths) { handleWatcherChanges(paths); });
    watcher_.setOnLimitReached([this](long limit) { watchLimitReached(limit); });
    watcher_.setOnUnmount([this](const std::string& folder) { drives_.insert(folder); });
    watcher_.setOnMountsChanged([this] { mountsChanged(); });
    mounted_ = MountTable::current();
    noteDrives();
    PathList roots;
    for (const std::string& folder : topMost(indexedFolders_)) roots.push_back(standardisedPath(folder));
    watcher_.watch(roots);
}

// Remembers the drives mounted at or below the indexed folders, so that
// their items outlive the drive's absence.
void AppModel::noteDrives()
{
    for (const std::string& point : mounted_)
        for (const std::string& folder : indexedFolders_)
            if (LibraryIndex::contains(point, folder)) {
                drives_.insert(point);
                break;
            }
}

// A drive mounted at or below an indexed folder, or holding one, is watched
// and re-read; one that went away is re-read too, which keeps its items.
void AppModel::mountsChanged()
{
    std::set<std::string> now = MountTable::current();
    PathList arrived, left;
    std::set_difference(now.begin(), now.end(), mounted_.begin(), mounted_.end(), std::back_inserter(arrived));
    std::set_difference(mounted_.begin(), mounted_.end(), now.begin(), now.end(), std::back_inserter(left));
    mounted_ = std::move(now);
    bool ours = false;
    for (const PathList* points : {&arrived, &left})
        for (const std::string& point : *points)
            for (const std::string& folder : indexedFolders_) {
                if (LibraryIndex::contains(point, folder)) {
                    drives_.insert(point);
                    changedFolders_.insert(point);
                } else if (LibraryIndex::contains(folder, point)) {
                    changedFolders_.insert(folder);
                } else {
                    continue;
                }
                ours = true;
            }
    if (!ours) return;
    if (!arrived.empty() && !watcher_.roots().empty()) startWatching();
    scheduleIndexRefresh();
}

void AppModel::watchLimitReached(long limit)
{
    static bool told = false; // once per run of the application
    if (told) return;
    told = true;
    const QString count = limit > 0 ? QLocale().toString(qlonglong(limit)) : QStringLiteral("its");
    setErrorMessage(
        QStringLiteral("Mirelo can’t watch all of your indexed folders for changes: they hold more folders than "
                       "fit within the system’s limit of %1 watched folders, which other apps share. The folders "
                       "already watched stay current, and the "
                       "library is re-read every %2 minutes so nothing is missed for long. To raise the limit, run "
                       "“sudo sysctl fs.inotify.max_user_watches=524288” and add "
                       "“fs.inotify.max_user_watches=524288” to /etc/sysctl.conf.")
            .arg(count)
            .arg(LibraryWatcher::kRereadIntervalMs / 60000));
}

void AppModel::handleWatcherChanges(const PathList& paths)
{
    const std::string library = homeFolder() + "/Library";
    for (const std::string& raw : paths) {
        const std::string path = standardisedPath(raw);
        if (LibraryIndex::contains(path, library)) continue;
        if (hasHiddenComponent(path)) continue;
        bool indexed = false;
        for (const std::string& root : indexedFolders_)
            if (LibraryIndex::contains(path, root)) {
                indexed = true;
                break;
            }
        if (indexed) changedFolders_.insert(path);
    }
    scheduleIndexRefresh();
}

void AppModel::scheduleIndexRefresh() { refreshTimer_.start(); }

void AppModel::refreshChangedFolders()
{
    if (changedFolders_.empty()) return;
    if (scanning_ || busy_ || restoring_ || refreshingIndex_) {
        scheduleIndexRefresh();
        return;
    }
    const PathList changed = topMost(PathList(changedFolders_.begin(), changedFolders_.end()));
    PathList preserved;
    for (const std::string& folder : indexedFolders_) {
        bool isChanged = false;
        bool inside = false;
        for (const std::string& root : changed) {
            if (standardisedPath(folder) == standardisedPath(root))
                isChanged = true;
            else if (LibraryIndex::contains(folder, root))
                inside = true;
        }
        if (!isChanged && inside) preserved.push_back(folder);
    }
    changedFolders_.clear();
    refreshingIndex_ = true;
    const MediaItems existing = items_;
    const int generation = itemGeneration_;
    const std::set<std::string> drives = drives_;
    background([this, changed, preserved, existing, generation, drives]() mutable {
        ScanToken token; // nobody cancels a refresh
        ScanResult result = MediaScanner::scan(changed, true, token);
        // A drive that is away leaves an empty folder, or none: its items stay.
        for (std::string& folder : MountTable::unreachable(changed, existing, drives))
            preserved.push_back(std::move(folder));
        auto merged = std::make_shared<MediaItems>(
            LibraryIndex::merging(result.items, existing, changed, result.inaccessible == 0, true, preserved));
        post(BackgroundWork::refresh,
             [this, changed, generation, merged] { finishRefresh(changed, generation, std::move(*merged)); });
    });
}

void AppModel::finishRefresh(const PathList& changed, int generation, MediaItems merged)
{
    refreshingIndex_ = false;
    if (scanning_ || busy_ || generation != itemGeneration_) {
        // The index changed meanwhile: retry these folders later.
        changedFolders_.insert(changed.begin(), changed.end());
        scheduleIndexRefresh();
        Q_EMIT indexRefreshed(false);
        return;
    }
    const bool differs = merged != items_;
    if (differs) {
        setItems(std::move(merged), true);
        ++itemGeneration_;
        refreshVisible();
        scheduleSave();
    }
    if (!changedFolders_.empty()) scheduleIndexRefresh();
    Q_EMIT indexRefreshed(differs);
}

} // namespace mirelo
