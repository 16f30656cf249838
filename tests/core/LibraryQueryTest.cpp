#include "library/LibraryQuery.h"

#include <gtest/gtest.h>

#include <thread>

using namespace mirelo;

namespace {

MediaItem item(const std::string& path, int64_t bytes = 1, Date modified = 100, bool video = false)
{
    return MediaItem(path, bytes, modified, video);
}

LibraryQueryInput inputOf(const MediaItems& items)
{
    LibraryQueryInput input;
    input.items = items;
    return input;
}

LibraryQueryResult run(LibraryQueryInput input)
{
    ScanToken token;
    auto result = LibraryQuery::run(input, token);
    EXPECT_TRUE(result);
    return result ? std::move(*result) : LibraryQueryResult{};
}

std::vector<std::string> names(const MediaItems& items)
{
    std::vector<std::string> out;
    for (const auto& i : items) out.emplace_back(i.name());
    return out;
}

const MediaItems kLibrary{
    item("/Photos/big.jpg", 10'000'000), item("/Photos/almost.JPG", 9'999'999),
    item("/Photos/scan.pdf", 500),       item("/Photos/clip.mov", 2000, 50, true),
    item("/Photos/b.jpeg", 7),           item("/Photos 2/x.jpg", 3),
    item("/Photos/sub/Café.JPG", 11),    item("/photos/x.jpg", 13),
    item("/Photos/IMG_2021.jpg", 17),    item("/Photos/README", 19),
};

} // namespace

TEST(LibraryQuery, SectionsAndStorage)
{
    LibraryQueryInput input = inputOf(kLibrary);
    input.folder = "/Photos";
    input.section = LibraryMediaFilter::large;
    EXPECT_EQ(names(run(input).visible), std::vector<std::string>{"big.jpg"});

    input.section = LibraryMediaFilter::images;
    auto images = run(input);
    EXPECT_EQ(images.visible.size(), 7); // PDFs count as images, videos do not
    EXPECT_EQ(images.storage.otherBytes, 500);
    EXPECT_EQ(images.storage.videoBytes, 0);
    EXPECT_EQ(images.storage.imageBytes, 10'000'000 + 9'999'999 + 7 + 11 + 17 + 19);

    input.section = LibraryMediaFilter::videos;
    auto videos = run(input);
    EXPECT_EQ(names(videos.visible), std::vector<std::string>{"clip.mov"});
    EXPECT_EQ(videos.storage.totalBytes(), 2000);
    // Formats and totals describe the whole folder scope, whatever is filtered.
    EXPECT_EQ(videos.formats, (std::vector<std::string>{"", "JPEG", "JPG", "MOV", "PDF"}));
    EXPECT_EQ(videos.totalBytes, 10'000'000 + 9'999'999 + 500 + 2000 + 7 + 11 + 17 + 19);
    EXPECT_EQ(videos.scopedItems.size(), 8);
    EXPECT_TRUE(videos.visibleIDs.contains("/Photos/clip.mov"));
    EXPECT_FALSE(videos.visibleIDs.contains("/Photos/big.jpg"));
}

TEST(LibraryQuery, TotalsStayAtTheirLargestInsteadOfOverflowing)
{
    MediaItems huge;
    for (int i = 0; i < 9000; ++i) huge.append(item("/p/" + std::to_string(i) + ".jpg", MediaItem::kMostBytes));
    for (bool nameOrder : {true, false}) {
        LibraryQueryInput input = inputOf(huge);
        input.itemsInNameOrder = nameOrder;
        input.sort = nameOrder ? MediaSort::name : MediaSort::largest;
        const LibraryQueryResult result = run(input);
        EXPECT_EQ(result.totalBytes, INT64_MAX);
        EXPECT_EQ(result.storage.totalBytes(), INT64_MAX);
    }
}

TEST(LibraryQuery, FolderScopeFormatAndSearch)
{
    LibraryQueryInput input = inputOf(kLibrary);
    input.folder = "/Photos/";
    input.format = "JPG";
    EXPECT_EQ(names(run(input).visible),
              (std::vector<std::string>{"almost.JPG", "big.jpg", "Café.JPG", "IMG_2021.jpg"}));
    input.format = "jpg"; // labels are upper case
    EXPECT_TRUE(run(input).visible.isEmpty());

    input.format = std::string(kAllFormats);
    input.search = "cafe";
    EXPECT_EQ(names(run(input).visible), std::vector<std::string>{"Café.JPG"});
    input.search = "2021";
    EXPECT_EQ(names(run(input).visible), std::vector<std::string>{"IMG_2021.jpg"});
    input.folder.reset();
    input.search = "photos"; // folder names are not searched
    EXPECT_TRUE(run(input).visible.isEmpty());
    input.search = " ";
    EXPECT_TRUE(run(input).visible.isEmpty()); // not trimmed

    input.search.clear();
    input.folder = "/";
    auto all = run(input);
    EXPECT_EQ(all.visible.size(), kLibrary.size());
    EXPECT_EQ(all.scopedItems, kLibrary);
}

TEST(LibraryQuery, SortsAndTieBreaks)
{
    MediaItems items{item("/a/img10.jpg", 5, 30), item("/b/img2.jpg", 5, 30),          item("/a/img2.jpg", 5, 10),
                     item("/a/zed.png", 9, 20),   item("/a/old.gif", 1, kDistantPast), item("/a/mid.JPG", 1, 25)};
    LibraryQueryInput input = inputOf(items);
    auto order = [&](MediaSort sort) {
        input.sort = sort;
        std::vector<std::string> out;
        for (const auto& i : run(input).visible) out.emplace_back(i.path());
        return out;
    };
    EXPECT_EQ(order(MediaSort::name), (std::vector<std::string>{"/a/img2.jpg", "/b/img2.jpg", "/a/img10.jpg",
                                                                "/a/mid.JPG", "/a/old.gif", "/a/zed.png"}));
    EXPECT_EQ(order(MediaSort::largest), (std::vector<std::string>{"/a/zed.png", "/a/img2.jpg", "/b/img2.jpg",
                                                                   "/a/img10.jpg", "/a/mid.JPG", "/a/old.gif"}));
    EXPECT_EQ(order(MediaSort::smallest), (std::vector<std::string>{"/a/mid.JPG", "/a/old.gif", "/a/img2.jpg",
                                                                    "/b/img2.jpg", "/a/img10.jpg", "/a/zed.png"}));
    EXPECT_EQ(order(MediaSort::newest), (std::vector<std::string>{"/b/img2.jpg", "/a/img10.jpg", "/a/mid.JPG",
                                                                  "/a/zed.png", "/a/img2.jpg", "/a/old.gif"}));
    EXPECT_EQ(order(MediaSort::format), (std::vector<std::string>{"/a/old.gif", "/a/img2.jpg", "/b/img2.jpg",
                                                                  "/a/img10.jpg", "/a/mid.JPG", "/a/zed.png"}));
}

TEST(LibraryQuery, ALibraryInNameOrderKeepsItsOrder)
{
    const MediaItems shuffled{item("/a/img10.jpg"), item("/b/img2.jpg"), item("/a/zed.png"),
                              item("/a/Img2.jpg"),  item("/a/mid.JPG"),  item("/c/img2.jpg")};
    EXPECT_FALSE(MediaSorts::inNameOrder(shuffled));
    const MediaItems ordered = MediaSorts::ordered(shuffled, MediaSort::name);
    EXPECT_TRUE(MediaSorts::inNameOrder(ordered));
    LibraryQueryInput input = inputOf(ordered);
    input.search = "img";
    const MediaItems sorted = run(input).visible;
    input.itemsInNameOrder = true;
    const MediaItems kept = run(input).visible;
    EXPECT_EQ(kept, sorted);
    EXPECT_EQ(kept.size(), 4);
}

TEST(LibraryQuery, ASearchFiltersTheUnsearchedListOfTheSamePlace)
{
    LibraryQueryInput input = inputOf(kLibrary);
    input.folder = "/Photos";
    input.sort = MediaSort::largest;
    const LibraryQueryResult unsearched = run(input);
    ASSERT_TRUE(unsearched.unsearched);
    EXPECT_FALSE(unsearched.scopeReused);
    for (const char* search : {"a", "É", "jpg", "", "nothing"}) {
        input.search = search;
        input.unsearched = nullptr;
        const LibraryQueryResult full = run(input);
        EXPECT_FALSE(full.unsearched && *search) << "only an empty search gives its list";
        input.unsearched = unsearched.unsearched;
        const LibraryQueryResult within = run(input);
        EXPECT_TRUE(within.scopeReused);
        EXPECT_EQ(names(within.visible), names(full.visible)) << search;
        EXPECT_EQ(within.storage, full.storage) << search;
        EXPECT_EQ(within.visibleIDs.size(), full.visible.size());
        for (const MediaItem& shown : full.visible) EXPECT_TRUE(within.visibleIDs.contains(shown.path()));
    }
}

TEST(LibraryQuery, CancelledQueriesGiveNothing)
{
    ScanToken cancelled;
    cancelled.cancel();
    EXPECT_FALSE(LibraryQuery::run(inputOf(kLibrary), cancelled));

    // Cancelled while it runs: either nothing, or a result completed before the cancel.
    MediaItems many;
    for (int i = 0; i < 200'000; ++i) many.append(item("/m/" + std::to_string(i * 7919 % 200'000) + ".jpg", i % 1000));
    for (int delayMicroseconds : {0, 200, 2000, 20000}) {
        ScanToken token;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds));
            token.cancel();
        });
        LibraryQueryInput input = inputOf(many);
        input.sort = MediaSort::largest;
        auto result = LibraryQuery::run(input, token);
        canceller.join();
        if (result) {
            EXPECT_EQ(result->visible.size(), many.size());
        }
    }
}

namespace {

// The duplicates section: groups that still hold two files after the
// filters, the copy to keep first, ordered by what they would free; the
// storage is what letting go of the extra copies frees.
TEST(LibraryQuery, TheDuplicatesSectionShowsGroupsThatStillHoldTwoFiles)
{
    auto groups = std::make_shared<DuplicateGroups>();
    groups->groups = {{{"/A/keep.jpg", "/B/keep copy.jpg", "/C/keep 2.jpg"}},
                      {{"/A/clip.mov", "/B/clip.mov"}},
                      {{"/A/lone.png", "/Z/gone.png"}}};
    groups->reindex();
    LibraryQueryInput input =
        inputOf({item("/A/keep.jpg", 100), item("/B/keep copy.jpg", 100), item("/C/keep 2.jpg", 100),
                 item("/A/clip.mov", 5000, 1, true), item("/B/clip.mov", 5000, 1, true), item("/A/lone.png", 7),
                 item("/A/other.jpg", 100)});
    input.section = LibraryMediaFilter::duplicates;
    input.sort = MediaSort::largest;
    input.duplicates = groups;
    LibraryQueryResult result = run(input);
    EXPECT_EQ(names(result.visible),
              (std::vector<std::string>{"clip.mov", "clip.mov", "keep.jpg", "keep copy.jpg", "keep 2.jpg"}))
        << "a group with one file left is no group";
    ASSERT_EQ(result.groups.size(), 2u);
    EXPECT_EQ(result.groups[0].freed, 5000);
    EXPECT_EQ(result.groups[1].first, 2);
    EXPECT_EQ(result.groups[1].freed, 200);
    EXPECT_EQ(result.storage.videoBytes, 5000);
    EXPECT_EQ(result.storage.imageBytes, 200);
    EXPECT_FALSE(result.unsearched) << "a search can split a group: never reused";

    input.search = "copy";
    EXPECT_TRUE(run(input).groups.empty());
    input.search = "keep";
    input.folder = "/B";
    EXPECT_TRUE(run(input).visible.isEmpty());
    input.folder.reset();
    input.search = "";
    input.format = "JPG";
    input.items.removeAt(0); // the keeper went to the Trash
    result = run(input);
    ASSERT_EQ(result.groups.size(), 1u);
    EXPECT_FALSE(result.groups[0].keeperShown);
    EXPECT_EQ(result.groups[0].freed, 100);
}

} // namespace
