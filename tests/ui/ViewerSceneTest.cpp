// The viewer's scene on its own: notices and their Undo, the error text,
// the chrome with reduced motion, and the room the picture gets.

#include "common/DesktopLook.h"
#include "viewer/ViewerScene.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <vector>
#include "Eventually.h"

namespace mirelo::test {
namespace {

TEST(ViewerScene, ATrashNoticeOffersUndoAndAnErrorClearsTheZoom)
{
    ViewerScene scene;
    scene.resize(1000, 700);
    int undone = 0;
    scene.onUndo = [&] { ++undone; };
    scene.toast("Copied", false);
    EXPECT_TRUE(scene.noticeUndoButton()->isHidden());
    scene.toast("Moved 1 file to Trash", true);
    EXPECT_FALSE(scene.noticeUndoButton()->isHidden());
    scene.noticeUndoButton()->click();
    EXPECT_EQ(undone, 1);
    EXPECT_TRUE(scene.noticeUndoButton()->isHidden());

    scene.zoomLabel()->setText("100%");
    scene.showError("This file can’t be previewed.");
    EXPECT_TRUE(scene.zoomLabel()->text().isEmpty());
}

TEST(ViewerScene, ANewerNoticeGetsItsFullTimeAndFadesEvenWithoutMotion)
{
    qputenv("MIRELO_REDUCE_MOTION", "1");
    DesktopLook::shared().refresh();
    ViewerScene scene;
    scene.resize(1000, 700);
    auto opacity = [](QWidget* widget) {
        return static_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect())->opacity();
    };
    // Without motion the chrome comes and goes at once.
    scene.setChrome(true);
    EXPECT_EQ(opacity(scene.bar()), 1.0);
    scene.setChrome(false);
    EXPECT_EQ(opacity(scene.bar()), 0.0);

    // Notices of 300 ms: the second comes 150 ms after the first, and is still
    // fully visible when the first's time is over.
    scene.setNoticeDuration(300);
    auto* effect = static_cast<QGraphicsOpacityEffect*>(scene.notice()->graphicsEffect());
    std::vector<double> seen;
    QObject::connect(effect, &QGraphicsOpacityEffect::opacityChanged, [&](qreal value) { seen.push_back(value); });
    double whenTheFirstEnds = -1;
    scene.toast("First");
    QTimer::singleShot(150, &scene, [&] { scene.toast("Second"); });
    QTimer::singleShot(350, &scene, [&] { whenTheFirstEnds = opacity(scene.notice()); });
    ASSERT_EVENTUALLY(whenTheFirstEnds >= 0 && opacity(scene.notice()) == 0.0);
    EXPECT_EQ(whenTheFirstEnds, 1.0) << "the second notice keeps its own time";
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](double v) { return v > 0 && v < 1; }))
        << "the fade takes a moment even without motion";
    EXPECT_EQ(scene.notice()->text().trimmed(), "Second");
    qunsetenv("MIRELO_REDUCE_MOTION");
    DesktopLook::shared().refresh();
}

} // namespace
} // namespace mirelo::test
