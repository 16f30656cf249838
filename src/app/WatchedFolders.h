#pragma once
// Which of the library's folders changed on disk: the watcher over the
// top-most indexed folders, the drives seen at or below them (whose items
// outlive the drive's absence), and the folders that changed since the last
// refresh. A quiet moment after the last change, `refreshDue` fires.

#include "LibraryWatcher.h"

#include <QObject>
#include <QTimer>

#include <set>
#include <string>
#include <vector>

namespace mirelo {

class WatchedFolders : public QObject {
    Q_OBJECT
public:
    using PathList = std::vector<std::string>;
    using FolderSet = std::set<std::string>;
    static constexpr int kQuietMs = 2000;

    // `indexed`: the library's indexed folders; setIndexed when they change.
    explicit WatchedFolders(PathList indexed = {}, QObject* parent = nullptr);
    void setIndexed(PathList indexed) { indexed_ = std::move(indexed); }

    // Watches the top-most indexed folders (again, when they changed).
    void watch();
    void stop();
    // Changes the watcher reported: those inside an indexed folder, outside
    // hidden folders and the home folder's programs folder, wait for the
    // next refresh.
    void noteChanges(const PathList& paths);
    // Every indexed folder is re-read at the next refresh.
    void noteAllChanged();
    // Starts (or restarts) the quiet moment before `refreshDue`.
    void scheduleRefresh() { quiet_.start(); }
    // The quiet moment (kQuietMs unless a test asks for less).
    void setQuietMs(int ms) { quiet_.setInterval(ms); }

    const FolderSet& changed() const { return changed_; }
    // The top-most changed folders, now forgotten: a refresh re-reads them.
    PathList take();
    // A refresh that could not be applied gives its folders back.
    void giveBack(const PathList& folders) { changed_.insert(folders.begin(), folders.end()); }
    const std::set<std::string>& drives() const { return drives_; }
    LibraryWatcher& watcher() { return watcher_; }

    // The members of `folders` that do not lie inside another, different member.
    static PathList topMost(const PathList& folders);

Q_SIGNALS:
    void refreshDue();
    // More folders than the system lets one watch.
    void limitReached(long limit);

private:
    void noteDrives();
    void mountsChanged();

    PathList indexed_;
    LibraryWatcher watcher_;
    QTimer quiet_;
    FolderSet changed_;
    // Folders that were a drive's mount point while the application ran, and
    // the mount points seen last.
    std::set<std::string> drives_;
    std::set<std::string> mounted_;
};

} // namespace mirelo
