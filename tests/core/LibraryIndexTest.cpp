#include "library/LibraryIndex.h"
#include "library/MediaSort.h"

#include <gtest/gtest.h>

using namespace mirelo;

namespace {

MediaItem item(const std::string& path, int64_t bytes = 1) { return MediaItem(path, bytes, 100, false); }

std::vector<std::string> paths(const MediaItems& items)
{
    std::vector<std::string> out;
    for (const auto& i : items) out.emplace_back(i.path());
    return out;
}

} // namespace

TEST(LibraryIndex, Containment)
{
    EXPECT_TRUE(LibraryIndex::contains("/Users/a/Photos", "/Users/a/Photos"));
    EXPECT_TRUE(LibraryIndex::contains("/Users/a/Photos/x/y.jpg", "/Users/a/Photos/"));
    EXPECT_FALSE(LibraryIndex::contains("/Users/a/Photos 2/x.jpg", "/Users/a/Photos"));
    EXPECT_FALSE(LibraryIndex::contains("/Users/a", "/Users/a/Photos"));
    EXPECT_TRUE(LibraryIndex::contains("/anything/at/all", "/"));
    EXPECT_TRUE(LibraryIndex::contains("/", "/"));
    EXPECT_TRUE(LibraryIndex::contains("/a/./b/../c.jpg", "/a/x/.."));
    // Canonically equivalent names are the same folder.
    EXPECT_TRUE(LibraryIndex::contains("/Cafe\xCC\x81/x.jpg", "/Caf\xC3\xA9"));
}

TEST(LibraryIndex, Remap)
{
    EXPECT_EQ(LibraryIndex::remap("/A/B/c.jpg", "/A/B", "/A/Z"), "/A/Z/c.jpg");
    EXPECT_EQ(LibraryIndex::remap("/A/B", "/A/B", "/A/Z"), "/A/Z");
    EXPECT_EQ(LibraryIndex::remap("/A/B 2/c.jpg", "/A/B", "/A/Z"), "/A/B 2/c.jpg");
    EXPECT_EQ(LibraryIndex::remap("/A/B/c.jpg", "/", "/mnt"), "/mnt/A/B/c.jpg");
    EXPECT_EQ(LibraryIndex::remap("/Cafe\xCC\x81/x.jpg", "/Caf\xC3\xA9", "/Bar"), "/Bar/x.jpg");
}

TEST(LibraryIndex, ReplaceDropsOnlyWhatTheScanCovered)
{
    MediaItems existing{item("/R/a.jpg"), item("/R/sub/b.jpg"), item("/Other/c.jpg"), item("/R 2/d.jpg")};
    // Shallow scan: only direct children of the root are its responsibility.
    EXPECT_EQ(paths(LibraryIndex::merging({}, existing, {"/R"}, true, false, {})),
              (std::vector<std::string>{"/R/sub/b.jpg", "/Other/c.jpg", "/R 2/d.jpg"}));
    // Deep scan with a separately indexed subfolder.
    EXPECT_EQ(paths(LibraryIndex::merging({item("/R/new.jpg")}, existing, {"/R/"}, true, true, {"/R/sub"})),
              (std::vector<std::string>{"/R/sub/b.jpg", "/Other/c.jpg", "/R 2/d.jpg", "/R/new.jpg"}));
    EXPECT_EQ(LibraryIndex::merging({}, existing, {}, true, true, {}).size(), 4);
    EXPECT_EQ(LibraryIndex::merging({}, existing, {"/"}, true, true, {}).size(), 0);
}

TEST(LibraryIndex, MergingWithoutReplaceOnlyAddsAndUpdates)
{
    MediaItems existing{item("/R/b.jpg", 1), item("/R/a.jpg", 1), item("/R/a.jpg", 2)}; // the later duplicate wins
    auto merged = LibraryIndex::merging({item("/R/b.jpg", 9), item("/R/c.jpg")}, existing, {"/R"}, false, true, {});
    EXPECT_EQ(paths(merged), (std::vector<std::string>{"/R/a.jpg", "/R/b.jpg", "/R/c.jpg"}));
    EXPECT_EQ(merged[0].bytes(), 2);
    EXPECT_EQ(merged[1].bytes(), 9);

    // The same rules when the library is already in name order (the usual case).
    MediaItems ordered{item("/R/a.jpg", 1), item("/R/a.jpg", 2), item("/R/img2.jpg"), item("/R/img10.jpg")};
    auto inserted = LibraryIndex::merging({item("/R/img3.jpg"), item("/R/0.jpg"), item("/R/z.jpg")}, ordered, {"/R"},
                                          false, true, {});
    EXPECT_EQ(paths(inserted), (std::vector<std::string>{"/R/0.jpg", "/R/a.jpg", "/R/img2.jpg", "/R/img3.jpg",
                                                         "/R/img10.jpg", "/R/z.jpg"}));
    EXPECT_EQ(inserted[1].bytes(), 2);
}
