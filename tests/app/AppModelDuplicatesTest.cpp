// The duplicates section on a real model: the search starts when the
// section is shown, groups show with the copy to keep first, "Select extra
// copies" leaves every keeper, and the Trash empties a group.

#include "AppTestSupport.h"
#include "ImageFixtures.h"

#include <QElapsedTimer>

#include <filesystem>

#include <unistd.h>

namespace mirelo::test {
namespace {

class AppModelDuplicatesTest : public AppModelTest {};

TEST_F(AppModelDuplicatesTest, CopiesShowInGroupsAndTheExtraOnesCanGo)
{
    const std::string photo(50'000, 'p');
    writeFile(files / "Phone/IMG_1.jpg", photo);
    writeFile(files / "Pictures/IMG_1 copy.jpg", photo);
    writeFile(files / "Pictures/export/IMG_1.jpg", photo);
    writeFile(files / "Pictures/other.jpg", std::string(50'000, 'q'));
    ASSERT_EQ(::link((files / "Phone/IMG_1.jpg").c_str(), (files / "Phone/IMG_1 link.jpg").c_str()), 0);
    auto model = launchRestored();
    model->scan({files / "Phone"}, true);
    ASSERT_TRUE(waitForScan(*model));
    model->scan({files / "Pictures"}, true);
    ASSERT_TRUE(waitForScan(*model));

    model->selectSection(LibrarySection::duplicates);
    EXPECT_EQ(model->sort(), MediaSort::largest) << "most space first";
    ASSERT_TRUE(waitUntil([&] { return !model->duplicateSearch().running() && model->duplicateGroups(); }));
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(model->duplicateExtraCount(), 2) << "a hard link is the same file, not a copy";
    const auto& links = model->duplicateGroups()->groups[0].links;
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links.begin()->second.size(), 1u);
    ASSERT_EQ(model->shownGroups().size(), 1u);
    EXPECT_EQ(model->shownGroups()[0].freed, 100'000);
    ASSERT_EQ(model->visible().size(), 3);
    EXPECT_TRUE(std::string(model->visible()[0].path()).starts_with(files / "Phone/IMG_1"))
        << "in the folder added first";

    // The folder tree narrows the section: one copy in Pictures/export is no group.
    model->selectFolder(files / "Pictures");
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(model->section(), LibrarySection::duplicates);
    EXPECT_EQ(model->visible().size(), 2) << "the two copies below Pictures";
    model->selectSection(LibrarySection::duplicates);
    ASSERT_TRUE(waitForQuery(*model));
    ASSERT_EQ(model->visible().size(), 3);

    model->selectExtraCopies();
    EXPECT_TRUE(model->selecting());
    EXPECT_EQ(model->selection().size(), 2u);
    EXPECT_FALSE(model->selection().contains(std::string(model->visible()[0].path())));
    EXPECT_EQ(model->groupsEmptiedBy(model->selectedItems()), 0);
    EXPECT_EQ(model->groupsEmptiedBy(model->visible()), 1);

    model->requestTrash(model->selectedItems());
    ASSERT_TRUE(model->trashPrompt());
    model->trashConfirmed();
    ASSERT_TRUE(waitUntil([&] { return !model->busy(); }));
    ASSERT_TRUE(waitUntil([&] { return !model->duplicateSearch().running(); }));
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_TRUE(model->visible().isEmpty()) << "one copy left is no group";
    EXPECT_TRUE(exists(files / "Phone/IMG_1.jpg"));
    EXPECT_TRUE(exists(files / "Phone/IMG_1 link.jpg"));
}

TEST_F(AppModelDuplicatesTest, SimilarPhotosGroupAResizedCopyAndKeepTheLarger)
{
    std::filesystem::create_directories(files / "Photos");
    const QImage picture = markedPicture(900, 600);
    ASSERT_TRUE(picture.save(QString::fromStdString(files / "Photos/large.jpg"), "JPEG", 92));
    ASSERT_TRUE(picture.scaled(450, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .save(QString::fromStdString(files / "Photos/small.jpg"), "JPEG", 60));
    QImage stripes(900, 600, QImage::Format_RGB32);
    for (int x = 0; x < 900; ++x)
        for (int y = 0; y < 600; ++y)
            stripes.setPixel(x, y, (x / 60 + y / 100) % 2 ? qRgb(240, 240, 240) : qRgb(20, 40, 60));
    ASSERT_TRUE(stripes.save(QString::fromStdString(files / "Photos/other.png")));
    auto model = launchIndexing("Photos");
    model->setDuplicateKind(DuplicateGroups::Kind::similar);
    model->selectSection(LibrarySection::duplicates);
    ASSERT_TRUE(waitUntil([&] { return !model->duplicateSearch().running() && model->duplicateGroups(); }));
    ASSERT_TRUE(waitForQuery(*model));
    ASSERT_EQ(model->shownGroups().size(), 1u);
    ASSERT_EQ(model->visible().size(), 2);
    EXPECT_EQ(model->visible()[0].name(), "large.jpg");
    EXPECT_EQ(model->duplicateGroups()->groups[0].reason, DuplicateGroups::Reason::largestPicture);
}

// One picture reached twice (a folder added again through a linked parent,
// a hard link) is one file, never its own copy; of an original and its
// brightened copy the original stays.
TEST_F(AppModelDuplicatesTest, SimilarPhotosCountFilesAndKeepTheOriginal)
{
    std::filesystem::create_directories(files / "Photos");
    const QImage picture = markedPicture(900, 600);
    ASSERT_TRUE(saveWithCameraDetails(picture, files / "Photos/original.jpg"));
    ASSERT_EQ(::link((files / "Photos/original.jpg").c_str(), (files / "Photos/linked.jpg").c_str()), 0);
    ASSERT_EQ(::symlink((files / "").c_str(), (files / "Again").c_str()), 0);
    auto model = launchIndexing("Photos");
    model->scan({files / "Again/Photos"}, true); // the same folder through a linked parent
    ASSERT_TRUE(waitForScan(*model));
    ASSERT_EQ(model->items().size(), 4);
    model->setDuplicateKind(DuplicateGroups::Kind::similar);
    model->selectSection(LibrarySection::duplicates);
    ASSERT_TRUE(waitUntil([&] { return !model->duplicateSearch().running() && model->duplicateGroups(); }));
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_TRUE(model->duplicateGroups()->groups.empty()) << "one file under four names";
    EXPECT_TRUE(model->visible().isEmpty());

    QImage brighter = picture;
    for (int y = 0; y < brighter.height(); ++y)
        for (int x = 0; x < brighter.width(); ++x) {
            const QColor c = brighter.pixelColor(x, y);
            brighter.setPixelColor(
                x, y, QColor(std::min(255, c.red() + 30), std::min(255, c.green() + 30), std::min(255, c.blue() + 30)));
        }
    ASSERT_TRUE(brighter.save(QString::fromStdString(files / "Photos/original edited.jpg"), "JPEG", 98));
    model->scan({files / "Photos"}, true);
    ASSERT_TRUE(waitForScan(*model));
    model->selectSection(LibrarySection::duplicates); // a scan shows All media
    ASSERT_TRUE(waitUntil([&] {
        return !model->duplicateSearch().running() && model->duplicateGroups() &&
               !model->duplicateGroups()->groups.empty();
    }));
    ASSERT_TRUE(waitForQuery(*model));
    const DuplicateGroups::Group& group = model->duplicateGroups()->groups.at(0);
    ASSERT_EQ(group.paths.size(), 2u) << "two files, whatever their names";
    EXPECT_EQ(group.reason, DuplicateGroups::Reason::cameraDetails);
    EXPECT_TRUE(group.paths[0].ends_with("original.jpg") || group.paths[0].ends_with("linked.jpg")) << group.paths[0];
    model->selectExtraCopies();
    ASSERT_EQ(model->selection().size(), 1u);
    EXPECT_TRUE(model->selection().contains(files / "Photos/original edited.jpg"));
}

// Reopened on the Duplicates section, the groups are looked for at once;
// a new search started during a long one never waits for it.
TEST_F(AppModelDuplicatesTest, RelaunchedOnTheSectionAndRestartedMidSearch)
{
    for (int i = 0; i < 70; ++i) {
        const std::string path = media("Movies/" + std::to_string(i) + ".mov", 1);
        ASSERT_EQ(::truncate(path.c_str(), int64_t(4) << 30), 0); // 4 GiB of holes each
    }
    writeFile(files / "Movies/a.jpg", std::string(5000, 'a'));
    writeFile(files / "Movies/b.jpg", std::string(5000, 'a'));
    {
        auto model = launchIndexing("Movies");
        model->selectSection(LibrarySection::duplicates);
        ASSERT_TRUE(waitUntil([&] { return model->duplicateSearch().running(); }));
        QElapsedTimer clock;
        clock.start();
        model->setDuplicateKind(DuplicateGroups::Kind::similar);
        model->setDuplicateKind(DuplicateGroups::Kind::exact);
        EXPECT_LT(clock.elapsed(), 5000) << "the main thread never waits for a search (it did for minutes)";
        model->stopDuplicates();
        ASSERT_TRUE(waitUntil([&] { return !model->duplicateSearch().running(); }, 20000));
        model->flushLibrary();
    }
    for (int i = 0; i < 70; ++i) ::truncate((files / ("Movies/" + std::to_string(i) + ".mov")).c_str(), i + 1);
    auto model = launchRestored();
    EXPECT_EQ(model->section(), LibrarySection::duplicates);
    ASSERT_TRUE(waitUntil([&] { return model->duplicateGroups() && !model->duplicateSearch().running(); }));
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(model->visible().size(), 2) << "the two pictures, found without leaving the section";
}

} // namespace
} // namespace mirelo::test
