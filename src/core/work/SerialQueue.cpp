#include "work/SerialQueue.h"

#include <pthread.h>

#include <exception>
#include <mutex>

namespace mirelo {

SerialQueue::SerialQueue(std::string label) : label_(std::move(label))
{
    thread_ = std::thread([this] { run(); });
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void SerialQueue::async(std::function<void()> work)
{
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    wake_.notify_one();
}

void SerialQueue::sync(const std::function<void()>& work)
{
    // A mutex and a condition rather than a promise: the waiting thread sees
    // everything the queue did (ThreadSanitizer too, which cannot see into
    // the standard library's futures).
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr failure;
    async([&] {
        // The exception is handed over whole, after its handler ended: this
        // thread touches it no more once the waiting one may rethrow it.
        std::exception_ptr caught;
        try {
            work();
        } catch (...) {
            caught = std::current_exception();
        }
        std::lock_guard lock(mutex);
        failure = std::move(caught);
        done = true;
        // Under the lock: the waiting thread may end (and its condition with
        // it) as soon as it sees `done`.
        finished.notify_one();
    });
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return done; });
    if (failure) std::rethrow_exception(failure);
}

void SerialQueue::cancelPending()
{
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(work_);
    }
}

void SerialQueue::run()
{
    // Thread names are limited to 15 bytes on Linux.
    pthread_setname_np(pthread_self(), label_.substr(0, 15).c_str());
    for (;;) {
        std::function<void()> next;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !work_.empty(); });
            if (work_.empty()) return;
            next = std::move(work_.front());
            work_.pop_front();
        }
        next();
    }
}

} // namespace mirelo
