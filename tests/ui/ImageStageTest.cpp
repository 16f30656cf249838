// The viewer's picture: nothing happens before a frame, fitting and the
// double-click toggle, a zoom that survives a resize, the wheel and the
// trackpad, and the reduced copies made off the main thread.

#include "viewer/ImageStage.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>
#include "Eventually.h"

namespace mirelo {
namespace {

// A frame whose picture stands for `pixels` (the bitmap may be smaller).
FrameRef frameOf(double width, double height, QSize bitmap = {400, 300})
{
    auto frame = std::make_shared<ViewerFrame>();
    frame->image = QImage(bitmap, QImage::Format_RGB32);
    frame->image.fill(Qt::darkCyan);
    frame->pixels = {width, height};
    return frame;
}

class ImageStageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        stage.resize(1200, 800);
        stage.setImageViewport(QRectF(0, 42, 1200, 800 - 42 - 145));
        stage.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&stage));
    }
    void wheel(QPoint pixels, QPoint angle, Qt::KeyboardModifiers modifiers = {})
    {
        QWheelEvent event(QPointF(600, 400), QPointF(stage.mapToGlobal(QPoint(600, 400))), pixels, angle, Qt::NoButton,
                          modifiers, pixels.isNull() ? Qt::NoScrollPhase : Qt::ScrollUpdate, false);
        QApplication::sendEvent(&stage, &event);
    }
    ImageStage stage;
};

TEST_F(ImageStageTest, DoubleClickTogglesBetweenFitAndACloserLook)
{
    const struct {
        double width, height;
        double fitScale, closer;
    } cases[] = {
        {300, 200, 1.0, 2.0},    // small: fitting never enlarges, so 200 %
        {10080, 5000, 0.1, 1.0}, // large: twice 10 % is raised to 100 %
        {2000, 1000, 0.504, 1.008},
    };
    for (const auto& [width, height, fitScale, closer] : cases) {
        stage.display(frameOf(width, height), QStringLiteral("photo.jpg"), false);
        ASSERT_TRUE(stage.ready());
        EXPECT_TRUE(stage.geometry().fitting);
        EXPECT_NEAR(stage.geometry().scale, fitScale, 0.001) << width;
        stage.toggleZoom({300, 200});
        EXPECT_NEAR(stage.geometry().scale, closer, 0.001) << width;
        stage.toggleZoom({300, 200});
        EXPECT_TRUE(stage.geometry().fitting) << "a second double click fits again";
    }
}

TEST_F(ImageStageTest, ResizingKeepsAZoomAndRefitsAFittedPicture)
{
    stage.display(frameOf(4000, 3000), QStringLiteral("photo.jpg"), true);
    const double fitted = stage.geometry().scale;
    stage.setImageViewport(QRectF(0, 0, 600, 400));
    EXPECT_LT(stage.geometry().scale, fitted);
    EXPECT_TRUE(stage.geometry().fitting);
    stage.perform({ZoomAction::actual});
    stage.setImageViewport(QRectF(0, 42, 1200, 613));
    EXPECT_DOUBLE_EQ(stage.geometry().scale, 1.0);
    EXPECT_FALSE(stage.geometry().fitting);
    // Shown where the geometry says once the command's animation ends.
    ASSERT_EVENTUALLY_EQ(stage.shownRect().size(), QSizeF(4000, 3000));
    ASSERT_EVENTUALLY(stage.hasPyramid());
}

TEST_F(ImageStageTest, TheFullFrameTakesThePreviewsPlace)
{
    stage.display(frameOf(4000, 3000, {640, 480}), QStringLiteral("photo.jpg"), true);
    stage.perform({ZoomAction::actual});
    stage.upgrade(frameOf(4000, 3000, {4096, 3072}));
    EXPECT_DOUBLE_EQ(stage.geometry().scale, 1.0) << "where and how it is shown stays";
    EXPECT_FALSE(stage.geometry().fitting);
    stage.upgrade(frameOf(300, 200, {300, 200}));
    EXPECT_TRUE(stage.geometry().fitting) << "another picture is shown afresh";

    // A preview of a guessed size settles where the picture's own fit puts it.
    stage.display(frameOf(16384, 12288, {480, 360}), QStringLiteral("photo.jpg"), false);
    const QRectF guessed = stage.shownRect();
    stage.upgrade(frameOf(4000, 3000, {4000, 3000}));
    EXPECT_TRUE(stage.geometry().fitting);
    ASSERT_EVENTUALLY_EQ(stage.shownRect(), guessed);
}

TEST_F(ImageStageTest, TheWheelZoomsAndTheTrackpadPans)
{
    stage.display(frameOf(4000, 3000), QStringLiteral("photo.jpg"), false);
    const double fitted = stage.geometry().scale;
    wheel({}, {0, 120});
    EXPECT_NEAR(stage.geometry().scale, fitted * std::exp(0.035 * 3), 1e-9);
    const PointF offset = stage.geometry().offset;
    wheel({0, -30}, {0, -30});
    EXPECT_NEAR(stage.geometry().scale, fitted * std::exp(0.035 * 3), 1e-9) << "a trackpad pans";
    EXPECT_NE(stage.geometry().offset, offset);
    wheel({0, 10}, {0, 10}, Qt::ControlModifier);
    EXPECT_NEAR(stage.geometry().scale, fitted * std::exp(0.035 * 3) * std::exp(0.35), 1e-9) << "Ctrl with it zooms";
    stage.reset();
    EXPECT_FALSE(stage.ready());
}

} // namespace
} // namespace mirelo
