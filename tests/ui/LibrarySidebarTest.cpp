// The sidebar: the current section, the count, the folders list and its
// empty text, and the scan card's button during a scan.

#include "AppTestSupport.h"
#include "library/LibraryFolderRow.h"
#include "library/LibrarySidebar.h"
#include "library/SidebarSectionRow.h"
#include "common/DesktopLook.h"

#include <QAbstractButton>
#include <cmath>
#include <map>

#include <QLabel>
#include <QTest>
#include <QPushButton>
#include <QVBoxLayout>
#include "Eventually.h"

namespace mirelo::test {
namespace {

class LibrarySidebarTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        sidebarPointer = std::make_unique<LibrarySidebar>(*model);
    }
    std::unique_ptr<LibrarySidebar> sidebarPointer;
    LibrarySidebar& sidebar() const { return *sidebarPointer; }

    SidebarSectionRow* row(LibrarySection section) const
    {
        return static_cast<SidebarSectionRow*>(sidebar().sectionRow(section));
    }
    std::vector<LibrarySection> current() const
    {
        std::vector<LibrarySection> list;
        for (LibrarySection section :
             {LibrarySection::all, LibrarySection::images, LibrarySection::videos, LibrarySection::large})
            if (row(section)->isCurrent()) list.push_back(section);
        return list;
    }
};

TEST_F(LibrarySidebarTest, SectionsCountAndFolders)
{
    EXPECT_EQ(current(), std::vector<LibrarySection>{LibrarySection::all});
    EXPECT_EQ(row(LibrarySection::all)->count(), "") << "no count while the library is empty";
    EXPECT_FALSE(sidebar().noFoldersLabel()->isHidden());
    EXPECT_EQ(sidebar().noFoldersLabel()->text(), "Your scanned folders\nwill appear here.");

    media("Pics/a.jpg");
    media("Pics/Sub/b.mov");
    model->scan({files / "Pics"}, true);
    EXPECT_FALSE(sidebar().scanComputerButton()->isEnabled()) << "not during a scan";
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_TRUE(sidebar().scanComputerButton()->isEnabled());
    EXPECT_EQ(row(LibrarySection::all)->count(), "2");
    EXPECT_TRUE(sidebar().noFoldersLabel()->isHidden());
    ASSERT_NE(qobject_cast<LibraryFolderRow*>(sidebar().folderList()->itemAt(0)->widget()), nullptr);
    EXPECT_TRUE(current().empty()) << "the scanned folder is selected, so no section is current";

    sidebar().resize(LibrarySidebar::kWidth, 800);
    sidebar().show();
    row(LibrarySection::videos)->click();
    EXPECT_EQ(model->section(), LibrarySection::videos);
    EXPECT_EQ(current(), std::vector<LibrarySection>{LibrarySection::videos});
    // The highlight slides to the row and rests there.
    ASSERT_EVENTUALLY_EQ(sidebar().highlight(), QRectF(row(LibrarySection::videos)->geometry()));
    EXPECT_EQ(row(LibrarySection::all)->count(), "2");
}

// Every text of the sidebar stays readable on its ground when the look is
// switched while running, both ways: read from the rendered pixels.
TEST_F(LibrarySidebarTest, EveryTextFollowsASwitchOfTheLook)
{
    media("Pics/a.jpg");
    model->scan({files / "Pics"}, true);
    ASSERT_TRUE(waitForScan(*model));
    sidebar().resize(LibrarySidebar::kWidth, 800);
    sidebar().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sidebar()));
    auto luminance = [](QColor c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    for (const char* look : {"dark", "light", "dark"}) {
        DesktopLook::shared().apply(QString::fromLatin1(look));
        QCoreApplication::processEvents();
        const QImage shot = sidebar().grab().toImage();
        const double ratio = shot.devicePixelRatio();
        int texts = 0;
        for (QWidget* widget : sidebar().findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) text = label->text();
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
            if (auto* section = qobject_cast<SidebarSectionRow*>(widget)) text = section->accessibleName();
            if (text.trimmed().isEmpty() || !widget->isVisibleTo(&sidebar())) continue;
            const QRect area(widget->mapTo(&sidebar(), QPoint(0, 0)) * ratio, widget->size() * ratio);
            const QImage crop = shot.copy(area);
            // The ground is the colour of most pixels; the text the one farthest from it.
            std::map<QRgb, int> counts;
            for (int y = 0; y < crop.height(); ++y)
                for (int x = 0; x < crop.width(); ++x) ++counts[crop.pixel(x, y)];
            const QColor ground = QColor::fromRgb(std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                                                      return a.second < b.second;
                                                  })->first);
            double best = 1;
            for (const auto& [pixel, count] : counts) {
                const double a = luminance(ground), b = luminance(QColor::fromRgb(pixel));
                best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
            }
            EXPECT_GE(best, 3.0) << look << ": " << text.toStdString();
            if (!qobject_cast<QAbstractButton*>(widget)) { // buttons may be filled with the accent
                EXPECT_EQ(luminance(ground) < 0.2, std::string(look) == "dark")
                    << look << ": the ground of " << text.toStdString();
            }
            ++texts;
        }
        EXPECT_GE(texts, 8) << look;
    }
    DesktopLook::shared().apply(QStringLiteral("system"));
}

} // namespace
} // namespace mirelo::test
