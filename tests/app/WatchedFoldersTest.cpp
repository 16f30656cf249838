// Which indexed folders changed: events picked and dropped, the top-most of
// nested folders, and one quiet moment after a burst of changes.

#include "AppTestSupport.h"
#include "WatchedFolders.h"

#include <QDir>

namespace mirelo::test {
namespace {

TEST(WatchedFolders, TopMostDropsFoldersInsideOthers)
{
    struct Case {
        std::vector<std::string> folders, top;
    };
    for (const Case& c : std::vector<Case>{
             {{}, {}},
             {{"/a", "/a/b", "/a/b/c"}, {"/a"}},
             {{"/a/b", "/a"}, {"/a"}},
             {{"/a", "/ab"}, {"/a", "/ab"}},
         }) {
        EXPECT_EQ(WatchedFolders::topMost(c.folders), c.top) << ::testing::PrintToString(c.folders);
    }
}

// In an indexed home folder, what Linux keeps for programs is passed over;
// "~/Library" is the user's own folder there.
TEST(WatchedFolders, TheHomeFoldersProgramsFolderIsPassedOver)
{
    const std::string home = QDir::homePath().toStdString();
    WatchedFolders folders;
    folders.setIndexed({home});
    folders.noteChanges({home + "/snap/editor/common"});
    EXPECT_TRUE(folders.changed().empty());
    folders.noteChanges({home + "/Library/Photos"});
    EXPECT_EQ(folders.changed(), (std::set<std::string>{home + "/Library/Photos"}));
}

TEST(WatchedFolders, EventsOutsideTheLibraryOrInHiddenPlacesAreIgnored)
{
    const std::string lib = "/media/photos/Lib";
    const std::vector<std::string> indexed{lib};
    WatchedFolders folders(indexed);
    folders.setQuietMs(50);
    QSignalSpy due(&folders, &WatchedFolders::refreshDue);
    const std::string home = QDir::homePath().toStdString();
    folders.noteChanges({"/media/photos/Elsewhere", lib + "/.cache", lib + "/.git/objects", home + "/snap/editor"});
    EXPECT_TRUE(folders.changed().empty());
    folders.noteChanges({lib + "/One/./", lib});
    folders.noteChanges({lib + "/One/Two"});
    EXPECT_EQ(folders.changed(), (std::set<std::string>{lib, lib + "/One", lib + "/One/Two"}));

    EXPECT_TRUE(due.wait(5000));
    EXPECT_FALSE(due.wait(200)) << "one refresh for the burst";
    EXPECT_EQ(folders.take(), std::vector<std::string>{lib});
    EXPECT_TRUE(folders.changed().empty());
    folders.giveBack({lib + "/One"});
    EXPECT_EQ(folders.changed(), std::set<std::string>{lib + "/One"});
}

} // namespace
} // namespace mirelo::test
