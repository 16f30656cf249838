// The folder rows: indentation, what they say to accessibility, the options
// shown to keyboard users, children listed lazily, and the folder actions.

#include "AppTestSupport.h"
#include "common/FolderTreeRow.h"
#include "library/LibraryFolderRow.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include "Eventually.h"

namespace mirelo::test {
namespace {

TEST(FolderTreeRow, IndentationStopsAtSixLevelsAndLabelsSayTheAction)
{
    for (auto [depth, inset] : std::vector<std::pair<int, int>>{{0, 3}, {1, 15}, {6, 75}, {9, 75}})
        EXPECT_EQ(FolderTreeRow("/a/b", depth, [](QMenu&) {}).leadingInset(), inset) << depth;

    FolderTreeRow row("/home/ana/Trips", 0, [](QMenu&) {});
    EXPECT_EQ(row.disclosureButton()->accessibleName(), "Expand Trips");
    row.setExpanded(true);
    EXPECT_EQ(row.disclosureButton()->accessibleName(), "Collapse Trips");
    EXPECT_EQ(row.folderButton()->accessibleName(), "Trips");
    EXPECT_EQ(row.folderButton()->toolTip(), "/home/ana/Trips");
    EXPECT_EQ(row.optionsButton()->accessibleName(), "Options for Trips");
    EXPECT_EQ(row.optionsButton()->toolTip(), "Folder options");
}

TEST(FolderTreeRow, KeyboardFocusShowsTheOptions)
{
    FolderTreeRow row("/home/ana/Trips", 0, [](QMenu&) {});
    row.resize(260, 34);
    row.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    row.activateWindow();
    for (QToolButton* button : {row.disclosureButton(), row.folderButton(), row.optionsButton()}) button->clearFocus();
    QEvent leave(QEvent::Leave); // the pointer is elsewhere
    QCoreApplication::sendEvent(&row, &leave);
    ASSERT_EVENTUALLY(!row.showsOptions());
    row.disclosureButton()->setFocus(Qt::TabFocusReason);
    ASSERT_EVENTUALLY(row.showsOptions());
}

class LibraryFolderRowTest : public AppModelTest {};

TEST_F(LibraryFolderRowTest, ChildrenArriveLazilyAndActionsWaitForScans)
{
    media("Trips/Rome/a.jpg");
    media("Trips/Oslo/b.jpg");
    auto model = launchIndexing("Trips");
    LibraryFolderRow row(*model, files / "Trips", 0);
    EXPECT_TRUE(row.children().empty());

    Q_EMIT row.row()->toggleRequested();
    EXPECT_TRUE(row.children().empty()) << "nothing until the model lists the children";
    ASSERT_EVENTUALLY_EQ(row.children().size(), size_t(2));
    EXPECT_EQ(row.children()[0]->row()->folderButton()->text(), "Oslo");
    EXPECT_EQ(row.children()[0]->row()->leadingInset(), 15);

    Q_EMIT row.children()[1]->row()->chooseRequested();
    EXPECT_EQ(model->selectedFolder(), files / "Trips/Rome");

    auto actions = [&] {
        row.row()->optionsButton()->menu()->aboutToShow();
        std::vector<std::pair<QString, bool>> list;
        for (QAction* action : row.row()->optionsButton()->menu()->actions())
            if (!action->isSeparator()) list.emplace_back(action->text(), action->isEnabled());
        return list;
    };
    using Actions = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(actions(), (Actions{{"New Folder Inside…", true},
                                  {"Rename Folder…", true},
                                  {"Refresh Scan", true},
                                  {"Show in File Manager", true}}));
    model->scan({files / "Trips"}, true);
    EXPECT_EQ(actions(), (Actions{{"New Folder Inside…", false},
                                  {"Rename Folder…", false},
                                  {"Refresh Scan", false},
                                  {"Show in File Manager", true}}));
    ASSERT_TRUE(waitForScan(*model));
}

} // namespace
} // namespace mirelo::test
