// The filmstrip: a glide within the list and a jump to a new one, and the
// wheel and the trackpad turned into steps; the video controls' clock.

#include "ThumbnailStore.h"
#include "viewer/Filmstrip.h"
#include "viewer/VideoControls.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>
#include "Eventually.h"

namespace mirelo {
namespace {

MediaItems itemsNamed(int count)
{
    MediaItems items;
    for (int i = 0; i < count; ++i) items.append(MediaItem("/nowhere/" + std::to_string(i) + ".jpg", 1, 0, false));
    return items;
}

void wheel(Filmstrip& strip, QPoint pixels, QPoint angle, Qt::ScrollPhase phase)
{
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), pixels, angle, Qt::NoButton, Qt::NoModifier, phase, false);
    QApplication::sendEvent(&strip, &event);
}

TEST(Filmstrip, GlidesWithinAListAndJumpsToANewOne)
{
    Filmstrip strip(ThumbnailStore::shared());
    strip.resize(800, Filmstrip::kHeight);
    const MediaItems items = itemsNamed(60);
    strip.setItems(items, 40);
    EXPECT_EQ(strip.scrollX(), 40 * 142) << "a new list jumps";
    EXPECT_FALSE(strip.gliding());
    strip.setItems(items, 41);
    EXPECT_TRUE(strip.gliding());
    ASSERT_EVENTUALLY_EQ(strip.scrollX(), 41.0 * 142);
    strip.resize(1000, Filmstrip::kHeight);
    EXPECT_EQ(strip.scrollX(), 41 * 142) << "stays centred on a resize";
}

TEST(Filmstrip, WheelAndTrackpadStepThroughTheList)
{
    Filmstrip strip(ThumbnailStore::shared());
    std::vector<int> steps;
    strip.onNavigate = [&](int step) { steps.push_back(step); };
    wheel(strip, {}, {0, -120}, Qt::NoScrollPhase);
    wheel(strip, {}, {0, 120}, Qt::NoScrollPhase);
    EXPECT_EQ(steps, (std::vector<int>{1, -1})) << "one item a notch, against the delta";

    steps.clear();
    wheel(strip, {-100, 0}, {-100, 0}, Qt::ScrollBegin);
    wheel(strip, {-50, 0}, {-50, 0}, Qt::ScrollUpdate);
    EXPECT_EQ(steps, (std::vector<int>{1, 1})) << "150 points: two items, 30 left over";
    wheel(strip, {-30, 0}, {-30, 0}, Qt::ScrollUpdate);
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1}));
    wheel(strip, {-300, 0}, {-300, 0}, Qt::ScrollMomentum);
    EXPECT_EQ(steps.size(), 3u) << "momentum never navigates";
}

TEST(VideoControls, TimeReadsAsAClock)
{
    const struct {
        qint64 position, duration;
        const char* text;
    } cases[] = {{0, 0, "0:00 / 0:00"},
                 {65'400, 200'000, "1:05 / 3:20"},
                 {3'725'000, 7'200'000, "1:02:05 / 2:00:00"},
                 {-5, 999, "0:00 / 0:00"}};
    for (const auto& [position, duration, text] : cases)
        EXPECT_EQ(VideoControls::timeText(position, duration), QString(text));
}

} // namespace
} // namespace mirelo
