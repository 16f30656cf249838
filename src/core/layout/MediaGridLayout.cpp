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

void MediaGridLayout::setGroups(std::vector<int> firsts, int count)
{
    firsts_ = std::move(firsts);
    tops_.clear();
    if (firsts_.empty()) return;
    const double pitch = cardHeight_ + kRowSpacing;
    double top = kTopPadding;
    for (size_t g = 0; g < firsts_.size(); ++g) {
        tops_.push_back(top);
        const int size = (g + 1 < firsts_.size() ? firsts_[g + 1] : count) - firsts_[g];
        top += kGroupHeaderHeight + rowsOf(size) * pitch;
    }
}

int MediaGridLayout::groupOf(int index) const
{
    const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), index);
    return std::max(0, int(after - firsts_.begin()) - 1);
}

RectF MediaGridLayout::groupHeaderRect(int group) const
{
    if (group < 0 || group >= int(tops_.size())) return {};
    return {left_, tops_[size_t(group)], available_ - 2 * (left_ - kSidePadding), kGroupHeaderHeight};
}

RectF MediaGridLayout::cardRect(int index) const
{
    double top = kTopPadding;
    if (grouped()) {
        const int group = groupOf(index);
        index -= firsts_[size_t(group)];
        top = tops_[size_t(group)] + kGroupHeaderHeight;
    }
    const int row = index / columns_, column = index % columns_;
    return {left_ + column * (columnWidth_ + kColumnSpacing), top + row * (cardHeight_ + kRowSpacing), columnWidth_,
            cardHeight_};
}

double MediaGridLayout::builtBottom(int built) const
{
    if (built <= 0) return kTopPadding - kRowSpacing;
    const RectF last = cardRect(built - 1);
    return last.y + last.height;
}

RectF MediaGridLayout::progressRowRect(int built) const
{
    return {kSidePadding, builtBottom(built) + kRowSpacing, available_, kProgressRowHeight};
}

double MediaGridLayout::contentHeight(int built, bool progressRow) const
{
    double height = std::max(kTopPadding, builtBottom(built)) + kBottomPadding;
    if (progressRow) height += (built > 0 ? kRowSpacing : 0) + kProgressRowHeight;
    return height;
}

std::pair<int, int> MediaGridLayout::groupsBetween(double top, double bottom, int built) const
{
    if (!grouped() || built <= 0 || bottom <= top) return {0, 0};
    const int lastGroup = groupOf(built - 1) + 1;
    // The first group that ends below `top`: the one before the first starting below it.
    int first = int(std::upper_bound(tops_.begin(), tops_.begin() + lastGroup, top) - tops_.begin()) - 1;
    first = std::max(first, 0);
    const int end = int(std::lower_bound(tops_.begin() + first, tops_.begin() + lastGroup, bottom) - tops_.begin());
    return {first, std::max(first, end)};
}

std::pair<int, int> MediaGridLayout::cardsBetween(double top, double bottom, int built) const
{
    if (grouped()) {
        const auto [firstGroup, endGroup] = groupsBetween(top, bottom, built);
        int first = built, last = 0;
        for (int group = firstGroup; group < endGroup; ++group) {
            const int from = firsts_[size_t(group)];
            const int to = std::min(built, group + 1 < int(firsts_.size()) ? firsts_[size_t(group) + 1] : built);
            for (int row = from; row < to; row += columns_) {
                const RectF card = cardRect(row);
                if (card.y >= bottom || card.y + card.height <= top) continue;
                first = std::min(first, row);
                last = std::max(last, std::min(to, row + columns_));
            }
        }
        return first < last ? std::pair{first, last} : std::pair{0, 0};
    }
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
