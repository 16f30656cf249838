// The model's queries against an older library, sections and folders, the
// folder tree, selection and its copy.

#include "AppTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <sys/stat.h>

namespace mirelo::test {
namespace {

class QueryTest : public AppModelTest {
protected:
    // A scanned library: five images and two videos in "Lib".
    std::unique_ptr<AppModel> library()
    {
        for (const char* name : {"a.jpg", "b.jpg", "c.png", "d.gif", "e.heic"}) media(std::string("Lib/") + name, 10);
        media("Lib/Clips/f.mp4", 20'000'000);
        media("Lib/Clips/g.mov", 30);
        return launchIndexing("Lib");
    }
};

TEST_F(QueryTest, AResultForAnOlderLibraryNeverOverwritesTheNewerOne)
{
    auto model = library();
    HeldResults queries(*model, BackgroundWork::query);
    model->setSearch("jpg");
    ASSERT_TRUE(queries.waitForOne());
    // The index changes (a scan ends) while that query is out.
    media("Lib/h.jpg");
    queries.holding = false;
    model->scan({files / "Lib"}, true);
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(model->visible().size(), 8) << "the scan cleared the search";
    queries.releaseFirst();
    EXPECT_EQ(model->visible().size(), 8) << "the older result is ignored";
}

TEST_F(QueryTest, SelectionFollowsTheVisibleItems)
{
    auto model = library();
    model->setSelection({files / "Lib/a.jpg", files / "Lib/b.jpg", files / "Lib/c.png"});
    EXPECT_EQ(model->selectedBytes(), 30);
    EXPECT_EQ(pathsOf(model->selectedItems()),
              (std::vector<std::string>{files / "Lib/a.jpg", files / "Lib/b.jpg", files / "Lib/c.png"}));
    model->setFormat("JPG");
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(model->selection(), (PathSelection{files / "Lib/a.jpg", files / "Lib/b.jpg"}));
    EXPECT_EQ(model->selectedBytes(), 20);

    model->setFormat("All formats");
    model->toggleSelectAll();
    EXPECT_EQ(model->selection().size(), 2u) << "nothing happens while a query loads";
    ASSERT_TRUE(waitForQuery(*model));
    model->toggleSelectAll();
    EXPECT_EQ(model->selection().size(), 7u);
    const int64_t everything = model->selectedBytes();
    EXPECT_EQ(everything, model->totalBytes());
    model->setSelected(files / "Lib/a.jpg", false);
    EXPECT_EQ(model->selectedBytes(), everything - 10);
    model->setSelected(files / "Lib/a.jpg", true);
    model->toggleSelectAll();
    EXPECT_TRUE(model->selection().empty());

    // One card at a time, in place: a change notifies once, no change never.
    QSignalSpy changes(model.get(), &AppModel::selectionChanged);
    for (auto [path, selected] : {std::pair{files / "Lib/a.jpg", true},
                                  {files / "Lib/a.jpg", true},
                                  {files / "Lib/b.jpg", true},
                                  {files / "Lib/a.jpg", false},
                                  {files / "Lib/a.jpg", false}})
        model->setSelected(path, selected);
    EXPECT_EQ(changes.size(), 3);
    EXPECT_EQ(model->selection(), PathSelection{files / "Lib/b.jpg"});
    EXPECT_EQ(model->selectedBytes(), 10);
}

TEST_F(QueryTest, CopyingTheSelectionPutsFileLocationsOnTheClipboard)
{
    auto model = library();
    QGuiApplication::clipboard()->setText("before");
    EXPECT_FALSE(model->copySelection());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before") << "an empty selection touches nothing";
    EXPECT_FALSE(model->errorMessage());

    model->setSelection({files / "Lib/b.jpg", files / "Lib/a.jpg"});
    EXPECT_TRUE(model->copySelection());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    const QString a = QString::fromStdString("file://" + files / "Lib/a.jpg");
    const QString b = QString::fromStdString("file://" + files / "Lib/b.jpg");
    EXPECT_EQ(QString::fromUtf8(data->data("text/uri-list")), a + "\r\n" + b + "\r\n");
    EXPECT_EQ(QString::fromUtf8(data->data("x-special/gnome-copied-files")), "copy\n" + a + "\n" + b);
}

TEST_F(QueryTest, SectionsAndFolders)
{
    auto model = library();
    model->setSelectedFolder(files / "Lib/Clips");
    model->selectSection(LibrarySection::large);
    EXPECT_FALSE(model->selectedFolder());
    EXPECT_EQ(model->sort(), MediaSort::largest);
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(pathsOf(model->visible()), (std::vector<std::string>{files / "Lib/Clips/f.mp4"}));
    model->selectSection(LibrarySection::images);
    EXPECT_EQ(model->sort(), MediaSort::largest);

    model->setSearch("x");
    model->selectFolder(files / "Lib/Clips");
    EXPECT_EQ(model->selectedFolder(), files / "Lib/Clips");
    EXPECT_EQ(model->section(), LibrarySection::all);
    EXPECT_EQ(model->search(), "");
    EXPECT_EQ(model->libraryName(), "Clips");
    EXPECT_FALSE(model->scanning());
}

TEST_F(QueryTest, SubfoldersAreListedLazilyInNameOrder)
{
    auto model = launchRestored();
    for (const char* name : {"Folder 10", "Folder 2", "alpha", ".hidden", "Photos.app"}) makeFolder(files / name);
    writeFile(files / "file.jpg");
    ::symlink((files / "alpha").c_str(), (files / "link").c_str());
    model->toggleFolder(files.path());
    EXPECT_TRUE(model->expandedFolders().count(files.path()));
    ASSERT_TRUE(waitUntil([&] { return model->childFolders().count(files.path()); }));
    EXPECT_EQ(model->childFolders().at(files.path()),
              (std::vector<std::string>{files / "alpha", files / "Folder 2", files / "Folder 10"}));

    model->toggleFolder(files.path());
    EXPECT_FALSE(model->expandedFolders().count(files.path()));
    EXPECT_TRUE(model->childFolders().count(files.path())) << "collapsing keeps the loaded children";

    model->loadChildren(files / "missing");
    ASSERT_TRUE(waitUntil([&] { return model->childFolders().count(files / "missing"); }));
    EXPECT_TRUE(model->childFolders().at(files / "missing").empty());
}

} // namespace
} // namespace mirelo::test
