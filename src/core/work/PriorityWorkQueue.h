#pragma once
// A few worker threads that start the waiting job of highest priority first
// (oldest first among equals). A job's priority may be raised while it waits;
// a cancelled job that has not started never runs.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace mirelo {

class PriorityWorkQueue {
public:
    class Job {
    public:
        bool isCancelled() const { return cancelled_.load(); }

    private:
        friend class PriorityWorkQueue;
        std::function<void(const Job&)> work_;
        std::atomic<bool> cancelled_{false};
        std::multimap<std::pair<int, uint64_t>, std::shared_ptr<Job>>::iterator place_;
        bool waiting_ = false;
        int priority_ = 0;
    };
    using JobRef = std::shared_ptr<Job>;

    // `niceness` above 0 lets the workers yield the processor to other threads.
    // With `reservedFrom`, one of several workers starts only jobs of at
    // least that priority: work somebody waits for never queues behind
    // background work already running on every worker.
    PriorityWorkQueue(std::string label, int workers, int niceness = 0, std::optional<int> reservedFrom = std::nullopt);
    // Drops what has not started and waits for what has.
    ~PriorityWorkQueue();
    // The same, for good: what is added later never runs.
    void stop();
    PriorityWorkQueue(const PriorityWorkQueue&) = delete;
    PriorityWorkQueue& operator=(const PriorityWorkQueue&) = delete;

    // `work` receives its job, to ask whether it was cancelled meanwhile.
    JobRef add(std::function<void(const Job&)> work, int priority);
    void raise(const JobRef& job, int priority);
    // Marks the job cancelled; removes it if it has not started.
    void cancel(const JobRef& job);
    // Jobs waiting to start.
    size_t waitingCount();

private:
    void run(bool reserved);
    bool startable(bool reserved) const;
    std::string label_;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Ordered by (−priority, sequence): the first entry starts next.
    std::multimap<std::pair<int, uint64_t>, JobRef> waiting_;
    uint64_t sequence_ = 0;
    bool stopping_ = false;
    std::optional<int> reservedFrom_;
    std::vector<std::thread> threads_;
};

} // namespace mirelo
