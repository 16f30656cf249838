// Viewer frames: what a frame holds, the cache and its keys, coalescing,
// priorities, cancellation, and the backdrop's blur.

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
    EXPECT_EQ(
        frame->metadata,
        (std::vector<Pair>{{"Camera", "Mirelo One"}, {"Captured", "2024:05:01 10:30:00"}, {"Color profile", "sRGB"}}));
    EXPECT_EQ(frame->cost(), 4096 * 2048 * 4 + 720 * 360 * 4); // 32-bit pixels, ready to paint

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

TEST_F(ViewerPipelineTest, KeysFollowTheFileAndTheSoftness)
{
    // 512 bytes modified 12.0 seconds after 1970 (items count from 2001).
    const MediaItem item("/Users/a/p.jpg", 512, 12.0 - kUnixEpochOffset, false);
    EXPECT_EQ(ViewerPipeline::key(item), "/Users/a/p.jpg:12.0:512:0.1");
    setSoftness(0.25);
    EXPECT_EQ(ViewerPipeline::key(item), "/Users/a/p.jpg:12.0:512:0.25");
    setSoftness(-3);
    EXPECT_EQ(ViewerPreferences::backgroundBlur(), 0);
    setSoftness(7);
    EXPECT_EQ(ViewerPipeline::key(item), "/Users/a/p.jpg:12.0:512:1.0");
    setSoftness("soft");
    EXPECT_EQ(ViewerPreferences::backgroundBlur(), 0.1);
    AppSettings::open()->remove(AppSettings::kBackgroundBlur);
    EXPECT_EQ(ViewerPreferences::backgroundBlur(), 0.1);
    EXPECT_EQ(ViewerPipeline::key(MediaItem("/p.jpg", 1, 12.5 - kUnixEpochOffset, false)), "/p.jpg:12.5:1:0.1");
}

TEST_F(ViewerPipelineTest, VideosAndCachedFramesAnswerAtOnce)
{
    ViewerPipeline pipeline;
    bool answered = false;
    pipeline.load(MediaItem(files / "clip.mp4", 10, 1.0, true), ViewerPipeline::veryHigh, [&](FrameRef frame) {
        answered = true;
        EXPECT_FALSE(frame);
    });
    EXPECT_TRUE(answered);
    EXPECT_EQ(pipeline.pendingCount(), 0u);

    const MediaItem item = picture("a.png");
    FrameRef first;
    pipeline.load(item, ViewerPipeline::veryHigh, [&](FrameRef frame) { first = frame; });
    ASSERT_TRUE(waitUntil([&] { return first != nullptr; }));
    FrameRef second;
    pipeline.load(item, ViewerPipeline::veryHigh, [&](FrameRef frame) { second = frame; });
    EXPECT_EQ(second, first) << "from the cache, before load returns";
    EXPECT_EQ(pipeline.preparations(), 1);

    // A failed preparation is not remembered.
    const MediaItem broken(files / "broken.jpg", 3, 1.0, false);
    writeBytes(files / "broken.jpg", "bad");
    int failures = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        pipeline.load(broken, ViewerPipeline::veryHigh, [&](FrameRef frame) { failures += frame ? 0 : 1; });
        ASSERT_TRUE(waitUntil([&] { return failures == attempt + 1; }));
    }
    EXPECT_EQ(pipeline.preparations(), 3);
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

TEST_F(ViewerPipelineTest, TheCacheKeepsToItsLimits)
{
    CostCache<int> cache(100, 3);
    cache.insert("a", 1, 40);
    cache.insert("b", 2, 40);
    ASSERT_TRUE(cache.find("a")); // a is now the most recent
    cache.insert("c", 3, 40);     // over cost: b leaves
    EXPECT_FALSE(cache.find("b"));
    EXPECT_TRUE(cache.find("a"));
    EXPECT_EQ(cache.totalCost(), 80);
    cache.insert("d", 4, 10);
    cache.insert("e", 5, 10); // over count
    EXPECT_EQ(cache.count(), 3u);
    cache.insert("huge", 6, 101);
    EXPECT_FALSE(cache.find("huge"));
    EXPECT_LE(cache.totalCost(), 100);
}

} // namespace
} // namespace mirelo::test
