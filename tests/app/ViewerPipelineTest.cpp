// Viewer frames: what a frame holds, coalescing, priorities, cancellation,
// and the backdrop's blur.

#include "ViewerPipeline.h"

#include "AppTestSupport.h"
#include "ImageFixtures.h"

namespace mirelo::test {
namespace {

class ViewerPipelineTest : public AppModelTest {
protected:
    MediaItem picture(const std::string& name, int width = 300, int height = 200)
    {
        const std::string path = files / name;
        EXPECT_TRUE(saveWithVips(markedPicture(width, height), path));
        return *MediaItem::read(path);
    }
    static void setSoftness(const QVariant& value)
    {
        AppSettings::open()->setValue(AppSettings::kBackgroundBlur, value);
    }
};

TEST_F(ViewerPipelineTest, AFrameHoldsABoundedImageItsBackdropAndCameraDetails)
{
    const std::string path = files / "photo.jpg";
    ASSERT_TRUE(saveWithCameraDetails(markedPicture(5000, 2500), path));
    FrameRef frame = ViewerPipeline::prepare(path, 0.1);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->image.size(), QSize(4096, 2048));
    EXPECT_EQ(frame->pixels, (PixelSize{5000, 2500}));
    EXPECT_TRUE(frame->downsampled);
    ASSERT_TRUE(frame->ambient);
    EXPECT_EQ(frame->ambient->size(), QSize(720, 360));
    using Pair = std::pair<QString, QString>;
    EXPECT_EQ(frame->metadata,
              (std::vector<Pair>{
                  {"Camera", "Tessel Mirelo One"}, {"Captured", "2024:05:01 10:30:00"}, {"Color profile", "sRGB"}}));
    EXPECT_EQ(frame->cost(), 4096 * 2048 * 4 + 720 * 360 * 4); // 32-bit pixels, ready to paint

    // Fitted in a screen's box, pixel for pixel; zoomed past it, the detailed frame is wanted.
    FrameRef fitted = ViewerPipeline::prepare(path, 0.1, QSize(1800, 1200));
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->image.size(), QSize(1800, 900));
    EXPECT_EQ(fitted->pixels, (PixelSize{5000, 2500}));
    EXPECT_FALSE(fitted->needsDetail(1800.0 / 5000, ViewerPipeline::kImageLimit));
    EXPECT_TRUE(fitted->needsDetail(2000.0 / 5000, ViewerPipeline::kImageLimit));
    EXPECT_FALSE(frame->needsDetail(1.0, ViewerPipeline::kImageLimit)) << "the detailed frame is as large as they come";

    // A small picture gets a backdrop enlarged to 720; no EXIF, no details.
    ASSERT_TRUE(saveWithVips(markedPicture(300, 200), files / "small.png"));
    frame = ViewerPipeline::prepare(files / "small.png", 0.1);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->ambient->size(), QSize(720, 480));
    EXPECT_FALSE(frame->downsampled);
    EXPECT_TRUE(frame->metadata.empty());

    writeBytes(files / "wide.svg", svgDocument(10000, 5000));
    frame = ViewerPipeline::prepare(files / "wide.svg", 0.1);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->image.size(), QSize(4096, 2048));
    EXPECT_FALSE(ViewerPipeline::prepare(files / "missing.jpg", 0.1));
}

TEST_F(ViewerPipelineTest, TheBackdropKeepsItsEdges)
{
    QImage flat(400, 300, QImage::Format_RGB888);
    flat.fill(QColor(200, 120, 40));
    for (double radius : {7.2, 18.0, 72.0}) {
        QImage blurred = ViewerPipeline::blur(flat, radius);
        ASSERT_EQ(blurred.size(), QSize(720, 540)) << radius;
        for (QPoint corner : {QPoint(0, 0), QPoint(719, 0), QPoint(0, 539), QPoint(719, 539), QPoint(360, 0)}) {
            const QColor c = blurred.pixelColor(corner);
            EXPECT_NEAR(c.red(), 200, 3) << radius;
            EXPECT_NEAR(c.green(), 120, 3) << radius;
            EXPECT_NEAR(c.blue(), 40, 3) << radius;
        }
    }
    // It does blur: the marked corner's edge spreads.
    const QImage marked = markedPicture(720, 480);
    const QImage sharp = ViewerPipeline::blur(marked, 0), soft = ViewerPipeline::blur(marked, 18);
    EXPECT_TRUE(isRed(sharp.pixelColor(118, 60)));
    EXPECT_TRUE(isBlue(sharp.pixelColor(122, 60)));
    EXPECT_FALSE(isRed(soft.pixelColor(118, 60)) || isBlue(soft.pixelColor(122, 60)));
}

TEST_F(ViewerPipelineTest, RequestsForOneFileAreCoalescedAndWaitedForFirst)
{
    ViewerPipeline pipeline(1);
    Gate gate;
    pipeline.setPrepareHook([&](const std::string& path) { gate.wait(path); });
    const MediaItem a = picture("a.png"), b = picture("b.png"), c = picture("c.png");

    pipeline.load(a, ViewerPipeline::veryHigh, [](FrameRef) {});
    ASSERT_TRUE(gate.waitForArrivals(1));               // the only worker is busy with a
    pipeline.load(b, ViewerPipeline::veryLow, nullptr); // prefetches
    pipeline.load(c, ViewerPipeline::veryLow, nullptr);
    std::vector<std::pair<int, FrameRef>> answers;
    pipeline.load(c, ViewerPipeline::veryLow, [&](FrameRef frame) { answers.push_back({1, frame}); });
    pipeline.load(c, ViewerPipeline::veryLow, [&](FrameRef frame) { answers.push_back({2, frame}); });
    pipeline.load(c, ViewerPipeline::veryLow, nullptr); // changes nothing
    EXPECT_EQ(pipeline.pendingCount(), 3u);

    gate.open();
    ASSERT_TRUE(waitUntil([&] { return pipeline.pendingCount() == 0; }));
    EXPECT_EQ(gate.arrived(),
              (std::vector<std::string>{std::string(a.path()), std::string(c.path()), std::string(b.path())}))
        << "the awaited prefetch went first";
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].first, 1);
    EXPECT_EQ(answers[1].first, 2);
    EXPECT_TRUE(answers[0].second);
    EXPECT_EQ(answers[0].second, answers[1].second) << "one preparation, one frame";
    EXPECT_EQ(pipeline.preparations(), 3);
}

TEST_F(ViewerPipelineTest, FittedAndDetailedFramesOfOnePictureAreKeptApart)
{
    ViewerPipeline pipeline(1);
    pipeline.setFrameBox({150, 150});
    const MediaItem a = picture("a.png");
    FrameRef fitted, detailed;
    pipeline.load(a, ViewerPipeline::veryHigh, [&](FrameRef frame) { fitted = frame; });
    pipeline.load(
        a, ViewerPipeline::high, [&](FrameRef frame) { detailed = frame; }, true);
    ASSERT_TRUE(waitUntil([&] { return fitted && detailed; }));
    EXPECT_EQ(fitted->image.size(), QSize(150, 100));
    EXPECT_EQ(detailed->image.size(), QSize(300, 200));
    EXPECT_EQ(pipeline.preparations(), 2);
    pipeline.load(a, ViewerPipeline::veryHigh, [&](FrameRef frame) { EXPECT_EQ(frame, fitted) << "from the cache"; });
    EXPECT_EQ(pipeline.preparations(), 2);
}

TEST_F(ViewerPipelineTest, DroppedRequestsNeverAnswerNorFillTheCache)
{
    ViewerPipeline pipeline(1);
    Gate gate;
    pipeline.setPrepareHook([&](const std::string& path) { gate.wait(path); });
    const MediaItem a = picture("a.png"), b = picture("b.png"), c = picture("c.png"), d = picture("d.png");
    std::set<std::string> answered;
    for (const MediaItem& item : {a, b, c, d})
        pipeline.load(item, ViewerPipeline::veryLow,
                      [&, path = std::string(item.path())](FrameRef) { answered.insert(path); });
    ASSERT_TRUE(gate.waitForArrivals(1));

    pipeline.retainRequests({b, a, c});
    EXPECT_EQ(pipeline.pendingCount(), 3u);
    gate.open();
    ASSERT_TRUE(waitUntil([&] { return answered.size() == 3; }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered.count(std::string(d.path())));
    EXPECT_EQ(pipeline.preparations(), 3) << "d never started";

    // Closing the viewer while a frame is being made: nothing arrives, nothing is kept.
    ViewerPipeline closing(1);
    Gate held;
    closing.setPrepareHook([&](const std::string& path) { held.wait(path); });
    bool late = false;
    closing.load(d, ViewerPipeline::veryHigh, [&](FrameRef) { late = true; });
    ASSERT_TRUE(held.waitForArrivals(1));
    closing.cancel();
    held.open();
    ASSERT_TRUE(waitUntil([&] { return closing.preparations() == 1; }));
    closing.finishWork(); // waits for the worker: nothing is left to arrive
    QCoreApplication::processEvents();
    EXPECT_FALSE(late);
    EXPECT_EQ(closing.cache().count(), 0u);
}

} // namespace
} // namespace mirelo::test
