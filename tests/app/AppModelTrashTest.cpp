// Moving media to a real trash from the model and back: the viewer moving
// on, toasts, accumulated undo records, partial failures and the guards.

#include "AppTestSupport.h"

#include <QElapsedTimer>

#include <sys/stat.h>

namespace mirelo::test {
namespace {

class TrashTest : public AppModelTest {
protected:
    // A model that has indexed files/Pics holding `names`.
    std::unique_ptr<AppModel> indexed(const std::vector<std::string>& names)
    {
        for (const std::string& name : names) media("Pics/" + name, 8);
        return launchIndexing("Pics");
    }
    static MediaItem itemAt(const AppModel& model, const std::string& path)
    {
        for (const MediaItem& item : model.items())
            if (item.path() == path) return item;
        ADD_FAILURE() << path << " is not in the library";
        return {};
    }
    // Asks, confirms in the library window's way and waits for the move.
    static void trash(AppModel& model, const MediaItems& items)
    {
        model.requestTrash(items);
        ASSERT_TRUE(model.trashPrompt());
        ASSERT_EQ(model.pendingTrash(), items);
        model.trashConfirmed();
        EXPECT_TRUE(model.busy());
        EXPECT_TRUE(model.pendingTrash().isEmpty());
        ASSERT_TRUE(waitUntil([&] { return !model.busy(); }));
        ASSERT_TRUE(waitForQuery(model));
    }
    static void undo(AppModel& model)
    {
        model.undoTrash();
        ASSERT_TRUE(model.busy());
        ASSERT_TRUE(waitUntil([&] { return !model.busy(); }));
        ASSERT_TRUE(waitForQuery(model));
    }
    std::string trashFiles() const { return std::string(::getenv("XDG_DATA_HOME")) + "/Trash/files"; }
};

TEST_F(TrashTest, TrashingFromTheViewerMovesOnAndUndoPutsEverythingBack)
{
    auto model = indexed({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    const MediaItems all = model->visible();
    model->show(all[3]);
    model->setSelection({std::string(all[3].path()), std::string(all[0].path())});
    const std::string d = files / "Pics/d.jpg", e = files / "Pics/e.jpg";

    // Position 4 of 5: the viewer shows the item that is now fourth.
    trash(*model, {all[3]});
    EXPECT_FALSE(exists(d));
    EXPECT_EQ(readFile(model->undoRecords()[0].trashed), std::string(8, 'x'));
    EXPECT_EQ(model->toast(), "Moved 1 file to Trash");
    EXPECT_EQ(pathsOf(model->items()),
              (std::vector<std::string>{files / "Pics/a.jpg", files / "Pics/b.jpg", files / "Pics/c.jpg", e}));
    EXPECT_EQ(model->viewerItems().size(), 4);
    ASSERT_TRUE(model->current());
    EXPECT_EQ(model->current()->path(), e);
    EXPECT_EQ(viewer.presented.back().path(), e);
    EXPECT_EQ(model->selection(), PathSelection{std::string(all[0].path())});

    // The last of four: the new last one.
    trash(*model, {model->viewerItems()[3]});
    EXPECT_EQ(model->current()->path(), files / "Pics/c.jpg");
    ASSERT_EQ(model->undoRecords().size(), 2u) << "records accumulate";

    // One Undo restores both moves, identical and delisted, without
    // touching the viewer.
    const MediaItems viewing = model->viewerItems();
    const TrashRecords records = model->undoRecords();
    undo(*model);
    EXPECT_EQ(model->toast(), "Restored 2 files");
    EXPECT_TRUE(model->undoRecords().empty());
    EXPECT_FALSE(model->errorMessage());
    for (const std::string& path : {d, e}) EXPECT_EQ(readFile(path), std::string(8, 'x')) << path;
    for (const TrashRecord& record : records) {
        const std::string name = record.trashed.substr(record.trashed.rfind('/') + 1);
        EXPECT_FALSE(exists(record.trashed));
        EXPECT_FALSE(exists(trashFiles() + "/../info/" + name + ".trashinfo"));
    }
    EXPECT_EQ(model->items().size(), 5);
    EXPECT_EQ(model->visible().size(), 5);
    EXPECT_EQ(model->viewerItems(), viewing);
    EXPECT_EQ(model->current()->path(), files / "Pics/c.jpg");
}

TEST_F(TrashTest, ToastsCountFilesAndTheOnlyItemClosesTheViewer)
{
    auto model = indexed({"a.jpg", "b.png", "c.mp4", "d.jpg"});
    const MediaItems all = model->visible();
    trash(*model, {all[0], all[1], all[2]});
    EXPECT_EQ(model->toast(), "Moved 3 files to Trash");

    model->show(model->visible()[0], MediaItems{model->visible()[0]});
    ASSERT_TRUE(viewer.presenting);
    trash(*model, {model->visible()[0]});
    EXPECT_FALSE(model->current());
    EXPECT_FALSE(model->viewing());
    EXPECT_FALSE(viewer.presenting);
    EXPECT_TRUE(model->items().isEmpty());

    undo(*model);
    EXPECT_EQ(model->toast(), "Restored 4 files");
}

TEST_F(TrashTest, UndoDoesNotAddAFileTheLibraryAlreadyHolds)
{
    auto model = indexed({"a.jpg"});
    trash(*model, model->visible());
    HeldResults held(*model, BackgroundWork::fileOperation);
    model->undoTrash();
    ASSERT_TRUE(held.waitForOne());
    // The file is back on disk and comes into the index another way first.
    model->recordCopy(files / "Pics/a.jpg", files / "Pics");
    ASSERT_EQ(model->items().size(), 1);
    held.releaseFirst();
    EXPECT_EQ(model->items().size(), 1);
    EXPECT_FALSE(model->busy());
}

TEST_F(TrashTest, NothingHappensWithoutItemsWhileScanningOrWhileBusy)
{
    auto model = indexed({"a.jpg", "b.jpg"});
    const MediaItems all = model->visible();
    model->requestTrash({});
    EXPECT_FALSE(model->trashPrompt());

    {
        HeldResults scanning(*model, BackgroundWork::scan);
        model->scan({files / "Pics"}, true);
        model->requestTrash(all);
        EXPECT_FALSE(model->trashPrompt());
        ASSERT_TRUE(scanning.waitForOne());
        scanning.releaseFirst();
    }
    ASSERT_TRUE(waitForQuery(*model));

    HeldResults moving(*model, BackgroundWork::fileOperation);
    model->requestTrash({all[0]});
    model->trashConfirmed();
    ASSERT_TRUE(model->busy());
    model->requestTrash({all[1]});
    EXPECT_FALSE(model->trashPrompt());
    model->undoTrash();                  // no records yet, and busy
    model->scan({files / "Pics"}, true); // busy blocks scans too
    EXPECT_FALSE(model->scanning());
    model->editFolder(files / "Pics", false);
    EXPECT_TRUE(folderPrompt.requests.empty());
    ASSERT_TRUE(moving.waitForOne());
    moving.releaseFirst();
    EXPECT_FALSE(model->busy());
    EXPECT_EQ(moving.held.size(), 0u);
    EXPECT_TRUE(exists(files / "Pics/b.jpg"));
}

TEST_F(TrashTest, ANewerToastGetsItsFullTime)
{
    auto model = launchRestored();
    // Notices of 400 ms, the second 200 ms after the first: it is cleared a
    // whole notice's time after it came (a timer never fires more than 5 %
    // early), however late a loaded machine runs the timers.
    model->setToastDuration(400);
    QElapsedTimer clock;
    clock.start();
    qint64 secondAt = -1, clearedAt = -1;
    QSignalSpy toasts(model.get(), &AppModel::toastChanged);
    QObject::connect(model.get(), &AppModel::toastChanged, model.get(), [&] {
        if (!model->toast()) clearedAt = clock.elapsed();
    });
    model->notify("First");
    QTimer::singleShot(200, model.get(), [&] {
        secondAt = clock.elapsed();
        model->notify("Second");
    });
    ASSERT_TRUE(waitUntil([&] { return clearedAt >= 0; }));
    ASSERT_GE(secondAt, 0);
    EXPECT_GE(clearedAt - secondAt, 380) << "the first notice's time ended the second";
    ASSERT_EQ(toasts.size(), 3) << "first, second, cleared";
}

} // namespace
} // namespace mirelo::test
