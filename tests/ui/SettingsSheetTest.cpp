// Settings on the offscreen platform with a private configuration folder:
// the backdrop's softness.

#include "AppSettings.h"
#include "common/CapsuleButton.h"
#include "library/SettingsSheet.h"

#include <QLabel>
#include <QSlider>
#include <QTest>
#include "Eventually.h"

#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

TEST(SettingsSheet, TheBlurShowsItsPercentageAndResets)
{
    SettingsSheet sheet;
    sheet.blurSlider()->setValue(7); // 0.35
    EXPECT_EQ(sheet.blurPercent()->text(), "35%");
    EXPECT_DOUBLE_EQ(AppSettings::open()->value(AppSettings::kBackgroundBlur).toDouble(), 0.35);
    EXPECT_TRUE(sheet.resetButton()->isEnabled());
    sheet.resetButton()->click();
    EXPECT_EQ(sheet.blurPercent()->text(), "10%");
    EXPECT_EQ(sheet.blurSlider()->value(), 2);
    EXPECT_FALSE(sheet.resetButton()->isEnabled());
}

} // namespace
} // namespace mirelo::test
