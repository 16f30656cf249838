#include "library/MediaFormats.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace mirelo;
using namespace mirelo::test;

namespace {

std::string packets(size_t size, std::initializer_list<size_t> offsets)
{
    std::string bytes(size, 'x');
    for (size_t offset : offsets) bytes[offset] = 0x47;
    return bytes;
}

} // namespace

TEST(MediaFormats, ExtensionsIgnoreCase)
{
    EXPECT_TRUE(MediaFormats::accepts("/p/Photo.JPG"));
    EXPECT_FALSE(MediaFormats::isVideo("/p/Photo.JPG"));
    EXPECT_TRUE(MediaFormats::accepts("/p/doc.PDF"));
    EXPECT_TRUE(MediaFormats::isVideo("/p/CLIP.MoV"));
    EXPECT_TRUE(MediaFormats::accepts("/p/CLIP.MoV"));
    EXPECT_FALSE(MediaFormats::accepts("/p/notes.txt"));
    EXPECT_FALSE(MediaFormats::accepts("/p/README"));
}

TEST(MediaFormats, RegistryAddsTypesBeyondTheLists)
{
    // shared-mime-info knows 3GP as video and XCF as an image.
    EXPECT_TRUE(MediaFormats::isVideo("/p/call.3gp"));
    EXPECT_TRUE(MediaFormats::accepts("/p/call.3gp"));
    EXPECT_TRUE(MediaFormats::accepts("/p/layers.xcf"));
    EXPECT_FALSE(MediaFormats::isVideo("/p/layers.xcf"));
    EXPECT_FALSE(MediaFormats::accepts("/p/song.mp3"));
    EXPECT_FALSE(MediaFormats::accepts("/p/archive.zip"));
}

TEST(MediaFormats, TransportStreamsAreToldByTheirContent)
{
    TempFolder folder;
    writeFile(folder / "clip.ts", packets(1024, {0, 188, 376, 564}));
    writeFile(folder / "m2ts.TS", packets(1024, {4, 196, 388, 580}));
    writeFile(folder / "fec.ts", packets(1024, {0, 204, 408, 612}));
    writeFile(folder / "short.ts", packets(600, {0, 204, 408})); // would need 612
    writeFile(folder / "app.ts", "export const answer = 42;\n");
    EXPECT_TRUE(MediaFormats::isVideo(folder / "clip.ts"));
    EXPECT_TRUE(MediaFormats::accepts(folder / "clip.ts"));
    EXPECT_TRUE(MediaFormats::isVideo(folder / "m2ts.TS"));
    EXPECT_TRUE(MediaFormats::isVideo(folder / "fec.ts"));
    EXPECT_FALSE(MediaFormats::isVideo(folder / "short.ts"));
    EXPECT_FALSE(MediaFormats::isVideo(folder / "app.ts"));
    EXPECT_FALSE(MediaFormats::accepts(folder / "app.ts"));
    EXPECT_FALSE(MediaFormats::accepts(folder / "missing.ts"));
    // Only the first 1024 bytes count.
    EXPECT_FALSE(MediaFormats::looksLikeTransportStream(packets(1100, {0, 188, 376, 1052}).substr(0, 1024)));
    EXPECT_FALSE(MediaFormats::looksLikeTransportStream(packets(565, {0, 188, 376, 564}).substr(0, 564)));
}
