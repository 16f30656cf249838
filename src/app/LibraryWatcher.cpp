#include "LibraryWatcher.h"

#include "library/LibraryIndex.h"
#include "library/MediaScanner.h"
#include "work/HandOff.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThreadPool>

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <mutex>
#include <unordered_map>

namespace mirelo {

namespace {

constexpr uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                                   IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;

std::string childPath(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path.append(name);
    return path;
}

// Hidden entries and packages are never indexed, so they need no watch.
bool worthWatching(std::string_view name)
{
    return !name.empty() && name[0] != '.' && !MediaScanner::isPackageName(name);
}

} // namespace

struct LibraryWatcher::Session {
    int fd = -1;
    long limit = -1;
    std::atomic<bool> stopped{false};
    std::atomic<bool> limitReached{false};
    std::mutex mutex;
    std::unordered_map<int, std::string> folders; // watch descriptor -> folder
    LibraryWatcher* owner = nullptr;              // main thread only
    int walksRunning = 0;                         // main thread only

    ~Session()
    {
        if (fd >= 0) ::close(fd);
    }

    bool addWatch(const std::string& folder)
    {
        {
            std::lock_guard lock(mutex);
            if (limit >= 0 && long(folders.size()) >= limit) {
                limitReached = true;
                return false;
            }
        }
        int wd = inotify_add_watch(fd, folder.c_str(), kFolderEvents);
        if (wd < 0) {
            if (errno == ENOSPC) limitReached = true;
            return false;
        }
        std::lock_guard lock(mutex);
        folders[wd] = folder;
        return true;
    }

    // Watches `top` and every folder below it that could hold media. A
    // folder is watched before it is listed, so nothing created meanwhile
    // goes unseen.
    void walk(const std::string& top)
    {
        std::vector<std::string> stack{top};
        while (!stack.empty() && !stopped) {
            std::string folder = std::move(stack.back());
            stack.pop_back();
            if (!addWatch(folder)) {
                if (limitReached) return;
                continue; // unreadable or vanished: skip it
            }
            int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dirfd < 0) continue;
            DIR* dir = fdopendir(dirfd);
            if (!dir) {
                ::close(dirfd);
                continue;
            }
            while (dirent* entry = readdir(dir)) {
                std::string_view name = entry->d_name;
                if (!worthWatching(name)) continue;
                bool isFolder = entry->d_type == DT_DIR;
                if (entry->d_type == DT_UNKNOWN) {
                    struct stat attributes;
                    isFolder = fstatat(dirfd, entry->d_name, &attributes, AT_SYMLINK_NOFOLLOW) == 0 &&
                               S_ISDIR(attributes.st_mode);
                }
                if (isFolder) stack.push_back(childPath(folder, name));
            }
            closedir(dir);
        }
    }
};

LibraryWatcher::LibraryWatcher(QObject* parent) : QObject(parent)
{
    latency_.setSingleShot(true);
    latency_.setInterval(kLatencyMs);
    connect(&latency_, &QTimer::timeout, this, &LibraryWatcher::deliver);
    rereadTimer_.setInterval(kRereadIntervalMs);
    connect(&rereadTimer_, &QTimer::timeout, this, [this] {
        if (onChange_) onChange_(roots_);
    });
    // The kernel marks the mount table with POLLPRI whenever it changes.
    mountsFd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (mountsFd_ >= 0) {
        mounts_ = std::make_unique<QSocketNotifier>(mountsFd_, QSocketNotifier::Exception);
        connect(mounts_.get(), &QSocketNotifier::activated, this, [this] {
            // Reading the table to its end acknowledges the change.
            char buffer[8192];
            ::lseek(mountsFd_, 0, SEEK_SET);
            while (::read(mountsFd_, buffer, sizeof buffer) > 0) {
            }
            if (onMountsChanged_) onMountsChanged_();
        });
    }
}

LibraryWatcher::~LibraryWatcher()
{
    watch({});
    mounts_.reset();
    if (mountsFd_ >= 0) ::close(mountsFd_);
}

long LibraryWatcher::systemWatchLimit()
{
    std::ifstream in("/proc/sys/fs/inotify/max_user_watches");
    long limit = -1;
    if (!(in >> limit)) return -1;
    return limit;
}

size_t LibraryWatcher::watchCount() const
{
    if (!session_) return 0;
    std::lock_guard lock(session_->mutex);
    return session_->folders.size();
}

void LibraryWatcher::watch(const std::vector<std::string>& paths)
{
    if (session_) {
        notifier_.reset();
        session_->stopped = true;
        session_->owner = nullptr;
        session_.reset();
    }
    rereadTimer_.stop();
    roots_ = paths;
    if (paths.empty()) return;

    int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return; // nothing is watched; the launch re-read still runs
    session_ = std::make_shared<Session>();
    session_->fd = fd;
    session_->limit = watchLimit_ >= 0 ? watchLimit_ : watchBudget(systemWatchLimit());
    session_->owner = this;
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &LibraryWatcher::readEvents);
    for (const std::string& root : paths) walkFrom(root);
}

void LibraryWatcher::walkFrom(const std::string& folder)
{
    std::shared_ptr<Session> session = session_;
    ++session->walksRunning;
    QThreadPool::globalInstance()->start(handedOff([session, folder] {
        session->walk(folder);
        bool limitReached = session->limitReached;
        std::weak_ptr<Session> weak = session;
        QMetaObject::invokeMethod(QCoreApplication::instance(), handedOff([weak, limitReached] {
                                      if (auto session = weak.lock(); session && session->owner) {
                                          --session->walksRunning;
                                          session->owner->walkFinished(limitReached);
                                      }
                                  }),
                                  Qt::QueuedConnection);
    }));
}

void LibraryWatcher::walkFinished(bool limitReached)
{
    if (limitReached && !limitReported_) {
        limitReported_ = true;
        rereadTimer_.start();
        if (onLimitReached_) onLimitReached_(watchLimit_ >= 0 ? watchLimit_ : systemWatchLimit());
    } else if (limitReached && !rereadTimer_.isActive()) {
        rereadTimer_.start();
    }
    if (session_ && session_->walksRunning == 0) Q_EMIT ready();
}

void LibraryWatcher::readEvents()
{
    if (!session_) return;
    std::shared_ptr<Session> session = session_;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        ssize_t length = ::read(session->fd, buffer, sizeof buffer);
        if (length <= 0) break;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost: anything under any root may have changed.
                for (const std::string& root : roots_) noteChange(root);
                continue;
            }
            std::string folder;
            {
                std::lock_guard lock(session->mutex);
                auto found = session->folders.find(event->wd);
                if (found == session->folders.end()) continue;
                if (event->mask & IN_IGNORED) {
                    session->folders.erase(found);
                    continue;
                }
                folder = found->second;
            }
            if (event->mask & IN_UNMOUNT) {
                // The drive under this folder went away; its watch ends next.
                if (onUnmount_) onUnmount_(folder);
                noteChange(folder);
                continue;
            }
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The parent reports its own change; a root has no watched parent.
                for (const std::string& root : roots_)
                    if (root == folder) noteChange(folder);
                continue;
            }
            std::string_view name = event->len ? std::string_view(event->name) : std::string_view();
            if (!name.empty() && name[0] == '.') continue; // hidden entries are never indexed
            if ((event->mask & IN_ISDIR) && worthWatching(name)) {
                std::string child = childPath(folder, name);
                if (event->mask & (IN_CREATE | IN_MOVED_TO)) {
                    walkFrom(child);
                } else if (event->mask & IN_MOVED_FROM) {
                    std::lock_guard lock(session->mutex);
                    for (auto it = session->folders.begin(); it != session->folders.end();) {
                        if (pathIsInside(it->second, child)) {
                            inotify_rm_watch(session->fd, it->first);
                            it = session->folders.erase(it);
                        } else {
                            ++it;
                        }
                    }
                }
            }
            noteChange(folder);
        }
    }
}

void LibraryWatcher::noteChange(const std::string& folder)
{
    pending_.insert(folder);
    if (!latency_.isActive()) latency_.start();
}

void LibraryWatcher::deliver()
{
    std::vector<std::string> batch(pending_.begin(), pending_.end());
    pending_.clear();
    if (onChange_ && !batch.empty()) onChange_(batch);
}

} // namespace mirelo
