#pragma once
// One worker thread that runs queued work in order.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace mirelo {

class SerialQueue {
public:
    explicit SerialQueue(std::string label);
    // Runs the work still queued, then stops the thread.
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return label_; }
    void async(std::function<void()> work);
    // Runs `work` on the queue after everything queued before it and waits;
    // an exception it throws is rethrown here.
    void sync(const std::function<void()>& work);
    // Drops the work that has not started yet.
    void cancelPending();

private:
    void run();
    std::string label_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> work_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace mirelo
