// Reading the mount table, and which folders a path's drive brings into view.

#include "library/MountTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace mirelo;

namespace {

TEST(MountTable, ReadsMountPointsAndWhereDrivesGo)
{
    const std::set<std::string> points =
        MountTable::parse("22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
                          "95 22 8:17 / /media/ana/USB\\040STICK rw,nosuid shared:50 - vfat /dev/sdb1 rw\n"
                          "garbage\n");
    EXPECT_EQ(points, (std::set<std::string>{"/", "/media/ana/USB STICK"}));
    using Folders = std::vector<std::string>;
    EXPECT_EQ(MountTable::driveFolders("/mnt/photos/2024/a.jpg"), (Folders{"/mnt", "/mnt/photos"}));
    EXPECT_EQ(MountTable::driveFolders("/media/ana/USB/a.jpg"), (Folders{"/media/ana", "/media/ana/USB"}));
    EXPECT_EQ(MountTable::driveFolders("/run/media/ana/Disk/a.jpg"), (Folders{"/run/media/ana/Disk"}));
    EXPECT_EQ(MountTable::driveFolders("/home/ana/mnt/a.jpg"), Folders{});
}

} // namespace
