#pragma once
// The one state object of the application. Both windows observe it and call
// it; it owns the library, the view settings, the selection, the scan and
// query work, the store and the watcher. Everything here runs on the main
// thread; background work gets copies and hands results back through the
// event loop, where a generation, token or scan id decides if they count.

#include "GridLocation.h"
#include "files/LibraryError.h"
#include "images/ThumbnailCache.h"
#include "library/LibraryQuery.h"
#include "LibrarySection.h"
#include "library/LibraryStore.h"
#include "WatchedFolders.h"
#include "library/MediaItem.h"
#include "library/MediaScanner.h"
#include "library/MediaSort.h"
#include "PathSelection.h"
#include "DuplicateSearch.h"
#include "QueryScheduler.h"
#include "work/ScanToken.h"
#include "library/TrashService.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QUuid>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace mirelo {

class FolderPrompt;
class OpenPanel;
class ViewerConnection;

using OptionalPath = std::optional<std::string>;
using FolderSet = std::set<std::string>;
using ChildFolderMap = std::map<std::string, std::vector<std::string>>;
using PathList = std::vector<std::string>;
using OptionalText = std::optional<QString>;
using TrashRecords = std::vector<TrashRecord>;

// Where background work hands its result back; lets tests hold results.
enum class BackgroundWork { restore, scanProgress, scan, listing, query, refresh, save, fileOperation };

class AppModel : public QObject {
    Q_OBJECT

public:
    static constexpr int kSaveDelayMs = 300;
    static constexpr int kToastMs = 6000;
    static inline const QString kAllFormatsLabel = QStringLiteral("All formats");

    // The instance of the application, created on first use.
    static AppModel& shared();

    // Starts the restore of the library file at `libraryPath` at once.
    explicit AppModel(std::string libraryPath = LibraryStore::defaultPath(), QObject* parent = nullptr);
    ~AppModel() override;

    // Platform services the user interface provides.
    void setOpenPanel(OpenPanel* panel) { openPanel_ = panel; }
    void setViewer(ViewerConnection* viewer) { viewer_ = viewer; }
    // Set while the library window exists.
    void setFolderPrompt(FolderPrompt* prompt) { folderPrompt_ = prompt; }
    // The thumbnails on disk that follow files moved to the Trash or renamed.
    void setThumbnailCache(std::optional<ThumbnailCache> cache) { thumbnails_ = std::move(cache); }
    // Every background result passes through `hook` on the main thread
    // before it is applied; a hook that returns true keeps the result and
    // may run it later.
    using DeliveryHook = std::function<bool(BackgroundWork, std::function<void()>& apply)>;
    void setDeliveryHook(DeliveryHook hook) { deliveryHook_ = std::move(hook); }

    // Observable state.
    const MediaItems& items() const { return items_; }
    const MediaItems& visible() const { return visible_; }
    bool loadingContent() const { return loadingContent_; }
    int contentRevision() const { return contentRevision_; }
    const MediaStorageSummary& storage() const { return storage_; }
    LibrarySection section() const { return section_; }
    const QString& format() const { return format_; }
    const QString& search() const { return search_; }
    MediaSort sort() const { return sort_; }
    const OptionalPath& selectedFolder() const { return selectedFolder_; }
    const FolderSet& expandedFolders() const { return expandedFolders_; }
    const ChildFolderMap& childFolders() const { return childFolders_; }
    bool restoring() const { return restoring_; }
    const PathSelection& selection() const { return selection_; }
    bool selecting() const { return selecting_; }
    // The viewer shows an item.
    bool viewing() const { return current_.has_value(); }
    bool scanning() const { return scanning_; }
    int scannedCount() const { return scannedCount_; }
    const QString& scanMessage() const { return scanMessage_; }
    const OptionalText& errorMessage() const { return errorMessage_; }
    const OptionalText& toast() const { return toast_; }
    const MediaItems& pendingTrash() const { return pendingTrash_; }
    bool trashPrompt() const { return trashPrompt_; }
    bool busy() const { return busy_; }
    const TrashRecords& undoRecords() const { return undoRecords_; }
    const PathList& recentFolders() const { return recentFolders_; }
    const MediaItems& scopedItems() const { return scopedItems_; }
    const QStringList& formats() const { return formats_; }
    qint64 totalBytes() const { return totalBytes_; }

    void setSection(LibrarySection section);
    void setFormat(const QString& format);
    void setSearch(const QString& search);
    void setSort(MediaSort sort);
    void setSelectedFolder(const OptionalPath& folder);
    void setSelection(PathSelection selection);
    // Adds or removes one item in place: a click on a card.
    void setSelected(const std::string& path, bool selected);
    void setSelecting(bool selecting);
    void setErrorMessage(const OptionalText& message);
    void setBusy(bool busy);
    void setPendingTrash(const MediaItems& items);
    void setTrashPrompt(bool prompt);

    // Plain state.
    const std::optional<MediaItem>& current() const { return current_; }
    void setCurrent(const std::optional<MediaItem>& item);
    const MediaItems& viewerItems() const { return viewerItems_; }
    void setViewerItems(const MediaItems& items);
    int itemGeneration() const { return itemGeneration_; }
    const std::optional<GridLocation>& loadedGridLocation() const { return loadedGridLocation_; }
    const PathList& indexedFolders() const { return indexedFolders_; }
    bool refreshingIndex() const { return refreshingIndex_; }
    const std::optional<LibraryError>& restoreError() const { return restoreError_; }
    WatchedFolders& watchedFolders() { return *watched_; }
    const std::string& libraryPath() const { return store_->path(); }
    // Restore, scans, listings and refreshes run here.
    QThreadPool& backgroundPool() { return pool_; }

    // Derived values.
    GridLocation gridLocation() const;
    bool replacingContent() const;
    QString libraryName() const;
    MediaItems selectedItems() const;
    int64_t selectedBytes() const { return selectedBytes_; }
    std::optional<int> position() const;

    // Persistence.
    LibrarySnapshot snapshot() const;
    void scheduleSave();
    // Writes now and waits; throws LibraryError (also the restore's error).
    void flushLibrary();
    // Forgets an open request held back while the library was restored.
    void clearDeferredOpen();

    // Scanning and opening.
    void chooseFolders();
    void chooseFiles();
    void scanEntireComputer();
    void scan(const PathList& roots, bool recursive, const std::optional<MediaItem>& openAfter = std::nullopt);
    void open(const PathList& paths);
    void stopScan();

    // Queries, folders, selection, the viewer's list.
    void refreshVisible();
    void selectSection(LibrarySection section);
    void selectFolder(const std::string& folder);
    void toggleFolder(const std::string& folder);
    void loadChildren(const std::string& folder);
    void toggleSelectAll();
    bool copySelection();
    void show(const MediaItem& item, const std::optional<MediaItems>& items = std::nullopt);
    void navigate(int offset);

    // A short notice, cleared after kToastMs; a newer one gets its full time.
    void notify(const QString& message);
    // How long a notice stays (kToastMs unless a test asks for less).
    void setToastDuration(int ms) { toastTimer_.setInterval(ms); }
    // The notice's close button.
    void dismissToast();

    // Changing files: the Trash with Undo, folder edits, copies.
    void requestTrash(const MediaItems& items);
    void trashConfirmed();
    void undoTrash();
    void editFolder(const std::string& folder, bool rename);
    void recordCopy(const std::string& copy, const std::string& folder);

    // Duplicates: identical files or photos alike, found in the background
    // when the section is first shown and after the library grew.
    const std::shared_ptr<const DuplicateGroups>& duplicateGroups() const { return duplicateGroups_; }
    DuplicateGroups::Kind duplicateKind() const { return duplicateKind_; }
    int similarity() const { return similarity_; } // bits, SimilarPhotos' steps
    const std::vector<ShownGroup>& shownGroups() const { return shownGroups_; }
    const DuplicateSearch& duplicateSearch() const { return *duplicateSearch_; }
    // The files that could go: every copy of every group but its keeper.
    int duplicateExtraCount() const;
    void setDuplicateKind(DuplicateGroups::Kind kind);
    void setSimilarity(int bits);
    void findDuplicates();
    void stopDuplicates();
    // Selects every shown copy but the keeper of each shown group.
    void selectExtraCopies();
    // The shown groups that `items` would empty entirely.
    int groupsEmptiedBy(const MediaItems& items) const;

    // Re-reads the folders that changed on disk, in the background.
    void refreshChangedFolders();

Q_SIGNALS:
    void itemsChanged();
    void visibleChanged();
    void loadingContentChanged();
    void contentRevisionChanged();
    void storageChanged();
    void sectionChanged();
    void formatChanged();
    void searchChanged();
    void sortChanged();
    void selectedFolderChanged();
    void expandedFoldersChanged();
    void childFoldersChanged();
    void restoringChanged();
    void selectionChanged();
    void selectingChanged();
    // The item shown in the viewer changed (not a property: the viewer
    // connection presents it).
    void currentChanged();
    void scanningChanged();
    void scannedCountChanged();
    void errorMessageChanged();
    void toastChanged();
    void trashPromptChanged();
    void busyChanged();
    void undoRecordsChanged();
    void recentFoldersChanged();
    void scopedItemsChanged();
    void formatsChanged();
    void totalBytesChanged();
    void duplicatesChanged();

    // Events for observers that need more than the properties.
    void queryStarted(int generation);
    void librarySaved();
    void indexRefreshed(bool applied);

private:
    template <class T>
    bool change(T& field, T value, void (AppModel::*signal)())
    {
        if (field == value) return false;
        field = std::move(value);
        Q_EMIT(this->*signal)();
        return true;
    }
    // A change of what the grid shows: a new query and a save follow.
    template <class T>
    void changeView(T& field, T value, void (AppModel::*signal)())
    {
        if (!change(field, std::move(value), signal)) return;
        refreshVisible();
        scheduleSave();
    }
    // `inNameOrder`: the caller knows the list is in name order (merging leaves it so).
    void setItems(MediaItems items, bool inNameOrder);
    void setRecentFolders(PathList folders);
    // Runs an open request held back while the library was restored.
    void resumeDeferredOpen();
    // Puts a scanned folder first among the recent ones.
    void remember(const std::string& folder);
    // The index, the tree and the settings follow a folder renamed on disk.
    void folderRenamed(const std::string& from, const std::string& to);
    void setToast(const OptionalText& toast);

    // Runs `work` on the background pool.
    void background(std::function<void()> work);
    // Called from any thread: applies the result on the main thread.
    void post(BackgroundWork kind, std::function<void()> apply);
    void deliver(BackgroundWork kind, std::function<void()> apply);

    void startRestore();
    void applyRestore(const std::optional<LibrarySnapshot>& snapshot, bool inNameOrder,
                      const std::optional<LibraryError>& error);
    // `away`: folders of drives that are away, whose items stay.
    void finishScan(const PathList& roots, bool recursive, const QUuid& id, const std::optional<MediaItem>& openAfter,
                    ScanResult result, const PathList& away);
    void beginQuery();
    void applyQuery(const GridLocation& location, LibraryQueryResult& result);
    void watchLimitReached(long limit);
    void finishRefresh(const PathList& changed, int generation, MediaItems merged);
    void finishTrash(const TrashResult& result);
    void finishFolderEdit(const std::string& folder, bool rename, const std::string& created, const QString& error);
    void setUndoRecords(TrashRecords records);
    // A rename whose library rewrite a crash may have lost is finished at launch.
    void finishJournaledRename();
    void setUpDuplicates();
    void forgetJournaledRename();
    // The library's indexed folders, told to the watched folders too.
    void setIndexedFolders(PathList folders);

    // Observable state.
    MediaItems items_;
    MediaItems visible_;
    bool loadingContent_ = false;
    int contentRevision_ = 0;
    MediaStorageSummary storage_;
    LibrarySection section_ = LibrarySection::all;
    QString format_ = kAllFormatsLabel;
    QString search_;
    MediaSort sort_ = MediaSort::name;
    OptionalPath selectedFolder_;
    FolderSet expandedFolders_;
    ChildFolderMap childFolders_;
    bool restoring_ = true;
    PathSelection selection_;
    bool selecting_ = false;
    bool scanning_ = false;
    int scannedCount_ = 0;
    QString scanMessage_;
    OptionalText errorMessage_;
    OptionalText toast_;
    MediaItems pendingTrash_;
    bool trashPrompt_ = false;
    bool busy_ = false;
    TrashRecords undoRecords_;
    PathList recentFolders_;
    MediaItems scopedItems_;
    QStringList formats_;
    qint64 totalBytes_ = 0;

    // Plain state.
    std::optional<MediaItem> current_;
    MediaItems viewerItems_;
    int itemGeneration_ = 0;
    bool itemsInNameOrder_ = true;
    std::optional<GridLocation> loadedGridLocation_;
    MediaIDSet visibleIDs_;
    int64_t visibleBytes_ = 0;
    int64_t selectedBytes_ = 0; // of selection_, kept as it changes
    std::shared_ptr<ScanToken> scanToken_;
    QUuid scanID_ = QUuid::createUuid();
    PathList indexedFolders_;
    bool refreshingIndex_ = false;
    std::function<void()> deferredOpen_;
    std::optional<LibraryError> restoreError_;
    int saveSerial_ = 0;        // saves started
    int renameSaveSerial_ = -1; // a journaled rename waits for a save after this one

    std::shared_ptr<const DuplicateGroups> duplicateGroups_;
    DuplicateGroups::Kind duplicateKind_ = DuplicateGroups::Kind::exact;
    int similarity_ = SimilarPhotos::kVerySimilar;
    std::vector<ShownGroup> shownGroups_;
    bool duplicatesStale_ = true; // the library changed since the last search
    std::unique_ptr<DuplicateSearch> duplicateSearch_;

    QTimer saveTimer_;
    QTimer toastTimer_;
    std::unique_ptr<WatchedFolders> watched_;
    OpenPanel* openPanel_ = nullptr;
    ViewerConnection* viewer_ = nullptr;
    FolderPrompt* folderPrompt_ = nullptr;
    DeliveryHook deliveryHook_;
    std::optional<ThumbnailCache> thumbnails_;
    QThreadPool pool_;
    std::unique_ptr<QueryScheduler> queries_;
    std::unique_ptr<LibraryStore> store_;
};

} // namespace mirelo
