#include "ThumbnailStore.h"

#include "library/CacheKey.h"
#include "images/ImageDecoder.h"
#include "images/VideoPoster.h"
#include "work/HandOff.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QPointer>

#include <malloc.h>

#include <cmath>

namespace mirelo {

// The request

void ThumbnailRequest::resume(Completion completion, QImage image)
{
    if (!completion) return;
    QPointer<QObject> context = context_;
    if (!context) return;
    QMetaObject::invokeMethod(
        context, handedOff([completion = std::move(completion), image = std::move(image)] { completion(image); }),
        Qt::QueuedConnection);
}

bool ThumbnailRequest::install(Completion completion)
{
    std::unique_lock guard(lock_);
    if (cancelled_) {
        guard.unlock();
        resume(std::move(completion), QImage());
        return false;
    }
    continuation_ = std::move(completion);
    return true;
}

bool ThumbnailRequest::generate(const std::function<void(const std::atomic<bool>&)>& start)
{
    std::unique_lock guard(lock_);
    if (cancelled_) return false;
    generator_ = std::make_shared<std::atomic<bool>>(false);
    auto stop = generator_;
    guard.unlock(); // the frame is made outside the lock; a cancel sets `stop`
    start(*stop);
    return true;
}

void ThumbnailRequest::finish(QImage image)
{
    std::unique_lock guard(lock_);
    Completion completion = std::move(continuation_);
    continuation_ = nullptr;
    generator_.reset();
    if (cancelled_) image = QImage();
    guard.unlock();
    resume(std::move(completion), std::move(image));
}

void ThumbnailRequest::cancel()
{
    std::unique_lock guard(lock_);
    cancelled_ = true;
    Completion completion = std::move(continuation_);
    continuation_ = nullptr;
    auto generator = std::move(generator_);
    auto dequeue = std::move(dequeue_);
    dequeue_ = nullptr;
    guard.unlock();
    if (generator) *generator = true;
    if (dequeue) dequeue();
    resume(std::move(completion), QImage());
}

bool ThumbnailRequest::isCancelled()
{
    std::lock_guard guard(lock_);
    return cancelled_;
}

// The store

ThumbnailStore& ThumbnailStore::shared()
{
    static ThumbnailStore* instance = // lives for the whole process
        new ThumbnailStore(2, ThumbnailCache(ThumbnailCache::defaultRoot(), "mirelo-" MIRELO_VERSION));
    return *instance;
}

namespace {

// Decodes on several threads leave freed buffers in per-thread heaps: two
// heaps, and buffers of a megabyte or more mapped on their own (so that
// they go back to the system when freed instead of fragmenting a heap that
// two decodes share), keep the process near the cache plus the decodes in
// flight.
int limitedHeaps()
{
    static const int done = [] {
        const int heaps = mallopt(M_ARENA_MAX, 2);
        const int mapped = mallopt(M_MMAP_THRESHOLD, 1 << 20);
        return heaps && mapped ? 1 : 0;
    }();
    return done;
}

} // namespace

ThumbnailStore::ThumbnailStore(int workers, std::optional<ThumbnailCache> disk, QObject* parent)
    // Previews give way to the picture the viewer is preparing.
    : QObject(parent), disk_(std::move(disk)), queue_((limitedHeaps(), "Mirelo previews"), workers, 10)
{
    // A card is at most about 250 points across: the standard size that holds it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    previewPixels_ = ThumbnailCache::standardSize(int(std::lround(250 * (screen ? screen->devicePixelRatio() : 1.0))));
}

ThumbnailStore::~ThumbnailStore() = default;

QImage ThumbnailStore::make(const MediaItem& item, int pixels, const std::atomic<bool>* stop, QSize* original)
{
    if (item.isVideo()) return VideoPoster::frame(std::string(item.path()), pixels, stop);
    std::optional<DecodedImage> decoded = ImageDecoder::decode(std::string(item.path()), pixels);
    if (!decoded) return {};
    if (original) *original = QSize(int(decoded->pixels.width), int(decoded->pixels.height));
    return decoded->image;
}

std::shared_ptr<ThumbnailRequest> ThumbnailStore::load(const MediaItem& item, ThumbnailRequest::Completion completion)
{
    const std::string key = cacheKey(item);
    if (std::optional<QImage> cached = cache_.find(key)) {
        if (completion) completion(*cached);
        return nullptr;
    }
    auto request = std::make_shared<ThumbnailRequest>();
    request->context_ = this;
    if (!request->install(std::move(completion))) return request;
    PriorityWorkQueue::JobRef job = queue_.add(
        [this, request, item, key](const PriorityWorkQueue::Job&) {
            if (request->isCancelled()) return; // the caller already has its answer
            const std::string path(item.path());
            // A thumbnail on disk, ours or another program's, instead of a decode.
            QImage image = disk_ ? disk_->find(path, previewPixels_) : QImage();
            if (image.isNull() && !(disk_ && disk_->failedBefore(path))) {
                if (decodeHook_) decodeHook_(item);
                ++decodes_;
                bool stopped = false;
                QSize original;
                if (item.isVideo()) {
                    stopped = !request->generate(
                        [&](const std::atomic<bool>& stop) { image = make(item, previewPixels_, &stop); });
                } else {
                    image = make(item, previewPixels_, nullptr, &original);
                }
                // Remembered on disk for the next launch and for other programs;
                // a file that can't be previewed isn't tried again until it changes.
                if (disk_ && !request->isCancelled() && !stopped) {
                    if (!image.isNull())
                        disk_->store(path, image, previewPixels_, original);
                    else
                        disk_->storeFailure(path);
                }
            }
            if (!image.isNull() && !request->isCancelled()) cache_.insert(key, image, image.sizeInBytes());
            request->finish(std::move(image));
        // A full-size decode's buffers go back to the system, not to this
        // thread's heap, so memory stays near the cache plus two decodes.
        // (Under AddressSanitizer the C library's heaps are not in use.)
#if !defined(__SANITIZE_ADDRESS__)
            malloc_trim(0);
#endif
        },
        0);
    // A cancel takes the waiting work off the queue.
    {
        std::lock_guard guard(request->lock_);
        if (!request->cancelled_)
            request->dequeue_ = [this, weak = std::weak_ptr<PriorityWorkQueue::Job>(job)] {
                queue_.cancel(weak.lock());
            };
    }
    return request;
}

} // namespace mirelo
