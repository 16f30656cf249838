#include "ViewerPipeline.h"

#include "AppSettings.h"
#include "library/CacheKey.h"
#include "images/GaussianBlur.h"
#include "images/ImageDecoder.h"
#include "images/ImageMetadata.h"
#include "work/HandOff.h"

#include <QMetaObject>

#include <cmath>
#include <set>

namespace mirelo {

double ViewerPreferences::backgroundBlur()
{
    const QVariant stored = AppSettings::open()->value(AppSettings::kBackgroundBlur);
    if (!stored.isValid()) return AppSettings::kDefaultBlur;
    bool number = false;
    const double value = stored.toDouble(&number);
    if (!number || !std::isfinite(value)) return AppSettings::kDefaultBlur;
    return std::clamp(value, 0.0, 1.0);
}

ViewerPipeline& ViewerPipeline::shared()
{
    static ViewerPipeline* instance = new ViewerPipeline; // lives for the whole process
    return *instance;
}

ViewerPipeline::ViewerPipeline(int workers, QObject* parent)
    // A little behind the quick preview of the picture being opened; one
    // worker kept for the picture being waited for, prefetches on the others.
    : QObject(parent), queue_("Mirelo frames", workers, 2, high)
{
}

ViewerPipeline::~ViewerPipeline()
{
    *alive_ = false;
    cancel();
}

namespace {

std::string keyWith(const MediaItem& item, double softness, QSize box)
{
    return cacheKey(item) + ':' + decimalWithFraction(softness) + ':' + std::to_string(box.width()) + 'x' +
           std::to_string(box.height());
}

} // namespace

std::string ViewerPipeline::key(const MediaItem& item) const
{
    return keyWith(item, ViewerPreferences::backgroundBlur(), frameBox_);
}

// The frames made for another box stay until evicted.
void ViewerPipeline::setFrameBox(QSize box)
{
    frameBox_ = box.isEmpty() ? QSize() : box.boundedTo({kImageLimit, kImageLimit});
}

void ViewerPipeline::load(const MediaItem& item, int priority, Completion completion, bool detail)
{
    if (item.isVideo()) { // videos have no frames
        if (completion) completion(nullptr);
        return;
    }
    const double softness = ViewerPreferences::backgroundBlur();
    const QSize box = detail ? QSize() : frameBox_;
    const std::string key = keyWith(item, softness, box);
    if (std::optional<FrameRef> cached = cache_.find(key)) {
        if (completion) completion(*cached);
        return;
    }
    if (auto found = pending_.find(key); found != pending_.end()) {
        if (completion) {
            found->second->callbacks.push_back(std::move(completion));
            queue_.raise(found->second->job, veryHigh); // someone is waiting for it now
        }
        return;
    }
    auto entry = std::make_shared<Pending>();
    if (completion) entry->callbacks.push_back(std::move(completion));
    pending_[key] = entry;
    std::weak_ptr<Pending> weakEntry = entry;
    const std::string path(item.path());
    std::weak_ptr<std::atomic<bool>> alive = alive_;
    entry->job = queue_.add(
        [this, alive, weakEntry, path, softness, box, key](const PriorityWorkQueue::Job& job) {
            auto living = alive.lock();
            if (!living || !*living || job.isCancelled()) return;
            if (prepareHook_) prepareHook_(path);
            ++preparations_;
            FrameRef frame = prepare(path, softness, box);
            if (frame && !job.isCancelled()) cache_.insert(key, frame, frame->cost());
            QMetaObject::invokeMethod(
                this, handedOff([this, weakEntry, key, frame] { finish(key, weakEntry.lock(), frame); }),
                Qt::QueuedConnection);
        },
        priority);
}

void ViewerPipeline::finish(const std::string& key, const std::shared_ptr<Pending>& entry, FrameRef frame)
{
    auto found = pending_.find(key);
    if (!entry || found == pending_.end() || found->second != entry) return; // replaced or dropped
    pending_.erase(found);
    if (entry->job->isCancelled()) return;
    for (Completion& callback : entry->callbacks) callback(frame);
}

void ViewerPipeline::retainRequests(const MediaItems& items)
{
    std::set<std::string> kept;
    for (const MediaItem& item : items) kept.insert(key(item));
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (kept.count(it->first)) {
            ++it;
            continue;
        }
        queue_.cancel(it->second->job);
        it = pending_.erase(it);
    }
}

void ViewerPipeline::cancel()
{
    for (auto& [key, entry] : pending_) queue_.cancel(entry->job);
    pending_.clear();
}

FrameRef ViewerPipeline::prepare(const std::string& path, double blurStrength, QSize box)
{
    if (box.isEmpty()) box = {kImageLimit, kImageLimit};
    box = box.boundedTo({kImageLimit, kImageLimit});
    std::optional<DecodedImage> decoded = ImageDecoder::decode(path, std::max(box.width(), box.height()));
    if (!decoded) return nullptr;
    auto frame = std::make_shared<ViewerFrame>();
    frame->image = rasterize(decoded->image, box);
    if (frame->image.isNull()) return nullptr;
    for (auto& [label, value] : ImageMetadata::read(path))
        frame->metadata.emplace_back(QString::fromStdString(label), QString::fromStdString(value));
    QImage ambient = blur(frame->image, std::clamp(blurStrength, 0.0, 1.0) * kMaximumBlurRadius);
    if (!ambient.isNull()) frame->ambient = std::move(ambient);
    frame->pixels = decoded->pixels;
    frame->downsampled = decoded->pixels.longerSide() > kImageLimit;
    return frame;
}

QImage ViewerPipeline::rasterize(const QImage& image, int limit) { return rasterize(image, QSize(limit, limit)); }

QImage ViewerPipeline::rasterize(const QImage& image, QSize box)
{
    if (image.isNull() || box.isEmpty()) return {};
    QImage result = image;
    if (image.width() > box.width() || image.height() > box.height())
        result = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    switch (result.format()) { // formats that paint without a conversion
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGB888: return result;
    default: return result.convertToFormat(result.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    }
}

QImage ViewerPipeline::blur(const QImage& bitmap, double radius)
{
    if (bitmap.isNull()) return {};
    // Area-averaged to 720 pixels (smaller pictures are enlarged).
    const QSize size = bitmap.size().scaled(kAmbientSize, kAmbientSize, Qt::KeepAspectRatio).expandedTo({1, 1});
    const QImage opaque = bitmap.hasAlphaChannel() ? bitmap : bitmap.convertToFormat(QImage::Format_RGB32);
    const QImage base = opaque.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return radius > 0 ? GaussianBlur::apply(base, radius) : base;
}

} // namespace mirelo
