#include "layout/MediaGridLayout.h"

#include <algorithm>
#include <cmath>

namespace mirelo {

MediaGridLayout::MediaGridLayout(double width, double cardHeight) : cardHeight_(std::max(0.0, cardHeight))
{
    const double available = available_ = std::max(0.0, width - 2 * kSidePadding);
    // As many columns of at least the minimum as fit, each growing to share
    // what is left, up to the maximum; the row is centred.
    columns_ = std::max(1, int(std::floor((available + kColumnSpacing) / (kMinimumColumn + kColumnSpacing))));
    columnWidth_ = std::clamp((available - (columns_ - 1) * kColumnSpacing) / columns_, 0.0, kMaximumColumn);
    const double used = columns_ * columnWidth_ + (columns_ - 1) * kColumnSpacing;
    left_ = kSidePadding + std::max(0.0, (available - used) / 2);
}

RectF MediaGridLayout::cardRect(int index) const
{
    const int row = index / columns_, column = index % columns_;
    return {left_ + column * (columnWidth_ + kColumnSpacing), kTopPadding + row * (cardHeight_ + kRowSpacing),
            columnWidth_, cardHeight_};
}

RectF MediaGridLayout::progressRowRect(int built) const
{
    const int rows = rowsOf(built);
    const double top = kTopPadding + rows * cardHeight_ + std::max(0, rows) * kRowSpacing;
    return {kSidePadding, top, available_, kProgressRowHeight};
}

double MediaGridLayout::contentHeight(int built, bool progressRow) const
{
    const int rows = rowsOf(built);
    double height = kTopPadding + rows * cardHeight_ + std::max(0, rows - 1) * kRowSpacing + kBottomPadding;
    if (progressRow) height += (rows > 0 ? kRowSpacing : 0) + kProgressRowHeight;
    return height;
}

std::pair<int, int> MediaGridLayout::cardsBetween(double top, double bottom, int built) const
{
    const int rows = rowsOf(built);
    if (rows == 0 || bottom <= top) return {0, 0};
    const double pitch = cardHeight_ + kRowSpacing;
    // A row meets the band when its card's top is above `bottom` and its bottom below `top`.
    const int firstRow = std::clamp(int(std::floor((top - kTopPadding - cardHeight_) / pitch)) + 1, 0, rows);
    const int endRow = std::clamp(int(std::ceil((bottom - kTopPadding) / pitch)), 0, rows);
    if (firstRow >= endRow) return {0, 0};
    return {firstRow * columns_, std::min(built, endRow * columns_)};
}

int MediaGridLayout::firstPage(int visible) { return std::clamp(visible, 0, kPageSize); }

int MediaGridLayout::nextPage(int built, int visible) { return std::clamp(built + kPageSize, 0, std::max(0, visible)); }

int MediaGridLayout::stepped(int index, Step step, int count, int columns, int pageRows)
{
    if (count <= 0) return -1;
    if (index < 0 || index >= count) return 0;
    columns = std::max(1, columns);
    const int page = columns * std::max(1, pageRows);
    const int last = count - 1;
    const bool rowBelow = index / columns < last / columns;
    switch (step) {
    case Step::left: return std::max(0, index - 1);
    case Step::right: return std::min(last, index + 1);
    case Step::up: return index >= columns ? index - columns : index;
    case Step::down: return rowBelow ? std::min(last, index + columns) : index;
    case Step::pageUp: return index >= page ? index - page : index % columns;
    case Step::pageDown: return std::min(last, index + page);
    case Step::first: return 0;
    case Step::last: return last;
    }
    return index;
}

} // namespace mirelo
