#include "work/PriorityWorkQueue.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace mirelo {

PriorityWorkQueue::PriorityWorkQueue(std::string label, int workers, int niceness, std::optional<int> reservedFrom)
    : label_(std::move(label)), reservedFrom_(workers > 1 ? reservedFrom : std::nullopt)
{
    for (int i = 0; i < std::max(workers, 1); ++i) {
        const bool reserved = i == 0 && reservedFrom_.has_value();
        threads_.emplace_back([this, niceness, reserved] {
            // Linux gives each thread its own nice value.
            if (niceness != 0) setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness);
            run(reserved);
        });
        pthread_setname_np(threads_.back().native_handle(), label_.substr(0, 15).c_str());
    }
}

PriorityWorkQueue::~PriorityWorkQueue() { stop(); }

void PriorityWorkQueue::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (auto& [order, job] : waiting_) {
            job->cancelled_ = true;
            job->waiting_ = false;
        }
        waiting_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
}

PriorityWorkQueue::JobRef PriorityWorkQueue::add(std::function<void(const Job&)> work, int priority)
{
    auto job = std::make_shared<Job>();
    job->work_ = std::move(work);
    {
        std::lock_guard lock(mutex_);
        job->priority_ = priority;
        job->waiting_ = true;
        job->place_ = waiting_.emplace(std::pair{-priority, sequence_++}, job);
    }
    // A reserved worker woken alone might not take the job.
    if (reservedFrom_)
        wake_.notify_all();
    else
        wake_.notify_one();
    return job;
}

void PriorityWorkQueue::raise(const JobRef& job, int priority)
{
    if (!job) return;
    {
        std::lock_guard lock(mutex_);
        if (!job->waiting_ || priority <= job->priority_) return;
        waiting_.erase(job->place_);
        job->priority_ = priority;
        job->place_ = waiting_.emplace(std::pair{-priority, sequence_++}, job);
    }
    if (reservedFrom_) wake_.notify_all(); // it may be the reserved worker's now
}

void PriorityWorkQueue::cancel(const JobRef& job)
{
    if (!job) return;
    JobRef removed; // released outside the lock
    std::lock_guard lock(mutex_);
    job->cancelled_ = true;
    if (!job->waiting_) return;
    removed = job->place_->second;
    waiting_.erase(job->place_);
    job->waiting_ = false;
}

size_t PriorityWorkQueue::waitingCount()
{
    std::lock_guard lock(mutex_);
    return waiting_.size();
}

bool PriorityWorkQueue::startable(bool reserved) const
{
    if (waiting_.empty()) return false;
    return !reserved || waiting_.begin()->second->priority_ >= *reservedFrom_;
}

void PriorityWorkQueue::run(bool reserved)
{
    for (;;) {
        JobRef job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || startable(reserved); });
            if (stopping_) return;
            job = waiting_.begin()->second;
            waiting_.erase(waiting_.begin());
            job->waiting_ = false;
        }
        if (!job->isCancelled()) job->work_(*job);
        job->work_ = nullptr; // release what the work captured, here
    }
}

} // namespace mirelo
