// The windows' tests run under a widgets application on the offscreen
// platform, with the user's data, configuration and cache folders in a
// temporary folder.

#include "TestFiles.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    mirelo::test::TempFolder home;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        std::string folder = home / name;
        mirelo::test::makeFolder(folder);
        ::setenv(name, folder.c_str(), 1);
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
