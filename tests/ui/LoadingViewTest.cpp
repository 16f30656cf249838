// The loading view turns while shown, and stands still under reduced motion.

#include "common/LoadingView.h"

#include <QTest>

#include <gtest/gtest.h>

namespace mirelo {
namespace {

TEST(LoadingView, TurnsOnlyWhileShownAndMotionIsAllowed)
{
    LoadingView view;
    view.resize(400, 300);
    EXPECT_FALSE(view.rotating());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.rotating());
    view.setReduceMotion(true);
    EXPECT_FALSE(view.rotating());
    view.setReduceMotion(false);
    EXPECT_TRUE(view.rotating());
    view.hide();
    EXPECT_FALSE(view.rotating());
    EXPECT_EQ(view.accessibleName(), "Your content is loading");
}

} // namespace
} // namespace mirelo
