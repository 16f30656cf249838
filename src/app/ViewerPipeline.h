#pragma once
// Prepares viewer frames off the main thread: two workers, the image being
// shown ahead of prefetches, requests for the same file coalesced, a cache
// bounded by bitmap bytes and frame count, and everything dropped when the
// viewer closes. All calls but prepare, rasterize and blur are main-thread.

#include "work/CostCache.h"
#include "library/MediaItem.h"
#include "work/PriorityWorkQueue.h"
#include "ViewerFrame.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace mirelo {

struct ViewerPreferences {
    // The backdrop's softness, 0…1 ("backgroundBlur"; 0.1 when unset or not a number).
    static double backgroundBlur();
};

class ViewerPipeline : public QObject {
    Q_OBJECT
public:
    static constexpr int64_t kCostLimit = 192 * 1024 * 1024;
    static constexpr size_t kCountLimit = 12;
    static constexpr int kImageLimit = 4096;
    static constexpr int kAmbientSize = 720;
    static constexpr double kMaximumBlurRadius = 72;
    enum Priority { veryLow = -8, low = -4, normal = 0, high = 4, veryHigh = 8 };

    using Completion = std::function<void(FrameRef)>;

    static ViewerPipeline& shared();
    explicit ViewerPipeline(int workers = 2, QObject* parent = nullptr);
    ~ViewerPipeline() override;

    // `completion` runs once on the main thread with the frame or nothing
    // (maybe before load returns), unless the request is cancelled first.
    void load(const MediaItem& item, int priority, Completion completion = nullptr);
    void retainRequests(const MediaItems& items);
    void cancel();
    // At quit: waits for the preparations running, starts no more.
    void finishWork() { queue_.stop(); }
    static std::string key(const MediaItem& item);

    static FrameRef prepare(const std::string& path, double blurStrength);
    // Scaled down to `limit` on its longer side (never enlarged), RGBA.
    static QImage rasterize(const QImage& image, int limit);
    // 720 pixels on the longer side, blurred with edges extended so that the
    // borders keep their colour; a null image on failure.
    static QImage blur(const QImage& bitmap, double radius);

    // For tests: runs on the worker before each preparation.
    void setPrepareHook(std::function<void(const std::string& path)> hook) { prepareHook_ = std::move(hook); }
    int preparations() const { return preparations_.load(); }
    size_t pendingCount() const { return pending_.size(); }
    CostCache<FrameRef>& cache() { return cache_; }

private:
    struct Pending {
        PriorityWorkQueue::JobRef job;
        std::vector<Completion> callbacks;
    };
    void finish(const std::string& key, const std::shared_ptr<Pending>& entry, FrameRef frame);

    CostCache<FrameRef> cache_{kCostLimit, kCountLimit};
    std::map<std::string, std::shared_ptr<Pending>> pending_;
    std::function<void(const std::string&)> prepareHook_;
    std::atomic<int> preparations_{0};
    std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
    PriorityWorkQueue queue_;
};

} // namespace mirelo
