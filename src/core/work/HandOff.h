#pragma once
// Work (taking nothing) handed to another thread through a queue that
// ThreadSanitizer cannot see into (Qt's thread pool and event loop, built
// without it): `handedOff` tells it that what this thread wrote before the
// hand-off is seen by the thread that runs the work. In every other build it
// is the work itself.

#include <utility>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace mirelo {

#if defined(__SANITIZE_THREAD__)
// Every copy or move of the work ends with a release, so that the last
// write of the handing thread (the queue's own copy of the work included)
// comes before it; running it starts with the matching acquire, and so does
// destroying it (work dropped unrun, as when its receiver goes first).
template <typename Work>
class HandedOff {
public:
    explicit HandedOff(Work work) : work_(std::move(work)) { __tsan_release(&handOffs); }
    HandedOff(HandedOff&& other) : work_(std::move(other.work_)) { __tsan_release(&handOffs); }
    HandedOff(const HandedOff& other) : work_(other.work_) { __tsan_release(&handOffs); }
    HandedOff& operator=(const HandedOff&) = delete;
    ~HandedOff() { __tsan_acquire(&handOffs); }
    auto operator()()
    {
        __tsan_acquire(&handOffs);
        return work_();
    }

private:
    static inline char handOffs = 0;
    Work work_;
};
#endif

template <typename Work>
auto handedOff(Work work)
{
#if defined(__SANITIZE_THREAD__)
    return HandedOff<Work>(std::move(work));
#else
    return work;
#endif
}

} // namespace mirelo
