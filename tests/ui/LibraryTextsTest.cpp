// The library's texts built from the model's numbers.

#include "library/LibraryTexts.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

// Counts are written as the user's locale writes numbers.
TEST(LibraryTexts, CountsFollowTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LibraryTexts::files(6562), "6,562 files");
    EXPECT_EQ(LibraryTexts::files(1), "1 file");
    EXPECT_EQ(LibraryTexts::scanProgress(12000), "Scanning · 12,000 files found");
    EXPECT_EQ(LibraryTexts::trashTitle(1200), "Move 1,200 files to Trash?");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LibraryTexts::files(6562), "6.562 files");
    QLocale::setDefault(QLocale::c());
}

} // namespace
} // namespace mirelo::test
