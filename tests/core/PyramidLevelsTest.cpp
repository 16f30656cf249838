// The reduced copies' sizes and the choice of copy for a shown size.

#include "layout/PyramidLevels.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

TEST(PyramidLevels, HalvesDownToTheSmallestAndChoosesTheNearestLargerCopy)
{
    const std::vector<LevelSize> levels = PyramidLevels::sizes({4096, 2731});
    EXPECT_EQ(levels, (std::vector<LevelSize>{{4096, 2731}, {2048, 1366}, {1024, 683}, {512, 342}, {256, 171}}));
    EXPECT_TRUE(PyramidLevels::sizes({0, 10}).empty());
    EXPECT_EQ(PyramidLevels::sizes({200, 100}), (std::vector<LevelSize>{{200, 100}})) << "small pictures keep one copy";
    EXPECT_EQ(PyramidLevels::sizes({1, 1}, 1), (std::vector<LevelSize>{{1, 1}}));

    const struct {
        double shown;
        int level;
    } cases[] = {
        {8192, 0}, {4096, 0}, {4095, 0}, {2048, 1}, {2047, 1}, {1025, 1},
        {1024, 2}, {600, 2},  {512, 3},  {300, 3},  {256, 4},  {50, 4},
    };
    for (const auto& [shown, level] : cases) EXPECT_EQ(PyramidLevels::choose(levels, shown), level) << shown;
}

} // namespace
} // namespace mirelo
