#include "library/LibraryFile.h"
#include "library/MediaItem.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace mirelo;
using namespace mirelo::test;

TEST(MediaItem, ReadsRegularMediaFiles)
{
    TempFolder folder;
    writeFile(folder / "Photo.JPG", std::string(1234, 'x'));
    auto item = MediaItem::read(folder.path() + "/./Photo.JPG");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->path(), folder / "Photo.JPG");
    EXPECT_EQ(item->name(), "Photo.JPG");
    EXPECT_EQ(item->format(), "JPG");
    EXPECT_EQ(item->bytes(), 1234);
    EXPECT_FALSE(item->isVideo());
    struct stat attributes {};
    ::stat((folder / "Photo.JPG").c_str(), &attributes);
    EXPECT_DOUBLE_EQ(item->modified(), dateFromTimespec(attributes.st_mtim));
    EXPECT_EQ(item->url().toLocalFile().toStdString(), folder / "Photo.JPG");

    writeFile(folder / "b.jpeg");
    EXPECT_EQ(MediaItem::read(folder / "b.jpeg")->format(), "JPEG");
    writeFile(folder / "movie.mp4");
    EXPECT_TRUE(MediaItem::read(folder / "movie.mp4")->isVideo());
}

TEST(MediaItem, LinksFoldersAndMissingFilesGiveNothing)
{
    TempFolder folder;
    writeFile(folder / "real.jpg");
    ASSERT_EQ(::symlink((folder / "real.jpg").c_str(), (folder / "link.jpg").c_str()), 0);
    makeFolder(folder / "folder.jpg");
    EXPECT_FALSE(MediaItem::read(folder / "link.jpg"));
    EXPECT_FALSE(MediaItem::read(folder / "folder.jpg"));
    EXPECT_FALSE(MediaItem::read(folder / "gone.jpg"));
    writeFile(folder / "notes.txt");
    EXPECT_FALSE(MediaItem::read(folder / "notes.txt"));
}

TEST(MediaItem, NamesThatAreNotUtf8KeepTheirBytes)
{
    TempFolder folder;
    const std::string raw = folder / "\xFF\xFE photo.jpg";
    writeFile(raw, "abc");
    auto item = MediaItem::read(raw);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->path(), raw);
    EXPECT_NE(item->urlString().find("%FF%FE%20photo.jpg"), std::string::npos);

    // Through the library file and back, the location still reaches the same file.
    LibrarySnapshot snapshot;
    snapshot.items.append(*item);
    LibraryFile::write(folder / "library.json", snapshot);
    auto back = LibraryFile::read(folder / "library.json");
    ASSERT_EQ(back.items.size(), 1);
    EXPECT_EQ(back.items[0], *item);
    EXPECT_EQ(readFile(std::string(back.items[0].path())), "abc");
}

TEST(MediaItem, IdentityAndEquality)
{
    MediaItem a("/p/a.jpg", 10, 5.5, false), b("/p/a.jpg", 11, 5.5, false), c("/p/a.jpg", 10, 5.5, false);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.id(), b.id());
    EXPECT_EQ(a, c);
    EXPECT_EQ(std::hash<MediaItem>()(a), std::hash<MediaItem>()(c));
    EXPECT_NE(a, MediaItem("/p/a.jpg", 10, 5.5, true));
    MediaItem copy = a, moved = std::move(c);
    EXPECT_EQ(copy, moved);
    EXPECT_EQ(MediaItem("/p/noext", 0, kDistantPast, false).format(), "");
}

TEST(MediaItem, SizeLabelsReadNaturally)
{
    EXPECT_EQ(sizeLabel(0), "0 bytes");
    EXPECT_EQ(sizeLabel(1), "1 byte");
    EXPECT_EQ(sizeLabel(999), "999 bytes");
    EXPECT_EQ(sizeLabel(1000), "1 KB");
    EXPECT_EQ(sizeLabel(1499), "1 KB");
    EXPECT_EQ(sizeLabel(999'499), "999 KB");
    EXPECT_EQ(sizeLabel(999'999), "1 MB");
    EXPECT_EQ(sizeLabel(4'200'000), "4.2 MB");
    EXPECT_EQ(sizeLabel(10'000'000), "10 MB");
    EXPECT_EQ(sizeLabel(1'234'567'890), "1.23 GB");
    EXPECT_EQ(sizeLabel(2'000'000'000'000), "2 TB");
    EXPECT_EQ(sizeLabel(-5), "0 bytes");
}
