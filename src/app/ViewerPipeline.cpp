#include "ViewerPipeline.h"

#include "AppSettings.h"
#include "CacheKey.h"
#include "ImageDecoder.h"
#include "ImageMetadata.h"
#include "VipsImage.h"

#include <QMetaObject>

#include <cmath>
#include <set>
#include <vector>

namespace mirelo {

double ViewerPreferences::backgroundBlur()
{
    const QVariant stored = AppSettings::open()->value(AppSettings::kBackgroundBlur);
    if (!stored.isValid()) return 0.1;
    bool number = false;
    const double value = stored.toDouble(&number);
    if (!number || !std::isfinite(value)) return 0.1;
    return std::clamp(value, 0.0, 1.0);
}

ViewerPipeline& ViewerPipeline::shared()
{
    static ViewerPipeline* instance = new ViewerPipeline; // lives for the whole process
    return *instance;
}

ViewerPipeline::ViewerPipeline(int workers, QObject* parent)
    : QObject(parent), queue_("Mirelo frames", workers)
{
}

ViewerPipeline::~ViewerPipeline()
{
    *alive_ = false;
    cancel();
}

namespace {

std::string keyWith(const MediaItem& item, double softness) { return cacheKey(item) + ':' + decimalWithFraction(softness); }

} // namespace

std::string ViewerPipeline::key(const MediaItem& item) { return keyWith(item, ViewerPreferences::backgroundBlur()); }

void ViewerPipeline::load(const MediaItem& item, int priority, Completion completion)
{
    if (item.isVideo()) { // videos have no frames
        if (completion) completion(nullptr);
        return;
    }
    const double softness = ViewerPreferences::backgroundBlur();
    const std::string key = keyWith(item, softness);
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
        [this, alive, weakEntry, path, softness, key](const PriorityWorkQueue::Job& job) {
            auto living = alive.lock();
            if (!living || !*living || job.isCancelled()) return;
            if (prepareHook_) prepareHook_(path);
            ++preparations_;
            FrameRef frame = prepare(path, softness);
            if (frame && !job.isCancelled()) cache_.insert(key, frame, frame->cost());
            QMetaObject::invokeMethod(
                this, [this, weakEntry, key, frame] { finish(key, weakEntry.lock(), frame); }, Qt::QueuedConnection);
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

FrameRef ViewerPipeline::prepare(const std::string& path, double blurStrength)
{
    std::optional<DecodedImage> decoded = ImageDecoder::decode(path, kImageLimit);
    if (!decoded) return nullptr;
    auto frame = std::make_shared<ViewerFrame>();
    frame->image = rasterize(decoded->image, kImageLimit);
    if (frame->image.isNull()) return nullptr;
    for (auto& [label, value] : ImageMetadata::read(path))
        frame->metadata.emplace_back(QString::fromStdString(label), QString::fromStdString(value));
    QImage ambient = blur(frame->image, std::clamp(blurStrength, 0.0, 1.0) * kMaximumBlurRadius);
    if (!ambient.isNull()) frame->ambient = std::move(ambient);
    frame->pixels = decoded->pixels;
    frame->downsampled = decoded->pixels.longerSide() > kImageLimit;
    return frame;
}

QImage ViewerPipeline::rasterize(const QImage& image, int limit)
{
    if (image.isNull() || limit < 1) return {};
    QImage result = image;
    if (std::max(image.width(), image.height()) > limit)
        result = image.scaled(limit, limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return result.format() == QImage::Format_RGBA8888 || result.format() == QImage::Format_RGB888 ||
                   result.format() == QImage::Format_RGBX8888
               ? result
               : result.convertToFormat(result.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
}

namespace {

// The average of each `factor` × `factor` block: a fast first step for
// large reductions, on 8-bit RGB or RGBA.
QImage boxShrink(const QImage& source, int factor)
{
    if (factor <= 1) return source;
    const QImage image = source.hasAlphaChannel() ? source.convertToFormat(QImage::Format_RGBA8888)
                                                  : source.convertToFormat(QImage::Format_RGB888);
    const int channels = image.hasAlphaChannel() ? 4 : 3;
    const int width = image.width() / factor, height = image.height() / factor;
    QImage result(std::max(width, 1), std::max(height, 1), image.format());
    // Rows are summed first (a plain loop the compiler vectorises), then
    // each run of `factor` pixels across.
    const size_t rowBytes = size_t(image.width()) * channels;
    std::vector<uint32_t> columns(rowBytes);
    const uint32_t area = uint32_t(factor) * uint32_t(factor);
    for (int y = 0; y < result.height(); ++y) {
        std::fill(columns.begin(), columns.end(), 0);
        for (int row = y * factor; row < (y + 1) * factor; ++row) {
            const uchar* line = image.constScanLine(row);
            uint32_t* sum = columns.data();
            for (size_t i = 0; i < rowBytes; ++i) sum[i] += line[i];
        }
        uchar* out = result.scanLine(y);
        for (int x = 0; x < result.width(); ++x) {
            const uint32_t* block = &columns[size_t(x) * factor * channels];
            for (int c = 0; c < channels; ++c) {
                uint32_t total = 0;
                for (int i = 0; i < factor; ++i) total += block[i * channels + c];
                out[x * channels + c] = uchar((total + area / 2) / area);
            }
        }
    }
    return result;
}

// Runs the operations so far once, so that later ones do not recompute them.
VipsRef materialised(VipsRef image)
{
    if (!image) return image;
    return VipsRef(vips_image_copy_memory(image.get()));
}

} // namespace

QImage ViewerPipeline::blur(const QImage& bitmap, double radius)
{
    if (bitmap.isNull() || !startVips()) return {};
    const int longer = std::max(bitmap.width(), bitmap.height());
    const int factor = std::max(1, longer / kAmbientSize);
    VipsRef source = fromQImage(boxShrink(bitmap, factor));
    if (!source) return {};
    const double scale = double(kAmbientSize) / std::max(source.width(), source.height());
    VipsRef base;
    if (vips_resize(source.get(), base.out(), scale, nullptr) != 0) return {};
    base = materialised(std::move(base));
    if (!base) return {};
    if (radius <= 0) return toQImage(base.get());

    // A wide blur runs on a smaller copy: it looks the same and costs a
    // fraction. Edges are repeated outwards first so borders keep their colour.
    const double shrink = std::max(1.0, radius / 6);
    const double sigma = radius / shrink;
    VipsRef work;
    if (shrink > 1) {
        if (vips_resize(base.get(), work.out(), 1 / shrink, nullptr) != 0) return {};
        work = materialised(std::move(work));
        if (!work) return {};
    } else {
        g_object_ref(base.get());
        *work.out() = base.get();
    }
    const int margin = int(std::ceil(3 * sigma)) + 1;
    VipsRef extended, blurred, cropped;
    if (vips_embed(work.get(), extended.out(), margin, margin, work.width() + 2 * margin, work.height() + 2 * margin,
                   "extend", VIPS_EXTEND_COPY, nullptr) != 0 ||
        vips_gaussblur(extended.get(), blurred.out(), sigma, nullptr) != 0 ||
        vips_extract_area(blurred.get(), cropped.out(), margin, margin, work.width(), work.height(), nullptr) != 0)
        return {};
    if (shrink == 1) return toQImage(cropped.get());
    cropped = materialised(std::move(cropped));
    VipsRef grown;
    if (!cropped || vips_resize(cropped.get(), grown.out(), double(base.width()) / cropped.width(), "vscale",
                                double(base.height()) / cropped.height(), nullptr) != 0)
        return {};
    return toQImage(grown.get());
}

} // namespace mirelo
