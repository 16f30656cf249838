#include "WatchedFolders.h"

#include "files/FileUrl.h"
#include "files/UserFolders.h"
#include "library/LibraryIndex.h"
#include "library/MountTable.h"

#include <algorithm>
#include <iterator>

namespace mirelo {

namespace {

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

WatchedFolders::WatchedFolders(PathList indexed, QObject* parent) : QObject(parent), indexed_(std::move(indexed))
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    connect(&quiet_, &QTimer::timeout, this, &WatchedFolders::refreshDue);
    watcher_.setOnChange([this](const PathList& paths) { noteChanges(paths); });
    watcher_.setOnLimitReached([this](long limit) { Q_EMIT limitReached(limit); });
    watcher_.setOnUnmount([this](const std::string& folder) { drives_.insert(folder); });
    watcher_.setOnMountsChanged([this] { mountsChanged(); });
}

WatchedFolders::PathList WatchedFolders::topMost(const PathList& folders)
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

void WatchedFolders::watch()
{
    mounted_ = MountTable::current();
    noteDrives();
    PathList roots;
    for (const std::string& folder : topMost(indexed_)) roots.push_back(standardisedPath(folder));
    watcher_.watch(roots);
}

void WatchedFolders::stop() { watcher_.watch({}); }

// Remembers the drives mounted at or below the indexed folders, so that
// their items outlive the drive's absence.
void WatchedFolders::noteDrives()
{
    for (const std::string& point : mounted_)
        for (const std::string& folder : indexed_)
            if (LibraryIndex::contains(point, folder)) {
                drives_.insert(point);
                break;
            }
}

// A drive mounted at or below an indexed folder, or holding one, is watched
// and re-read; one that went away is re-read too, which keeps its items.
void WatchedFolders::mountsChanged()
{
    std::set<std::string> now = MountTable::current();
    PathList arrived, left;
    std::set_difference(now.begin(), now.end(), mounted_.begin(), mounted_.end(), std::back_inserter(arrived));
    std::set_difference(mounted_.begin(), mounted_.end(), now.begin(), now.end(), std::back_inserter(left));
    mounted_ = std::move(now);
    bool ours = false;
    for (const PathList* points : {&arrived, &left})
        for (const std::string& point : *points)
            for (const std::string& folder : indexed_) {
                if (LibraryIndex::contains(point, folder)) {
                    drives_.insert(point);
                    changed_.insert(point);
                } else if (LibraryIndex::contains(folder, point)) {
                    changed_.insert(folder);
                } else {
                    continue;
                }
                ours = true;
            }
    if (!ours) return;
    if (!arrived.empty() && !watcher_.roots().empty()) watch();
    scheduleRefresh();
}

void WatchedFolders::noteChanges(const PathList& paths)
{
    const std::string programs = programsFolder();
    for (const std::string& raw : paths) {
        const std::string path = standardisedPath(raw);
        if ((!programs.empty() && LibraryIndex::contains(path, programs)) || hasHiddenComponent(path)) continue;
        const bool indexed = std::any_of(indexed_.begin(), indexed_.end(),
                                         [&](const std::string& root) { return LibraryIndex::contains(path, root); });
        if (indexed) changed_.insert(path);
    }
    scheduleRefresh();
}

void WatchedFolders::noteAllChanged()
{
    changed_.insert(indexed_.begin(), indexed_.end());
    scheduleRefresh();
}

WatchedFolders::PathList WatchedFolders::take()
{
    const PathList top = topMost(PathList(changed_.begin(), changed_.end()));
    changed_.clear();
    return top;
}

} // namespace mirelo
