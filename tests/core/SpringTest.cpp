// The spring's travel: at rest at both ends, overshooting only when
// underdamped, settled within the time it reports.

#include "layout/Spring.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

TEST(Spring, TravelsFromZeroToRest)
{
    const struct {
        Spring spring;
        bool overshoots;
    } cases[] = {
        {{0.26, 0.64}, true}, // the card's pulse
        {{0.28, 0.88}, true}, // the sidebar's highlight: barely
        {{0.32, 0.9}, true},
        {{0.3, 1.0}, false}, // critically damped
    };
    for (const auto& [spring, overshoots] : cases) {
        EXPECT_EQ(spring.progress(0), 0);
        EXPECT_EQ(spring.progress(-1), 0);
        double peak = 0;
        for (double t = 0; t < 2; t += 0.001) peak = std::max(peak, spring.progress(t));
        EXPECT_EQ(peak > 1.0005, overshoots) << spring.response << " " << spring.damping;
        const double settled = spring.settlingSeconds();
        EXPECT_GT(settled, spring.response / 4);
        EXPECT_NEAR(spring.progress(settled), 1, 0.002);
        EXPECT_NEAR(spring.progress(settled * 3), 1, 1e-6);
    }
}

} // namespace
} // namespace mirelo
