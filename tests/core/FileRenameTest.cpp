// Renaming without replacing, where the file system can only link and unlink.

#include "files/FileRename.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

using namespace mirelo;
using namespace mirelo::test;

namespace {

// Where a file system cannot rename without replacing, a file is linked
// and then unlinked; an unlink that fails takes the link back.
TEST(FileRenameTest, LinkThenUnlinkReportsAnUnlinkThatFails)
{
    TempFolder folder;
    const std::string from = folder / "locked/a.jpg", to = folder / "b.jpg";
    writeFile(from, "pixels");
    const std::string locked = folder / "locked";
    const bool root = ::getuid() == 0;
    if (root ? std::system(("chattr +a '" + locked + "' 2>/dev/null").c_str()) != 0
             : ::chmod(locked.c_str(), 0555) != 0)
        GTEST_SKIP() << "cannot protect a folder here";
    const int error = linkThenUnlink(from, to);
    if (root)
        std::system(("chattr -a '" + locked + "'").c_str());
    else
        ::chmod(locked.c_str(), 0755);
    EXPECT_NE(error, 0);
    EXPECT_EQ(readFile(from), "pixels");
    EXPECT_FALSE(exists(to)) << "the link is taken back";

    EXPECT_EQ(linkThenUnlink(from, to), 0);
    EXPECT_FALSE(exists(from));
    writeFile(from, "new");
    EXPECT_EQ(linkThenUnlink(from, to), EEXIST);
    EXPECT_EQ(readFile(to), "pixels");
}

} // namespace
