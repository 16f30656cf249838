// The sidebar: the current section, the count, the folders list and its
// empty text, and the scan card's button during a scan.

#include "AppTestSupport.h"
#include "library/LibraryFolderRow.h"
#include "library/LibrarySidebar.h"
#include "library/SidebarSectionRow.h"
#include "common/DesktopLook.h"

#include <QAbstractButton>
#include <cmath>
#include <map>

#include <QLabel>
#include <QTest>
#include <QPushButton>
#include <QVBoxLayout>
#include "Eventually.h"

namespace mirelo::test {
namespace {

class LibrarySidebarTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        sidebarPointer = std::make_unique<LibrarySidebar>(*model);
    }
    std::unique_ptr<LibrarySidebar> sidebarPointer;
    LibrarySidebar& sidebar() const { return *sidebarPointer; }

    SidebarSectionRow* row(LibrarySection section) const
    {
        return static_cast<SidebarSectionRow*>(sidebar().sectionRow(section));
    }
    std::vector<LibrarySection> current() const
    {
        std::vector<LibrarySection> list;
        for (LibrarySection section :
             {LibrarySection::all, LibrarySection::images, LibrarySection::videos, LibrarySection::large})
            if (row(section)->isCurrent()) list.push_back(section);
        return list;
    }
};

TEST_F(LibrarySidebarTest, SectionsCountAndFolders)
{
    EXPECT_EQ(current(), std::vector<LibrarySection>{LibrarySection::all});
    EXPECT_EQ(row(LibrarySection::all)->count(), "") << "no count while the library is empty";
    EXPECT_FALSE(sidebar().noFoldersLabel()->isHidden());
    EXPECT_EQ(sidebar().noFoldersLabel()->text(), "Your scanned folders\nwill appear here.");

    media("Pics/a.jpg");
    media("Pics/Sub/b.mov");
    model->scan({files / "Pics"}, true);
    EXPECT_FALSE(sidebar().scanComputerButton()->isEnabled()) << "not during a scan";
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_TRUE(sidebar().scanComputerButton()->isEnabled());
    EXPECT_EQ(row(LibrarySection::all)->count(), "2");
    EXPECT_TRUE(sidebar().noFoldersLabel()->isHidden());
    ASSERT_NE(qobject_cast<LibraryFolderRow*>(sidebar().folderList()->itemAt(0)->widget()), nullptr);
    EXPECT_TRUE(current().empty()) << "the scanned folder is selected, so no section is current";

    sidebar().resize(LibrarySidebar::kWidth, 800);
    sidebar().show();
    row(LibrarySection::videos)->click();
    EXPECT_EQ(model->section(), LibrarySection::videos);
    EXPECT_EQ(current(), std::vector<LibrarySection>{LibrarySection::videos});
    // The highlight slides to the row and rests there.
    ASSERT_EVENTUALLY_EQ(sidebar().highlight(), QRectF(row(LibrarySection::videos)->geometry()));
    EXPECT_EQ(row(LibrarySection::all)->count(), "2");
}

} // namespace
} // namespace mirelo::test
