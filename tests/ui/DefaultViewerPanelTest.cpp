// The default-viewer panel with a private data folder: the registration
// order, counter and result text, and a registration that GIO itself then
// reads back.

#include "common/CapsuleButton.h"
#include "common/DefaultViewer.h"
#include "library/DefaultViewerPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>
#include "Eventually.h"

#include <gtest/gtest.h>

#include <ostream>

namespace mirelo::test {
namespace {

struct Registration {
    QSet<QString> selected;
    QSet<QString> failing;
    QStringList order;
    QString result;
};

// How ctest lists a run: the formats it registers.
void PrintTo(const Registration& run, std::ostream* out) { *out << run.order.join(u',').toStdString(); }

class DefaultViewerPanelTest : public ::testing::TestWithParam<Registration> {};

TEST_P(DefaultViewerPanelTest, RegistersInOrderAndSaysWhatHappened)
{
    const Registration run = GetParam();
    DefaultViewerPanel panel;
    if (!run.selected.isEmpty()) panel.setSelected(run.selected);
    QStringList counted;
    panel.prepare = [] { return std::nullopt; };
    panel.assign = [&](const QString& format) -> std::optional<QString> {
        counted << panel.counter()->text();
        if (run.failing.contains(format)) return format.toUpper() + ": not registered on this system";
        return std::nullopt;
    };
    panel.mainButton()->click();
    EXPECT_TRUE(panel.applying());
    EXPECT_FALSE(panel.box("jpg")->isEnabled());
    ASSERT_EVENTUALLY(!panel.applying());
    EXPECT_EQ(panel.processed(), run.order);
    EXPECT_EQ(counted.first(), QStringLiteral("0/%1").arg(run.order.size()));
    EXPECT_EQ(panel.counter()->text(), QStringLiteral("%1/%1").arg(run.order.size()));
    EXPECT_EQ(panel.result()->text(), run.result);
}

std::string registrationName(const ::testing::TestParamInfo<Registration>& info)
{
    static const std::vector<std::string> names{"TheInitialTen", "OneFormat", "OneFormatFails"};
    return names.at(info.index);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, DefaultViewerPanelTest,
    ::testing::Values(
        Registration{{},
                     {},
                     {"avif", "bmp", "gif", "heic", "heif", "jpg", "png", "svg", "tiff", "webp"},
                     "Updated 10 formats. Files you open from your file manager will now use Mirelo."},
        Registration{
            {"png"}, {}, {"png"}, "Updated 1 format. Files you open from your file manager will now use Mirelo."},
        Registration{{"psd", "png"}, {"psd"}, {"png", "psd"}, "Updated 1 format.\nPSD: not registered on this system"}),
    registrationName);

TEST(DefaultViewer, TheDesktopThenOpensJpegWithMirelo)
{
    ASSERT_EQ(DefaultViewer::prepare(), std::nullopt);
    EXPECT_EQ(DefaultViewer::assign("jpg"), std::nullopt);
    // GIO notices the new entry and list as its folder monitors report them.
    ASSERT_EVENTUALLY_EQ(DefaultViewer::defaultFor("image/jpeg"), QString::fromLatin1(DefaultViewer::kDesktopId));
    const QString list = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/mimeapps.list";
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << list.toStdString();
    EXPECT_TRUE(file.readAll().contains("image/jpeg=com.tessel.local.viewer.desktop"));
    EXPECT_EQ(DefaultViewer::resultMessage(0, {"ICNS: not registered on this system"}),
              "Updated 0 formats.\nICNS: not registered on this system");
}

} // namespace
} // namespace mirelo::test
