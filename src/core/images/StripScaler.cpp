#include "images/StripScaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <system_error>

namespace mirelo {

StripPlan::StripPlan(QSize source, QSize target) : source_(source), target_(target)
{
    result_ = QImage(target, QImage::Format_RGB32);
    if (result_.isNull()) return;
    bits_ = result_.bits();
    stride_ = result_.bytesPerLine();
    if (!reduces()) {
        outputRows_ = inputRows_ = {0, target.height()};
        return;
    }
    for (int y = 0; y < target.height(); y += kStripRows) outputRows_.push_back(y);
    outputRows_.push_back(target.height());
    for (int y : outputRows_) inputRows_.push_back(int(std::lround(double(y) * source.height() / target.height())));
}

StripScaler::StripScaler(StripPlan& plan, int first, int end) : plan_(plan)
{
    if (!plan.reduces()) return;
    for (int strip = first; strip < end; ++strip) tallest_ = std::max(tallest_, plan.inputCount(strip));
    if (end - first > 1) {
        try {
            worker_ = std::thread([this] { run(); });
        } catch (const std::system_error&) { // no second thread: strips are reduced as they come
        }
    }
}

StripScaler::~StripScaler() { finish(); }

uchar* StripScaler::row(int strip, int line)
{
    if (!plan_.reduces()) return plan_.resultRow(plan_.firstInputRow(strip) + line);
    Slot& slot = slots_[strip % 2];
    if (line == 0) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !slot.busy; });
        if (slot.pixels.isNull()) slot.pixels = QImage(plan_.source().width(), tallest_, QImage::Format_RGB32);
    }
    return slot.pixels.isNull() ? nullptr : slot.pixels.scanLine(line);
}

void StripScaler::submit(int strip)
{
    if (!plan_.reduces()) return;
    if (!worker_.joinable()) {
        reduce(strip);
        return;
    }
    std::lock_guard lock(mutex_);
    slots_[strip % 2].busy = true;
    queue_.push_back(strip);
    changed_.notify_all();
}

void StripScaler::finish()
{
    if (!worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }
    worker_.join();
}

void StripScaler::run()
{
    for (;;) {
        int strip = -1;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return done_ || !queue_.empty(); });
            if (queue_.empty()) return;
            strip = queue_.front();
            queue_.erase(queue_.begin());
        }
        reduce(strip);
        std::lock_guard lock(mutex_);
        slots_[strip % 2].busy = false;
        changed_.notify_all();
    }
}

void StripScaler::reduce(int strip)
{
    const QImage& pixels = slots_[strip % 2].pixels;
    if (pixels.isNull()) return;
    const QImage rows(pixels.constBits(), pixels.width(), plan_.inputCount(strip), pixels.bytesPerLine(),
                      QImage::Format_RGB32);
    const int first = plan_.firstOutputRow(strip), count = plan_.outputCount(strip);
    const QImage part = rows.scaled(plan_.target().width(), count, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const size_t bytes = size_t(plan_.target().width()) * 4;
    for (int y = 0; y < part.height() && y < count; ++y)
        std::memcpy(plan_.resultRow(first + y), part.constScanLine(y), bytes);
}

} // namespace mirelo
