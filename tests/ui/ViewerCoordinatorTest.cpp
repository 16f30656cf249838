// The viewer on a real model and real pictures: the window appears only
// with its first frame, hides the library and brings it back, keys move and
// zoom before anything else sees them, and a damaged file says so.

#include "AppTestSupport.h"
#include "ImageFixtures.h"
#include "LocalListener.h"
#include "VideoFixtures.h"
#include "common/AlertDialog.h"
#include "common/DesktopLook.h"
#include "library/LibraryWindow.h"
#include "common/ActionRegistry.h"
#include "ViewerPipeline.h"
#include "viewer/Filmstrip.h"
#include "viewer/ImageStage.h"
#include "viewer/OverlayWindow.h"
#include "shell/WindowShell.h"
#include "viewer/MediaBackend.h"
#include "viewer/ViewerCoordinator.h"
#include "viewer/GlassButton.h"
#include "viewer/ViewerActions.h"
#include "viewer/ViewerPopover.h"
#include "viewer/ViewerScene.h"

#include <QClipboard>
#include <QMimeData>

#include <QElapsedTimer>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMediaPlayer>
#include <QVideoSink>
#include <QVideoWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <mutex>
#include <set>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include "Eventually.h"

namespace mirelo::test {
namespace {

// Qt Multimedia keeps its video window's backing store and a thread's
// bookkeeping for the life of the process: LeakSanitizer looks away from
// them for the length of a test that plays video, and no longer.
struct QtMultimediaKeepsItsOwn {
#if defined(__SANITIZE_ADDRESS__)
    QtMultimediaKeepsItsOwn() { __lsan_disable(); }
    ~QtMultimediaKeepsItsOwn() { __lsan_enable(); }
#endif
};

class ViewerCoordinatorTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        // The player's back end before anything else, as a process that has
        // shown a video has it: its first start in a new home builds
        // GStreamer's registry, which a loaded machine may take seconds to do.
        MediaBackend::start();
        actions = std::make_unique<ActionRegistry>(*model);
        shell = std::make_unique<WindowShell>(*model, *actions);
        coordinator = &shell->viewer();
        std::filesystem::create_directories(files / "Pics");
        for (const char* name : {"a.png", "b.png", "c.png"})
            ASSERT_TRUE(markedPicture(320, 200).save(QString::fromStdString(files / (std::string("Pics/") + name))));
        writeBytes(files / "Pics/d.jpg", "not a picture");
        model->scan({files / "Pics"}, true);
        ASSERT_TRUE(waitForScan(*model));
        ASSERT_TRUE(waitForQuery(*model));
        shell->reopenLibrary();
        // The library is in front, as when a card is double-clicked.
        ASSERT_TRUE(QTest::qWaitForWindowActive(shell->libraryWindow()));
    }
    void TearDown() override
    {
        shell->prepareToQuit();
        shell.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        actions.reset();
        LaunchedModelTest::TearDown();
    }
    bool viewerShown() const { return coordinator->viewerWindow() && coordinator->viewerWindow()->isVisible(); }
    void key(int code, QEvent::Type type = QEvent::KeyPress)
    {
        QKeyEvent event(type, code, Qt::NoModifier);
        QApplication::sendEvent(coordinator->scene()->stage(), &event);
    }

    std::unique_ptr<ActionRegistry> actions;
    std::unique_ptr<WindowShell> shell;
    ViewerCoordinator* coordinator = nullptr;
};

TEST_F(ViewerCoordinatorTest, OpensWithItsFirstFrameAndMovesWithTheArrows)
{
    ASSERT_TRUE(shell->libraryWindow()->isVisible());
    model->show(model->visible()[0]);
    EXPECT_TRUE(coordinator->isPresenting());
    EXPECT_FALSE(viewerShown()) << "nothing on screen before the first frame";
    ASSERT_EVENTUALLY(viewerShown());
    EXPECT_FALSE(shell->libraryWindow()->isVisible());
    EXPECT_EQ(coordinator->scene()->countLabel()->text(), "1 / 4");
    EXPECT_EQ(coordinator->viewerWindow()->windowTitle(), "a.png — Mirelo");
    ASSERT_EVENTUALLY(coordinator->scene()->stage()->ready());

    key(Qt::Key_Right);
    EXPECT_EQ(model->current()->name(), "b.png");
    ASSERT_EVENTUALLY_EQ(coordinator->scene()->countLabel()->text(), QString("2 / 4"));

    key(Qt::Key_Escape);
    EXPECT_FALSE(model->current());
    EXPECT_FALSE(viewerShown());
    EXPECT_TRUE(shell->libraryWindow()->isVisible()) << "the library comes back";
}

// With either panel open, each of the viewer's keys closes the panel and
// acts, as it does without one.
TEST_F(ViewerCoordinatorTest, ViewerKeysCloseAnOpenPanelAndAct)
{
    model->show(model->visible()[0]);
    ASSERT_EVENTUALLY(viewerShown());
    ASSERT_EVENTUALLY(coordinator->scene()->stage()->ready());
    struct Case {
        const char* name;
        int key;
        std::function<bool()> acted;
    };
    const std::vector<Case> cases = {
        {"Right", Qt::Key_Right, [&] { return model->current()->name() == "b.png"; }},
        {"Left", Qt::Key_Left, [&] { return model->current()->name() == "a.png"; }},
        {"Up", Qt::Key_Up, [&] { return coordinator->scene()->stage()->keyboardZooming(); }},
        {"Space", Qt::Key_Space,
         [&, shown = coordinator->scene()->chromeShown()]() mutable {
             const bool flipped = coordinator->scene()->chromeShown() != shown;
             shown = coordinator->scene()->chromeShown();
             return flipped;
         }},
    };
    for (const bool information : {true, false}) {
        for (const Case& c : cases) {
            information ? coordinator->showInformation() : coordinator->showFolders();
            QPointer<ViewerPopover> panel = coordinator->actions()->popover();
            ASSERT_TRUE(panel) << c.name;
            ASSERT_EVENTUALLY(panel->isVisible());
            QWidget* target = panel->focusWidget() ? panel->focusWidget() : panel.data();
            QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
            EXPECT_TRUE(!panel || !panel->isVisible())
                << c.name << (information ? " over information" : " over folders");
            ASSERT_TRUE(waitUntil([&] { return c.acted(); }, 5000)) << c.name;
            if (c.key == Qt::Key_Up) {
                key(Qt::Key_Up, QEvent::KeyRelease);
                EXPECT_FALSE(coordinator->scene()->stage()->keyboardZooming());
            }
        }
    }
}

TEST_F(ViewerCoordinatorTest, ADamagedFileSaysSo)
{
    MediaItem damaged;
    for (const MediaItem& item : model->visible())
        if (item.name() == "d.jpg") damaged = item;
    model->show(damaged);
    ASSERT_EVENTUALLY(viewerShown());
    EXPECT_TRUE(coordinator->scene()->errorLabel()->isVisible());
    EXPECT_EQ(coordinator->scene()->errorLabel()->text(),
              "This file can’t be previewed.\nIt may be damaged or use an unsupported codec.");
    EXPECT_FALSE(coordinator->scene()->stage()->ready());
}

TEST_F(ViewerCoordinatorTest, FastNavigationEndsOnTheLastPictureWithLittleWorkWanted)
{
    std::filesystem::create_directories(files / "Many");
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(
            markedPicture(1600, 1000).save(QString::fromStdString(files / ("Many/" + std::to_string(i) + ".png"))));
    model->scan({files / "Many"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_TRUE(waitForQuery(*model));
    ASSERT_EQ(model->visible().size(), 10);
    model->show(model->visible()[0]);
    ASSERT_EVENTUALLY(viewerShown());
    for (int step = 0; step < 9; ++step) key(Qt::Key_Right);
    EXPECT_EQ(model->current()->name(), "9.png");
    EXPECT_LE(ViewerPipeline::shared().pendingCount(), 4u) << "the picture shown, two ahead and one behind, no more";
    ASSERT_EVENTUALLY(coordinator->currentFrame() != nullptr);
    EXPECT_EQ(coordinator->scene()->countLabel()->text(), "10 / 10");
    EXPECT_TRUE(coordinator->scene()->stage()->ready());
}

TEST_F(ViewerCoordinatorTest, KeysReachTheViewerWhereverTheFocusIs)
{
    model->show(model->visible()[0]);
    ASSERT_EVENTUALLY(viewerShown());
    ASSERT_EVENTUALLY(coordinator->scene()->stage()->ready());
    QWidget* filmstrip = coordinator->scene()->filmstrip();
    filmstrip->setFocus();
    QTest::keyClick(filmstrip, Qt::Key_Right);
    EXPECT_EQ(model->current()->name(), "b.png") << "a plain arrow navigates, not the focused filmstrip";

    // Space on a picture shows and hides the chrome.
    const bool chrome = coordinator->scene()->chromeShown();
    QTest::keyClick(coordinator->scene(), Qt::Key_Space);
    ASSERT_EVENTUALLY(coordinator->scene()->chromeShown() != chrome);

    // A held zoom key stops on release, and when the window loses focus.
    ImageStage* stage = coordinator->scene()->stage();
    ASSERT_EVENTUALLY(stage->ready());
    coordinator->viewerWindow()->activateWindow();
    ASSERT_EVENTUALLY(coordinator->viewerWindow()->isActiveWindow());
    QTest::keyPress(filmstrip, Qt::Key_Up);
    EXPECT_TRUE(stage->keyboardZooming());
    QTest::keyRelease(filmstrip, Qt::Key_Up);
    EXPECT_FALSE(stage->keyboardZooming());
    QTest::keyPress(filmstrip, Qt::Key_Down);
    EXPECT_TRUE(stage->keyboardZooming());
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_EVENTUALLY(!coordinator->viewerWindow()->isActiveWindow());
    EXPECT_FALSE(stage->keyboardZooming());
}

TEST_F(ViewerCoordinatorTest, TheEndsOfTheListPrefetchWhatIsThereAndAFastFrameShowsNoSpinner)
{
    std::mutex lock;
    std::set<std::string> prepared;
    ViewerPipeline::shared().setPrepareHook([&](const std::string& path) {
        std::lock_guard guard(lock);
        prepared.insert(path);
    });
    auto preparedNow = [&] {
        std::lock_guard guard(lock);
        return prepared;
    };
    const MediaItems items = model->visible();
    // Watch the spinner on every turn of the event loop until the first frame.
    bool spun = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { spun = spun || coordinator->scene()->spinning(); });
    watch.start(1);
    QElapsedTimer clock;
    clock.start();
    model->show(items[0]);
    ASSERT_EVENTUALLY(coordinator->currentFrame() != nullptr || coordinator->scene()->errorLabel()->isVisible());
    // The spinner waits for its delay (a timer fires at most 5 % early): a
    // frame that came sooner never shows it, however slow the machine.
    EXPECT_TRUE(!spun || clock.elapsed() >= ViewerCoordinator::kSpinnerDelayMs * 95 / 100)
        << "a spinner for a frame in " << clock.elapsed() << " ms";
    watch.stop();

    ASSERT_EVENTUALLY(preparedNow().count(std::string(items[1].path())) == 1);
    ASSERT_EVENTUALLY_EQ(ViewerPipeline::shared().pendingCount(), size_t(0));
    EXPECT_EQ(preparedNow(), (std::set<std::string>{std::string(items[0].path()), std::string(items[1].path()),
                                                    std::string(items[2].path())}))
        << "two ahead, none behind the first";

    prepared.clear();
    model->show(items[3]);
    ASSERT_EVENTUALLY(preparedNow().count(std::string(items[3].path())) == 1);
    ASSERT_EVENTUALLY_EQ(ViewerPipeline::shared().pendingCount(), size_t(0));
    EXPECT_EQ(preparedNow(), std::set<std::string>{std::string(items[3].path())})
        << "the one behind is there already, and no wrapping round to the first";
    ViewerPipeline::shared().setPrepareHook(nullptr);
}

// The frame is as large as the picture is shown fitted; zooming in brings
// the detailed one, the same picture, in the same place.
TEST_F(ViewerCoordinatorTest, ZoomingPastTheFittedFrameBringsTheDetailedOne)
{
    ASSERT_TRUE(markedPicture(3000, 2000).save(QString::fromStdString(files / "Pics/big.png")));
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_TRUE(waitForQuery(*model));
    const auto big = std::find_if(model->visible().begin(), model->visible().end(),
                                  [](const MediaItem& item) { return item.name() == "big.png"; });
    ASSERT_NE(big, model->visible().end());
    model->show(*big);
    ASSERT_EVENTUALLY(coordinator->currentFrame() && coordinator->scene()->stage()->ready());
    const FrameRef fitted = coordinator->currentFrame();
    EXPECT_LT(fitted->image.width(), 3000);
    EXPECT_EQ(fitted->pixels, (PixelSize{3000, 2000}));

    coordinator->scene()->stage()->perform({ZoomAction::actual});
    ASSERT_EVENTUALLY(coordinator->currentFrame() != fitted);
    EXPECT_EQ(coordinator->currentFrame()->image.size(), QSize(3000, 2000));
    EXPECT_EQ(coordinator->scene()->stage()->frame(), coordinator->currentFrame());
}

TEST_F(ViewerCoordinatorTest, AVideoShowsItsFirstPictureAndSpacePlaysIt)
{
    QtMultimediaKeepsItsOwn leaks;
    std::filesystem::create_directories(files / "Clips");
    // A name that is not UTF-8, and beside it the name it would decode to
    // with the invalid byte replaced: the first plays, never the second.
    ASSERT_TRUE(writeVideo(files / "Clips/\xff clip.mp4", 320, 240, 50));
    ASSERT_TRUE(writeVideo(files / "Clips/\xef\xbf\xbd clip.mp4", 640, 480, 50));
    model->scan({files / "Clips/\xff clip.mp4"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_TRUE(waitForQuery(*model));
    MediaItem clip;
    for (const MediaItem& item : model->visible())
        if (item.isVideo()) clip = item;
    model->show(clip);
    ASSERT_EVENTUALLY(viewerShown());
    ASSERT_TRUE(coordinator->player()) << coordinator->scene()->errorLabel()->text().toStdString();
    ASSERT_EVENTUALLY_EQ(coordinator->player()->playbackState(), QMediaPlayer::PausedState);
    EXPECT_EQ(coordinator->scene()->video()->videoSink()->videoSize(), QSize(320, 240));
    EXPECT_FALSE(coordinator->scene()->zoomLabel()->isVisible());
    QTest::keyClick(coordinator->scene(), Qt::Key_Space);
    EXPECT_EQ(coordinator->player()->playbackState(), QMediaPlayer::PlayingState);
    QTest::keyClick(coordinator->scene(), Qt::Key_Space);
    EXPECT_EQ(coordinator->player()->playbackState(), QMediaPlayer::PausedState);
}

// A playlist dressed as a video reaches no network: the viewer says it can't
// be played, and even the player handed it directly follows no address.
TEST_F(ViewerCoordinatorTest, APlaylistNamedLikeAVideoReachesNothing)
{
    QtMultimediaKeepsItsOwn leaks;
    LocalListener listener;
    const std::string playlist = files / "Clips/holiday.mp4";
    std::filesystem::create_directories(files / "Clips");
    writeBytes(playlist,
               "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n" + listener.url("a.ts") + "\n#EXT-X-ENDLIST\n");
    model->scan({files / "Clips"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_TRUE(waitForQuery(*model));
    ASSERT_TRUE(MediaItem::read(playlist));
    model->show(*MediaItem::read(playlist));
    ASSERT_EVENTUALLY(viewerShown());
    ASSERT_EVENTUALLY(coordinator->scene()->errorLabel()->isVisible());
    EXPECT_TRUE(coordinator->scene()->errorLabel()->text().startsWith("This video can’t be played"));
    EXPECT_FALSE(coordinator->player());
    EXPECT_FALSE(coordinator->scene()->hasVideo()) << "no video surface for what can’t be played";

    // Given straight to a player, the playlist still reaches nothing.
    QMediaPlayer player;
    QSignalSpy failed(&player, &QMediaPlayer::errorOccurred);
    player.setSource(QUrl::fromLocalFile(QString::fromStdString(playlist)));
    player.play();
    ASSERT_EVENTUALLY(!failed.isEmpty() || player.mediaStatus() == QMediaPlayer::InvalidMedia);
    EXPECT_FALSE(listener.reached());
}

TEST_F(ViewerCoordinatorTest, TheInformationPanelComesAndGoesAndEscapeClosesItAlone)
{
    model->show(model->visible()[0]);
    ASSERT_EVENTUALLY(coordinator->currentFrame() != nullptr);
    coordinator->scene()->infoButton()->click();
    ASSERT_EVENTUALLY(coordinator->actions()->popover() && coordinator->actions()->popover()->isVisible());
    coordinator->scene()->infoButton()->click();
    ASSERT_EVENTUALLY(!coordinator->actions()->popover());

    actions->action(ActionRegistry::Command::information)->trigger(); // Ctrl+I in the menu
    ASSERT_EVENTUALLY(coordinator->actions()->popover());
    key(Qt::Key_Escape);
    ASSERT_EVENTUALLY(!coordinator->actions()->popover());
    EXPECT_TRUE(model->current()) << "only the panel closed";
}

TEST_F(ViewerCoordinatorTest, TheTrashSheetCountsItsFiles)
{
    model->show(model->visible()[0]);
    ASSERT_EVENTUALLY(viewerShown());
    for (const auto& [count, title] : {std::pair{1, "Move 1 file to Trash?"}, std::pair{3, "Move 3 files to Trash?"}}) {
        MediaItems items;
        for (int i = 0; i < count; ++i) items.append(model->visible()[i]);
        ASSERT_TRUE(coordinator->confirmTrash(items));
        QPointer<AlertDialog> sheet = coordinator->viewerWindow()->findChild<AlertDialog*>();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->title(), title);
        EXPECT_EQ(sheet->message(), "You can restore these files with Undo in Mirelo or from the Trash.");
        // Return cancels, as Escape does: nothing is pending.
        ASSERT_EVENTUALLY(sheet->isVisible());
        QTest::keyClick(sheet->focusWidget() ? sheet->focusWidget() : sheet.data(), Qt::Key_Return);
        ASSERT_EVENTUALLY(!sheet);
        EXPECT_TRUE(model->pendingTrash().empty());
    }
}

} // namespace
} // namespace mirelo::test
