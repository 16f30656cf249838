// Previews for the grid: sizes, the cache and its bound, changed files,
// and cancellation that never starts a decode.

#include "ThumbnailStore.h"

#include "AppTestSupport.h"
#include "files/FileUrl.h"
#include "VideoFixtures.h"

namespace mirelo::test {
namespace {

class ThumbnailStoreTest : public AppModelTest {
protected:
    MediaItem picture(const std::string& name, int width, int height)
    {
        EXPECT_TRUE(saveWithVips(markedPicture(width, height), files / name));
        return *MediaItem::read(files / name);
    }
    // Loads and waits; `handed` tells whether it came from the cache at once.
    static QImage loaded(ThumbnailStore& store, const MediaItem& item, bool* handed = nullptr)
    {
        std::optional<QImage> result;
        auto request = store.load(item, [&](QImage image) { result = image; });
        if (handed) *handed = !request && result;
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); }));
        return result.value_or(QImage());
    }
};

TEST_F(ThumbnailStoreTest, PreviewsAreMadeOnceAndFollowTheFile)
{
    ThumbnailStore store;
    MediaItem item = picture("photo.jpg", 1200, 800);
    bool handed = true;
    EXPECT_EQ(loaded(store, item, &handed).size(), QSize(256, 171));
    EXPECT_FALSE(handed);
    EXPECT_EQ(loaded(store, item, &handed).size(), QSize(256, 171));
    EXPECT_TRUE(handed) << "the second load comes from the cache";
    EXPECT_EQ(store.decodes(), 1);

    // Written again with another size: a new key, a new preview.
    item = picture("photo.jpg", 600, 300);
    EXPECT_EQ(loaded(store, item).size(), QSize(256, 128));
    EXPECT_EQ(store.decodes(), 2);

    // Nothing for what cannot be decoded, and nothing cached for it.
    writeBytes(files / "broken.png", "not a picture");
    const MediaItem broken = *MediaItem::read(files / "broken.png");
    EXPECT_TRUE(loaded(store, broken).isNull());
    EXPECT_TRUE(loaded(store, broken).isNull());
    EXPECT_EQ(store.decodes(), 4);
}

TEST_F(ThumbnailStoreTest, CancelledRequestsAnswerNothingAndNeverDecode)
{
    ThumbnailStore store(1);
    Gate gate;
    store.setDecodeHook([&](const MediaItem& item) {
        if (lastPathComponent(item.path()) == "first.png") gate.wait(std::string(item.path()));
    });
    const MediaItem first = picture("first.png", 100, 100), second = picture("second.png", 100, 100);
    std::optional<QImage> firstResult, secondResult;
    auto firstRequest = store.load(first, [&](QImage image) { firstResult = image; });
    ASSERT_TRUE(gate.waitForArrivals(1)); // the worker is busy with `first`
    auto secondRequest = store.load(second, [&](QImage image) { secondResult = image; });
    EXPECT_EQ(store.waitingCount(), 1u);
    secondRequest->cancel();
    EXPECT_EQ(store.waitingCount(), 0u) << "taken off the queue";
    ASSERT_TRUE(waitUntil([&] { return secondResult.has_value(); }));
    EXPECT_TRUE(secondResult->isNull()) << "cancelled: answered with nothing";

    // Cancelled while decoding: the answer is nothing and the cache stays empty.
    firstRequest->cancel();
    gate.open();
    ASSERT_TRUE(waitUntil([&] { return firstResult.has_value(); }));
    EXPECT_TRUE(firstResult->isNull());
    store.finishWork(); // waits for the worker: nothing is left to arrive
    QCoreApplication::processEvents();
    EXPECT_EQ(store.decodes(), 1) << "the cancelled request never started";
    EXPECT_EQ(store.cache().count(), 0u);

    // A request cancelled before it is installed is answered once, with nothing.
    ThumbnailRequest request;
    request.cancel();
    int answers = 0;
    EXPECT_FALSE(request.install([&](QImage) { ++answers; }));
    request.finish(QImage(1, 1, QImage::Format_RGB888));
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, 0) << "no context to answer on: dropped";
}

TEST_F(ThumbnailStoreTest, TheCacheStaysWithinItsCost)
{
    ThumbnailStore store;
    std::vector<MediaItem> items;
    for (int i = 0; i < 130; ++i) items.push_back(picture("p" + std::to_string(i) + ".png", 64, 48));
    int answered = 0;
    for (const MediaItem& item : items) store.load(item, [&](QImage) { ++answered; });
    ASSERT_TRUE(waitUntil([&] { return answered == 130; }, 60000));
    // Charged by their real bytes, 130 small previews all fit.
    EXPECT_EQ(store.cache().count(), 130u);
    EXPECT_LE(store.cache().totalCost(), 130 * 64 * 48 * 4);
}

} // namespace
} // namespace mirelo::test
