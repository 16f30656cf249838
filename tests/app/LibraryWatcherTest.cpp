// The inotify watcher on real folders: files created, changed and removed,
// folders created and renamed, lost events, and the limit on watches.

#include "LibraryWatcher.h"
#include "TestFiles.h"

#include "AppTestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <set>

namespace mirelo::test {
namespace {

class LibraryWatcherTest : public ::testing::Test {
protected:
    static constexpr int kLatency = 300; // shorter than the application's, to keep the suite quick
    void SetUp() override
    {
        makeFolder(root / "A/Deep");
        makeFolder(root / "B");
        makeFolder(root / ".hidden");
        watcher.setLatency(kLatency);
        watcher.setOnChange([this](const std::vector<std::string>& paths) {
            batches.push_back(std::set<std::string>(paths.begin(), paths.end()));
        });
    }
    void startWatching()
    {
        QSignalSpy ready(&watcher, &LibraryWatcher::ready);
        watcher.watch({root.path()});
        ASSERT_TRUE(ready.wait(5000));
    }
    // The next batch; fails the test when none arrives.
    std::set<std::string> nextBatch()
    {
        size_t seen = taken;
        EXPECT_TRUE(waitUntil([&] { return batches.size() > seen; }, 10000));
        if (batches.size() <= seen) return {};
        return batches[taken++];
    }

    TempFolder root;
    LibraryWatcher watcher;
    std::vector<std::set<std::string>> batches;
    size_t taken = 0;
};

TEST_F(LibraryWatcherTest, ReportsTheFoldersWhoseContentsChanged)
{
    startWatching();
    EXPECT_EQ(watcher.watchCount(), 4u) << "root, A, A/Deep, B; hidden folders are not watched";

    writeFile(root / "A/Deep/new.jpg");
    writeFile(root / "B/other.jpg");
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root / "A/Deep", root / "B"})) << "one batch for a burst";

    writeFile(root / "B/other.jpg", "changed");
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root / "B"}));

    ::unlink((root / "A/Deep/new.jpg").c_str());
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root / "A/Deep"}));

    writeFile(root / ".hidden/x.jpg");
    writeFile(root / "B/.partial");
    EXPECT_FALSE(waitUntil([&] { return batches.size() > taken; }, kLatency * 3))
        << "hidden entries are never reported";
}

TEST_F(LibraryWatcherTest, FollowsNewAndRenamedFolders)
{
    startWatching();
    makeFolder(root / "B/New");
    EXPECT_TRUE(nextBatch().count(root / "B"));
    ASSERT_TRUE(waitUntil([&] { return watcher.watchCount() == 5; }));
    writeFile(root / "B/New/photo.jpg");
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root / "B/New"}));

    ASSERT_EQ(::rename((root / "A").c_str(), (root / "Renamed").c_str()), 0);
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root.path()}));
    ASSERT_TRUE(waitUntil([&] { return watcher.watchCount() == 5; }));
    writeFile(root / "Renamed/Deep/later.jpg");
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root / "Renamed/Deep"})) << "reported under its new name";

    watcher.watch({});
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(watcher.watchCount(), 0u);
    writeFile(root / "B/after.jpg");
    EXPECT_FALSE(waitUntil([&] { return batches.size() > taken; }, kLatency * 3));
}

TEST_F(LibraryWatcherTest, LostEventsReportEveryRoot)
{
    startWatching();
    // Fill the kernel's event queue while the event loop does not run.
    long queued = 16384;
    if (std::ifstream in("/proc/sys/fs/inotify/max_queued_events"); in) in >> queued;
    if (queued > 200000) GTEST_SKIP() << "the event queue is too long to overflow quickly";
    for (long i = 0; i <= queued / 2 + 100; ++i) { // a creation and a close each
        std::string name = root / ("A/Deep/f" + std::to_string(i));
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    std::set<std::string> reported = nextBatch();
    EXPECT_TRUE(reported.count(root.path())) << "the root is reported only because events were lost";
}

TEST_F(LibraryWatcherTest, TheWatchLimitIsReportedOnceAndRereadsTheRoots)
{
    std::vector<long> limits;
    watcher.setOnLimitReached([&](long limit) { limits.push_back(limit); });
    watcher.setWatchLimit(2);
    watcher.setRereadInterval(200);
    startWatching();
    EXPECT_EQ(watcher.watchCount(), 2u);
    EXPECT_EQ(limits, (std::vector<long>{2}));
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root.path()})) << "the unwatched part is re-read periodically";
    EXPECT_EQ(nextBatch(), (std::set<std::string>{root.path()}));
    EXPECT_EQ(limits.size(), 1u);
}

} // namespace
} // namespace mirelo::test
