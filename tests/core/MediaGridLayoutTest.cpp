// The library grid's arithmetic: adaptive columns, card places, the cards
// a scrolled band meets, and paging by 240.

#include "layout/MediaGridLayout.h"

#include <gtest/gtest.h>

using namespace mirelo;

namespace {

constexpr double kCard = 184; // a 144-point thumbnail and two caption lines

TEST(MediaGridLayout, ColumnsAdaptBetween160And250PointsAndCentre)
{
    struct Row {
        double width;
        int columns;
        double columnWidth, firstX;
    };
    for (const Row& row : std::vector<Row>{
             {860, 4, 185.5, 32},  // 796 between the paddings
             {1180, 6, 171, 32},   // six of at least 160 fit, seven do not
             {422, 2, 170, 32},    //
             {300, 1, 236, 32},    // one column narrower than the maximum
             {400, 1, 250, 75},    // one at the maximum, centred
             {1000, 5, 172.8, 32}, //
             {50, 1, 0, 32},       // no room at all: one empty column
         }) {
        SCOPED_TRACE(row.width);
        const MediaGridLayout layout(row.width, kCard);
        EXPECT_EQ(layout.columns(), row.columns);
        EXPECT_NEAR(layout.columnWidth(), row.columnWidth, 1e-9);
        EXPECT_NEAR(layout.cardRect(0).x, row.firstX, 1e-9);
    }
}

TEST(MediaGridLayout, CardsFillRowsAndBandsFindTheirCards)
{
    const MediaGridLayout layout(860, kCard); // 4 columns, rows 206 points apart from y 8
    EXPECT_EQ(layout.cardRect(5), (RectF{32 + 185.5 + 18, 8 + 206, 185.5, kCard}));
    struct Band {
        double top, bottom;
        int built;
        std::pair<int, int> cards;
    };
    for (const Band& band : std::vector<Band>{
             {0, 900, 240, {0, 20}},  // rows 0 to 4 (the fifth starts at 832)
             {0, 832, 240, {0, 16}},  // a row starting exactly at the bottom is not met
             {191, 214, 240, {0, 4}}, // row 0 ends at 192
             {192, 214, 240, {}},     // the gap between rows 0 and 1: nothing
             {214, 215, 240, {4, 8}}, // the first line of row 1
             {0, 900, 10, {0, 10}},   // fewer built than the band holds
             {5000, 6000, 10, {}},    // past the last card
             {0, 900, 0, {}},
         }) {
        SCOPED_TRACE(std::to_string(band.top) + " " + std::to_string(band.bottom));
        EXPECT_EQ(layout.cardsBetween(band.top, band.bottom, band.built), band.cards);
    }
    // 10 cards: three rows; the progress row follows one row gap below.
    EXPECT_EQ(layout.contentHeight(10, false), 8 + 3 * kCard + 2 * 22 + 28);
    EXPECT_EQ(layout.progressRowRect(10), (RectF{32, 8 + 3 * (kCard + 22), 796, 32}));
    EXPECT_EQ(layout.contentHeight(10, true), layout.progressRowRect(10).y + 32 + 28);
}

// Groups of 3, 6 and 2 cards in 4 columns: each starts a row of its own
// under a 30-point header.
TEST(MediaGridLayout, GroupsStartRowsUnderTheirHeaders)
{
    MediaGridLayout layout(860, kCard);
    layout.setGroups({0, 3, 9}, 11);
    const double pitch = kCard + 22;
    EXPECT_EQ(layout.groupHeaderRect(0), (RectF{32, 8, 796, 30}));
    EXPECT_EQ(layout.cardRect(2).y, 8 + 30);
    EXPECT_EQ(layout.cardRect(3), (RectF{32, 8 + 30 + pitch + 30, 185.5, kCard})) << "a new row for the second group";
    EXPECT_EQ(layout.cardRect(7).y, 8 + 30 + pitch + 30 + pitch);
    EXPECT_EQ(layout.groupHeaderRect(2).y, 8 + 2 * 30 + 3 * pitch) << "a row, two rows, then the third header";
    EXPECT_EQ(layout.groupOf(8), 1);
    EXPECT_EQ(layout.contentHeight(11, false), layout.cardRect(10).y + kCard + 28);
    EXPECT_EQ(layout.progressRowRect(5).y, layout.cardRect(4).y + kCard + 22) << "only the first page's cards";
    struct Band {
        double top, bottom;
        std::pair<int, int> cards, groups;
    };
    for (const Band& band : std::vector<Band>{
             {0, 10, {}, {0, 1}},                               // the first header only
             {0, 8 + 30 + 1, {0, 3}, {0, 1}},                   // and the top of its row
             {8 + 30 + kCard, 8 + 30 + pitch + 30, {}, {0, 2}}, // the gap, then the second header
             {0, 5000, {0, 11}, {0, 3}},
         }) {
        SCOPED_TRACE(std::to_string(band.top) + " " + std::to_string(band.bottom));
        EXPECT_EQ(layout.cardsBetween(band.top, band.bottom, 11), band.cards);
        EXPECT_EQ(layout.groupsBetween(band.top, band.bottom, 11), band.groups);
    }
}

TEST(MediaGridLayout, PagesOf240)
{
    struct Step {
        int visible, built, next;
        bool progress;
    };
    // 500 visible: 240 and a progress row, then 480, then 500 and no row.
    EXPECT_EQ(MediaGridLayout::firstPage(500), 240);
    for (const Step& step : std::vector<Step>{{500, 240, 480, true},
                                              {500, 480, 500, true},
                                              {500, 500, 500, false},
                                              {240, 240, 240, false},
                                              {10, 10, 10, false},
                                              {0, 0, 0, false}}) {
        EXPECT_EQ(MediaGridLayout::showsProgressRow(step.built, step.visible), step.progress) << step.built;
        EXPECT_EQ(MediaGridLayout::nextPage(step.built, step.visible), step.next) << step.built;
    }
    EXPECT_EQ(MediaGridLayout::firstPage(240), 240);
    EXPECT_EQ(MediaGridLayout::firstPage(7), 7);
}

TEST(MediaGridLayout, KeyboardStepsStayInsideTheGrid)
{
    using Step = MediaGridLayout::Step;
    struct Case {
        int index;
        Step step;
        int count, expected;
    };
    // 4 columns, pages of 2 rows; 10 cards: rows 0–3, 4–7 and a short 8–9.
    for (const Case& c : std::vector<Case>{
             {5, Step::left, 10, 4},
             {0, Step::left, 10, 0},
             {5, Step::right, 10, 6},
             {9, Step::right, 10, 9},
             {5, Step::up, 10, 1},
             {2, Step::up, 10, 2},
             {1, Step::down, 10, 5},
             {6, Step::down, 10, 9},
             {9, Step::down, 10, 9},
             {9, Step::pageUp, 10, 1},
             {6, Step::pageUp, 10, 2},
             {1, Step::pageDown, 10, 9},
             {0, Step::pageDown, 10, 8},
             {5, Step::first, 10, 0},
             {5, Step::last, 10, 9},
             {-1, Step::down, 10, 0},
             {12, Step::left, 10, 0},
             {0, Step::right, 0, -1},
         }) {
        EXPECT_EQ(MediaGridLayout::stepped(c.index, c.step, c.count, 4, 2), c.expected)
            << c.index << " step " << int(c.step);
    }
}

} // namespace
