#pragma once
// A gate that many may pass together, or one alone. Whoever asks to pass
// alone goes ahead of those who come after the asking, so a steady stream of
// shared passes cannot keep it waiting.

#include <condition_variable>
#include <mutex>

namespace mirelo {

class SharedGate {
public:
    void enterShared()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !alone_ && waitingAlone_ == 0; });
        ++shared_;
    }
    void leaveShared()
    {
        std::lock_guard lock(mutex_);
        if (--shared_ == 0) changed_.notify_all();
    }
    void enterAlone()
    {
        std::unique_lock lock(mutex_);
        ++waitingAlone_;
        changed_.wait(lock, [this] { return !alone_ && shared_ == 0; });
        --waitingAlone_;
        alone_ = true;
    }
    void leaveAlone()
    {
        std::lock_guard lock(mutex_);
        alone_ = false;
        changed_.notify_all();
    }

    // Holds the gate for a scope: SharedGate::Shared held(gate);
    template <void (SharedGate::*Enter)(), void (SharedGate::*Leave)()>
    class Held {
    public:
        explicit Held(SharedGate& gate) : gate_(gate) { (gate_.*Enter)(); }
        ~Held() { (gate_.*Leave)(); }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        SharedGate& gate_;
    };
    using Shared = Held<&SharedGate::enterShared, &SharedGate::leaveShared>;
    using Alone = Held<&SharedGate::enterAlone, &SharedGate::leaveAlone>;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int shared_ = 0;
    int waitingAlone_ = 0;
    bool alone_ = false;
};

} // namespace mirelo
