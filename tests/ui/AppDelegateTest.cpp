// The application's launch and hand-over rules: a plain launch shows the
// library, a picture from the file manager leaves it hidden, a folder shows
// it and scans; closing the library window keeps it for later; a failed
// final save can keep the application open.

#include "AppTestSupport.h"
#include "common/AlertDialog.h"

#include <QPushButton>
#include "library/LibraryWindow.h"
#include "shell/AppDelegate.h"
#include "viewer/ViewerCoordinator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <fstream>

namespace mirelo::test {
namespace {

class AppDelegateTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        delegate = std::make_unique<AppDelegate>(*model);
        delegate->willFinishLaunching();
    }
    void TearDown() override
    {
        // The coordinator outlives each test: it lets go of this model.
        coordinator().prepareToQuit();
        if (LibraryWindow* window = coordinator().libraryWindow()) window->hide();
        model->setViewer(nullptr);
        delegate.reset();
        LaunchedModelTest::TearDown();
    }
    static ViewerCoordinator& coordinator() { return ViewerCoordinator::shared(); }
    bool libraryShown() const { return coordinator().libraryWindow() && coordinator().libraryWindow()->isVisible(); }

    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppDelegateTest, LaunchesAndHandOvers)
{
    delegate->didFinishLaunching(true);
    ASSERT_TRUE(libraryShown());
    LibraryWindow* window = coordinator().libraryWindow();
    EXPECT_EQ(window->minimumSize(), QSize(860, 590));

    // Closing hides the window; the same one comes back.
    window->close();
    EXPECT_FALSE(libraryShown());
    delegate->reopen();
    EXPECT_TRUE(libraryShown());
    EXPECT_EQ(coordinator().libraryWindow(), window);

    // A picture from the file manager: the library stays hidden.
    media("Handed/photo.jpg");
    delegate->openFiles({QString::fromStdString(files / "Handed/photo.jpg")});
    EXPECT_TRUE(delegate->receivedFileOpen());
    EXPECT_FALSE(libraryShown());
    ASSERT_TRUE(model->current());
    EXPECT_TRUE(coordinator().isPresenting()) << "the viewer alone";
    EXPECT_FALSE(coordinator().restoreLibraryOnDismiss) << "closing it leaves the library hidden";

    // A folder: the library shows and scans it.
    media("Handed/More/clip.mov");
    delegate->openFiles({QString::fromStdString(files / "Handed/More")});
    EXPECT_TRUE(libraryShown());
    ASSERT_TRUE(waitUntil([&] { return !model->scanning() && model->items().size() >= 1; }));
}

TEST_F(AppDelegateTest, AFailedSaveAsksBeforeQuitting)
{
    // The library file's folder becomes a file: the save cannot succeed.
    media("Pics/a.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    const std::filesystem::path folder = std::filesystem::path(model->libraryPath()).parent_path();
    std::filesystem::remove_all(folder);
    { std::ofstream blocker(folder); }
    model->scheduleSave();

    QString title;
    auto answer = [&](const QString& button) {
        QTimer::singleShot(0, [&, button] {
            auto* box = qobject_cast<AlertDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->title();
            for (QPushButton* candidate : box->buttons())
                if (candidate->text() == button) candidate->click();
        });
    };
    answer("Keep Open");
    EXPECT_FALSE(delegate->shouldTerminate());
    EXPECT_EQ(title, "Couldn’t save your library");
    answer("Quit Anyway");
    EXPECT_TRUE(delegate->shouldTerminate());
    std::filesystem::remove(folder);
}

} // namespace
} // namespace mirelo::test
