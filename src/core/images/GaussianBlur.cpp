#include "images/GaussianBlur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace mirelo {

namespace {

constexpr int kChannels = 4;

// A box of `width` pixels (odd) along a row of `count` pixels, `step`
// bytes apart, from `in` to `out`. The edges repeat outwards.
void boxLine(const uchar* in, uchar* out, int count, size_t step, int width)
{
    const int reach = width / 2;
    const uint64_t scale = (uint64_t(1) << 32) / uint64_t(width);
    uint32_t sum[kChannels] = {};
    auto at = [&](int i) { return in + size_t(std::clamp(i, 0, count - 1)) * step; };
    for (int i = -reach; i <= reach; ++i)
        for (int c = 0; c < kChannels; ++c) sum[c] += at(i)[c];
    for (int x = 0; x < count; ++x) {
        uchar* target = out + size_t(x) * step;
        for (int c = 0; c < kChannels; ++c) target[c] = uchar((sum[c] * scale + (uint64_t(1) << 31)) >> 32);
        const uchar* entering = at(x + reach + 1);
        const uchar* leaving = at(x - reach);
        for (int c = 0; c < kChannels; ++c) sum[c] += uint32_t(entering[c]) - leaving[c];
    }
}

// The same box down every column at once: running sums of whole rows,
// which keeps to the rows' order in memory.
void boxColumns(const QImage& in, QImage& out, int width)
{
    const int rows = in.height(), bytes = in.width() * kChannels, reach = width / 2;
    const uint64_t scale = (uint64_t(1) << 32) / uint64_t(width);
    std::vector<uint32_t> sum(size_t(bytes), 0);
    auto row = [&](int y) { return in.constScanLine(std::clamp(y, 0, rows - 1)); };
    for (int y = -reach; y <= reach; ++y) {
        const uchar* line = row(y);
        for (int i = 0; i < bytes; ++i) sum[size_t(i)] += line[i];
    }
    for (int y = 0; y < rows; ++y) {
        uchar* target = out.scanLine(y);
        for (int i = 0; i < bytes; ++i) target[i] = uchar((sum[size_t(i)] * scale + (uint64_t(1) << 31)) >> 32);
        const uchar* entering = row(y + reach + 1);
        const uchar* leaving = row(y - reach);
        for (int i = 0; i < bytes; ++i) sum[size_t(i)] += uint32_t(entering[i]) - leaving[i];
    }
}

// The widths of the three boxes whose succession matches `sigma`.
void boxWidths(double sigma, int widths[3])
{
    // Three boxes of widths w or w + 2 whose variances add up to sigma².
    const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    lower = std::max(lower, 1);
    const double wider = (12 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4);
    const int narrow = std::clamp(int(std::lround(wider)), 0, 3);
    for (int i = 0; i < 3; ++i) widths[i] = i < narrow ? lower : lower + 2;
}

} // namespace

QImage GaussianBlur::apply(const QImage& image, double sigma)
{
    if (image.isNull() || !(sigma > 0)) return image;
    QImage a =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    QImage b(a.size(), a.format());
    if (a.isNull() || b.isNull()) return {};
    int widths[3];
    boxWidths(sigma, widths);
    for (int width : widths) {
        for (int y = 0; y < a.height(); ++y) boxLine(a.constScanLine(y), b.scanLine(y), a.width(), kChannels, width);
        boxColumns(b, a, width);
    }
    return a;
}

} // namespace mirelo
