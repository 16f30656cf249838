// Renaming and creating folders from the sidebar, copies recorded into a
// folder, and a rename cut short by a crash finished at the next launch.

#include "AppTestSupport.h"

#include "library/CollectionFiles.h"
#include "library/LibraryStore.h"

#include <sys/stat.h>

namespace mirelo::test {
namespace {

class FolderEditTest : public AppModelTest {
protected:
    std::unique_ptr<AppModel> indexedPics()
    {
        media("Pics/Sub/a.jpg");
        media("Pics/Sub/b.jpg");
        media("Pics/top.jpg");
        return launchIndexing("Pics");
    }
    static void waitForEdit(AppModel& model)
    {
        ASSERT_TRUE(model.busy());
        ASSERT_TRUE(waitUntil([&] { return !model.busy(); }));
        ASSERT_TRUE(waitForQuery(model));
    }
    static QStringList setting(const char* key) { return AppSettings::open()->value(key).toStringList(); }
    static void waitForSave(AppModel& model)
    {
        QSignalSpy saved(&model, &AppModel::librarySaved);
        ASSERT_TRUE(saved.wait(3000));
    }
};

TEST_F(FolderEditTest, RenamingRewritesEveryPlaceThatNamesTheFolder)
{
    auto model = indexedPics();
    const std::string sub = files / "Pics/Sub", trips = files / "Pics/Trips";
    model->toggleFolder(files / "Pics");
    model->toggleFolder(sub);
    model->selectFolder(sub);
    ASSERT_TRUE(waitForQuery(*model));
    AppSettings::open()->setValue(AppSettings::kCollectionFolders,
                                  QStringList{QString::fromStdString(sub), "/elsewhere"});
    // A file trashed from inside the folder, to be undone after the rename.
    model->requestTrash({model->visible()[0]});
    model->trashConfirmed();
    ASSERT_TRUE(waitUntil([&] { return !model->busy(); }));
    ASSERT_EQ(model->undoRecords()[0].original, sub + "/a.jpg");

    folderPrompt.answer = "  Trips ";
    model->editFolder(sub, true);
    ASSERT_EQ(folderPrompt.requests.size(), 1u);
    const FolderPromptRequest& asked = folderPrompt.requests[0];
    EXPECT_EQ(asked.message, "Rename folder");
    EXPECT_EQ(asked.informativeText, "Rename “Sub” on disk and in your library.");
    EXPECT_EQ(asked.name, "Sub");
    EXPECT_EQ(asked.placeholder, "Folder name");
    EXPECT_EQ(asked.confirmButton, "Rename");
    waitForEdit(*model);

    EXPECT_FALSE(model->errorMessage());
    EXPECT_FALSE(exists(sub));
    EXPECT_TRUE(exists(trips + "/b.jpg"));
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{trips + "/b.jpg", files / "Pics/top.jpg"}));
    EXPECT_EQ(model->selectedFolder(), trips);
    EXPECT_EQ(pathsOf(model->visible()), std::vector<std::string>{trips + "/b.jpg"});
    EXPECT_EQ(model->expandedFolders(), (FolderSet{files / "Pics", trips}));
    EXPECT_EQ(model->indexedFolders(), std::vector<std::string>{files / "Pics"});
    EXPECT_EQ(setting(AppSettings::kCollectionFolders), (QStringList{QString::fromStdString(trips), "/elsewhere"}));
    EXPECT_EQ(model->undoRecords()[0].original, trips + "/a.jpg");
    ASSERT_TRUE(waitUntil([&] {
        auto found = model->childFolders().find(files / "Pics");
        return found != model->childFolders().end() && found->second == std::vector<std::string>{trips};
    }));

    // Undo puts the file back at the folder's new place.
    model->undoTrash();
    waitForEdit(*model);
    EXPECT_EQ(readFile(trips + "/a.jpg"), "xxxx");
    EXPECT_EQ(pathsOf(model->visible()), (std::vector<std::string>{trips + "/a.jpg", trips + "/b.jpg"}));

    // Once saved, the library holds the new names and no rename is pending.
    waitForSave(*model);
    EXPECT_TRUE(setting(AppSettings::kPendingFolderRename).isEmpty());
    auto saved = LibraryStore(libraryFile()).load();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->selectedFolder, trips);
}

TEST_F(FolderEditTest, RefusedRenamesChangeNothing)
{
    auto model = indexedPics();
    ASSERT_EQ(::mkdir((files / "Pics/Taken").c_str(), 0755), 0); // empty: rename(2) would replace it
    const MediaItems before = model->items();

    folderPrompt.answer = "Taken";
    model->editFolder(files / "Pics/Sub", true);
    waitForEdit(*model);
    EXPECT_EQ(model->errorMessage(), "A folder or file named “Taken” is already there.");
    EXPECT_TRUE(exists(files / "Pics/Sub/a.jpg"));
    EXPECT_TRUE(exists(files / "Pics/Taken"));
    EXPECT_EQ(model->items(), before);
    EXPECT_TRUE(setting(AppSettings::kPendingFolderRename).isEmpty());

    for (const char* name : {"a/b", "a:b", ".", "..", "   "}) {
        model->setErrorMessage(std::nullopt);
        folderPrompt.answer = name;
        model->editFolder(files / "Pics/Sub", true);
        EXPECT_FALSE(model->busy()) << name;
        EXPECT_EQ(model->errorMessage(), CollectionFiles::kInvalidName) << name;
    }
    folderPrompt.answer = std::nullopt; // Cancel
    model->setErrorMessage(std::nullopt);
    model->editFolder(files / "Pics/Sub", true);
    EXPECT_FALSE(model->busy());
    EXPECT_FALSE(model->errorMessage());
    EXPECT_TRUE(exists(files / "Pics/Sub/a.jpg"));
}

TEST_F(FolderEditTest, CreatingAFolderSelectsItAndExpandsItsParent)
{
    auto model = indexedPics();
    model->setSearch("top");
    folderPrompt.answer = "Untitled folder";
    model->editFolder(files / "Pics/Sub", false);
    const FolderPromptRequest& asked = folderPrompt.requests.at(0);
    EXPECT_EQ(asked.message, "New folder");
    EXPECT_EQ(asked.informativeText, "Create a folder inside “Sub”.");
    EXPECT_EQ(asked.name, "Untitled folder");
    EXPECT_EQ(asked.confirmButton, "Create");
    waitForEdit(*model);

    const std::string created = files / "Pics/Sub/Untitled folder";
    struct stat attributes;
    ASSERT_EQ(::stat(created.c_str(), &attributes), 0);
    EXPECT_EQ(attributes.st_mode & 0777, 0755u);
    EXPECT_EQ(model->selectedFolder(), created);
    EXPECT_EQ(model->search(), "");
    EXPECT_TRUE(model->visible().isEmpty());
    EXPECT_TRUE(model->expandedFolders().count(files / "Pics/Sub"));
    EXPECT_EQ(model->indexedFolders().back(), created);
    EXPECT_EQ(model->recentFolders(), std::vector<std::string>{files / "Pics"}) << "already inside a remembered folder";
    ASSERT_TRUE(waitUntil([&] { return model->childFolders().count(files / "Pics/Sub") > 0; }));
    EXPECT_EQ(model->childFolders().at(files / "Pics/Sub"), std::vector<std::string>{created});

    // The same name again is refused with the system's reason.
    model->editFolder(files / "Pics/Sub", false);
    waitForEdit(*model);
    EXPECT_EQ(model->errorMessage(),
              QString::fromStdString("The folder “" + created + "” couldn’t be created: File exists."));
}

TEST_F(FolderEditTest, ACopyIsIndexedAndItsFolderRemembered)
{
    auto model = indexedPics();
    const std::string album = files / "Albums/Summer";
    ::mkdir((files / "Albums").c_str(), 0755);
    ::mkdir(album.c_str(), 0755);
    const std::string copy = CollectionFiles::addCopy(files / "Pics/top.jpg", album);
    model->recordCopy(copy, album);
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(model->items().size(), 4);
    EXPECT_EQ(model->recentFolders(), (std::vector<std::string>{files / "Pics", album}));
    ASSERT_TRUE(waitUntil([&] { return model->childFolders().count(files / "Albums") > 0; }));
    EXPECT_EQ(model->childFolders().at(files / "Albums"), std::vector<std::string>{album});
}

// The disk rename happened but the process died before the library was
// written: the next launch finishes the rewrite.
TEST_F(FolderEditTest, ARenameCutShortByACrashIsFinishedAtTheNextLaunch)
{
    {
        auto model = indexedPics();
        model->flushLibrary();
        HeldResults held(*model, BackgroundWork::fileOperation);
        folderPrompt.answer = "Photos";
        model->editFolder(files / "Pics", true);
        ASSERT_TRUE(held.waitForOne());
        held.held.clear(); // dies before the library is rewritten
    }
    ASSERT_TRUE(exists(files / "Photos/Sub/a.jpg"));
    ASSERT_EQ(LibraryStore(libraryFile()).load()->indexedFolders, std::vector<std::string>{files / "Pics"});

    auto model = launchRestored();
    EXPECT_EQ(model->indexedFolders(), std::vector<std::string>{files / "Photos"});
    EXPECT_EQ(model->recentFolders(), std::vector<std::string>{files / "Photos"});
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{files / "Photos/Sub/a.jpg", files / "Photos/Sub/b.jpg",
                                                                 files / "Photos/top.jpg"}));
    waitForSave(*model);
    EXPECT_TRUE(setting(AppSettings::kPendingFolderRename).isEmpty());
    EXPECT_EQ(LibraryStore(libraryFile()).load()->indexedFolders, std::vector<std::string>{files / "Photos"});
}

// A folder inside an indexed root renamed while the application was closed:
// the launch's re-read brings the library in line.
TEST_F(FolderEditTest, TheLaunchReReadFollowsARenameMadeWhileClosed)
{
    {
        auto model = indexedPics();
        model->flushLibrary();
    }
    ASSERT_EQ(::rename((files / "Pics/Sub").c_str(), (files / "Pics/Moved").c_str()), 0);
    auto model = launch();
    QSignalSpy refreshed(model.get(), &AppModel::indexRefreshed);
    ASSERT_TRUE(refreshed.wait(6000));
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(pathsOf(model->items()), (std::vector<std::string>{files / "Pics/Moved/a.jpg", files / "Pics/Moved/b.jpg",
                                                                 files / "Pics/top.jpg"}));
}

} // namespace
} // namespace mirelo::test
