// Following the disk: the refresh pass, its staleness rule, and folders and
// drives that vanish or are renamed while indexed.

#include "AppTestSupport.h"

#include "library/MountTable.h"
#include "ScanRoots.h"

#include <QDir>

#include <cstdio>

namespace mirelo::test {
namespace {

class WatchTest : public AppModelTest {
protected:
    std::unique_ptr<AppModel> indexed()
    {
        media("Lib/a.jpg");
        media("Lib/One/b.jpg");
        media("Lib/Two/c.jpg");
        return launchIndexing("Lib");
    }
    // Runs one refresh pass now and waits for its result.
    static bool refreshNow(AppModel& model)
    {
        QSignalSpy refreshed(&model, &AppModel::indexRefreshed);
        model.refreshChangedFolders();
        return refreshed.wait(10000) && waitForQuery(model);
    }
};

TEST_F(WatchTest, ARefreshThatChangesNothingDoesNothing)
{
    auto model = indexed();
    model->flushLibrary(); // no save pending from the scan
    QSignalSpy queries(model.get(), &AppModel::queryStarted);
    QSignalSpy saves(model.get(), &AppModel::librarySaved);
    const int generation = model->itemGeneration();
    model->watchedFolders().noteChanges({files / "Lib/One", files / "Lib"});
    ASSERT_TRUE(refreshNow(*model));
    EXPECT_EQ(model->itemGeneration(), generation);
    EXPECT_EQ(queries.size(), 0);
    EXPECT_FALSE(saves.wait(AppModel::kSaveDelayMs * 2));
    EXPECT_TRUE(model->watchedFolders().changed().empty());
}

TEST_F(WatchTest, ARefreshOvertakenByAScanIsRetried)
{
    auto model = indexed();
    media("Lib/One/late.jpg");
    HeldResults refreshes(*model, BackgroundWork::refresh);
    model->watchedFolders().noteChanges({files / "Lib/One"});
    model->refreshChangedFolders();
    ASSERT_TRUE(refreshes.waitForOne());
    EXPECT_TRUE(model->refreshingIndex());
    model->refreshChangedFolders(); // a pass is running: only rescheduled
    EXPECT_EQ(refreshes.held.size(), 1u);

    // A scan changes the index while the refresh result is out.
    media("Lib/Two/also.jpg");
    model->scan({files / "Lib/Two"}, true);
    ASSERT_TRUE(waitForScan(*model));
    const MediaItems afterScan = model->items();
    refreshes.holding = false;
    QSignalSpy refreshed(model.get(), &AppModel::indexRefreshed);
    refreshes.releaseFirst();
    ASSERT_EQ(refreshed.size(), 1);
    EXPECT_FALSE(refreshed[0][0].toBool());
    EXPECT_EQ(model->items(), afterScan) << "the stale merge is discarded";
    EXPECT_EQ(model->watchedFolders().changed(), (FolderSet{files / "Lib/One"})) << "and its folders retried";
    ASSERT_TRUE(refreshNow(*model));
    EXPECT_EQ(model->items().size(), 5);
}

TEST_F(WatchTest, VanishedAndRenamedFoldersDropWhatIsGoneAndKeepTheRest)
{
    auto model = indexed();
    std::system(("rm -rf '" + files / "Lib/One" + "'").c_str());
    ::rename((files / "Lib/Two").c_str(), (files / "Lib/Renamed").c_str());
    model->watchedFolders().noteChanges({files / "Lib"});
    ASSERT_TRUE(refreshNow(*model));
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{files / "Lib/a.jpg", files / "Lib/Renamed/c.jpg"}));

    // A root that vanished entirely (an unplugged drive) keeps its items.
    std::system(("rm -rf '" + files / "Lib" + "'").c_str());
    model->watchedFolders().noteChanges({files / "Lib"});
    ASSERT_TRUE(refreshNow(*model));
    EXPECT_EQ(model->items().size(), 2);
}

// A drive that is unmounted keeps its items, through the watcher's re-read
// and the next launch's; mounted again, it is watched and re-read.
TEST_F(WatchTest, ADriveThatGoesAwayKeepsItsItems)
{
    MIRELO_IN_MOUNT_NAMESPACE();
    ASSERT_EQ(std::system("mount -t tmpfs none /mnt && mkdir /mnt/usb && mount -t tmpfs none /mnt/usb"), 0);
    writeFile("/mnt/usb/a.jpg");
    writeFile("/mnt/usb/Sub/b.jpg");
    const std::vector<std::string> onDrive{"/mnt/usb/a.jpg", "/mnt/usb/Sub/b.jpg"};
    auto model = launchRestored();
    QSignalSpy ready(&model->watchedFolders().watcher(), &LibraryWatcher::ready);
    model->scan({"/mnt/usb"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_TRUE(waitUntil([&] { return ready.size() >= 1; }));
    ASSERT_EQ(pathsOf(model->items()), onDrive);

    QSignalSpy refreshed(model.get(), &AppModel::indexRefreshed);
    ASSERT_EQ(std::system("umount /mnt/usb"), 0);
    ASSERT_TRUE(waitUntil([&] { return refreshed.size() >= 1; }, 15000)) << "the unmount is noticed";
    EXPECT_EQ(pathsOf(model->items()), onDrive);
    model->flushLibrary();
    model.reset();

    auto again = launchRestored();
    QSignalSpy relaunched(again.get(), &AppModel::indexRefreshed);
    ASSERT_TRUE(waitUntil([&] { return relaunched.size() >= 1; }, 15000));
    EXPECT_EQ(pathsOf(again->items()), onDrive) << "an empty mount point is no empty drive";
    again->scan({"/mnt/usb"}, true);
    ASSERT_TRUE(waitForScan(*again));
    EXPECT_EQ(pathsOf(again->items()), onDrive) << "nor is it when scanned on purpose";

    ASSERT_EQ(std::system("mount -t tmpfs none /mnt/usb"), 0);
    writeFile("/mnt/usb/c.jpg");
    ASSERT_TRUE(waitUntil([&] { return pathsOf(again->items()) == std::vector<std::string>{"/mnt/usb/c.jpg"}; }, 15000))
        << "the drive that came back is re-read";
    writeFile("/mnt/usb/d.jpg");
    ASSERT_TRUE(waitUntil([&] { return again->items().size() == 2; }, 15000)) << "and watched";
    std::system("umount /mnt/usb; umount /mnt");
}

} // namespace
} // namespace mirelo::test
