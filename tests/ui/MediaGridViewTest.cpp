// The library grid on a real model: the keyboard, small pictures, the click
// rules in and out of selection mode, and cards for assistive technologies.

#include "AppTestSupport.h"
#include "ImageFixtures.h"
#include "ThumbnailStore.h"
#include "library/MediaGridFocus.h"
#include "library/MediaGridView.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTest>
#include "Eventually.h"

namespace mirelo::test {
namespace {

class MediaGridViewTest : public LaunchedModelTest {
protected:
    // The process's own store, as the application uses it: its workers live
    // until the process ends.
    ThumbnailStore& thumbnails = ThumbnailStore::shared();

    // A grid over `count` indexed files, on screen.
    std::unique_ptr<MediaGridView> gridOver(int count)
    {
        for (int i = 0; i < count; ++i) media("Pics/" + QString("%1.jpg").arg(i, 4, 10, QChar('0')).toStdString());
        model->scan({files / "Pics"}, true);
        EXPECT_TRUE(waitForScan(*model));
        EXPECT_EQ(model->visible().size(), count);
        auto grid = std::make_unique<MediaGridView>(*model, thumbnails);
        grid->resize(1000, 700);
        grid->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
        return grid;
    }
    static void scrollToEnd(MediaGridView& grid)
    {
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    }
};

TEST_F(MediaGridViewTest, TheKeyboardMovesAFocusThatOpensSelectsAndFollowsTheViewer)
{
    auto grid = gridOver(500); // 240 built, 5 columns
    grid->setFocus(Qt::TabFocusReason);
    ASSERT_EVENTUALLY(grid->hasFocus());
    EXPECT_EQ(grid->focus().index(), 0) << "Tab shows where the keys will act";
    for (auto [key, expected] : std::vector<std::pair<Qt::Key, int>>{{Qt::Key_Right, 1},
                                                                     {Qt::Key_Down, 6},
                                                                     {Qt::Key_Left, 5},
                                                                     {Qt::Key_Up, 0},
                                                                     {Qt::Key_End, 499},
                                                                     {Qt::Key_Home, 0}}) {
        QTest::keyClick(grid.get(), key);
        EXPECT_EQ(grid->focus().index(), expected) << key;
    }
    QTest::keyClick(grid.get(), Qt::Key_End);
    EXPECT_EQ(grid->builtCount(), 500) << "the last card was built to be shown";
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->cardRect(499))) << "and scrolled into view";
    QTest::keyClick(grid.get(), Qt::Key_Home);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);

    // Shift extends a selection from where it started; Space toggles one card.
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(model->selecting());
    EXPECT_EQ(model->selection().size(), 3u);
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(model->selection().size(), 2u);
    EXPECT_FALSE(model->selection().contains(model->visible()[2].path()));
    model->setSelecting(false);

    // Return opens the focused card; closing the viewer focuses the card shown.
    QTest::keyClick(grid.get(), Qt::Key_Return);
    ASSERT_TRUE(model->current());
    EXPECT_EQ(model->current()->path(), model->visible()[2].path());
    model->navigate(+1);
    model->setCurrent(std::nullopt);
    EXPECT_EQ(grid->focus().index(), 3);
}

// A picture smaller than its card stays at its own size in the middle of
// the card, instead of being blown up to fill it.
TEST_F(MediaGridViewTest, SmallPicturesAreNeverEnlarged)
{
    std::filesystem::create_directories(files / "Small");
    ASSERT_TRUE(markedPicture(40, 30).save(QString::fromStdString(files / "Small/tiny.png")));
    model->scan({files / "Small"}, true);
    ASSERT_TRUE(waitForScan(*model));
    MediaGridView grid(*model, thumbnails);
    grid.resize(1000, 700);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QRect card = grid.cardRect(0);
    const QPoint centre(card.center().x(), card.top() + int(MediaGridView::kThumbnailHeight / 2));
    auto colourAt = [&](QPoint point) {
        return grid.viewport()->grab().toImage().pixelColor(point * grid.devicePixelRatioF());
    };
    ASSERT_EVENTUALLY(isBlue(colourAt(centre)));
    EXPECT_FALSE(isRed(colourAt(card.topLeft() + QPoint(14, 14)))) << "the mark stays small, away from the corner";
    EXPECT_FALSE(isBlue(colourAt(card.topLeft() + QPoint(14, 14)))) << "the card's ground shows around it";
}

TEST_F(MediaGridViewTest, ClicksOpenOrToggleByMode)
{
    auto grid = gridOver(6);
    EXPECT_EQ(grid->layout().columns(), 5);
    const QPoint third = grid->cardRect(2).center();
    ASSERT_EQ(grid->indexAt(third), 2);
    EXPECT_FALSE(grid->indexAt(QPoint(5, 5))) << "the padding is no card";

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third);
    EXPECT_FALSE(model->current()) << "a single click outside selection mode changes nothing";
    EXPECT_TRUE(model->selection().empty());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third);
    ASSERT_TRUE(model->current());
    EXPECT_EQ(model->current()->path(), model->visible()[2].path());

    model->setCurrent(std::nullopt);
    model->setSelecting(true);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(model->selection(), PathSelection{std::string(model->visible()[2].path())});
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third);
    EXPECT_TRUE(model->selection().empty()) << "a second click deselects";
    EXPECT_FALSE(model->current());
}

TEST_F(MediaGridViewTest, CardsAreButtonsForAssistiveTechnologies)
{
    auto grid = gridOver(3);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 3);
    QAccessibleInterface* card = list->child(1);
    EXPECT_EQ(card->role(), QAccessible::Button);
    EXPECT_EQ(card->text(QAccessible::Name), "0001.jpg, JPG, 4 bytes");
    EXPECT_EQ(card->text(QAccessible::Value), "Not selected");
    EXPECT_EQ(card->text(QAccessible::Description), "Activate to open in the viewer");
    EXPECT_EQ(list->childAt(card->rect().center().x(), card->rect().center().y()), card);

    model->setSelecting(true);
    EXPECT_EQ(card->text(QAccessible::Description), "Activate to toggle selection");
    card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(card->text(QAccessible::Value), "Selected");
    EXPECT_TRUE(card->state().selected);

    // The keyboard's card is the one assistive technologies hear of as focused.
    grid->setFocus(Qt::TabFocusReason);
    ASSERT_EVENTUALLY(grid->hasFocus());
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(list->focusChild(), card);
    EXPECT_TRUE(card->state().focused);
    EXPECT_FALSE(list->child(0)->state().focused);
}

} // namespace
} // namespace mirelo::test
