// The work queues: a serial queue runs in order and hands exceptions back;
// the priority queue starts the highest priority first, oldest first among
// equals, follows a raise, and never starts a cancelled job.

#include "work/PriorityWorkQueue.h"
#include "work/SerialQueue.h"
#include "work/SharedGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace mirelo;

namespace {

TEST(SerialQueue, RunsInOrderAndHandsBackWhatSyncThrows)
{
    SerialQueue queue("test");
    std::vector<int> order;
    for (int i = 0; i < 50; ++i) queue.async([&order, i] { order.push_back(i); });
    queue.sync([&] { order.push_back(50); });
    std::vector<int> expected(51);
    for (int i = 0; i <= 50; ++i) expected[size_t(i)] = i;
    EXPECT_EQ(order, expected);
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("no"); }), std::runtime_error);

    // What waits behind a running job can be dropped; the running one finishes.
    std::promise<void> started, release;
    std::shared_future<void> go = release.get_future().share();
    bool dropped = true;
    queue.async([&] {
        started.set_value();
        go.wait();
    });
    queue.async([&] { dropped = false; });
    started.get_future().wait();
    queue.cancelPending();
    release.set_value();
    queue.sync([] {});
    EXPECT_TRUE(dropped);
}

TEST(PriorityWorkQueue, HighestFirstOldestAmongEqualsRaisedAndCancelled)
{
    PriorityWorkQueue queue("test", 1);
    std::mutex mutex;
    std::vector<std::string> order;
    auto record = [&](std::string name) {
        return [&, name](const PriorityWorkQueue::Job&) {
            std::lock_guard lock(mutex);
            order.push_back(name);
        };
    };
    // One job holds the only worker while the others queue up behind it.
    std::promise<void> started, release;
    std::shared_future<void> go = release.get_future().share();
    queue.add(
        [&](const PriorityWorkQueue::Job&) {
            started.set_value();
            go.wait();
        },
        0);
    started.get_future().wait();
    queue.add(record("low"), 1);
    auto late = queue.add(record("raised"), 0);
    queue.add(record("high A"), 5);
    queue.add(record("high B"), 5);
    auto dropped = queue.add(record("cancelled"), 9);
    queue.raise(late, 7);
    queue.cancel(dropped);
    EXPECT_TRUE(dropped->isCancelled());
    EXPECT_EQ(queue.waitingCount(), 4u);
    release.set_value();
    std::promise<void> done;
    queue.add([&](const PriorityWorkQueue::Job&) { done.set_value(); }, -1);
    done.get_future().wait();
    EXPECT_EQ(order, (std::vector<std::string>{"raised", "high A", "high B", "low"}));
}

} // namespace

// Shared passes overlap; one alone waits until every one has left, and
// holds the gate to itself.
// Background work fills every worker but the reserved one, which is free
// the moment something urgent comes.
TEST(PriorityWorkQueue, AReservedWorkerWaitsForUrgentWork)
{
    PriorityWorkQueue queue("test", 2, 0, 4);
    std::promise<void> started, release;
    std::shared_future<void> go = release.get_future().share();
    std::atomic<int> backgroundRan{0};
    queue.add(
        [&](const PriorityWorkQueue::Job&) {
            started.set_value();
            go.wait();
        },
        -8);
    started.get_future().wait();
    queue.add([&](const PriorityWorkQueue::Job&) { ++backgroundRan; }, -8);
    std::promise<void> urgent;
    queue.add([&](const PriorityWorkQueue::Job&) { urgent.set_value(); }, 8);
    EXPECT_EQ(urgent.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "the urgent job started beside the running background one";
    EXPECT_EQ(backgroundRan.load(), 0) << "the second background job waits for a background worker";
    EXPECT_EQ(queue.waitingCount(), 1u);
    release.set_value();
    std::promise<void> done;
    queue.add([&](const PriorityWorkQueue::Job&) { done.set_value(); }, -9);
    done.get_future().wait();
    EXPECT_EQ(backgroundRan.load(), 1);
}

TEST(SharedGate, OneAloneWaitsForTheSharedToLeave)
{
    SharedGate gate;
    std::atomic<int> step{0};
    gate.enterShared();
    gate.enterShared(); // two together
    std::thread alone([&] {
        const SharedGate::Alone held(gate);
        EXPECT_EQ(step.load(), 1) << "only after both shared passes left";
        step = 2;
    });
    step = 1;
    gate.leaveShared();
    gate.leaveShared();
    alone.join();
    const SharedGate::Shared after(gate);
    EXPECT_EQ(step.load(), 2);
}
