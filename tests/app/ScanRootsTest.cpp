// What "Scan Entire Computer" takes: the home folder and the user's drives.

#include "ScanRoots.h"

#include <QDir>

#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

TEST(ScanRoots, EntireComputerIsHomeAndUserDrives)
{
    EXPECT_EQ(ScanRoots::entireComputer().front(), QDir::homePath().toStdString());
    EXPECT_TRUE(ScanRoots::isUserDrive("/media/ana/USB STICK", "/dev/sdb1"));
    EXPECT_TRUE(ScanRoots::isUserDrive("/run/media/ana/Backup", "/dev/sdc1"));
    EXPECT_TRUE(ScanRoots::isUserDrive("/mnt/photos", "/dev/nvme1n1p1"));
    EXPECT_FALSE(ScanRoots::isUserDrive("/", "/dev/sda2"));
    EXPECT_FALSE(ScanRoots::isUserDrive("/boot/efi", "/dev/sda1"));
    EXPECT_FALSE(ScanRoots::isUserDrive("/media/ana/share", "nas:/photos"));
    EXPECT_FALSE(ScanRoots::isUserDrive("/media/ana/disk image", "/dev/loop4"));
    EXPECT_FALSE(ScanRoots::isUserDrive("/media/", "/dev/sdb1"));
}

} // namespace
} // namespace mirelo::test
