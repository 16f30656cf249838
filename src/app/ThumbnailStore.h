#pragma once
// Small previews of media items for the grid and the filmstrip: at most two
// decoded at a time, a cache in memory bounded by cost for what is on
// screen, the desktop's thumbnail cache on disk behind it (shared with file
// managers and other viewers, lasting across launches), and requests a
// caller can cancel (a card scrolled away) so that cancelled work never
// starts.

#include "images/ThumbnailCache.h"
#include "work/CostCache.h"
#include "library/MediaItem.h"
#include "work/PriorityWorkQueue.h"

#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace mirelo {

// One cache miss, shared by the waiting caller, the queued work and the
// cancellation. Its completion runs exactly once, on the main thread.
class ThumbnailRequest {
public:
    using Completion = std::function<void(QImage)>;

    // False when already cancelled (the completion then gets nothing).
    bool install(Completion completion);
    // Starts a video frame under the lock unless cancelled; `stop` is how a
    // later cancel stops it.
    bool generate(const std::function<void(const std::atomic<bool>& stop)>& start);
    void finish(QImage image);
    void cancel();
    bool isCancelled();

private:
    friend class ThumbnailStore;
    void resume(Completion completion, QImage image);
    QObject* context_ = nullptr; // delivers on its thread
    std::mutex lock_;
    bool cancelled_ = false;
    Completion continuation_;
    std::shared_ptr<std::atomic<bool>> generator_; // a video frame in flight
    std::function<void()> dequeue_;                // takes the waiting work off the queue
};

class ThumbnailStore : public QObject {
    Q_OBJECT
public:
    static constexpr int64_t kCostLimit = 0x6000000; // 96 MiB, of the previews' real bytes

    // The application's store, over the desktop's thumbnail cache.
    static ThumbnailStore& shared();
    // `disk`: the thumbnail cache on disk, or none (previews are then made
    // every time they leave memory).
    explicit ThumbnailStore(int workers = 2, std::optional<ThumbnailCache> disk = std::nullopt,
                            QObject* parent = nullptr);
    ~ThumbnailStore() override;

    // A cached preview is handed over at once and no request is returned;
    // otherwise `completion` runs later on the main thread with the preview,
    // or a null image when none can be made or the request was cancelled.
    std::shared_ptr<ThumbnailRequest> load(const MediaItem& item, ThumbnailRequest::Completion completion);

    // The size of a preview, `pixels` on its longer side, made on the
    // calling thread; `original` is the picture's own size when known.
    static QImage make(const MediaItem& item, int pixels, const std::atomic<bool>* stop = nullptr,
                       QSize* original = nullptr);
    // A preview's longer side: the standard thumbnail size that holds a
    // card on this screen (read when the store is made), 256 or 512.
    int previewPixels() const { return previewPixels_; }
    const std::optional<ThumbnailCache>& disk() const { return disk_; }

    CostCache<QImage>& cache() { return cache_; }
    // At quit: waits for the previews being made, starts no more.
    void finishWork() { queue_.stop(); }
    // For tests: runs on the worker before each decode (not before a
    // thumbnail read from disk).
    void setDecodeHook(std::function<void(const MediaItem&)> hook) { decodeHook_ = std::move(hook); }
    int decodes() const { return decodes_.load(); }
    size_t waitingCount() { return queue_.waitingCount(); }

private:
    CostCache<QImage> cache_{kCostLimit, SIZE_MAX};
    std::function<void(const MediaItem&)> decodeHook_;
    std::atomic<int> decodes_{0};
    std::optional<ThumbnailCache> disk_;
    int previewPixels_;
    PriorityWorkQueue queue_;
};

} // namespace mirelo
