// Getting folders and files into the library: the open panels, scans and
// their end, opening files, remembered folders.

#include "AppModel.h"
#include "Translation.h"

#include "AppSettings.h"
#include "files/FileUrl.h"
#include "library/LibraryIndex.h"
#include "library/MediaFormats.h"
#include "library/MountTable.h"
#include "OpenPanel.h"
#include "ScanRoots.h"

#include <sys/stat.h>

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>

namespace mirelo {

void AppModel::chooseFolders()
{
    if (!openPanel_) return;
    OpenPanelRequest request;
    request.title = translate("Mirelo", "Choose folders to scan");
    request.prompt = translate("Mirelo", "Scan media");
    request.message = translate("Mirelo", "Choose one or more folders, your home folder, or an external drive. Mirelo "
                                          "includes subfolders and leaves your files in place.");
    request.chooseFolders = true;
    openPanel_->choose(request, [this](PathList chosen) {
        if (!chosen.empty()) scan(chosen, true);
    });
}

void AppModel::chooseFiles()
{
    if (!openPanel_) return;
    OpenPanelRequest request;
    request.title = translate("Mirelo", "Open in Mirelo");
    request.prompt = translate("Mirelo", "Open");
    request.chooseFiles = true;
    request.nameFilters = OpenPanelRequest::mediaNameFilters();
    openPanel_->choose(request, [this](PathList chosen) {
        if (!chosen.empty()) open(chosen);
    });
}

void AppModel::scanEntireComputer() { scan(ScanRoots::entireComputer(), true); }

void AppModel::stopScan()
{
    if (scanToken_) scanToken_->cancel();
}

void AppModel::scan(const PathList& roots, bool recursive, const std::optional<MediaItem>& openAfter)
{
    if (restoring_) {
        deferredOpen_ = [this, roots, recursive, openAfter] { scan(roots, recursive, openAfter); };
        return;
    }
    if (busy_) return;

    if (scanToken_) scanToken_->cancel();
    auto token = ScanToken::make();
    const QUuid id = QUuid::createUuid();
    scanToken_ = token;
    scanID_ = id;

    change(scanning_, true, &AppModel::scanningChanged);
    change(scannedCount_, 0, &AppModel::scannedCountChanged);
    scanMessage_ = translate("Mirelo", "Looking for images and videos…");
    setSelectedFolder(roots.size() == 1 ? OptionalPath(absoluteStandardisedPath(roots.front())) : std::nullopt);
    for (const std::string& root : roots) remember(root);
    setSearch(QString());
    setFormat(kAllFormatsLabel);
    setSelection({});
    setSection(LibrarySection::all);
    if (openAfter)
        show(*openAfter, MediaItems{*openAfter});
    else
        setCurrent(std::nullopt);

    const MediaItems existing = items_;
    const std::set<std::string> drives = watched_->drives();
    background([this, roots, recursive, token, id, openAfter, existing, drives] {
        ScanResult result = MediaScanner::scan(roots, recursive, *token, [this, id](int count) {
            post(BackgroundWork::scanProgress, [this, id, count] {
                if (scanID_ == id) change(scannedCount_, count, &AppModel::scannedCountChanged);
            });
        });
        // A drive that is away leaves an empty folder, or none: its items stay.
        PathList standardRoots;
        for (const std::string& root : roots) standardRoots.push_back(absoluteStandardisedPath(root));
        auto away = std::make_shared<PathList>(MountTable::unreachable(standardRoots, existing, drives));
        auto found = std::make_shared<ScanResult>(std::move(result));
        post(BackgroundWork::scan, [this, roots, recursive, id, openAfter, found, away] {
            finishScan(roots, recursive, id, openAfter, std::move(*found), *away);
        });
    });
}

void AppModel::finishScan(const PathList& roots, bool recursive, const QUuid& id,
                          const std::optional<MediaItem>& openAfter, ScanResult result, const PathList& away)
{
    if (scanID_ != id) return; // a newer scan owns the model

    MediaItems found = result.items;
    if (openAfter) {
        bool reported = false;
        for (const MediaItem& item : found)
            if (item.path() == openAfter->path()) reported = true;
        if (!reported) found.append(*openAfter);
    }

    PathList standardRoots;
    for (const std::string& root : roots) standardRoots.push_back(absoluteStandardisedPath(root));
    PathList preserved;
    for (const std::string& folder : indexedFolders_) {
        std::string standard = standardisedPath(folder);
        bool isRoot = std::find(standardRoots.begin(), standardRoots.end(), standard) != standardRoots.end();
        if (isRoot) continue;
        for (const std::string& root : standardRoots)
            if (LibraryIndex::contains(standard, root)) {
                preserved.push_back(folder);
                break;
            }
    }
    preserved.insert(preserved.end(), away.begin(), away.end());
    const bool replace = result.inaccessible == 0 && !result.cancelled;
    setItems(LibraryIndex::merging(found, items_, standardRoots, replace, recursive, preserved), true);
    ++itemGeneration_;
    refreshVisible();
    scheduleSave();
    change(scanning_, false, &AppModel::scanningChanged);

    QString message = translate("Mirelo", "%1 files found").arg(QLocale().toString(qlonglong(found.size())));
    if (result.cancelled) message = translate("Mirelo", "Scan stopped · %1").arg(message);
    if (result.inaccessible > 0)
        message = translate("Mirelo", "%1 · %2 locations couldn’t be read")
                      .arg(message, QLocale().toString(qlonglong(result.inaccessible)));
    scanMessage_ = message;

    if (openAfter) setViewerItems(MediaSorts::ordered(found, sort_));

    if (recursive && !result.cancelled) {
        PathList indexed = indexedFolders_;
        for (const std::string& root : standardRoots) {
            bool known = false;
            for (const std::string& folder : indexed)
                if (standardisedPath(folder) == root) known = true;
            if (!known) indexed.push_back(root);
        }
        setIndexedFolders(std::move(indexed));
        watched_->watch();
    }
    scheduleSave();
    if (result.inaccessible > 0)
        notify(translate("Mirelo", "%1. Folders you don’t have permission to read were skipped.").arg(message));
}

void AppModel::open(const PathList& paths)
{
    if (restoring_ || busy_) {
        deferredOpen_ = [this, paths] { open(paths); };
        return;
    }
    if (paths.empty()) return;

    for (const std::string& path : paths) {
        struct stat attributes;
        if (::stat(path.c_str(), &attributes) == 0 && S_ISDIR(attributes.st_mode)) {
            scan(paths, true);
            return;
        }
    }

    MediaItems recognised;
    for (const std::string& path : paths)
        if (auto item = MediaItem::read(absoluteStandardisedPath(path))) recognised.append(*item);
    if (recognised.isEmpty()) {
        const bool missing = std::all_of(paths.begin(), paths.end(), [](const std::string& path) {
            struct stat attributes;
            return ::lstat(path.c_str(), &attributes) != 0 && errno == ENOENT;
        });
        if (missing && paths.size() == 1)
            setErrorMessage(
                translate("Mirelo", "“%1” doesn’t exist.")
                    .arg(QFile::decodeName(QByteArray::fromStdString(std::string(lastPathComponent(paths.front()))))));
        else if (missing)
            setErrorMessage(translate("Mirelo", "These files don’t exist."));
        else
            setErrorMessage(translate("Mirelo", "These files aren’t recognized as images or videos."));
        return;
    }

    const MediaItem first = recognised.front();
    setSearch(QString());
    setFormat(kAllFormatsLabel);
    setSection(LibrarySection::all);

    if (recognised.size() == 1) {
        scan({std::string(parentPath(first.path()))}, false, first);
        return;
    }

    if (scanToken_) scanToken_->cancel();
    scanID_ = QUuid::createUuid();
    change(scanning_, false, &AppModel::scanningChanged);
    setSelectedFolder(std::nullopt);
    setItems(LibraryIndex::merging(recognised, items_, {}, false, true, {}), true);
    ++itemGeneration_;
    refreshVisible();
    scheduleSave();
    show(first, MediaSorts::ordered(recognised, MediaSort::name));
}

void AppModel::remember(const std::string& folder)
{
    const std::string path = absoluteStandardisedPath(folder);
    if (std::find(recentFolders_.begin(), recentFolders_.end(), path) == recentFolders_.end()) {
        PathList folders = recentFolders_;
        folders.push_back(path);
        setRecentFolders(std::move(folders));
    }
    AppSettings::setFolders(AppSettings::kRecentFolders, recentFolders_);
    scheduleSave();
}

} // namespace mirelo
