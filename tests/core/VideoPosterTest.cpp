// Poster frames from videos the tests encode: size, the display matrix,
// damaged files and cancellation.

#include "images/VideoPoster.h"

#include "TestFiles.h"
#include "LocalListener.h"
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

TEST(VideoPoster, OnlySelfContainedLocalVideosPlay)
{
    TempFolder folder;
    LocalListener listener;
    ASSERT_TRUE(writeVideo(folder / "good.mp4", 320, 160));
    writeFile(folder / "holiday.mp4",
              "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n" + listener.url("a.ts") + "\n#EXT-X-ENDLIST\n");
    writeFile(folder / "local.mp4",
              "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nfile://" + folder / "good.mp4" + "\n#EXT-X-ENDLIST\n");
    writeFile(folder / "joined.mkv", "ffconcat version 1.0\nfile '" + folder / "good.mp4" + "'\n");
    writeFile(folder / "stream.mov", "v=0\no=- 0 0 IN IP4 127.0.0.1\ns=x\nc=IN IP4 127.0.0.1\nt=0 0\n"
                                     "m=video 5004 RTP/AVP 96\na=rtpmap:96 H264/90000\n");
    writeFile(folder / "manifest.mp4", "<?xml version=\"1.0\"?><MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" "
                                       "type=\"static\"><Period><AdaptationSet><Representation><BaseURL>" +
                                           listener.url("v.mp4") +
                                           "</BaseURL></Representation></AdaptationSet>"
                                           "</Period></MPD>");
    EXPECT_TRUE(VideoPoster::playable(folder / "good.mp4"));
    for (const char* name : {"holiday.mp4", "local.mp4", "joined.mkv", "stream.mov", "manifest.mp4", "missing.mp4"}) {
        EXPECT_FALSE(VideoPoster::playable(folder / name)) << name;
        EXPECT_TRUE(VideoPoster::frame(folder / name, 480).isNull()) << name;
    }
    EXPECT_FALSE(listener.reached());
}

} // namespace
