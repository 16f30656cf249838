#include "AppModel.h"
#include "Translation.h"

#include "AppSettings.h"
#include "files/FileUrl.h"
#include "library/LibraryIndex.h"
#include "ViewerConnection.h"
#include "work/HandOff.h"

#include <QCoreApplication>
#include <QFile>

namespace mirelo {

AppModel& AppModel::shared()
{
    static AppModel* instance = new AppModel; // lives for the whole process
    return *instance;
}

AppModel::AppModel(std::string libraryPath, QObject* parent) : QObject(parent)
{
    auto settings = AppSettings::open();
    recentFolders_ = AppSettings::folders(AppSettings::kRecentFolders);

    pool_.setMaxThreadCount(8); // folder walks wait on the disk, not the processor
    queries_ = std::make_unique<QueryScheduler>(
        [this](std::function<void()> apply) { post(BackgroundWork::query, std::move(apply)); });
    store_ = std::make_unique<LibraryStore>(std::move(libraryPath));
    setUpDuplicates();

    if (!settings->value(AppSettings::kFirstLaunchDone).toBool()) {
        settings->setValue(AppSettings::kBackgroundBlur, AppSettings::kDefaultBlur);
        settings->setValue(AppSettings::kFirstLaunchDone, true);
    }

    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(kSaveDelayMs);
    connect(&saveTimer_, &QTimer::timeout, this, [this] {
        const int serial = ++saveSerial_;
        store_->save(snapshot(), [this, serial](const LibraryError* error) {
            std::optional<QString> message;
            if (error)
                message = translate("Mirelo", "Couldn’t save the library. ") + QString::fromStdString(error->what());
            post(BackgroundWork::save, [this, message, serial] {
                if (message) {
                    setErrorMessage(message);
                    return;
                }
                if (renameSaveSerial_ >= 0 && serial > renameSaveSerial_) forgetJournaledRename();
                Q_EMIT librarySaved();
            });
        });
    });
    watched_ = std::make_unique<WatchedFolders>(indexedFolders_);
    connect(watched_.get(), &WatchedFolders::refreshDue, this, &AppModel::refreshChangedFolders);
    connect(watched_.get(), &WatchedFolders::limitReached, this, &AppModel::watchLimitReached);
    toastTimer_.setSingleShot(true);
    toastTimer_.setTimerType(Qt::PreciseTimer); // a coarse timer may end a toast 5% early
    toastTimer_.setInterval(kToastMs);
    connect(&toastTimer_, &QTimer::timeout, this, [this] { setToast(std::nullopt); });

    startRestore();
}

AppModel::~AppModel()
{
    if (scanToken_) scanToken_->cancel();
    queries_->cancel();
    watched_->stop();
    pool_.waitForDone();
    queries_.reset();
    store_.reset(); // finishes queued saves
}

// Background work

void AppModel::background(std::function<void()> work) { pool_.start(handedOff(std::move(work))); }

void AppModel::post(BackgroundWork kind, std::function<void()> apply)
{
    QMetaObject::invokeMethod(
        this, handedOff([this, kind, apply = std::move(apply)]() mutable { deliver(kind, std::move(apply)); }),
        Qt::QueuedConnection);
}

void AppModel::deliver(BackgroundWork kind, std::function<void()> apply)
{
    if (deliveryHook_ && deliveryHook_(kind, apply)) return;
    apply();
}

// Restore

void AppModel::startRestore()
{
    background([this] {
        std::optional<LibrarySnapshot> snapshot;
        std::optional<LibraryError> error;
        try {
            snapshot = store_->load();
        } catch (const LibraryError& failure) {
            error = failure;
        }
        const bool inNameOrder = !snapshot || MediaSorts::inNameOrder(snapshot->items);
        auto loaded = std::make_shared<std::optional<LibrarySnapshot>>(std::move(snapshot));
        post(BackgroundWork::restore,
             [this, loaded, inNameOrder, error] { applyRestore(*loaded, inNameOrder, error); });
    });
}

void AppModel::applyRestore(const std::optional<LibrarySnapshot>& snapshot, bool inNameOrder,
                            const std::optional<LibraryError>& error)
{
    if (snapshot) {
        setItems(snapshot->items, inNameOrder);
        ++itemGeneration_;
        refreshVisible();
        scheduleSave();
        setRecentFolders(snapshot->folders);
        setIndexedFolders(snapshot->indexedFolders);
        setSelectedFolder(snapshot->selectedFolder);
        change(expandedFolders_, FolderSet(snapshot->expandedFolders.begin(), snapshot->expandedFolders.end()),
               &AppModel::expandedFoldersChanged);
        scheduleSave();
        setSort(MediaSorts::fromRawValue(snapshot->sort).value_or(MediaSort::name));
        setSection(LibrarySections::fromRawValue(snapshot->section).value_or(LibrarySection::all));
        setFormat(QString::fromStdString(snapshot->format));
        setSearch(QString::fromStdString(snapshot->search));
    }
    change(restoring_, false, &AppModel::restoringChanged);
    if (error) restoreError_ = error;
    finishJournaledRename();
    watched_->watch();
    watched_->noteAllChanged();
    refreshVisible();
    // Reopened on the Duplicates section: its groups are looked for now.
    if (section_ == LibrarySection::duplicates && duplicatesStale_ && !duplicateSearch_->running()) findDuplicates();
    for (const std::string& folder : expandedFolders_) loadChildren(folder);
    if (error) {
        setErrorMessage(
            translate("Mirelo", "Couldn’t read the saved library. The saved index has been left untouched. ") +
            QString::fromStdString(error->what()));
    }
    resumeDeferredOpen();
}

// Persistence

LibrarySnapshot AppModel::snapshot() const
{
    LibrarySnapshot snapshot;
    snapshot.items = items_;
    snapshot.folders = recentFolders_;
    snapshot.indexedFolders = indexedFolders_;
    snapshot.selectedFolder = selectedFolder_;
    snapshot.expandedFolders.assign(expandedFolders_.begin(), expandedFolders_.end());
    snapshot.sort = std::string(MediaSorts::rawValue(sort_));
    snapshot.section = std::string(LibrarySections::rawValue(section_));
    snapshot.format = format_.toStdString();
    snapshot.search = search_.toStdString();
    return snapshot;
}

void AppModel::scheduleSave()
{
    // Never write over a library that could not be read.
    if (restoring_ || restoreError_) return;
    saveTimer_.start();
}

void AppModel::flushLibrary()
{
    if (restoring_) return;
    if (restoreError_) throw *restoreError_;
    saveTimer_.stop();
    store_->flush(snapshot());
    if (renameSaveSerial_ >= 0) forgetJournaledRename();
}

void AppModel::forgetJournaledRename()
{
    renameSaveSerial_ = -1;
    AppSettings::open()->remove(AppSettings::kPendingFolderRename);
}

void AppModel::resumeDeferredOpen()
{
    if (restoring_ || busy_) return;
    std::function<void()> open = std::move(deferredOpen_);
    deferredOpen_ = nullptr;
    if (open) open();
}

// Assignments

void AppModel::setSection(LibrarySection section) { changeView(section_, section, &AppModel::sectionChanged); }
void AppModel::setFormat(const QString& format) { changeView(format_, format, &AppModel::formatChanged); }
void AppModel::setSearch(const QString& search) { changeView(search_, search, &AppModel::searchChanged); }
void AppModel::setSort(MediaSort sort) { changeView(sort_, sort, &AppModel::sortChanged); }
void AppModel::setSelectedFolder(const OptionalPath& folder)
{
    changeView(selectedFolder_, folder, &AppModel::selectedFolderChanged);
}
void AppModel::setSelection(PathSelection selection)
{
    if (selection_ == selection) return;
    // Selected items are always visible ones: their sizes come from there.
    int64_t bytes = 0;
    if (!selection.empty() && selection.size() == visibleIDs_.size())
        bytes = visibleBytes_;
    else
        selection.forEach([&](std::string_view path) {
            if (const MediaItem* item = visibleIDs_.find(path)) bytes = addBytes(bytes, item->bytes());
        });
    selection_ = std::move(selection);
    selectedBytes_ = bytes;
    Q_EMIT selectionChanged();
}

void AppModel::setSelected(const std::string& path, bool selected)
{
    const bool changed = selected ? selection_.insert(path) : selection_.erase(path);
    if (!changed) return;
    if (const MediaItem* item = visibleIDs_.find(path))
        selectedBytes_ = addBytes(selectedBytes_, selected ? item->bytes() : -item->bytes());
    Q_EMIT selectionChanged();
}
void AppModel::setSelecting(bool selecting) { change(selecting_, selecting, &AppModel::selectingChanged); }
void AppModel::setErrorMessage(const OptionalText& message)
{
    change(errorMessage_, message, &AppModel::errorMessageChanged);
}
// Every notice is news, even one with the same text as the last.
void AppModel::setToast(const OptionalText& toast)
{
    toast_ = toast;
    Q_EMIT toastChanged();
}
void AppModel::dismissToast()
{
    toastTimer_.stop();
    if (toast_) setToast(std::nullopt);
}
void AppModel::clearDeferredOpen() { deferredOpen_ = nullptr; }
void AppModel::setRecentFolders(PathList folders)
{
    change(recentFolders_, std::move(folders), &AppModel::recentFoldersChanged);
}

void AppModel::setItems(MediaItems items, bool inNameOrder)
{
    itemsInNameOrder_ = inNameOrder;
    if (items.isSharedWith(items_)) return;
    change(items_, std::move(items), &AppModel::itemsChanged);
}

void AppModel::setBusy(bool busy)
{
    change(busy_, busy, &AppModel::busyChanged);
    if (!busy) QMetaObject::invokeMethod(this, &AppModel::resumeDeferredOpen, Qt::QueuedConnection);
}

void AppModel::setCurrent(const std::optional<MediaItem>& item)
{
    current_ = item;
    Q_EMIT currentChanged();
    if (!viewer_) return;
    if (current_)
        viewer_->present(*current_);
    else
        viewer_->dismiss();
}

void AppModel::setViewerItems(const MediaItems& items)
{
    viewerItems_ = items;
    if (viewer_ && viewer_->isPresenting() && current_) viewer_->setItems(viewerItems_, *current_);
}

void AppModel::notify(const QString& message)
{
    setToast(message);
    toastTimer_.start();
}

// Derived values

GridLocation AppModel::gridLocation() const
{
    return GridLocation{selectedFolder_, QString::fromUtf8(LibrarySections::rawValue(section_).data()), format_,
                        search_, QString::fromUtf8(MediaSorts::rawValue(sort_).data())};
}

bool AppModel::replacingContent() const
{
    return loadingContent_ && (!loadedGridLocation_ || *loadedGridLocation_ != gridLocation());
}

QString AppModel::libraryName() const
{
    if (!selectedFolder_) return translate("Mirelo", "Your library");
    const std::string folder = standardisedPath(*selectedFolder_);
    const std::string_view name = lastPathComponent(folder);
    return QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())));
}

MediaItems AppModel::selectedItems() const
{
    MediaItems selected;
    if (selection_.empty()) return selected;
    for (const MediaItem& item : items_)
        if (selection_.contains(item.path())) selected.append(item);
    return selected;
}

std::optional<int> AppModel::position() const
{
    if (!current_) return std::nullopt;
    for (qsizetype index = 0; index < viewerItems_.size(); ++index)
        if (viewerItems_[index].path() == current_->path()) return int(index);
    return std::nullopt;
}

} // namespace mirelo
