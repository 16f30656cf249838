// The information panel's rows for a photo, a photo reduced for viewing and
// a video.

#include "library/MediaItem.h"
#include "ViewerFrame.h"
#include "viewer/InformationPanel.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <vector>

namespace mirelo::test {
namespace {

std::vector<QString> labels(const InformationPanel::Rows& rows)
{
    std::vector<QString> names;
    for (const auto& row : rows) names.push_back(row.first);
    return names;
}

TEST(InformationPanel, RowsForAPhotoAReducedPhotoAndAVideo)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const MediaItem photo("/Pictures/Trip/beach.jpg", 4096, 700000000, false);
    ViewerFrame reduced;
    reduced.pixels = {6000, 4000};
    reduced.downsampled = true;
    reduced.metadata = {{"Camera", "Canon EOS R5"}, {"Lens", "RF 24-70mm"}, {"Captured", "2015:07:01 09:00:00"}};
    ViewerFrame whole;
    whole.pixels = {3000, 2000};

    const InformationPanel::Rows rows = InformationPanel::rows(photo, &reduced);
    EXPECT_EQ(labels(rows), (std::vector<QString>{"Format", "Size", "Dimensions", "Camera", "Lens", "Captured",
                                                  "Preview", "Modified", "Location"}));
    EXPECT_EQ(rows[5].second, "7/1/15 9:00 AM") << "through the locale, as Modified is";
    EXPECT_EQ(rows[0].second, "JPG");
    EXPECT_EQ(rows[1].second, "4 KB · 4,096 bytes");
    EXPECT_EQ(rows[2].second, "6000 × 4000");
    EXPECT_EQ(rows[6].second, "Optimized to 4,096 px for smooth viewing");
    EXPECT_EQ(rows[8].second, "/Pictures/Trip");

    EXPECT_EQ(labels(InformationPanel::rows(photo, &whole)),
              (std::vector<QString>{"Format", "Size", "Dimensions", "Modified", "Location"}));
    const MediaItem video("/Movies/clip.mp4", 1 << 20, 700000000, true);
    EXPECT_EQ(labels(InformationPanel::rows(video, nullptr)),
              (std::vector<QString>{"Format", "Size", "Modified", "Location"}));
    QLocale::setDefault(QLocale::c());
}

} // namespace
} // namespace mirelo::test
