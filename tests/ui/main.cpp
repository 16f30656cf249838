// The windows' tests run under a widgets application on the offscreen
// platform, with the user's data, configuration and cache folders in a
// temporary folder.

#include "TestFiles.h"
#include "images/ImageModule.h"
#include "ThumbnailStore.h"
#include "ViewerPipeline.h"

#include <QApplication>

#include "Translation.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    mirelo::test::TempFolder home;
    mirelo::test::useDesktopIn(home);
    mirelo::ImageModule::prepareProcess();
    QApplication application(argc, argv);
    // The English texts, with their plural forms, whatever the machine's language.
    const mirelo::Translations english(QLocale(QLocale::English));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Nothing may still be decoding while the process ends.
    mirelo::ViewerPipeline::shared().finishWork();
    mirelo::ThumbnailStore::shared().finishWork();
    return result;
}
