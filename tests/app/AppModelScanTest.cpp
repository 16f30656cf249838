// Scanning folders and opening files: progress and end messages, merging,
// indexed folders, stopping, competing scans, held-back and dropped requests.

#include "AppTestSupport.h"
#include "library/MediaFormats.h"

#include <QRegularExpression>

#include "library/LibraryStore.h"

namespace mirelo::test {
namespace {

class ScanTest : public AppModelTest {};

TEST_F(ScanTest, ScansARealTreeEndToEnd)
{
    auto model = launchRestored();
    std::vector<std::string> expected{media("Pics/b.png"), media("Pics/a.jpg"), media("Pics/Sub/c.mp4")};
    writeFile(files / "Pics/notes.txt");
    writeFile(files / "Pics/.hidden/d.jpg");

    model->setSearch("zzz");
    model->setSection(LibrarySection::videos);
    model->selectSection(LibrarySection::videos);
    QSignalSpy counts(model.get(), &AppModel::scannedCountChanged);
    model->scan({files / "Pics/"}, true);
    EXPECT_TRUE(model->scanning());
    EXPECT_EQ(model->scanMessage(), "Looking for images and videos…");
    EXPECT_EQ(model->scannedCount(), 0);
    EXPECT_EQ(model->selectedFolder(), files / "Pics");
    EXPECT_EQ(model->search(), "");
    EXPECT_EQ(model->section(), LibrarySection::all);
    EXPECT_EQ(model->recentFolders(), (std::vector<std::string>{files / "Pics"}));
    EXPECT_EQ(AppSettings::open()->value("recentFolders").toStringList(),
              QStringList{QString::fromStdString(files / "Pics")});

    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->scanMessage(), "3 files found");
    EXPECT_EQ(model->scannedCount(), 3);
    EXPECT_GE(counts.size(), 1);
    EXPECT_EQ(model->items().size(), 3);
    EXPECT_EQ(model->visible().size(), 3);
    EXPECT_EQ(model->indexedFolders(), (std::vector<std::string>{files / "Pics"}));
    EXPECT_EQ(model->watchedFolders().watcher().roots(), (std::vector<std::string>{files / "Pics"}));
    EXPECT_EQ(model->libraryName(), "Pics");
    EXPECT_EQ(model->storage().imageBytes, 8);
    EXPECT_EQ(model->storage().videoBytes, 4);
    EXPECT_EQ(model->formats(), (QStringList{"JPG", "MP4", "PNG"}));

    QSignalSpy saves(model.get(), &AppModel::librarySaved);
    ASSERT_TRUE(saves.wait(3000));
    auto saved = LibraryStore(libraryFile()).load();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->items.size(), 3);
    EXPECT_EQ(saved->indexedFolders, model->indexedFolders());

    // Choosing the same folder again neither repeats it nor adds a root.
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->recentFolders().size(), 1u);
    EXPECT_EQ(model->indexedFolders().size(), 1u);
}

TEST_F(ScanTest, UnreadableLocationsKeepOldItemsAndSayWhy)
{
    auto model = launchRestored();
    std::string a = media("Pics/a.jpg");
    std::string b = media("Pics/b.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ::unlink(b.c_str());

    model->scan({files / "Pics", files / "Missing"}, true);
    EXPECT_FALSE(model->selectedFolder()) << "two roots select no folder";
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->scanMessage(), "1 files found · 1 locations couldn’t be read");
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{a, b})) << "no replacement after a failure";
    ASSERT_TRUE(model->toast());
    EXPECT_EQ(*model->toast(),
              "1 files found · 1 locations couldn’t be read. Folders you don’t have permission to read were skipped.");
}

TEST_F(ScanTest, AStoppedScanMergesWithoutReplacingOrIndexing)
{
    auto model = launchRestored();
    media("Pics/kept.jpg");
    {
        BlockedPool blocked(model->backgroundPool());
        model->scan({files / "Pics"}, true);
        model->stopScan();
    }
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->scanMessage(), "Scan stopped · 0 files found");
    EXPECT_TRUE(model->indexedFolders().empty());
    EXPECT_FALSE(model->watchedFolders().watcher().isWatching());
}

TEST_F(ScanTest, OnlyTheNewestOfTwoScansChangesTheModel)
{
    auto model = launchRestored();
    std::string first = media("First/a.jpg"), second = media("Second/b.jpg");
    {
        BlockedPool blocked(model->backgroundPool());
        model->scan({files / "First"}, true);
        model->scan({files / "Second"}, true);
    }
    ASSERT_TRUE(waitForScan(*model));
    QCoreApplication::processEvents();
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{second}));
    EXPECT_EQ(model->indexedFolders(), (std::vector<std::string>{files / "Second"}));
    EXPECT_EQ(model->scanMessage(), "1 files found");
}

TEST_F(ScanTest, AScanWhileBusyIsDropped)
{
    auto model = launchRestored();
    media("Pics/a.jpg");
    model->setBusy(true);
    model->scan({files / "Pics"}, true);
    EXPECT_FALSE(model->scanning());
    model->setBusy(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->scanning()) << "a dropped scan is not resumed";
    model->selectFolder(files / "Pics");
    EXPECT_TRUE(model->scanning()) << "a folder outside the library is scanned";
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->items().size(), 1);
}

class OpenTest : public AppModelTest {};

TEST_F(OpenTest, OneImageShowsAtOnceAndBringsItsFolder)
{
    auto model = launchRestored();
    std::string big = media("Trip/big.jpg", 50), small = media("Trip/small.png", 5), clip = media("Trip/clip.mov", 20);
    media("Trip/Inner/deeper.jpg");
    model->setSort(MediaSort::largest);
    ASSERT_TRUE(waitForQuery(*model));

    model->open({small});
    ASSERT_EQ(viewer.presented.size(), 1u);
    EXPECT_EQ(viewer.presented[0].path(), small);
    EXPECT_TRUE(model->viewing());
    EXPECT_EQ(pathsOf(model->viewerItems()), (std::vector<std::string>{small}));
    EXPECT_EQ(model->position(), 0);
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(pathsOf(model->viewerItems()), (std::vector<std::string>{big, clip, small}));
    EXPECT_EQ(model->position(), 2);
    EXPECT_EQ(model->selectedFolder(), files / "Trip");
    EXPECT_TRUE(model->indexedFolders().empty()) << "a single file's folder is not indexed";
    EXPECT_FALSE(model->watchedFolders().watcher().isWatching());
    EXPECT_EQ(model->items().size(), 3) << "that folder only";
    ASSERT_EQ(viewer.lists.size(), 1u) << "the presented viewer got the longer list";
    EXPECT_EQ(viewer.lists[0].size(), 3);

    model->navigate(1);
    EXPECT_EQ(model->position(), 2) << "already at the end";
    model->navigate(-5);
    EXPECT_EQ(model->position(), 0);
    model->setCurrent(std::nullopt);
    EXPECT_FALSE(model->viewing());
    EXPECT_EQ(viewer.dismissals, 1);
}

TEST_F(OpenTest, SeveralFilesJoinWithoutAScan)
{
    auto model = launchRestored();
    std::string c = media("X/c.jpg"), a = media("Y/a.jpg"), b = media("Z/b.gif");
    model->open({c, a, b, files / "X/none.txt"});
    EXPECT_FALSE(model->scanning());
    EXPECT_FALSE(model->selectedFolder());
    EXPECT_EQ(model->items().size(), 3);
    ASSERT_TRUE(model->current());
    EXPECT_EQ(model->current()->path(), c);
    EXPECT_EQ(pathsOf(model->viewerItems()), (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(model->itemGeneration(), 1);
}

TEST_F(OpenTest, NothingRecognisedIsAnError)
{
    auto model = launchRestored();
    writeFile(files / "notes.txt");
    model->open({files / "notes.txt", files / "missing.jpg"});
    ASSERT_TRUE(model->errorMessage());
    EXPECT_EQ(*model->errorMessage(), "These files aren’t recognized as images or videos.");
    EXPECT_TRUE(model->items().isEmpty());
    EXPECT_FALSE(model->current());
}

TEST_F(OpenTest, AnImageTheScanMissesStaysInTheList)
{
    auto model = launchRestored();
    std::string shown = media("Pics/shown.jpg");
    std::string other = media("Pics/other.jpg");
    {
        BlockedPool blocked(model->backgroundPool());
        model->open({shown});
        ::rename(shown.c_str(), (files / "elsewhere.jpg").c_str()); // the scan of its folder won't see it
    }
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{other, shown}));
    EXPECT_EQ(pathsOf(model->viewerItems()), (std::vector<std::string>{other, shown}));
}

} // namespace
} // namespace mirelo::test
