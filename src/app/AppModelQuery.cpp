// What the grid shows: coalesced background queries and their staleness
// rules, sections and folders, the folder tree, selection, the viewer's list.

#include "AppModel.h"
#include "Translation.h"

#include "FileClipboard.h"
#include "files/FileUrl.h"
#include "FolderListing.h"
#include "library/LibraryIndex.h"

namespace mirelo {

void AppModel::refreshVisible()
{
    if (restoring_) return;
    queries_->request([this] { beginQuery(); });
    change(loadingContent_, true, &AppModel::loadingContentChanged);
}

void AppModel::beginQuery()
{
    const GridLocation location = gridLocation();
    LibraryQueryInput input;
    input.items = items_;
    input.folder = selectedFolder_;
    input.section = LibrarySections::filter(section_);
    input.format = format_.toStdString();
    input.search = search_.toStdString();
    input.sort = sort_;
    input.itemsInNameOrder = itemsInNameOrder_;
    if (section_ == LibrarySection::duplicates) input.duplicates = duplicateGroups_;
    Q_EMIT queryStarted(queries_->generation());
    queries_->run(std::move(input), location, itemGeneration_,
                  [this, location](LibraryQueryResult& result) { applyQuery(location, result); });
}

void AppModel::applyQuery(const GridLocation& location, LibraryQueryResult& result)
{
    // The lists being replaced are released on the query thread.
    MediaItems oldScoped = scopedItems_;
    MediaItems oldVisible = visible_;
    MediaIDSet oldIDs = std::move(visibleIDs_);

    QStringList formats;
    for (const std::string& label : result.formats) formats << QString::fromStdString(label);
    if (!result.scopeReused) {
        change(scopedItems_, std::move(result.scopedItems), &AppModel::scopedItemsChanged);
        change(formats_, std::move(formats), &AppModel::formatsChanged);
        change(totalBytes_, qint64(result.totalBytes), &AppModel::totalBytesChanged);
    }
    change(storage_, result.storage, &AppModel::storageChanged);
    shownGroups_ = std::move(result.groups); // read with visible_, whose signal follows
    visibleIDs_ = std::move(result.visibleIDs);
    visibleBytes_ = result.storage.imageBytes + result.storage.videoBytes + result.storage.otherBytes;
    change(visible_, std::move(result.visible), &AppModel::visibleChanged);
    loadedGridLocation_ = location;
    if (!selection_.empty()) {
        // What is no longer visible leaves the selection.
        size_t still = 0;
        selection_.forEach([&](std::string_view path) { still += visibleIDs_.contains(path); });
        if (still != selection_.size()) {
            PathSelection kept;
            selection_.forEach([&](std::string_view path) {
                if (visibleIDs_.contains(path)) kept.insert(std::string(path));
            });
            setSelection(std::move(kept));
        }
    }
    ++contentRevision_;
    Q_EMIT contentRevisionChanged();
    change(loadingContent_, false, &AppModel::loadingContentChanged);

    queries_->later([oldScoped = std::move(oldScoped), oldVisible = std::move(oldVisible),
                     oldIDs = std::make_shared<MediaIDSet>(std::move(oldIDs))]() mutable {
        oldScoped = {};
        oldVisible = {};
    });
}

void AppModel::selectSection(LibrarySection section)
{
    setSelectedFolder(std::nullopt);
    setSection(section);
    if (section == LibrarySection::large) setSort(MediaSort::largest);
    if (section == LibrarySection::duplicates) {
        setSort(MediaSort::largest); // most space first
        if (duplicatesStale_ && !duplicateSearch_->running()) findDuplicates();
    }
}

void AppModel::selectFolder(const std::string& folder)
{
    if (busy_) return;
    const std::string path = absoluteStandardisedPath(folder);
    for (const std::string& root : indexedFolders_) {
        if (!LibraryIndex::contains(path, root)) continue;
        setSelectedFolder(path);
        setSearch(QString());
        setFormat(kAllFormatsLabel);
        // The duplicates section narrows to the folder; the others give way to all media.
        if (section_ != LibrarySection::duplicates) setSection(LibrarySection::all);
        return;
    }
    scan({path}, true);
}

void AppModel::toggleFolder(const std::string& folder)
{
    FolderSet expanded = expandedFolders_;
    const bool opening = expanded.erase(folder) == 0;
    if (opening) expanded.insert(folder);
    change(expandedFolders_, std::move(expanded), &AppModel::expandedFoldersChanged);
    scheduleSave();
    if (opening) loadChildren(folder);
}

void AppModel::loadChildren(const std::string& folder)
{
    background([this, folder] {
        auto children = std::make_shared<PathList>(FolderListing::subfolders(folder));
        post(BackgroundWork::listing, [this, folder, children] {
            // Listings are not versioned: the last one to arrive wins.
            auto found = childFolders_.find(folder);
            if (found != childFolders_.end() && found->second == *children) return;
            childFolders_[folder] = std::move(*children);
            Q_EMIT childFoldersChanged();
        });
    });
}

void AppModel::toggleSelectAll()
{
    if (loadingContent_) return;
    if (visibleIDs_.empty() || selection_.size() == visibleIDs_.size()) {
        setSelection({});
        return;
    }
    setSelection(PathSelection::everyIn(visibleIDs_));
}

bool AppModel::copySelection()
{
    if (busy_ || loadingContent_ || selection_.empty()) return false;
    PathList paths;
    for (const MediaItem& item : selectedItems()) paths.emplace_back(item.path());
    if (FileClipboard::copy(paths)) return true;
    setErrorMessage(translate("Mirelo", "The selected files couldn’t be copied to the clipboard."));
    return false;
}

void AppModel::show(const MediaItem& item, const std::optional<MediaItems>& items)
{
    setViewerItems(items ? *items : visible_);
    setCurrent(item);
}

void AppModel::navigate(int offset)
{
    if (!current_ || viewerItems_.isEmpty()) return;
    const int index = position().value_or(0);
    const int last = int(viewerItems_.size()) - 1;
    const int target = std::clamp(index + offset, 0, last);
    if (target == index) return;
    setCurrent(viewerItems_[target]);
}

} // namespace mirelo
