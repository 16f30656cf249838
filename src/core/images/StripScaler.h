#pragma once
// Area-averages a picture that arrives row by row (a decoder's output) down
// to a smaller size, a strip at a time: while the decoder fills one strip,
// a second thread reduces the one before, so the reduction costs little
// more than the decode and only two strips of the large picture are held.
// Bands of strips can be decoded side by side, each with its own scaler.

#include <QImage>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace mirelo {

// The result and how its rows divide into strips. A picture that needs no
// reduction is one strip decoded straight into the result.
class StripPlan {
public:
    StripPlan(QSize source, QSize target);

    bool valid() const { return !result_.isNull(); }
    bool reduces() const { return source_ != target_; }
    QSize source() const { return source_; }
    QSize target() const { return target_; }
    int strips() const { return int(outputRows_.size()) - 1; }
    int firstInputRow(int strip) const { return inputRows_[size_t(strip)]; }
    int inputCount(int strip) const { return inputRows_[size_t(strip) + 1] - inputRows_[size_t(strip)]; }
    int firstOutputRow(int strip) const { return outputRows_[size_t(strip)]; }
    int outputCount(int strip) const { return outputRows_[size_t(strip) + 1] - outputRows_[size_t(strip)]; }
    QImage& result() { return result_; }
    // A row of the result, safe to write from any band's thread (different rows).
    uchar* resultRow(int y) const { return bits_ + stride_ * y; }

private:
    static constexpr int kStripRows = 256; // of the result

    QSize source_, target_;
    QImage result_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    std::vector<int> outputRows_, inputRows_;
};

// Reduces the strips `first` to `end` (exclusive) of a plan, in order.
class StripScaler {
public:
    StripScaler(StripPlan& plan, int first, int end);
    ~StripScaler();
    StripScaler(const StripScaler&) = delete;
    StripScaler& operator=(const StripScaler&) = delete;

    // Where row `line` of `strip` is decoded to; waits while the strip's
    // buffer is still being reduced. Null when memory ran out.
    uchar* row(int strip, int line);
    // The strip's rows are all decoded.
    void submit(int strip);
    // Waits for the strips handed over so far and ends the second thread.
    void finish();

private:
    struct Slot {
        QImage pixels;
        bool busy = false;
    };

    void run();
    void reduce(int strip);

    StripPlan& plan_;
    int tallest_ = 0;
    Slot slots_[2];
    std::vector<int> queue_;
    bool done_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
};

} // namespace mirelo
