// Changing files on disk and keeping the library in step: the Trash with
// Undo, renaming and creating folders, and copies added to a folder. The
// file work runs on the background pool while `busy` keeps other edits out.

#include "AppModel.h"
#include "Translation.h"

#include "AppSettings.h"
#include "library/CollectionFiles.h"
#include "files/FileUrl.h"
#include "FolderPrompt.h"
#include "library/LibraryIndex.h"
#include "ViewerConnection.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <unordered_set>

namespace mirelo {

namespace {

QString joinedLines(const std::vector<std::string>& messages)
{
    QStringList lines;
    for (const std::string& message : messages) lines << QString::fromStdString(message);
    return lines.join(QLatin1Char('\n'));
}

QString displayName(const std::string& folder)
{
    const std::string_view name = lastPathComponent(folder);
    return QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())));
}

bool pathExists(const std::string& path)
{
    struct stat attributes;
    return ::lstat(path.c_str(), &attributes) == 0;
}

PathList remapped(const PathList& paths, const std::string& from, const std::string& to)
{
    PathList result;
    result.reserve(paths.size());
    for (const std::string& path : paths) result.push_back(LibraryIndex::remap(path, from, to));
    return result;
}

} // namespace

void AppModel::setPendingTrash(const MediaItems& items) { pendingTrash_ = items; }
void AppModel::setTrashPrompt(bool prompt) { change(trashPrompt_, prompt, &AppModel::trashPromptChanged); }
void AppModel::setUndoRecords(TrashRecords records)
{
    change(undoRecords_, std::move(records), &AppModel::undoRecordsChanged);
}

// The Trash

void AppModel::requestTrash(const MediaItems& items)
{
    if (items.isEmpty() || busy_ || scanning_ || (!current_ && loadingContent_)) return;
    if (viewer_ && viewer_->confirmTrash(items)) return;
    setPendingTrash(items);
    setTrashPrompt(true);
}

void AppModel::trashConfirmed()
{
    if (busy_) return; // one file operation at a time
    const MediaItems items = pendingTrash_;
    setPendingTrash({});
    setTrashPrompt(false);
    if (items.isEmpty()) return;
    setBusy(true);
    PathList paths;
    paths.reserve(size_t(items.size()));
    for (const MediaItem& item : items) paths.emplace_back(item.path());
    background([this, paths, thumbnails = thumbnails_] {
        auto result = std::make_shared<TrashResult>(TrashService::move(paths));
        // Thumbnails go with their files, and come back with Undo.
        if (thumbnails)
            for (const TrashRecord& record : result->records) thumbnails->move(record.original, record.trashed);
        post(BackgroundWork::fileOperation, [this, result] { finishTrash(*result); });
    });
}

void AppModel::finishTrash(const TrashResult& result)
{
    std::unordered_set<std::string> moved;
    for (const TrashRecord& record : result.records) moved.insert(record.original);
    auto wasMoved = [&](const MediaItem& item) { return moved.count(std::string(item.path())) > 0; };
    const int remembered = position().value_or(0);

    if (!moved.empty()) {
        for (const std::string& path : moved) duplicateSearch_->forget(path);
        TrashRecords records = undoRecords_;
        records.insert(records.end(), result.records.begin(), result.records.end());
        setUndoRecords(std::move(records));

        MediaItems kept;
        kept.reserve(items_.size());
        for (const MediaItem& item : items_)
            if (!wasMoved(item)) kept.append(item);
        setItems(std::move(kept), itemsInNameOrder_); // removing keeps the order
        ++itemGeneration_;
        refreshVisible();
        scheduleSave();

        MediaItems viewing;
        for (const MediaItem& item : viewerItems_)
            if (!wasMoved(item)) viewing.append(item);
        setViewerItems(viewing);
        if (current_ && wasMoved(*current_)) {
            if (viewerItems_.isEmpty())
                setCurrent(std::nullopt);
            else
                setCurrent(viewerItems_[std::min<qsizetype>(remembered, viewerItems_.size() - 1)]);
        }

        for (const std::string& path : moved) setSelected(path, false);
    }
    setBusy(false);
    if (const size_t count = moved.size(); count > 0)
        notify(translate("Mirelo", "Moved %Ln file(s) to Trash", nullptr, pluralCount(count)));
    if (!result.failures.empty()) setErrorMessage(joinedLines(result.failures));
}

void AppModel::undoTrash()
{
    if (undoRecords_.empty() || busy_) return;
    setBusy(true);
    const TrashRecords records = undoRecords_;
    background([this, records, thumbnails = thumbnails_] {
        auto result = std::make_shared<TrashRestoreResult>(TrashService::restore(records));
        if (thumbnails) {
            const std::unordered_set<std::string> back(result->restored.begin(), result->restored.end());
            for (const TrashRecord& record : records)
                if (back.count(record.original)) thumbnails->move(record.trashed, record.original);
        }
        auto read = std::make_shared<MediaItems>();
        for (const std::string& path : result->restored)
            if (auto item = MediaItem::read(path)) read->append(*item);
        post(BackgroundWork::fileOperation, [this, result, read] {
            setUndoRecords(result->remaining);
            std::unordered_set<std::string> present;
            present.reserve(size_t(items_.size()));
            for (const MediaItem& item : items_) present.emplace(item.path());
            MediaItems items = items_;
            for (const MediaItem& item : *read)
                if (present.emplace(item.path()).second) items.append(item);
            if (items.size() != items_.size()) setItems(std::move(items), false);
            ++itemGeneration_;
            refreshVisible();
            scheduleSave();
            setBusy(false);
            notify(translate("Mirelo", "Restored %Ln file(s)", nullptr, pluralCount(int64_t(result->restored.size()))));
            if (!result->failures.empty()) setErrorMessage(joinedLines(result->failures));
        });
    });
}

// Folders

void AppModel::editFolder(const std::string& path, bool rename)
{
    if (busy_ || scanning_ || !folderPrompt_) return;
    const std::string folder = absoluteStandardisedPath(path);
    const QString name = displayName(folder);
    FolderPromptRequest request;
    if (rename) {
        request.message = translate("Mirelo", "Rename folder");
        request.informativeText = translate("Mirelo", "Rename “%1” on disk and in your library.").arg(name);
        request.name = name;
        request.confirmButton = translate("Mirelo", "Rename");
    } else {
        request.message = translate("Mirelo", "New folder");
        request.informativeText = translate("Mirelo", "Create a folder inside “%1”.").arg(name);
        request.name = translate("Mirelo", "Untitled folder");
        request.confirmButton = translate("Mirelo", "Create");
    }
    folderPrompt_->ask(request, [this, folder, rename](std::optional<QString> answer) {
        if (!answer) return;
        if (busy_) {
            setErrorMessage(translate("Mirelo", "Another change to your files is still in progress. Try again when it "
                                                "has finished."));
            return;
        }
        const std::string name = QFile::encodeName(*answer).toStdString();
        if (rename) {
            // Recorded before the disk changes, so that a crash before the
            // library is saved can be finished at the next launch.
            try {
                const std::string target = std::string(parentPath(folder)) + "/" + CollectionFiles::validatedName(name);
                AppSettings::open()->setValue(
                    AppSettings::kPendingFolderRename,
                    QStringList{QString::fromStdString(folder), QString::fromStdString(target)});
            } catch (const CollectionError& error) {
                setErrorMessage(QString::fromStdString(error.what()));
                return;
            }
        }
        setBusy(true);
        background([this, folder, rename, name] {
            std::string result;
            QString error;
            try {
                result =
                    rename ? CollectionFiles::renameFolder(folder, name) : CollectionFiles::createFolder(name, folder);
            } catch (const CollectionError& failure) {
                error = QString::fromStdString(failure.what());
            }
            post(BackgroundWork::fileOperation,
                 [this, folder, rename, result, error] { finishFolderEdit(folder, rename, result, error); });
        });
    });
}

void AppModel::finishFolderEdit(const std::string& folder, bool rename, const std::string& result, const QString& error)
{
    setBusy(false);
    if (!error.isEmpty()) {
        if (rename) AppSettings::open()->remove(AppSettings::kPendingFolderRename);
        setErrorMessage(error);
        return;
    }
    if (rename) {
        folderRenamed(folder, result);
        renameSaveSerial_ = saveSerial_; // the journal goes once a later save is written
        return;
    }
    FolderSet expanded = expandedFolders_;
    expanded.insert(folder);
    change(expandedFolders_, std::move(expanded), &AppModel::expandedFoldersChanged);
    scheduleSave();
    loadChildren(folder);
    setSelectedFolder(result);
    setSearch(QString());
    setFormat(kAllFormatsLabel);
    setSection(LibrarySection::all);
    const bool remembered = std::any_of(recentFolders_.begin(), recentFolders_.end(), [&](const std::string& recent) {
        return LibraryIndex::contains(folder, recent);
    });
    if (!remembered) remember(folder);
    PathList indexed = indexedFolders_;
    indexed.push_back(result);
    setIndexedFolders(std::move(indexed));
    scheduleSave();
}

void AppModel::folderRenamed(const std::string& fromPath, const std::string& toPath)
{
    const std::string from = standardisedPath(fromPath), to = standardisedPath(toPath);

    MediaItems items;
    items.reserve(items_.size());
    std::vector<std::pair<std::string, std::string>> renamed;
    for (const MediaItem& item : items_) {
        if (!LibraryIndex::contains(item.path(), from)) {
            items.append(item);
            continue;
        }
        if (thumbnails_) renamed.emplace_back(item.path(), LibraryIndex::remap(item.path(), from, to));
        items.append(
            MediaItem(LibraryIndex::remap(item.path(), from, to), item.bytes(), item.modified(), item.isVideo()));
    }
    setItems(std::move(items), false); // paths changed, so may the order of equal names
    ++itemGeneration_;
    refreshVisible();
    scheduleSave();
    if (!renamed.empty())
        background([cache = *thumbnails_, renamed = std::move(renamed)] {
            for (const auto& [old, now] : renamed) cache.move(old, now);
        });

    PathList recent = remapped(recentFolders_, from, to);
    AppSettings::setFolders(AppSettings::kRecentFolders, recent);
    setRecentFolders(std::move(recent));

    PathList indexed = remapped(indexedFolders_, from, to);
    const bool watchedMoved = indexed != indexedFolders_;
    setIndexedFolders(std::move(indexed));
    if (watchedMoved) watched_->watch();

    FolderSet expanded;
    for (const std::string& folder : expandedFolders_) expanded.insert(LibraryIndex::remap(folder, from, to));
    change(expandedFolders_, std::move(expanded), &AppModel::expandedFoldersChanged);
    scheduleSave();

    if (selectedFolder_) setSelectedFolder(LibraryIndex::remap(*selectedFolder_, from, to));

    AppSettings::setFolders(AppSettings::kCollectionFolders,
                            remapped(AppSettings::folders(AppSettings::kCollectionFolders), from, to));

    TrashRecords records = undoRecords_;
    for (TrashRecord& record : records) record.original = LibraryIndex::remap(record.original, from, to);
    setUndoRecords(std::move(records));

    if (!childFolders_.empty()) {
        childFolders_.clear();
        Q_EMIT childFoldersChanged();
    }
    for (const std::string& folder : expandedFolders_) loadChildren(folder);
    scheduleSave();
}

void AppModel::finishJournaledRename()
{
    auto settings = AppSettings::open();
    const QStringList pending = settings->value(AppSettings::kPendingFolderRename).toStringList();
    if (pending.size() != 2 || restoreError_) return;
    const std::string from = pending[0].toStdString(), to = pending[1].toStdString();
    if (!pathExists(from) && pathExists(to)) {
        folderRenamed(from, to);
        renameSaveSerial_ = saveSerial_;
    } else {
        settings->remove(AppSettings::kPendingFolderRename); // the rename never happened
    }
}

// Copies

void AppModel::recordCopy(const std::string& copy, const std::string& folderPath)
{
    if (auto item = MediaItem::read(absoluteStandardisedPath(copy))) {
        setItems(LibraryIndex::merging(MediaItems{*item}, items_, {}, false, true, {}), true);
        ++itemGeneration_;
        refreshVisible();
        scheduleSave();
    }
    const std::string folder = absoluteStandardisedPath(folderPath);
    const bool remembered = std::any_of(recentFolders_.begin(), recentFolders_.end(), [&](const std::string& recent) {
        return LibraryIndex::contains(folder, recent);
    });
    if (!remembered) remember(folder);
    loadChildren(std::string(parentPath(folder)));
}

} // namespace mirelo
