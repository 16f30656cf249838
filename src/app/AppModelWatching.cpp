// Keeping the library in step with the disk: the background re-read of the
// folders that changed, applied when the index did not change meanwhile.

#include "AppModel.h"
#include "Translation.h"

#include "files/FileUrl.h"
#include "library/LibraryIndex.h"
#include "library/MountTable.h"

#include <QLocale>

namespace mirelo {

void AppModel::watchLimitReached(long limit)
{
    static bool told = false; // once per run of the application
    if (told) return;
    told = true;
    const QString count = limit > 0 ? QLocale().toString(qlonglong(limit)) : translate("Mirelo", "its");
    setErrorMessage(
        translate("Mirelo",
                  "Mirelo can’t watch all of your indexed folders for changes: they hold more folders than "
                  "fit within the system’s limit of %1 watched folders, which other apps share. The folders "
                  "already watched stay current, and the "
                  "library is re-read every %2 minutes so nothing is missed for long. To raise the limit, run "
                  "“sudo sysctl fs.inotify.max_user_watches=524288” and add "
                  "“fs.inotify.max_user_watches=524288” to /etc/sysctl.conf.")
            .arg(count)
            .arg(LibraryWatcher::kRereadIntervalMs / 60000));
}

void AppModel::refreshChangedFolders()
{
    if (watched_->changed().empty()) return;
    if (scanning_ || busy_ || restoring_ || refreshingIndex_) {
        watched_->scheduleRefresh();
        return;
    }
    const PathList changed = watched_->take();
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
    refreshingIndex_ = true;
    const MediaItems existing = items_;
    const int generation = itemGeneration_;
    const std::set<std::string> drives = watched_->drives();
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
        watched_->giveBack(changed);
        watched_->scheduleRefresh();
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
    if (!watched_->changed().empty()) watched_->scheduleRefresh();
    Q_EMIT indexRefreshed(differs);
}

void AppModel::setIndexedFolders(PathList folders)
{
    indexedFolders_ = std::move(folders);
    watched_->setIndexed(indexedFolders_);
}

} // namespace mirelo
