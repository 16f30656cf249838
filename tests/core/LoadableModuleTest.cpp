// A module that will not load is reported once, with the loader's reason.

#include "images/LoadableModule.h"

#include <gtest/gtest.h>

#include <vector>

namespace mirelo::test {
namespace {

TEST(LoadableModule, AMissingModuleIsReportedOnceWithItsReason)
{
    std::vector<ModuleFailure> failures;
    setModuleFailureListener([&](const ModuleFailure& failure) { failures.push_back(failure); });
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(moduleSymbol("/nowhere/libmirelo-absent.so", "libmirelo-absent.so", "absent", "nothing is"), nullptr);
    setModuleFailureListener({});
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].module, "libmirelo-absent.so");
    EXPECT_EQ(failures[0].what, "nothing is");
    EXPECT_NE(failures[0].reason.find("libmirelo-absent.so"), std::string::npos) << failures[0].reason;
}

} // namespace
} // namespace mirelo::test
