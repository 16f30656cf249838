#pragma once
// Follows changes below a set of folders and reports, in batches on the main
// thread, the folders whose contents changed. Built on inotify: the kernel
// watches single folders, so every folder below the roots gets its own watch,
// and folders that appear later are watched as they arrive.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace mirelo {

class LibraryWatcher : public QObject {
    Q_OBJECT
public:
    // Events are collected for this long before a batch is delivered.
    static constexpr int kLatencyMs = 2000;
    // Roots that could not be watched whole are reported this often.
    static constexpr int kRereadIntervalMs = 5 * 60 * 1000;

    using ChangeHandler = std::function<void(const std::vector<std::string>& paths)>;

    explicit LibraryWatcher(QObject* parent = nullptr);
    ~LibraryWatcher() override;

    // Replaces whatever is watched by these folders; an empty list only stops.
    void watch(const std::vector<std::string>& paths);
    const std::vector<std::string>& roots() const { return roots_; }
    bool isWatching() const { return bool(session_); }

    void setOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }
    // Called once per watcher when the system's limit on watches stopped it
    // from watching every folder, with the limit.
    void setOnLimitReached(std::function<void(long limit)> handler) { onLimitReached_ = std::move(handler); }

    // Called with each watched folder whose drive was unmounted.
    void setOnUnmount(std::function<void(const std::string& folder)> handler) { onUnmount_ = std::move(handler); }
    // Called on the main thread whenever a drive is mounted or unmounted.
    void setOnMountsChanged(std::function<void()> handler) { onMountsChanged_ = std::move(handler); }

    // Adds at most this many watches (the system's limit applies as well).
    void setWatchLimit(long limit) { watchLimit_ = limit; }
    void setRereadInterval(int milliseconds) { rereadTimer_.setInterval(milliseconds); }
    void setLatency(int milliseconds) { latency_.setInterval(milliseconds); }
    // The number of folders watched now.
    size_t watchCount() const;
    // The system's limit on watches per user, or -1 when it cannot be read.
    static long systemWatchLimit();
    // The share of that limit the library takes at most: other programs
    // (editors, sync clients) watch folders too.
    static long watchBudget(long systemLimit) { return systemLimit < 0 ? -1 : systemLimit / 5 * 4; }

Q_SIGNALS:
    // Every folder present when watching started is now watched (or the limit was reached).
    void ready();

private:
    struct Session;
    void readEvents();
    void noteChange(const std::string& folder);
    void deliver();
    void walkFrom(const std::string& folder);
    void walkFinished(bool limitReached);

    std::shared_ptr<Session> session_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<std::string> roots_;
    std::set<std::string> pending_;
    QTimer latency_;
    QTimer rereadTimer_;
    ChangeHandler onChange_;
    std::function<void(long)> onLimitReached_;
    std::function<void(const std::string&)> onUnmount_;
    std::function<void()> onMountsChanged_;
    std::unique_ptr<QSocketNotifier> mounts_;
    int mountsFd_ = -1;
    long watchLimit_ = -1;
    bool limitReported_ = false;
};

} // namespace mirelo
