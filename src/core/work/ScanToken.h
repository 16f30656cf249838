#pragma once
// A one-way cancellation flag shared by a background job (a scan or a query)
// and its owner. Safe to cancel and read from any thread.

#include <atomic>
#include <memory>

namespace mirelo {

class ScanToken {
public:
    void cancel() { cancelled_.store(true, std::memory_order_release); }
    bool isCancelled() const { return cancelled_.load(std::memory_order_acquire); }

    static std::shared_ptr<ScanToken> make() { return std::make_shared<ScanToken>(); }

private:
    std::atomic<bool> cancelled_{false};
};

} // namespace mirelo
