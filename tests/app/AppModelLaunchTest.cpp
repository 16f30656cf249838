// Launch, restore and persistence: first launch, a saved library, a damaged
// one, the debounced save and the flush at quit.

#include "AppTestSupport.h"

#include "library/LibraryStore.h"

namespace mirelo::test {
namespace {

class LaunchTest : public AppModelTest {};

TEST_F(LaunchTest, FirstLaunchStartsEmptyAndWritesItsDefaultsOnce)
{
    auto model = launchRestored();
    EXPECT_FALSE(model->restoring());
    EXPECT_TRUE(model->items().isEmpty());
    EXPECT_EQ(model->section(), LibrarySection::all);
    EXPECT_EQ(model->format(), "All formats");
    EXPECT_EQ(model->sort(), MediaSort::name);
    EXPECT_FALSE(model->errorMessage());
    EXPECT_EQ(model->libraryName(), "Your library");
    EXPECT_EQ(model->selectedBytes(), 0);
    EXPECT_FALSE(exists(libraryFile())) << "nothing changed, nothing written";

    auto settings = AppSettings::open();
    EXPECT_DOUBLE_EQ(settings->value("backgroundBlur").toDouble(), 0.1);
    EXPECT_TRUE(settings->value("mireloDefaults1").toBool());
    settings->setValue("backgroundBlur", 0.5);
    settings->sync();
    model.reset();

    auto second = launchRestored();
    EXPECT_DOUBLE_EQ(AppSettings::open()->value("backgroundBlur").toDouble(), 0.5);
}

TEST_F(LaunchTest, RestoresTheSavedStateAndRunsTheFirstQuery)
{
    std::string a = media("Trips/a.jpg", 10), b = media("Trips/b.mp4", 20), c = media("Trips/Rome/c.png", 30);
    LibrarySnapshot saved;
    saved.items = {*MediaItem::read(a), *MediaItem::read(b), *MediaItem::read(c)};
    saved.folders = {files / "Trips"};
    saved.indexedFolders = {files / "Trips"};
    saved.selectedFolder = files / "Trips";
    saved.expandedFolders = {files / "Trips"};
    saved.sort = "Largest first";
    saved.section = "Images";
    saved.format = "All formats";
    saved.search = "";
    LibraryStore(libraryFile()).flush(saved);

    auto model = launchRestored();
    EXPECT_EQ(model->items().size(), 3);
    EXPECT_EQ(model->itemGeneration(), 1);
    EXPECT_EQ(model->recentFolders(), saved.folders);
    EXPECT_EQ(model->indexedFolders(), saved.indexedFolders);
    EXPECT_EQ(model->selectedFolder(), saved.selectedFolder);
    EXPECT_EQ(model->libraryName(), "Trips");
    EXPECT_EQ(model->sort(), MediaSort::largest);
    EXPECT_EQ(model->section(), LibrarySection::images);
    EXPECT_EQ(pathsOf(model->visible()), (std::vector<std::string>{c, a}));
    EXPECT_EQ(model->contentRevision(), 1) << "one query after the restore";
    EXPECT_EQ(model->loadedGridLocation(), model->gridLocation());
    EXPECT_FALSE(model->replacingContent());
    EXPECT_TRUE(model->watchedFolders().watcher().isWatching());
    EXPECT_EQ(model->watchedFolders().watcher().roots(), saved.indexedFolders);
    EXPECT_EQ(model->watchedFolders().changed().size(), 1u) << "every indexed root is re-read after launch";
    ASSERT_TRUE(waitUntil([&] { return model->childFolders().count(files / "Trips"); }));
    EXPECT_EQ(model->childFolders().at(files / "Trips"), (std::vector<std::string>{files / "Trips/Rome"}));
    EXPECT_EQ(model->snapshot(), saved);
}

TEST_F(LaunchTest, DamagedLibraryIsReportedAndNeverOverwritten)
{
    const std::string damaged = "{\"version\": 1, \"items\": [";
    writeFile(libraryFile(), damaged);
    auto model = launchRestored();
    ASSERT_TRUE(model->errorMessage());
    const QString prefix = "Couldn’t read the saved library. The saved index has been left untouched. ";
    EXPECT_TRUE(model->errorMessage()->startsWith(prefix)) << model->errorMessage()->toStdString();
    EXPECT_TRUE(model->errorMessage()->contains(QString::fromStdString(libraryFile())));
    ASSERT_TRUE(model->restoreError());

    // Settings, a scan and a refresh all leave the file alone.
    QSignalSpy saves(model.get(), &AppModel::librarySaved);
    model->setSearch("x");
    model->setSort(MediaSort::newest);
    media("Pics/a.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->items().size(), 1) << "the library still works in memory";
    model->watchedFolders().noteChanges({files / "Pics"});
    model->refreshChangedFolders();
    EXPECT_FALSE(saves.wait(AppModel::kSaveDelayMs * 3));
    EXPECT_EQ(readFile(libraryFile()), damaged);

    try {
        model->flushLibrary();
        FAIL() << "quitting must report the restore error";
    } catch (const LibraryError& error) {
        EXPECT_EQ(QString::fromStdString(error.what()), model->errorMessage()->mid(prefix.size()));
    }
    EXPECT_EQ(readFile(libraryFile()), damaged);
}

TEST_F(LaunchTest, ThreeQuickChangesWriteOnceAndEqualValuesDoNothing)
{
    auto model = launchRestored();
    QSignalSpy saves(model.get(), &AppModel::librarySaved);
    QSignalSpy queries(model.get(), &AppModel::queryStarted);
    QSignalSpy sections(model.get(), &AppModel::sectionChanged);
    model->setSection(LibrarySection::all);
    model->setFormat("All formats");
    model->setSort(MediaSort::name);
    model->setSelectedFolder(std::nullopt);
    EXPECT_FALSE(model->loadingContent());
    EXPECT_FALSE(saves.wait(AppModel::kSaveDelayMs * 2));
    EXPECT_EQ(queries.size(), 0);
    EXPECT_EQ(sections.size(), 0);

    model->setSearch("a");
    model->setSearch("ab");
    model->setSearch("abc");
    ASSERT_TRUE(saves.wait(3000));
    EXPECT_FALSE(saves.wait(AppModel::kSaveDelayMs * 2));
    EXPECT_EQ(saves.size(), 1);
    EXPECT_EQ(LibraryStore(libraryFile()).load()->search, "abc");
}

TEST_F(LaunchTest, FlushWritesTheCurrentStateAtOnce)
{
    auto model = launchRestored();
    media("Pics/a.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    model->toggleFolder(files / "Pics");
    model->flushLibrary();
    auto saved = LibraryStore(libraryFile()).load();
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, model->snapshot());
    EXPECT_EQ(saved->expandedFolders, (std::vector<std::string>{files / "Pics"}));
}

TEST_F(LaunchTest, AnOpenDuringTheRestoreRunsOnceAfterIt)
{
    std::string a = media("One/a.jpg"), b = media("Two/b.jpg");
    auto model = launch();
    HeldResults restore(*model, BackgroundWork::restore);
    ASSERT_TRUE(restore.waitForOne());
    EXPECT_TRUE(model->restoring());
    model->open({a, b});
    model->open({a});
    model->scan({files / "One"}, true); // the newest held request replaces the older ones
    EXPECT_TRUE(model->items().isEmpty());
    EXPECT_FALSE(model->scanning());
    restore.releaseFirst();
    EXPECT_FALSE(model->restoring());
    EXPECT_TRUE(model->scanning());
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{a}));
    EXPECT_EQ(model->indexedFolders(), (std::vector<std::string>{files / "One"}));

    // Held back while busy, resumed when the operation ends.
    model->setBusy(true);
    model->open({b});
    EXPECT_FALSE(model->current());
    model->setBusy(false);
    ASSERT_TRUE(waitUntil([&] { return model->current().has_value(); }));
    EXPECT_EQ(model->current()->path(), b);
}

} // namespace
} // namespace mirelo::test
