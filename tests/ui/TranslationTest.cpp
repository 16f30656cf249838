// With LANGUAGE=de Mirelo speaks German: its menus, a text that counts, the
// library window's words and Qt's own buttons; English comes back after.

#include "AppTestSupport.h"
#include "Translation.h"
#include "common/ActionRegistry.h"
#include "library/LibraryHeader.h"
#include "library/LibraryTexts.h"
#include "library/LibraryWindow.h"
#include "library/LibraryColumn.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QLocale>
#include "ViewerFrame.h"
#include "viewer/InformationPanel.h"
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace mirelo::test {
namespace {

class TranslationTest : public LaunchedModelTest {
protected:
    void TearDown() override
    {
        if (language_.isNull())
            qunsetenv("LANGUAGE");
        else
            qputenv("LANGUAGE", language_);
        LaunchedModelTest::TearDown();
    }
    QByteArray language_ = qgetenv("LANGUAGE");
};

TEST_F(TranslationTest, GermanFromTheEnvironment)
{
    qputenv("LANGUAGE", "de");
    {
        const Translations german;
        ActionRegistry actions(*model);
        QMainWindow host;
        QMenuBar* bar = actions.makeMenuBar(&host);
        ASSERT_GE(bar->actions().size(), 2);
        EXPECT_EQ(bar->actions()[0]->text(), "Datei");
        EXPECT_EQ(bar->actions()[1]->text(), "Bearbeiten");
        EXPECT_EQ(actions.action(ActionRegistry::Command::trash)->text(), "In den Papierkorb verschieben");

        EXPECT_EQ(LibraryTexts::trashTitle(1), "1 Datei in den Papierkorb verschieben?");
        EXPECT_EQ(LibraryTexts::trashTitle(3), "3 Dateien in den Papierkorb verschieben?");
        // The photo's details in the information panel, with a German date.
        ViewerFrame frame;
        frame.pixels = {6000, 4000};
        frame.metadata = {{"Camera", "Canon EOS R5"}, {"Captured", "2015:07:01 09:00:00"}};
        const auto rows = InformationPanel::rows(MediaItem("/Bilder/strand.jpg", 4096, 700000000, false), &frame);
        EXPECT_EQ(rows[3].first, "Kamera");
        EXPECT_EQ(rows[4].first, "Aufgenommen");
        EXPECT_EQ(rows[4].second, QLocale().toString(QDateTime(QDate(2015, 7, 1), QTime(9, 0)), QLocale::ShortFormat));

        LibraryWindow window(*model, actions);
        EXPECT_EQ(window.column()->header()->title(), "Ein Zuhause für jedes Bild.");

        QDialogButtonBox box(QDialogButtonBox::Cancel);
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), "Abbrechen") << "Qt's own texts too";
    }
    EXPECT_EQ(LibraryTexts::trashTitle(3), "Move 3 files to Trash?");
}

} // namespace
} // namespace mirelo::test
