// The viewer's arithmetic: fitting, zooming about a point, panning limits,
// held-key zooming and the filmstrip's layout.

#include "layout/ViewerGeometry.h"

#include <gtest/gtest.h>

using namespace mirelo;

namespace {

ViewerGeometry geometry(SizeF image, SizeF viewport)
{
    ViewerGeometry g;
    g.imageSize = image;
    g.viewport = viewport;
    return g;
}

TEST(ViewerGeometry, FitsLeavingMarginsAndNeverEnlarges)
{
    EXPECT_DOUBLE_EQ(geometry({4000, 3000}, {1000, 800}).fitScale(), 0.21);
    EXPECT_DOUBLE_EQ(geometry({200, 100}, {1000, 800}).fitScale(), 1.0);
    EXPECT_DOUBLE_EQ(geometry({0, 100}, {1000, 800}).fitScale(), 1.0);
    EXPECT_DOUBLE_EQ(geometry({100, 0}, {1000, 800}).fitScale(), 1.0);

    ViewerGeometry g = geometry({4000, 3000}, {1000, 800});
    g.zoom(2, {100, 100});
    g.fit();
    EXPECT_DOUBLE_EQ(g.scale, 0.21);
    EXPECT_EQ(g.offset, PointF{});
    EXPECT_TRUE(g.fitting);
    EXPECT_EQ(g.center(), (PointF{500, 400}));
}

TEST(ViewerGeometry, ZoomsAboutThePointAndWithinLimits)
{
    ViewerGeometry g = geometry({4000, 3000}, {1000, 800});
    g.zoom(100, {0, 0});
    EXPECT_DOUBLE_EQ(g.scale, 32);
    g.zoom(0, {0, 0});
    EXPECT_DOUBLE_EQ(g.scale, 0.001);

    g = geometry({4000, 3000}, {1000, 800});
    g.zoom(2, g.center());
    EXPECT_EQ(g.offset, PointF{});
    EXPECT_FALSE(g.fitting);

    // The image point under the pointer stays there.
    g = geometry({4000, 3000}, {1000, 800});
    g.scale = 1;
    g.zoom(2, {700, 500}); // 200, 100 right of and below the centre
    EXPECT_DOUBLE_EQ(g.offset.x, 200 - 200 * 2.0);
    EXPECT_DOUBLE_EQ(g.offset.y, 100 - 100 * 2.0);

    // Offsets stop where the image's edge meets the viewport's.
    g.pan(-1e6, 1e6);
    EXPECT_DOUBLE_EQ(g.offset.x, -(4000 * 2.0 - 1000) / 2);
    EXPECT_DOUBLE_EQ(g.offset.y, (3000 * 2.0 - 800) / 2);
}

TEST(ViewerGeometry, ANarrowImageStaysCentredWhenPanned)
{
    ViewerGeometry g = geometry({400, 3000}, {1000, 800});
    g.scale = 1;
    g.pan(300, -50);
    EXPECT_DOUBLE_EQ(g.offset.x, 0);
    EXPECT_DOUBLE_EQ(g.offset.y, -50);
    EXPECT_FALSE(g.fitting);
}

TEST(KeyboardZoom, TapsHoldsStallsAndSecondKeys)
{
    KeyboardZoomState zoom(0.65);
    EXPECT_DOUBLE_EQ(zoom.begin(1, 24, true, 1.0, 0), 1.0) << "auto-repeat";
    EXPECT_DOUBLE_EQ(zoom.begin(0, 24, false, 1.0, 0), 1.0) << "no direction";
    EXPECT_FALSE(zoom.isActive());
    EXPECT_EQ(zoom.direction(), 0);

    double scale = zoom.begin(1, 24, false, 1.0, 0);
    EXPECT_DOUBLE_EQ(scale, 1.01);
    for (int tick = 1; tick <= 30; ++tick) scale = zoom.advance(scale, tick / 60.0);
    EXPECT_NEAR(scale, 1.335, 1e-9);
    EXPECT_NEAR(zoom.advance(scale, 1.5) - scale, 0.65 / 15, 1e-12) << "a stall counts as one frame";
    EXPECT_DOUBLE_EQ(zoom.advance(scale, 1.0), scale) << "time going back counts as nothing";

    // A second key takes over without another tap step; releasing it gives
    // the first key back.
    scale = 2.0;
    EXPECT_DOUBLE_EQ(zoom.begin(-1, 27, false, scale, 2.0), 2.0);
    EXPECT_EQ(zoom.direction(), -1);
    EXPECT_EQ(zoom.held.size(), 2u);
    zoom.end(27, 2.5);
    EXPECT_EQ(zoom.direction(), 1);
    EXPECT_EQ(zoom.lastTime, 2.5);
    zoom.end(24, 3.0);
    EXPECT_FALSE(zoom.lastTime);
    EXPECT_DOUBLE_EQ(zoom.advance(2.0, 4.0), 2.0);

    EXPECT_DOUBLE_EQ(zoom.begin(-1, 27, false, 0.001, 5), 0.001) << "clamped";
    zoom.cancel();
    EXPECT_FALSE(zoom.isActive());
    EXPECT_FALSE(zoom.lastTime);
}

TEST(Filmstrip, CentresEveryItem)
{
    FilmstripGeometry empty(100, -3);
    EXPECT_EQ(empty.viewportWidth, 126);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.contentWidth(), 126);
    EXPECT_EQ(empty.centredOffset(5), 0);

    FilmstripGeometry strip(800, 10);
    EXPECT_EQ(strip.leadingInset(), 337);
    EXPECT_EQ(strip.contentWidth(), 800 + 142 * 9);
    EXPECT_EQ(strip.frame(2), (RectF{337 + 284, 11, 126, 83}));
    EXPECT_EQ(strip.centredOffset(12), 1278);
    EXPECT_EQ(strip.centredOffset(-1), 0);
    EXPECT_EQ(strip.centredOffset(3), 426);

    // Only the items meeting a rectangle: a few, however long the list.
    const struct {
        double minX, maxX;
        std::pair<int, int> items;
    } bands[] = {{0, 800, {0, 5}}, {426, 1226, {0, 8}}, {2000, 2400, {0, 0}}, {1600, 2400, {8, 10}}, {-500, 0, {0, 0}}};
    for (const auto& [minX, maxX, items] : bands) EXPECT_EQ(strip.itemsBetween(minX, maxX), items) << minX;
    EXPECT_EQ(FilmstripGeometry(800, 1'000'000).itemsBetween(142'000, 142'800), (std::pair{997, 1005}));
    EXPECT_EQ(empty.itemsBetween(0, 1000), (std::pair{0, 0}));
}

} // namespace
