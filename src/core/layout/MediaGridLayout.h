#pragma once
// Where the library grid puts its cards: adaptive columns 160 to 250 points
// wide with 18 between them, rows 22 apart, the content centred and padded
// 32 points at the sides, 8 at the top and 28 at the bottom; and the paging
// that builds the first 240 items and 240 more each time the progress row
// below the last card comes into view. Grouped, each group starts a row of
// its own under a header band.

#include "layout/PlaneGeometry.h"

#include <utility>
#include <vector>

namespace mirelo {

class MediaGridLayout {
public:
    static constexpr double kMinimumColumn = 160, kMaximumColumn = 250, kColumnSpacing = 18, kRowSpacing = 22;
    static constexpr double kSidePadding = 32, kTopPadding = 8, kBottomPadding = 28;
    static constexpr double kProgressRowHeight = 32;
    static constexpr int kPageSize = 240;
    static constexpr double kGroupHeaderHeight = 30;

    // A grid `width` points wide whose cards are `cardHeight` tall.
    MediaGridLayout(double width, double cardHeight);

    // Groups of cards: the first index of each, ascending from 0, of `count` cards.
    void setGroups(std::vector<int> firsts, int count);
    bool grouped() const { return !firsts_.empty(); }
    // The header band above group `group`'s first row.
    RectF groupHeaderRect(int group) const;
    // The group holding card `index`.
    int groupOf(int index) const;
    // The first and one-past-last group whose header meets the band.
    std::pair<int, int> groupsBetween(double top, double bottom, int built) const;

    int columns() const { return columns_; }
    double columnWidth() const { return columnWidth_; }
    RectF cardRect(int index) const;
    // Below the last of `built` cards when more remain to be built.
    RectF progressRowRect(int built) const;
    double contentHeight(int built, bool progressRow) const;
    // The first and one-past-last of `built` cards that meet the band from
    // `top` to `bottom`; empty (first == last) when none does.
    std::pair<int, int> cardsBetween(double top, double bottom, int built) const;

    // How many of `visible` items are built at first, and after the
    // progress row came into view with `built` built.
    static int firstPage(int visible);
    static int nextPage(int built, int visible);
    static bool showsProgressRow(int built, int visible) { return built < visible; }

    // Where the keyboard focus goes from `index` among `count` cards laid
    // in `columns` columns, a page being `pageRows` rows: it stays inside
    // the grid, up and down keep the column, and a step down from above a
    // short last row lands on the last card. -1 when there are no cards;
    // the first card when nothing had the focus.
    enum class Step { left, right, up, down, pageUp, pageDown, first, last };
    static int stepped(int index, Step step, int count, int columns, int pageRows);

private:
    int rowsOf(int built) const { return built <= 0 ? 0 : (built + columns_ - 1) / columns_; }
    // The bottom of the last of `built` cards' row.
    double builtBottom(int built) const;

    int columns_ = 1;
    double available_ = 0; // the width between the side paddings
    double columnWidth_ = 0;
    double left_ = 0;
    double cardHeight_ = 0;
    std::vector<int> firsts_;
    std::vector<double> tops_; // of each group's header
};

} // namespace mirelo
