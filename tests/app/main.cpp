// The model's tests run under a GUI application on the offscreen platform,
// with the user's data, configuration and cache folders in a temporary folder.

#include "TestFiles.h"
#include "images/ImageModule.h"

#include <QGuiApplication>

#include "Translation.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    mirelo::test::TempFolder home;
    mirelo::test::useDesktopIn(home);
    mirelo::ImageModule::prepareProcess();
    QGuiApplication application(argc, argv);
    // The English texts, with their plural forms, whatever the machine's language.
    const mirelo::Translations english(QLocale(QLocale::English));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
