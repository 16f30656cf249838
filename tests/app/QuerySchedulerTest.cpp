// The grid's queries: requests in one turn run once, a newer request drops
// an older result, and a search narrows the last unsearched list only while
// the place and the items are the same.

#include "AppTestSupport.h"
#include "QueryScheduler.h"

namespace mirelo::test {
namespace {

class QuerySchedulerTest : public ::testing::Test {
protected:
    QObject receiver; // outlives the scheduler, whose worker may still hand it a result
    QueryScheduler scheduler{[this](std::function<void()> apply) {
        QMetaObject::invokeMethod(&receiver, handedOff([apply = std::move(apply)] { apply(); }), Qt::QueuedConnection);
    }};
    MediaItems items{MediaItem("/p/apple.jpg", 10, 0, false), MediaItem("/p/banana.png", 20, 0, false),
                     MediaItem("/p/cherry.mov", 30, 0, true)};

    // Runs a query for `search` in the same place and waits for its result.
    std::optional<LibraryQueryResult> query(const std::string& search, int itemGeneration = 1)
    {
        std::optional<LibraryQueryResult> got;
        scheduler.request([&] {
            LibraryQueryInput input;
            input.items = items;
            input.search = search;
            GridLocation location;
            location.search = QString::fromStdString(search);
            scheduler.run(std::move(input), location, itemGeneration,
                          [&](LibraryQueryResult& result) { got = std::move(result); });
        });
        EXPECT_TRUE(waitUntil([&] { return got.has_value(); }));
        return got;
    }
};

TEST_F(QuerySchedulerTest, RequestsInOneTurnRunOnceForTheLast)
{
    std::vector<int> begun;
    for (int request = 1; request <= 3; ++request) scheduler.request([&, request] { begun.push_back(request); });
    EXPECT_TRUE(begun.empty()) << "nothing before the event loop turns";
    ASSERT_TRUE(waitUntil([&] { return !begun.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(begun, std::vector<int>{3});
    EXPECT_EQ(scheduler.generation(), 3);
}

TEST_F(QuerySchedulerTest, ANewerRequestDropsTheOlderResult)
{
    int applied = 0;
    scheduler.request([&] {
        LibraryQueryInput input;
        input.items = items;
        scheduler.run(std::move(input), {}, 1, [&](LibraryQueryResult&) { ++applied; });
        // A change arrives before the result: only its query counts.
        scheduler.request([] {});
    });
    ASSERT_TRUE(waitUntil([&] { return scheduler.generation() == 2; }));
    // The queue runs in order: once this marker has run, the first query has delivered or died.
    std::atomic<bool> drained{false};
    scheduler.later([&] { drained = true; });
    ASSERT_TRUE(waitUntil([&] { return drained.load(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(applied, 0);
}

TEST_F(QuerySchedulerTest, ASearchNarrowsTheUnsearchedListOfTheSameItems)
{
    const std::optional<LibraryQueryResult> all = query("");
    ASSERT_TRUE(all);
    EXPECT_FALSE(all->scopeReused);
    EXPECT_EQ(all->visible.size(), 3);

    const std::optional<LibraryQueryResult> narrowed = query("an");
    ASSERT_TRUE(narrowed);
    EXPECT_TRUE(narrowed->scopeReused) << "the unsearched list is filtered";
    ASSERT_EQ(narrowed->visible.size(), 1);
    EXPECT_EQ(narrowed->visible[0].name(), "banana.png");

    const std::optional<LibraryQueryResult> otherItems = query("an", 2);
    ASSERT_TRUE(otherItems);
    EXPECT_FALSE(otherItems->scopeReused) << "the items changed: the whole library is read";
}

} // namespace
} // namespace mirelo::test
