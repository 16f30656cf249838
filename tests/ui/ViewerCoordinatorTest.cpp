// The viewer on a real model and real pictures: the window appears only
// with its first frame, hides the library and brings it back, keys move and
// zoom before anything else sees them, and a damaged file says so.

#include "AppTestSupport.h"
#include "ImageFixtures.h"
#include "library/LibraryWindow.h"
#include "shell/ActionRegistry.h"
#include "ViewerPipeline.h"
#include "viewer/ImageStage.h"
#include "viewer/OverlayWindow.h"
#include "viewer/ViewerCoordinator.h"
#include "viewer/ViewerScene.h"

#include <QLabel>
#include <QTest>
#include "QtTry.h"

namespace mirelo::test {
namespace {

class ViewerCoordinatorTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        actions = std::make_unique<ActionRegistry>(*model);
        coordinator = std::make_unique<ViewerCoordinator>();
        coordinator->connect(*model, *actions);
        std::filesystem::create_directories(files / "Pics");
        for (const char* name : {"a.png", "b.png", "c.png"})
            ASSERT_TRUE(markedPicture(320, 200).save(QString::fromStdString(files / (std::string("Pics/") + name))));
        writeBytes(files / "Pics/d.jpg", "not a picture");
        model->scan({files / "Pics"}, true);
        ASSERT_TRUE(waitForScan(*model));
        ASSERT_TRUE(waitForQuery(*model));
        coordinator->reopenLibrary();
        // The library is in front, as when a card is double-clicked.
        ASSERT_TRUE(QTest::qWaitForWindowActive(coordinator->libraryWindow()));
    }
    void TearDown() override
    {
        coordinator->prepareToQuit();
        model->setViewer(nullptr);
        coordinator.reset();
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
    std::unique_ptr<ViewerCoordinator> coordinator;
};

TEST_F(ViewerCoordinatorTest, OpensWithItsFirstFrameAndMovesWithTheArrows)
{
    ASSERT_TRUE(coordinator->libraryWindow()->isVisible());
    model->show(model->visible()[0]);
    EXPECT_TRUE(coordinator->isPresenting());
    EXPECT_FALSE(viewerShown()) << "nothing on screen before the first frame";
    QTRY_VERIFY(viewerShown());
    EXPECT_FALSE(coordinator->libraryWindow()->isVisible());
    EXPECT_EQ(coordinator->scene()->countLabel()->text(), "1 / 4");
    EXPECT_EQ(coordinator->viewerWindow()->windowTitle(), "a.png — Mirelo");
    QTRY_VERIFY(coordinator->scene()->stage()->ready());

    key(Qt::Key_Right);
    EXPECT_EQ(model->current()->name(), "b.png");
    QTRY_COMPARE(coordinator->scene()->countLabel()->text(), QString("2 / 4"));

    // Held Up zooms in until released.
    QTRY_VERIFY(coordinator->scene()->stage()->ready());
    const double fitted = coordinator->scene()->stage()->geometry().scale;
    key(Qt::Key_Up);
    EXPECT_GT(coordinator->scene()->stage()->geometry().scale, fitted);
    key(Qt::Key_Up, QEvent::KeyRelease);

    key(Qt::Key_Escape);
    EXPECT_FALSE(model->current());
    EXPECT_FALSE(viewerShown());
    EXPECT_TRUE(coordinator->libraryWindow()->isVisible()) << "the library comes back";
}

TEST_F(ViewerCoordinatorTest, ADamagedFileSaysSo)
{
    MediaItem damaged;
    for (const MediaItem& item : model->visible())
        if (item.name() == "d.jpg") damaged = item;
    model->show(damaged);
    QTRY_VERIFY(viewerShown());
    EXPECT_TRUE(coordinator->scene()->errorLabel()->isVisible());
    EXPECT_EQ(coordinator->scene()->errorLabel()->text(),
              "This file can’t be previewed.\nIt may be damaged or use an unsupported codec.");
    EXPECT_FALSE(coordinator->scene()->stage()->ready());
}

TEST_F(ViewerCoordinatorTest, FastNavigationEndsOnTheLastPictureWithLittleWorkWanted)
{
    std::filesystem::create_directories(files / "Many");
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(markedPicture(1600, 1000).save(QString::fromStdString(files / ("Many/" + std::to_string(i) + ".png"))));
    model->scan({files / "Many"}, true);
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_TRUE(waitForQuery(*model));
    ASSERT_EQ(model->visible().size(), 10);
    model->show(model->visible()[0]);
    QTRY_VERIFY(viewerShown());
    for (int step = 0; step < 9; ++step) key(Qt::Key_Right);
    EXPECT_EQ(model->current()->name(), "9.png");
    EXPECT_LE(ViewerPipeline::shared().pendingCount(), 3u) << "the picture shown and its neighbours, no more";
    QTRY_VERIFY(coordinator->currentFrame() != nullptr);
    EXPECT_EQ(coordinator->scene()->countLabel()->text(), "10 / 10");
    EXPECT_TRUE(coordinator->scene()->stage()->ready());
}

TEST(ViewerScene, TheImageViewportLeavesRoomForTheChromeAndTheFilmstrip)
{
    EXPECT_EQ(ViewerScene::imageViewportFor({1000, 540}), QRectF(0, 42, 1000, 353));
    EXPECT_EQ(ViewerScene::imageViewportFor({1000, 150}), QRectF(0, 42, 1000, 1));
}

} // namespace
} // namespace mirelo::test
