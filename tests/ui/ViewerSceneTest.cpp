// The viewer's scene on its own: notices and their Undo, the error text,
// the chrome with reduced motion, and the room the picture gets.

#include "common/DesktopLook.h"
#include "viewer/ViewerScene.h"

#include <QElapsedTimer>
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

    // Notices of 400 ms, the second 200 ms after the first: it starts to fade
    // a whole notice's time after it came (a timer never fires more than 5 %
    // early), however late a loaded machine runs the timers.
    scene.setNoticeDuration(400);
    auto* effect = static_cast<QGraphicsOpacityEffect*>(scene.notice()->graphicsEffect());
    std::vector<double> seen;
    QElapsedTimer clock;
    clock.start();
    qint64 secondAt = -1, fadingAt = -1;
    QObject::connect(effect, &QGraphicsOpacityEffect::opacityChanged, [&](qreal value) {
        const bool falling = !seen.empty() && value < seen.back();
        seen.push_back(value);
        if (secondAt >= 0 && fadingAt < 0 && falling) fadingAt = clock.elapsed();
    });
    scene.toast("First");
    QTimer::singleShot(200, &scene, [&] {
        secondAt = clock.elapsed();
        scene.toast("Second");
    });
    ASSERT_EVENTUALLY(fadingAt >= 0 && opacity(scene.notice()) == 0.0);
    EXPECT_GE(fadingAt - secondAt, 380) << "the second notice keeps its own time";
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](double v) { return v > 0 && v < 1; }))
        << "the fade takes a moment even without motion";
    EXPECT_EQ(scene.notice()->text().trimmed(), "Second");
    qunsetenv("MIRELO_REDUCE_MOTION");
    DesktopLook::shared().refresh();
}

} // namespace
} // namespace mirelo::test
