// Names in the order file managers sort them, and search that folds case
// and diacritics.

#include "files/UnicodeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace mirelo;

namespace {

TEST(UnicodeText, NameOrderIsNumericAndIgnoresCaseAndAccents)
{
    EXPECT_LT(compareNames("img2.jpg", "img10.jpg"), 0);
    EXPECT_EQ(compareNames("photo.JPG", "PHOTO.jpg"), 0);
    EXPECT_EQ(compareNames("Cafe.jpg", "Café.jpg"), 0);
    EXPECT_EQ(compareNames("Cafe\xCC\x81.jpg", "Caf\xC3\xA9.jpg"), 0); // NFD against NFC
    std::string a, b;
    appendNameSortKey(a, "img2.jpg");
    appendNameSortKey(b, "img10.jpg");
    EXPECT_LT(a, b);
}

TEST(UnicodeText, SearchFoldsCaseAndDiacritics)
{
    EXPECT_TRUE(NameSearch("cafe").matches("Café.JPG"));
    EXPECT_TRUE(NameSearch("CAFÉ").matches("my cafe.png"));
    EXPECT_TRUE(NameSearch("café").matches("Cafe\xCC\x81.png"));
    EXPECT_TRUE(NameSearch("2021").matches("IMG_2021.jpg"));
    EXPECT_FALSE(NameSearch("2022").matches("IMG_2021.jpg"));
    EXPECT_TRUE(NameSearch("strasse").matches("Straße.heic"));
    EXPECT_FALSE(NameSearch("x").matches("Café.jpg"));
    EXPECT_TRUE(NameSearch("").matches("anything"));
    EXPECT_EQ(nfc("Cafe\xCC\x81"), "Caf\xC3\xA9");
    EXPECT_EQ(nfc("\xFF"), "\xFF");
    EXPECT_EQ(upperCased("heic"), "HEIC");
}

} // namespace
