// The viewer's actions on real files: what the information panel says, the
// PNG that a copy puts on the clipboard, the remembered destinations and the
// destination picker over real folders.

#include "AppTestSupport.h"
#include "ImageFixtures.h"
#include "common/FolderTreeRow.h"
#include "viewer/DestinationFolderRow.h"
#include "viewer/FolderDestinationPicker.h"
#include "viewer/InformationPanel.h"
#include "viewer/ViewerActions.h"

#include <QImageReader>
#include <QLocale>
#include <QScrollArea>
#include <QTest>
#include "Eventually.h"

namespace mirelo::test {
namespace {

class ViewerActionsTest : public LaunchedModelTest {};

TEST_F(ViewerActionsTest, APngIsCopiedByteForByteAndAHugePictureIsReduced)
{
    const std::string png = files / "exact.png", wide = files / "wide.jpg";
    ASSERT_TRUE(markedPicture(300, 200).save(QString::fromStdString(png)));
    ASSERT_TRUE(markedPicture(12000, 300).save(QString::fromStdString(wide)));
    QFile original(QString::fromStdString(png));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(ViewerActions::pngData(*MediaItem::read(png)), original.readAll());

    QByteArray reduced = ViewerActions::pngData(*MediaItem::read(wide));
    QBuffer buffer(&reduced);
    QImageReader reader(&buffer, "png");
    EXPECT_EQ(reader.size(), QSize(8192, 205));

    writeBytes(files / "broken.jpg", "not a picture");
    EXPECT_TRUE(ViewerActions::pngData(*MediaItem::read(files / "broken.jpg")).isEmpty());
}

TEST(ViewerActions, RememberedFoldersComeMostRecentFirstAndAtMostSix)
{
    std::vector<std::string> folders;
    for (const char* folder : {"/A", "/B", "/A"}) folders = ViewerActions::remembered(folders, folder);
    EXPECT_EQ(folders, (std::vector<std::string>{"/A", "/B"}));
    for (const char* folder : {"/C", "/D", "/E", "/F", "/G", "/H"})
        folders = ViewerActions::remembered(folders, folder);
    EXPECT_EQ(folders, (std::vector<std::string>{"/H", "/G", "/F", "/E", "/D", "/C"}));
}

TEST_F(ViewerActionsTest, ThePickerListsItsFoldersAndOpensThemAsTheModelListsThem)
{
    EXPECT_EQ(FolderDestinationPicker::listHeight(2), 128);
    EXPECT_EQ(FolderDestinationPicker::listHeight(5), 188);
    EXPECT_EQ(FolderDestinationPicker::listHeight(10), 252);
    EXPECT_EQ(FolderDestinationPicker(*model, {}).list(), nullptr) << "no folders, no list";

    makeFolder(files / "Albums/Summer");
    makeFolder(files / "Empty");
    FolderDestinationPicker picker(*model, {files / "Albums", files / "Empty"});
    ASSERT_EQ(picker.rows().size(), 2u);
    EXPECT_EQ(picker.list()->height(), 128);
    std::string added;
    picker.addCopy = [&](const std::string& folder) { added = folder; };

    DestinationFolderRow* albums = picker.rows()[0];
    albums->toggle();
    EXPECT_EQ(albums->note(), "Loading folders…");
    ASSERT_EVENTUALLY_EQ(albums->children().size(), size_t(1));
    EXPECT_EQ(albums->note(), "");
    DestinationFolderRow* empty = picker.rows()[1];
    empty->toggle();
    ASSERT_EVENTUALLY_EQ(empty->note(), QString("No subfolders"));

    // A click on a name adds the copy there.
    Q_EMIT albums->children()[0]->row()->chooseRequested();
    EXPECT_EQ(added, files / "Albums/Summer");
}

} // namespace
} // namespace mirelo::test
