// The application's launch and hand-over rules: a plain launch shows the
// library, a picture from the file manager leaves it hidden, a folder shows
// it and scans; closing the library window keeps it for later; a failed
// final save can keep the application open.

#include "AppTestSupport.h"
#include "ImageFixtures.h"
#include "common/AlertDialog.h"
#include "common/DesktopServices.h"

#include <QPushButton>
#include "library/LibraryWindow.h"
#include "shell/AppDelegate.h"
#include "shell/CommandLine.h"
#include "shell/WindowShell.h"
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
        delegate->shell().prepareToQuit();
        delegate.reset();
        LaunchedModelTest::TearDown();
    }
    LibraryWindow* library() const { return delegate->shell().libraryWindow(); }
    bool libraryShown() const { return library() && library()->isVisible(); }

    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppDelegateTest, LaunchesAndHandOvers)
{
    delegate->didFinishLaunching(true);
    ASSERT_TRUE(libraryShown());
    LibraryWindow* window = library();
    EXPECT_EQ(window->minimumSize(), QSize(860, 590));

    // Closing hides the window; the same one comes back.
    window->close();
    EXPECT_FALSE(libraryShown());
    delegate->reopen();
    EXPECT_TRUE(libraryShown());
    EXPECT_EQ(library(), window);

    // A picture from the file manager: the library stays hidden.
    media("Handed/photo.jpg");
    delegate->openFiles({files / "Handed/photo.jpg"});
    EXPECT_TRUE(delegate->receivedFileOpen());
    EXPECT_FALSE(libraryShown());
    ASSERT_TRUE(model->current());
    EXPECT_TRUE(delegate->shell().viewer().isPresenting()) << "the viewer alone";
    delegate->shell().viewer().requestClose();
    EXPECT_FALSE(model->current());
    EXPECT_FALSE(libraryShown()) << "closing it leaves the library hidden";

    // Settings over the viewer: the viewer closes, the library comes with its sheet.
    delegate->openFiles({files / "Handed/photo.jpg"});
    ASSERT_TRUE(delegate->shell().viewer().isPresenting());
    delegate->actions().action(ActionRegistry::Command::settings)->trigger();
    EXPECT_FALSE(model->current());
    EXPECT_TRUE(libraryShown());
    ASSERT_NE(library()->settingsSheet(), nullptr);
    library()->settingsSheet()->reject();

    // A folder: the library shows and scans it.
    media("Handed/More/clip.mov");
    delegate->openFiles({files / "Handed/More"});
    EXPECT_TRUE(libraryShown());
    ASSERT_TRUE(waitUntil([&] { return !model->scanning() && model->items().size() >= 1; }));
}

// Names are bytes: one that is not UTF-8 opens; a missing path says so and
// leaves the library where it was.
TEST_F(AppDelegateTest, HandedPathsAreBytesAndBadOnesHideNothing)
{
    delegate->didFinishLaunching(true);
    ASSERT_TRUE(libraryShown());
    delegate->openFiles({files / "Handed/gone.jpg"});
    ASSERT_TRUE(waitUntil([&] { return model->errorMessage().has_value(); }));
    EXPECT_EQ(*model->errorMessage(), "“gone.jpg” doesn’t exist.");
    EXPECT_TRUE(libraryShown());
    model->setErrorMessage(std::nullopt);

    const std::string latin1 = files / "Handed/caf\xe9.jpg";
    std::filesystem::create_directories(files / "Handed");
    ASSERT_TRUE(saveWithVips(markedPicture(64, 48), latin1));
    delegate->openFiles({latin1});
    ASSERT_TRUE(waitUntil([&] { return model->current().has_value(); }));
    EXPECT_EQ(std::string(model->current()->path()), latin1);
    EXPECT_FALSE(model->errorMessage().has_value());
}

TEST(CommandLine, OptionsFilesAndTheEndOfOptions)
{
    struct Case {
        std::vector<const char*> arguments;
        CommandLine::Action action;
        std::vector<std::string> paths;
    };
    for (const Case& c : std::vector<Case>{
             {{"/a.jpg", "/b/"}, CommandLine::Action::run, {"/a.jpg", "/b"}},
             {{"--", "-rf.jpg"}, CommandLine::Action::run, {std::filesystem::current_path().string() + "/-rf.jpg"}},
             {{"--help", "/a.jpg"}, CommandLine::Action::help, {"/a.jpg"}},
             {{"-v"}, CommandLine::Action::version, {}},
             {{"--frobnicate", "/a.jpg"}, CommandLine::Action::usage, {}},
             {{"/caf\xe9.jpg"}, CommandLine::Action::run, {"/caf\xe9.jpg"}},
             {{"-platform", "xcb", "--", "-platform", "/red.png"},
              CommandLine::Action::run,
              {std::filesystem::current_path().string() + "/-platform", "/red.png"}},
             {{"-reverse"}, CommandLine::Action::usage, {}}, // never one of Qt's
         }) {
        std::vector<const char*> argv{"mirelo"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine line = CommandLine::parse(int(argv.size()), argv.data());
        EXPECT_EQ(line.action, c.action) << c.arguments.front();
        EXPECT_EQ(line.paths, c.paths) << c.arguments.front();
    }
    const char* platform[] = {"mirelo", "-platform", "xcb", "--", "-reverse"};
    EXPECT_EQ(CommandLine::parse(5, platform).qtOptions, (std::vector<std::string>{"-platform", "xcb"}));
    const char* unknown[] = {"mirelo", "--frobnicate"};
    EXPECT_EQ(CommandLine::parse(2, unknown).error, "unknown option --frobnicate");
}

// Without the desktop's chooser, "Open With…" says so instead of doing nothing.
TEST(DesktopServices, OpenWithSaysSoWithoutAChooser)
{
    TempFolder folder;
    writeFile(folder / "photo.jpg", "pixels");
    ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", ""), runtime("XDG_RUNTIME_DIR", folder / "run"),
        path("PATH", folder / "bin"); // no portal, no bus, no xdg-open
    std::optional<bool> said;
    DesktopServices::openWith(folder / "photo.jpg", [&](bool opened) { said = opened; });
    QTRY_VERIFY(said.has_value());
    EXPECT_FALSE(*said);
}

TEST_F(AppDelegateTest, AFailedSaveAsksBeforeQuitting)
{
    // The library file's folder becomes a file: the save cannot succeed.
    media("Pics/a.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    const std::filesystem::path folder = std::filesystem::path(model->libraryPath()).parent_path();
    std::filesystem::remove_all(folder);
    {
        std::ofstream blocker(folder);
    }
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
