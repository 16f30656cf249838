#pragma once
// Prepares viewer frames off the main thread: two workers, the image being
// shown ahead of prefetches, requests for the same file coalesced, a cache
// bounded by bitmap bytes and frame count, and everything dropped when the
// viewer closes. Frames are as large as the screen shows a fitted picture,
// so that it is drawn pixel for pixel; the 4,096-pixel detail frame is made
// when the user zooms past that. All calls but prepare, rasterize and blur
// are main-thread.

#include "work/CostCache.h"
#include "library/MediaItem.h"
#include "work/PriorityWorkQueue.h"
#include "ViewerFrame.h"

#include <QObject>
#include <QSize>

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
    // Eight fitted frames of a 2,560-pixel screen, or three detail frames.
    static constexpr int64_t kCostLimit = 112 * 1024 * 1024;
    static constexpr size_t kCountLimit = 8;
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
    // With `detail`, the frame is the 4,096-pixel one, else the fitted one.
    void load(const MediaItem& item, int priority, Completion completion = nullptr, bool detail = false);
    // Where a fitted picture is shown, in device pixels: frames fit in it
    // (and in kImageLimit). An empty box: frames of kImageLimit.
    void setFrameBox(QSize box);
    QSize frameBox() const { return frameBox_; }
    void retainRequests(const MediaItems& items);
    void cancel();
    // At quit: waits for the preparations running, starts no more.
    void finishWork() { queue_.stop(); }
    std::string key(const MediaItem& item) const;

    // The picture fitted in `box` (an empty box: kImageLimit on its longer side).
    static FrameRef prepare(const std::string& path, double blurStrength, QSize box = {});
    // Scaled down to `limit` on its longer side (never enlarged), RGBA.
    static QImage rasterize(const QImage& image, int limit);
    // Scaled down to fit in `box` (never enlarged), RGBA.
    static QImage rasterize(const QImage& image, QSize box);
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
    QSize frameBox_;
    std::map<std::string, std::shared_ptr<Pending>> pending_;
    std::function<void(const std::string&)> prepareHook_;
    std::atomic<int> preparations_{0};
    std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
    PriorityWorkQueue queue_;
};

} // namespace mirelo
