// The application's commands: their keys, their menus, the rules that
// enable them, and where the Edit commands go when a text field has focus.

#include "AppTestSupport.h"
#include "common/ActionRegistry.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include "Eventually.h"

namespace mirelo::test {
namespace {

using Command = ActionRegistry::Command;

class ActionRegistryTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        registry = std::make_unique<ActionRegistry>(*model);
    }
    std::unique_ptr<ActionRegistry> registry;

    bool enabled(Command command)
    {
        registry->refresh();
        return registry->action(command)->isEnabled();
    }
};

TEST_F(ActionRegistryTest, ImageCommandsFollowTheShownItem)
{
    media("Pics/a.jpg");
    media("Pics/clip.mov");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    const std::vector<Command> imageOnly = {Command::zoomIn, Command::zoomOut, Command::fitToWindow,
                                            Command::actualSize, Command::copyImage};
    for (Command command : imageOnly) EXPECT_FALSE(enabled(command));
    EXPECT_FALSE(enabled(Command::information));

    for (const MediaItem& item : model->visible()) {
        model->show(item);
        SCOPED_TRACE(item.path());
        for (Command command : imageOnly) EXPECT_EQ(enabled(command), !item.isVideo());
        EXPECT_TRUE(enabled(Command::information));
        EXPECT_TRUE(enabled(Command::reveal));
    }
    // Keys reach the viewer only while allowed, each press a command of its own.
    QSignalSpy commands(registry.get(), &ActionRegistry::windowCommand);
    registry->action(Command::zoomIn)->trigger();
    EXPECT_EQ(commands.size(), 0) << "a video is shown";
    model->show(model->visible()[0]);
    registry->action(Command::zoomIn)->trigger();
    registry->action(Command::zoomIn)->trigger();
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands[1][0].value<Command>(), Command::zoomIn);
}

// With a text field focused, Undo is the field's own, and Delete edits the
// text instead of reaching Move to Trash.
TEST_F(ActionRegistryTest, ATextFieldKeepsItsOwnEditing)
{
    QMainWindow window;
    window.setMenuBar(registry->makeMenuBar(&window));
    auto* field = new QLineEdit(&window);
    window.setCentralWidget(field);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    field->setFocus();
    ASSERT_EVENTUALLY(field->hasFocus());

    EXPECT_EQ(registry->action(Command::undo)->text(), "Undo");
    EXPECT_FALSE(enabled(Command::undo)) << "nothing typed yet";
    QTest::keyClicks(field, "sunset");
    EXPECT_TRUE(enabled(Command::undo));
    registry->action(Command::undo)->trigger();
    EXPECT_EQ(field->text(), "");

    media("Pics/a.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    model->setSelection({files / "Pics/a.jpg"});
    QSignalSpy prompts(model.get(), &AppModel::trashPromptChanged);
    QTest::keyClicks(field, "ab");
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), "b");
    EXPECT_EQ(prompts.size(), 0) << "Delete never reached Move to Trash";

    field->clearFocus();
    window.setFocus();
    ASSERT_EVENTUALLY_EQ(registry->action(Command::undo)->text(), QString("Undo Move to Trash"));
    EXPECT_FALSE(enabled(Command::undo)) << "nothing to undo";
}

} // namespace
} // namespace mirelo::test
