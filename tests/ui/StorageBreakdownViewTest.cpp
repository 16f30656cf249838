// The storage breakdown: its groups, sizes and percentages, and the last
// summary kept while a new one is computed.

#include "library/StorageBreakdownView.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

QStringList legendOf(const MediaStorageSummary& summary, const QLocale& locale = QLocale(QLocale::English))
{
    QStringList legend;
    for (const auto& group : StorageBreakdownView::groups(summary))
        legend << StorageBreakdownView::legendText(group, summary.totalBytes(), locale);
    return legend;
}

TEST(StorageBreakdownView, GroupsSizesAndShares)
{
    struct Row {
        MediaStorageSummary summary;
        QStringList legend;
    };
    for (const Row& row : std::vector<Row>{
             {{45'000'000, 55'000'000, 0}, {"Images · 45 MB · 45.0%", "Videos · 55 MB · 55.0%"}},
             {{10'000'000, 20'000'000, 30'000'000},
              {"Images · 10 MB · 16.7%", "Videos · 20 MB · 33.3%", "Documents · 30 MB · 50.0%"}},
             {{0, 0, 0}, {"Images · 0 bytes · 0.0%", "Videos · 0 bytes · 0.0%"}},
         })
        EXPECT_EQ(legendOf(row.summary), row.legend);
    EXPECT_EQ(StorageBreakdownView::percent(1, 3, QLocale(QLocale::German)), "33,3%");
}

TEST(StorageBreakdownView, WhileLoadingTheLastSummaryStays)
{
    StorageBreakdownView view;
    view.setSummary({12'000'000, 0, 0}, false);
    EXPECT_EQ(view.totalText(), "12 MB");
    view.setSummary({1, 1, 1}, true);
    EXPECT_EQ(view.totalText(), "Updating…");
    EXPECT_TRUE(view.accessibleDescription().contains("Images · 12 MB · 100.0%"))
        << view.accessibleDescription().toStdString();
    view.setSummary({1, 1, 1}, false);
    EXPECT_EQ(view.totalText(), "3 bytes");
}

} // namespace
} // namespace mirelo
