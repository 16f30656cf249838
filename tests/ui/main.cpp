// The windows' tests run under a widgets application on the offscreen
// platform, with the user's data, configuration and cache folders in a
// temporary folder.

#include "TestFiles.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    mirelo::test::TempFolder home;
    mirelo::test::useDesktopIn(home);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
