// The library window on a real model: which body shows, the header's,
// footer's and empty state's words in each state, the selection footer, the
// Trash and error alerts, the toast, and drops.

#include "AppTestSupport.h"
#include "common/AlertDialog.h"
#include "common/CapsuleButton.h"
#include "common/ToastView.h"
#include "library/EmptyStateView.h"
#include "library/FilterBar.h"
#include "library/LibraryColumn.h"
#include "library/LibraryFooter.h"
#include "library/LibraryHeader.h"
#include "library/LibraryTexts.h"
#include "library/LibraryWindow.h"
#include "library/MediaGridView.h"
#include "library/StorageBreakdownView.h"
#include "library/SelectionCopyButton.h"
#include "common/ActionRegistry.h"

#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include "Eventually.h"

namespace mirelo::test {
namespace {

class LibraryWindowTest : public LaunchedModelTest {
protected:
    void SetUp() override
    {
        LaunchedModelTest::SetUp();
        actions = std::make_unique<ActionRegistry>(*model);
        window = std::make_unique<LibraryWindow>(*model, *actions);
        window->resize(1180, 780);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        actions.reset();
        LaunchedModelTest::TearDown();
    }
    // Three files of 10 bytes in "Pics", scanned.
    void scanned()
    {
        for (const char* name : {"a.jpg", "b.png", "c.mov"}) media(std::string("Pics/") + name, 10);
        model->scan({files / "Pics"}, true);
        ASSERT_TRUE(waitForScan(*model));
        ASSERT_TRUE(waitForQuery(*model));
    }
    LibraryColumn& column() const { return *window->column(); }
    QString footer() const { return column().footer()->text(); }

    std::unique_ptr<ActionRegistry> actions;
    std::unique_ptr<LibraryWindow> window;
};

TEST_F(LibraryWindowTest, BodiesAndTheirWordsFollowTheModel)
{
    EXPECT_EQ(column().body(), LibraryColumn::Body::welcome);
    EXPECT_EQ(column().header()->title(), "A home for every image.");
    EXPECT_EQ(column().header()->subtitle(), "Open, explore, and make a little room.");

    scanned();
    EXPECT_EQ(column().body(), LibraryColumn::Body::library);
    EXPECT_EQ(column().header()->title(), "Pics") << "the scanned folder is selected";
    EXPECT_EQ(column().header()->subtitle(), "Pics  ·  3 files  ·  30 bytes");
    EXPECT_EQ(footer(), "3 files");
    model->selectSection(LibrarySection::all);
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(column().header()->title(), "All media");
    EXPECT_EQ(column().header()->subtitle(), "Your library  ·  3 files  ·  30 bytes");

    // Nothing matches: the empty state over a hidden grid, then Clear filters.
    model->setSearch("b");
    EXPECT_EQ(column().header()->subtitle(), "Preparing your media…");
    EXPECT_EQ(footer(), "Loading content…");
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(footer(), "1 file");
    model->setSearch("zzz");
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_TRUE(column().emptyState()->isVisible());
    EXPECT_FALSE(column().grid()->isVisible());
    EXPECT_EQ(column().emptyState()->title(), "No matching files");
    EXPECT_EQ(column().emptyState()->message(), "Try another format or a different search.");
    model->selectSection(LibrarySection::large);
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(column().emptyState()->message(), "Large files are 10 MB or more.");
    EXPECT_TRUE(column().storage()->isVisible()) << "only the Large files section shows the breakdown";
    // No duplicates and nothing narrowing them: nothing to clear.
    model->selectSection(LibrarySection::duplicates);
    EXPECT_TRUE(column().emptyState()->offersClearing()) << "the search still narrows it";
    model->setSearch("");
    EXPECT_FALSE(column().emptyState()->offersClearing());
    model->setSearch("zzz");
    model->selectSection(LibrarySection::large);
    ASSERT_TRUE(waitForQuery(*model));
    auto* clear = column().emptyState()->findChild<CapsuleButton*>();
    QSignalSpy queries(model.get(), &AppModel::queryStarted);
    clear->click();
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(queries.size(), 1) << "section, format and search change in one step";
    EXPECT_EQ(model->section(), LibrarySection::all);
    EXPECT_EQ(model->search(), "");
    EXPECT_FALSE(column().storage()->isVisible());
    EXPECT_TRUE(column().grid()->isVisible());

    // An empty library with a folder selected shows the library body.
    model->setSelectedFolder(files / "Elsewhere");
    ASSERT_TRUE(waitForQuery(*model));
    EXPECT_EQ(column().body(), LibraryColumn::Body::library);
}

TEST_F(LibraryWindowTest, TrashWithUndoInTheToast)
{
    scanned();
    const std::string first(model->visible()[0].path());
    model->requestTrash({model->visible()[0]});
    ASSERT_EVENTUALLY(window->alert());
    // Return and Escape both cancel: the file stays.
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QPointer<AlertDialog> alert = window->alert();
        QTest::keyClick(alert->focusWidget() ? alert->focusWidget() : alert.data(), Qt::Key(key));
        ASSERT_EVENTUALLY(!alert);
        EXPECT_TRUE(std::filesystem::exists(first));
        model->requestTrash({model->visible()[0]});
        ASSERT_EVENTUALLY(window->alert());
    }
    auto* move = window->alert()->buttons().at(1);
    ASSERT_EQ(move->text(), "Move to Trash");
    EXPECT_FALSE(move->isDefault());
    EXPECT_TRUE(window->alert()->buttons().at(0)->isDefault());
    move->click();
    ToastView& toast = *window->toast();
    ASSERT_EVENTUALLY(toast.isVisible());
    EXPECT_EQ(toast.text(), "Moved 1 file to Trash");
    EXPECT_TRUE(toast.undoButton()->isVisible());
    toast.undoButton()->click();
    ASSERT_EVENTUALLY(std::filesystem::exists(first));
    ASSERT_EVENTUALLY(model->undoRecords().empty());
    toast.closeButton()->click();
    EXPECT_FALSE(model->toast().has_value());
    ASSERT_EVENTUALLY(!toast.isVisible());
}

TEST_F(LibraryWindowTest, ErrorsShowInAnAlertThatClearsThem)
{
    model->setErrorMessage(QStringLiteral("The folder is gone."));
    ASSERT_EVENTUALLY(window->alert());
    EXPECT_EQ(window->alert()->title(), "Mirelo couldn’t complete that");
    EXPECT_EQ(window->alert()->message(), "The folder is gone.");
    window->alert()->buttons().at(0)->click();
    ASSERT_EVENTUALLY(!model->errorMessage());
}

TEST_F(LibraryWindowTest, ADropOfFilesAndAFolderOpensThemTogether)
{
    media("Drop/one.jpg");
    media("Drop/two.png");
    media("Drop/Folder/three.gif");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(files / "Drop/one.jpg")),
                  QUrl::fromLocalFile(QString::fromStdString(files / "Drop/two.png")),
                  QUrl::fromLocalFile(QString::fromStdString(files / "Drop/Folder")),
                  QUrl("https://example.com/x.jpg")});
    EXPECT_EQ(LibraryWindow::droppedFiles(&data).size(), 3u) << "only local files";

    QSignalSpy scans(model.get(), &AppModel::scanningChanged);
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(window->dropTarget());
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_FALSE(window->dropTarget());
    ASSERT_TRUE(waitForScan(*model));
    EXPECT_EQ(scans.size(), 2) << "one scan started and ended";
    ASSERT_EVENTUALLY_EQ(model->items().size(), 3);
}

TEST_F(LibraryWindowTest, CopyConfirmsForAMoment)
{
    scanned();
    model->setSelecting(true);
    model->toggleSelectAll();
    SelectionCopyButton& copy = *column().footer()->copyButton();
    EXPECT_EQ(copy.text(), "Copy");
    copy.click();
    EXPECT_EQ(copy.text(), "Copied");
    ASSERT_EVENTUALLY_EQ_WITHIN(copy.text(), QString("Copy"), SelectionCopyButton::kFeedbackMs + 2000);
}

} // namespace
} // namespace mirelo::test
