// Identical files on a real disk (copies, hard links, files that differ
// only past their edges, vanished ones), the fingerprint cache that lets a
// second search read nothing, pictures' hashes and their groups.

#include "duplicates/DuplicateKeeper.h"
#include "duplicates/ExactDuplicates.h"
#include "duplicates/FingerprintCache.h"
#include "duplicates/SimilarPhotos.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>

#include <map>
#include <random>

using namespace mirelo;
using namespace mirelo::test;

namespace {

std::string randomBytes(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = char(random());
    return bytes;
}

ExactDuplicates::Options with(FingerprintCache* cache, int threads = 4)
{
    ExactDuplicates::Options options;
    options.cache = cache;
    options.threads = threads;
    return options;
}

class DuplicatesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string photo = randomBytes(300'000, 1);
        writeFile(folder / "a/photo.jpg", photo);
        writeFile(folder / "b/photo copy.jpg", photo);
        ASSERT_EQ(::link((folder / "a/photo.jpg").c_str(), (folder / "a/linked.jpg").c_str()), 0);
        std::string middle = photo;
        middle[150'000] ^= 1; // alike at both ends
        writeFile(folder / "c/edited.jpg", middle);
        std::string start = photo;
        start[0] ^= 1;
        writeFile(folder / "c/other.jpg", start);
        writeFile(folder / "small1.png", "tiny");
        writeFile(folder / "small2.png", "tiny");
        writeFile(folder / "empty1.png", "");
        writeFile(folder / "empty2.png", "");
        for (const char* name : {"a/photo.jpg", "b/photo copy.jpg", "a/linked.jpg", "c/edited.jpg", "c/other.jpg"})
            files.push_back({folder / name, 300'000});
        for (const char* name : {"small1.png", "small2.png", "empty1.png", "empty2.png"})
            files.push_back({folder / name, int64_t(readFile(folder / name).size())});
        files.push_back({folder / "gone.png", 4}); // in the library, no longer on disk
    }

    TempFolder folder;
    std::vector<ExactDuplicates::File> files;
};

TEST_F(DuplicatesTest, CopiesAreFoundByTheirBytesAndLinksAreOneFile)
{
    const ExactDuplicates::Result result = ExactDuplicates::find(files, {});
    ASSERT_EQ(result.groups.size(), 2u);
    const ExactGroup& photos = result.groups[0];
    EXPECT_EQ(photos.size, 300'000);
    EXPECT_EQ(photos.paths, (std::vector<std::string>{folder / "a/photo.jpg", folder / "b/photo copy.jpg"}))
        << "the edited copy differs past its edges, the other at its start";
    EXPECT_EQ(photos.links, (std::vector<std::vector<std::string>>{{folder / "a/linked.jpg"}, {}}));
    EXPECT_EQ(result.groups[1].paths, (std::vector<std::string>{folder / "small1.png", folder / "small2.png"}))
        << "empty files are left out";
    EXPECT_EQ(result.unreadable, std::vector<std::string>{folder / "gone.png"});
    EXPECT_FALSE(result.stopped);
}

TEST_F(DuplicatesTest, ASecondSearchReadsNothingUntilAFileChanges)
{
    const std::string where = folder / "cache/fingerprints";
    {
        FingerprintCache cache(where);
        cache.load();
        const auto first = ExactDuplicates::find(files, with(&cache, 2));
        EXPECT_GT(first.filesRead, 0);
        ASSERT_TRUE(cache.save());
    }
    FingerprintCache cache(where);
    cache.load();
    EXPECT_EQ(cache.size(), 6u) << "each file that shares its size with another, links once";
    const auto second = ExactDuplicates::find(files, with(&cache));
    EXPECT_EQ(second.filesRead, 0);
    ASSERT_EQ(second.groups.size(), 2u);
    EXPECT_EQ(second.groups[0].paths.size(), 2u);

    // A copy rewritten with other bytes of the same size is read again, and goes.
    writeFile(folder / "b/photo copy.jpg", randomBytes(300'000, 9));
    const auto third = ExactDuplicates::find(files, with(&cache));
    EXPECT_GT(third.filesRead, 0);
    ASSERT_EQ(third.groups.size(), 1u);
    EXPECT_EQ(third.groups[0].paths.front(), folder / "small1.png");

    // A damaged cache is no cache.
    writeFile(where, "MIRELO-FINGERPRINTS-2\n\x05garbage");
    FingerprintCache damaged(where);
    damaged.load();
    EXPECT_EQ(damaged.size(), 0u);
}

// A copy edited in place with its old size and modification time put back
// (as `touch -r` does) has a new change time: it is read again.
TEST_F(DuplicatesTest, AnEditHiddenBehindAnOldTimeIsReadAgain)
{
    FingerprintCache cache(folder / "fingerprints");
    ASSERT_EQ(ExactDuplicates::find(files, with(&cache)).groups.size(), 2u);
    const std::string copy = folder / "b/photo copy.jpg";
    struct stat before {};
    ASSERT_EQ(::stat(copy.c_str(), &before), 0);
    std::string edited = readFile(copy);
    edited[100'000] ^= 1;
    writeFile(copy, edited);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, copy.c_str(), times, 0), 0);
    const auto again = ExactDuplicates::find(files, with(&cache));
    ASSERT_EQ(again.groups.size(), 1u) << "the edited copy is no longer the photo's";
    EXPECT_EQ(again.groups[0].paths.front(), folder / "small1.png");
}

// The cache is input: what sits at its place is never waited on, never
// read whole when it is not a cache, and a failed write says so.
TEST_F(DuplicatesTest, AHostileCacheReadsAsEmpty)
{
    const std::string fifo = folder / "fifo", huge = folder / "huge", directory = folder / "directory";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    makeFolder(directory);
    writeFile(huge, "MIRELO-FINGERPRINTS-2\n");
    ASSERT_EQ(::truncate(huge.c_str(), FingerprintCache::kMostBytes + 1), 0); // sparse
    ASSERT_EQ(::symlink("/dev/zero", (folder / "zero").c_str()), 0);
    for (const std::string& path : {fifo, huge, directory, folder / "zero"}) {
        FingerprintCache cache(path);
        cache.load();
        EXPECT_EQ(cache.size(), 0u) << path;
        cache.rememberEdges(folder / "a/photo.jpg", *FileStamp::of(folder / "a/photo.jpg"), 1);
        if (path == directory) EXPECT_FALSE(cache.save());
    }
}

// A stop is seen within a read of 64 KiB, also in a group of more files of
// one size than are read together.
TEST_F(DuplicatesTest, AStopEndsAReadOfManyLargeFiles)
{
    std::vector<ExactDuplicates::File> large;
    for (int i = 0; i < 70; ++i) {
        const std::string path = folder / ("large/" + std::to_string(i) + ".mov");
        writeFile(path, "x");
        ASSERT_EQ(::truncate(path.c_str(), int64_t(4) << 30), 0); // 4 GiB, sparse
        large.push_back({path, int64_t(4) << 30});
    }
    std::atomic<bool> stop{false};
    ExactDuplicates::Options options;
    options.stop = &stop;
    options.threads = 2;
    auto search = std::async(std::launch::async, [&] { return ExactDuplicates::find(large, options); });
    EXPECT_EQ(search.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    stop = true;
    ASSERT_EQ(search.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "reading 280 GiB of holes";
    const auto result = search.get();
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.groups.empty());
    EXPECT_TRUE(result.unreadable.empty()) << "stopped files are not unreadable ones";
}

// The hash keeps a picture's shape through a change of brightness and
// contrast, and tells it from its mirror image.
TEST(SimilarPhotos, ThePerceptualHashSeesShapesNotBrightness)
{
    constexpr int side = SimilarPhotos::kSide;
    uint8_t picture[side * side], brighter[side * side], mirrored[side * side];
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int level = (x < 12 && y > 8) ? 200 : (x * 3 + y * 2) % 160;
            picture[y * side + x] = uint8_t(level);
            brighter[y * side + x] = uint8_t(std::min(255, level * 11 / 10 + 20));
            mirrored[y * side + (side - 1 - x)] = uint8_t(level);
        }
    const uint64_t hash = SimilarPhotos::perceptualHash(picture);
    EXPECT_LE(SimilarPhotos::distance(hash, SimilarPhotos::perceptualHash(brighter)), 2);
    EXPECT_GT(SimilarPhotos::distance(hash, SimilarPhotos::perceptualHash(mirrored)), 12);
}

// The index finds every pair a comparison of all pairs finds.
TEST(SimilarPhotos, TheIndexMissesNoPair)
{
    std::mt19937_64 random(3);
    std::vector<uint64_t> hashes;
    for (int i = 0; i < 400; ++i) {
        const uint64_t base = random();
        hashes.push_back(base);
        for (int flips = 1; flips <= 14; flips += 3) {
            uint64_t near = base;
            for (int f = 0; f < flips; ++f) near ^= uint64_t(1) << (random() % 64);
            hashes.push_back(near);
        }
    }
    for (int within : {SimilarPhotos::kNearlyIdentical, SimilarPhotos::kVerySimilar, SimilarPhotos::kSimilar}) {
        std::vector<int> root(hashes.size());
        for (size_t i = 0; i < hashes.size(); ++i) root[i] = int(i);
        auto find = [&](int i) {
            while (root[i] != i) i = root[i];
            return i;
        };
        for (size_t i = 0; i < hashes.size(); ++i)
            for (size_t j = i + 1; j < hashes.size(); ++j)
                if (SimilarPhotos::distance(hashes[i], hashes[j]) <= within) {
                    const int a = find(int(i)), b = find(int(j));
                    root[std::max(a, b)] = std::min(a, b);
                }
        std::map<int, std::vector<int>> expected;
        for (size_t i = 0; i < hashes.size(); ++i) expected[find(int(i))].push_back(int(i));
        std::vector<std::vector<int>> groups;
        for (auto& [r, members] : expected)
            if (members.size() > 1) groups.push_back(members);
        EXPECT_EQ(SimilarPhotos::group(hashes, within), groups) << within;
    }
}

} // namespace

namespace {

TEST(DuplicateKeeper, TheFirstFolderThenTheOldestThenTheLargestPicture)
{
    using Copy = DuplicateKeeper::Copy;
    using Reason = DuplicateKeeper::Reason;
    const std::vector<std::string> folders = {"/home/u/Phone", "/home/u/Pictures"};
    struct Case {
        std::vector<Copy> copies;
        size_t index;
        Reason reason;
    };
    const Case exact[] = {
        {{{"/home/u/Pictures/a.jpg", 10}, {"/home/u/Phone/a.jpg", 50}}, 1, Reason::firstFolder},
        {{{"/home/u/Phone2/a.jpg", 10}, {"/home/u/Phone/b.jpg", 50}}, 1, Reason::firstFolder}, // not a prefix match
        {{{"/home/u/Phone/b.jpg", 50}, {"/home/u/Phone/x/a.jpg", 10}}, 1, Reason::oldest},     // both in the first
        {{{"/mnt/a.jpg", 50}, {"/mnt/b.jpg", 10}, {"/home/u/Pictures/c.jpg", 90}}, 2, Reason::firstFolder},
        {{{"/mnt/b.jpg", 10}, {"/mnt/a.jpg", 10}}, 1, Reason::oldest},          // a tie goes by name
        {{{"/a/IMG_1 copy.jpg", 10}, {"/b/IMG_1.jpg", 10}}, 1, Reason::oldest}, // the plainer name
    };
    for (const Case& c : exact) {
        const auto choice = DuplicateKeeper::exact(c.copies, folders);
        EXPECT_EQ(choice.index, c.index) << c.copies.front().path;
        EXPECT_EQ(choice.reason, c.reason) << c.copies.front().path;
    }
    // The brightened copy (same pixels, more bytes, newer, no camera details)
    // never wins over its original; identical files follow the rule above.
    const std::pair<uint64_t, uint64_t> one{1, 1};
    const Case similar[] = {
        {{{"/a.jpg", 0, 900'000, 2'000'000}, {"/b.jpg", 0, 3'000'000, 12'000'000}}, 1, Reason::largestPicture},
        {{{"/edit.jpg", 20, 3'000'000, 12'000'000}, {"/orig.jpg", 30, 900'000, 12'000'000, true}},
         1,
         Reason::cameraDetails},
        {{{"/bright.jpg", 20, 3'000'000, 12'000'000}, {"/orig.jpg", 10, 900'000, 12'000'000}}, 1, Reason::oldest},
        {{{"/home/u/Pictures/a.jpg", 10, 5, 4, false, one}, {"/home/u/Phone/a.jpg", 50, 5, 4, false, one}},
         1,
         Reason::firstFolder},
        {{{"/small.jpg", 1, 5, 2}, {"/mnt/a.jpg", 10, 5, 4, false, one}, {"/home/u/Phone/a.jpg", 50, 5, 4, false, one}},
         2,
         Reason::largestPicture},
    };
    for (const Case& c : similar) {
        const auto choice = DuplicateKeeper::similar(c.copies, folders);
        EXPECT_EQ(choice.index, c.index) << c.copies.front().path;
        EXPECT_EQ(choice.reason, c.reason) << c.copies.front().path;
    }
}

} // namespace
