#include "library/LibraryFile.h"
#include "library/LibraryStore.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <random>

using namespace mirelo;
using namespace mirelo::test;

namespace {

LibrarySnapshot sampleSnapshot()
{
    LibrarySnapshot snapshot;
    snapshot.items = {MediaItem("/Users/a/Pictures/Café.JPG", 4'200'000, 612345678.123456789, false),
                      MediaItem("/Users/a/Movies/clip 1.mov", 0, kDistantPast, true)};
    snapshot.folders = {"/Users/a/Pictures/", "/Users/a/Movies"};
    snapshot.indexedFolders = {"/Users/a/Pictures"};
    snapshot.expandedFolders = {"/Users/a", "/Users/a/Pictures/Trips"};
    snapshot.sort = "Largest first";
    snapshot.section = "Images";
    snapshot.format = "JPG";
    snapshot.search = "été \"quoted\" \\ ✓";
    return snapshot;
}

// Expects reading to fail with a message naming the file, and the file to stay as it was.
void expectRejected(const std::string& contents, const std::string& fragment)
{
    TempFolder folder;
    const std::string path = folder / "library.json";
    writeFile(path, contents);
    LibraryStore store(path);
    try {
        store.load();
        ADD_FAILURE() << "read succeeded: " << contents;
    } catch (const LibraryError& error) {
        std::string message = error.what();
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(fragment), std::string::npos) << message;
    }
    EXPECT_EQ(readFile(path), contents);
}

const std::string kValidTail =
    R"("folders":[],"indexedFolders":[],"expandedFolders":[],"sort":"Name","section":"All media","format":"All formats","search":"")";

} // namespace

TEST(LibraryFile, RoundTripsExactly)
{
    TempFolder folder;
    LibrarySnapshot snapshot = sampleSnapshot();
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> dates(-1e9, 1e9);
    for (int i = 0; i < 500; ++i)
        snapshot.items.append(
            MediaItem("/r/" + std::to_string(i) + ".png", int64_t(random() >> 14), dates(random), i % 3 == 0));
    LibraryFile::write(folder / "library.json", snapshot);
    EXPECT_EQ(LibraryFile::read(folder / "library.json"), snapshot);

    std::string text = readFile(folder / "library.json");
    EXPECT_EQ(text.find("selectedFolder"), std::string::npos);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_NE(text.find(R"("file:///Users/a/Pictures/")"), std::string::npos);
    EXPECT_NE(text.find(R"({"url":"file:///Users/a/Pictures/Caf%C3%A9.JPG","bytes":4200000,)"), std::string::npos);

    snapshot.selectedFolder = "/Users/a/Pictures";
    LibraryFile::write(folder / "library.json", snapshot);
    EXPECT_EQ(LibraryFile::read(folder / "library.json").selectedFolder, "/Users/a/Pictures");
}

TEST(LibraryFile, AcceptsAnyKeyOrderUnknownKeysAndNullFolder)
{
    TempFolder folder;
    writeFile(
        folder / "library.json",
        R"({"search":"x","future":{"a":[1,{"b":null}]},"selectedFolder":null,"items":[{"isVideo":true,"modified":1.5,)"
        R"("bytes":3,"extra":[],"url":"file:///v/a.mp4"}],"version":1,"folders":[],"indexedFolders":[],)"
        R"("expandedFolders":[],"sort":"Name","section":"Videos","format":"All formats"})");
    auto snapshot = LibraryFile::read(folder / "library.json");
    ASSERT_EQ(snapshot.items.size(), 1);
    EXPECT_EQ(snapshot.items[0], MediaItem("/v/a.mp4", 3, 1.5, true));
    EXPECT_FALSE(snapshot.selectedFolder);
    EXPECT_EQ(snapshot.search, "x");
    EXPECT_EQ(snapshot.section, "Videos");
}

// A size no file can have loses nothing else: the item is kept with its size
// unknown, and the next scan reads the real one.
TEST(LibraryFile, ImpossibleSizesAreKeptAsUnknown)
{
    TempFolder folder;
    std::string items;
    for (const char* bytes : {"9223372036854775807", "-5", "18446744073709551615", "1125899906842624"})
        items += std::string(items.empty() ? "" : ",") + R"({"url":"file:///p/)" + bytes + R"(.jpg","bytes":)" + bytes +
                 R"(,"modified":1,"isVideo":false})";
    writeFile(folder / "library.json", R"({"version":1,"items":[)" + items + "]," + kValidTail + "}");
    const MediaItems read = LibraryFile::read(folder / "library.json").items;
    ASSERT_EQ(read.size(), 4);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(read[i].bytes(), 0) << read[i].name();
    EXPECT_EQ(read[3].bytes(), MediaItem::kMostBytes);
}

TEST(LibraryFile, DamagedFilesFailWholeAndStayUntouched)
{
    const std::string valid =
        R"({"version":1,"items":[{"url":"file:///a.jpg","bytes":1,"modified":2,"isVideo":false}],)" + kValidTail + "}";
    expectRejected("", "is empty");
    expectRejected("{}", "“version” is missing");
    expectRejected(valid.substr(0, valid.size() / 2), "is damaged");
    expectRejected(valid + "x", "is damaged");
    expectRejected("[]", "does not hold a JSON object");
    expectRejected(
        R"({"version":1,"items":[],"folders":[],"indexedFolders":[],"expandedFolders":[],"sort":"Name","section":"All media","format":"All formats"})",
        "“search” is missing");
    expectRejected(R"({"version":1,"items":[{"url":"file:///a.jpg","bytes":"1","modified":2,"isVideo":false}],)" +
                       kValidTail + "}",
                   "“bytes” of item 1 has the wrong type");
    expectRejected(R"({"version":1,"items":[{"url":"file:///a.jpg","bytes":1.5,"modified":2,"isVideo":false}],)" +
                       kValidTail + "}",
                   "wrong type");
    expectRejected(R"({"version":1,"items":[{"url":"file:///a.jpg","modified":2,"isVideo":false}],)" + kValidTail + "}",
                   "item 1 has no “bytes”");
    expectRejected(R"({"version":1,"items":[{"url":"http://a/b.jpg","bytes":1,"modified":2,"isVideo":false}],)" +
                       kValidTail + "}",
                   "“http://a/b.jpg” is not a file URL");
    expectRejected(R"({"version":1,"items":{},)" + kValidTail + "}", "“items” has the wrong type");
    expectRejected(R"({"version":1,"items":[],"sort":5,)" + kValidTail.substr(kValidTail.find("\"folders\"")) + "}",
                   "wrong type");
    expectRejected(R"({"version":"1","items":[],)" + kValidTail + "}", "“version” has the wrong type");
    expectRejected("{\"version\":1,\"items\":[],\"search\":\"\xFF\"," + kValidTail.substr(0, kValidTail.size() - 12) +
                       "}",
                   "is damaged");
    // Numbers of any length are read exactly or refused, never read past.
    const std::string zeros(400, '0');
    for (const char* number : {"1e99999", "9e308", "-17976931348623159e292"})
        expectRejected(R"({"version":1,"items":[{"url":"file:///a.jpg","bytes":1,"modified":)" + std::string(number) +
                           R"(,"isVideo":false}],)" + kValidTail + "}",
                       "is damaged");
    {
        TempFolder folder;
        writeFile(folder / "library.json", R"({"version":1,"extra":-0.)" + zeros +
                                               R"(1,"items":[{"url":"file:///a.jpg","bytes":)" + "1" +
                                               std::string(30, '0') + R"(,"modified":0.)" + zeros + "125e401" +
                                               R"(,"isVideo":false}],)" + kValidTail + "}");
        EXPECT_THROW(LibraryFile::read(folder / "library.json"), LibraryError) << "bytes beyond 64 bits";
        writeFile(folder / "library.json", R"({"version":1,"extra":-0.)" + zeros +
                                               R"(1,"items":[{"url":"file:///a.jpg","bytes":1,"modified":0.)" + zeros +
                                               "125e401" + R"(,"isVideo":false}],)" + kValidTail + "}");
        EXPECT_EQ(LibraryFile::read(folder / "library.json").items[0].modified(), 1.25);
    }
    // Nested far deeper than any library: refused, never followed down the stack.
    const std::string deep(100'000, '[');
    expectRejected(deep, "does not hold a JSON object");
    expectRejected(R"({"version":1,"extra":)" + deep, "nested too deeply");
    expectRejected(R"({"version":1,"extra":)" + std::string(100'000, '{'), "is damaged");
}

TEST(LibraryFile, OtherVersionsAreRefusedByName)
{
    expectRejected(R"({"version":2,"items":[],)" + kValidTail + "}",
                   "is not in a format this version of Mirelo can read");
    expectRejected(R"({"version":2,"shape":"new"})", "is not in a format this version of Mirelo can read");
}
