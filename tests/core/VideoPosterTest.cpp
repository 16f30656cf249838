// Poster frames from videos the tests encode: size, the display matrix,
// damaged files and cancellation.

#include "VideoPoster.h"

#include "TestFiles.h"
#include "VideoFixtures.h"

#include <gtest/gtest.h>

using namespace mirelo;
using namespace mirelo::test;

namespace {

TEST(VideoPoster, TheFirstFrameFitsInsideTheSquare)
{
    TempFolder folder;
    ASSERT_TRUE(writeVideo(folder / "wide.mp4", 1280, 720));
    QImage poster = VideoPoster::frame(folder / "wide.mp4", 480);
    ASSERT_FALSE(poster.isNull());
    EXPECT_EQ(poster.size(), QSize(480, 270));
    EXPECT_TRUE(isRed(poster.pixelColor(10, 10)));
    EXPECT_TRUE(isBlue(poster.pixelColor(470, 260)));

    ASSERT_TRUE(writeVideo(folder / "small.mp4", 160, 96));
    EXPECT_EQ(VideoPoster::frame(folder / "small.mp4", 480).size(), QSize(160, 96)) << "never enlarged";
}

TEST(VideoPoster, TheDisplayMatrixTurnsItUpright)
{
    TempFolder folder;
    ASSERT_TRUE(writeVideo(folder / "portrait.mp4", 640, 352, 3, -90));
    QImage poster = VideoPoster::frame(folder / "portrait.mp4", 480);
    ASSERT_FALSE(poster.isNull());
    EXPECT_EQ(poster.size(), QSize(264, 480));
    // Turned a quarter clockwise: the stored top-left corner is at the top right.
    EXPECT_TRUE(isRed(poster.pixelColor(poster.width() - 10, 10)));
    EXPECT_TRUE(isBlue(poster.pixelColor(10, 10)));

    ASSERT_TRUE(writeVideo(folder / "upside-down.mp4", 320, 160, 3, 180));
    poster = VideoPoster::frame(folder / "upside-down.mp4", 480);
    ASSERT_EQ(poster.size(), QSize(320, 160));
    EXPECT_TRUE(isRed(poster.pixelColor(310, 150)));
}

TEST(VideoPoster, NoFrameMeansNoImage)
{
    TempFolder folder;
    writeFile(folder / "empty.mp4", "");
    writeFile(folder / "garbage.mov", std::string(10000, '\x42'));
    ASSERT_TRUE(writeVideo(folder / "good.mp4", 320, 160));
    const std::string bytes = readFile(folder / "good.mp4");
    writeFile(folder / "cut.mp4", bytes.substr(0, 200));
    for (const char* name : {"empty.mp4", "garbage.mov", "cut.mp4", "missing.mp4"})
        EXPECT_TRUE(VideoPoster::frame(folder / name, 480).isNull()) << name;

    std::atomic<bool> cancelled{true};
    EXPECT_TRUE(VideoPoster::frame(folder / "good.mp4", 480, &cancelled).isNull());
}

} // namespace
