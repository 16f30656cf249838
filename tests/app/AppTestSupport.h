#pragma once
// Running the model in tests: a fresh model over a library file in a
// temporary folder, waits on the event loop, a recording viewer, a
// scripted open panel, and a way to hold background work back.

#include "EventLoopWait.h"
#include "AppModel.h"
#include "AppSettings.h"
#include "FolderPrompt.h"
#include "OpenPanel.h"
#include "TestFiles.h"
#include "ViewerConnection.h"
#include "work/HandOff.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

// Readable failure messages for Qt's strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace mirelo::test {

class RecordingViewer : public ViewerConnection {
public:
    void present(const MediaItem& item) override
    {
        presented.push_back(item);
        presenting = true;
    }
    void dismiss() override
    {
        ++dismissals;
        presenting = false;
    }
    bool isPresenting() const override { return presenting; }
    void setItems(const MediaItems& items, const MediaItem& current) override
    {
        lists.push_back(items);
        lastCurrent = current;
    }
    // Shows its own sheet while presenting, when `confirmsInViewer` is set.
    bool confirmTrash(const MediaItems& items) override
    {
        if (!presenting || !confirmsInViewer) return false;
        confirmations.push_back(items);
        return true;
    }
    bool confirmsInViewer = false;
    std::vector<MediaItems> confirmations;
    std::vector<MediaItem> presented;
    std::vector<MediaItems> lists;
    MediaItem lastCurrent;
    int dismissals = 0;
    bool presenting = false;
};

class ScriptedPanel : public OpenPanel {
public:
    void choose(const OpenPanelRequest& request, std::function<void(std::vector<std::string>)> completion) override
    {
        requests.push_back(request);
        completion(answer);
    }
    std::vector<std::string> answer;
    std::vector<OpenPanelRequest> requests;
};

class ScriptedFolderPrompt : public FolderPrompt {
public:
    void ask(const FolderPromptRequest& request, std::function<void(std::optional<QString>)> completion) override
    {
        requests.push_back(request);
        completion(answer);
    }
    std::optional<QString> answer;
    std::vector<FolderPromptRequest> requests;
};

// Holds worker threads inside a test hook until opened.
class Gate {
public:
    void wait(const std::string& path)
    {
        std::unique_lock lock(mutex_);
        arrived_.push_back(path);
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_; });
    }
    void open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool waitForArrivals(size_t count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return arrived_.size() >= count; });
    }
    std::vector<std::string> arrived()
    {
        std::lock_guard lock(mutex_);
        return arrived_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> arrived_;
    bool open_ = false;
};

// Keeps background results of one kind until released.
class HeldResults {
public:
    HeldResults(AppModel& model, BackgroundWork kind) : model_(model)
    {
        model.setDeliveryHook([this, kind](BackgroundWork work, std::function<void()>& apply) {
            if (work != kind || !holding) return false;
            held.push_back(std::move(apply));
            ++received_;
            return true;
        });
    }
    ~HeldResults() { model_.setDeliveryHook({}); }
    // Waits for one more result than has arrived when it was last called.
    bool waitForOne(int timeoutMs = 10000)
    {
        const size_t expected = ++awaited_;
        return waitUntil([&] { return received_ >= expected; }, timeoutMs);
    }
    void releaseFirst()
    {
        ASSERT_FALSE(held.empty());
        auto apply = std::move(held.front());
        held.pop_front();
        apply();
    }
    std::deque<std::function<void()>> held;
    bool holding = true;

private:
    AppModel& model_;
    size_t received_ = 0;
    size_t awaited_ = 0;
};

// Occupies every thread of a pool until released, so that work queued
// meanwhile waits (and can be cancelled before it starts).
class BlockedPool {
public:
    explicit BlockedPool(QThreadPool& pool) : pool_(pool), count_(pool.maxThreadCount())
    {
        std::shared_future<void> gate = release_.get_future().share();
        for (int i = 0; i < count_; ++i) {
            pool.start(handedOff([gate, this] {
                ++started_;
                gate.wait();
            }));
        }
        while (started_ < count_) QThread::msleep(1);
    }
    ~BlockedPool() { release(); }
    void release()
    {
        if (!released_) release_.set_value();
        released_ = true;
    }

private:
    QThreadPool& pool_;
    int count_;
    std::promise<void> release_;
    std::atomic<int> started_{0};
    bool released_ = false;
};

// A model over a library file in a fresh temporary folder, with its own
// user defaults.
class AppModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = AppSettings::open();
        settings->clear();
        settings->sync();
    }
    std::unique_ptr<AppModel> launch()
    {
        auto model = std::make_unique<AppModel>(libraryFile());
        // Changes on disk are re-read after a short quiet moment, not the user's two seconds.
        model->watchedFolders().setQuietMs(100);
        model->watchedFolders().watcher().setLatency(100);
        model->setViewer(&viewer);
        model->setOpenPanel(&panel);
        model->setFolderPrompt(&folderPrompt);
        return model;
    }
    std::unique_ptr<AppModel> launchRestored()
    {
        auto model = launch();
        EXPECT_TRUE(waitUntil([&] { return !model->restoring(); }));
        EXPECT_TRUE(waitUntil([&] { return !model->loadingContent(); }));
        return model;
    }
    // A restored model that has indexed `folder` (below `files`) recursively.
    std::unique_ptr<AppModel> launchIndexing(const std::string& folder)
    {
        auto model = launchRestored();
        model->scan({files / folder}, true);
        EXPECT_TRUE(waitForScan(*model));
        return model;
    }
    static bool waitForQuery(AppModel& model)
    {
        return waitUntil([&] { return !model.loadingContent(); });
    }
    static bool waitForScan(AppModel& model)
    {
        return waitUntil([&] { return !model.scanning(); }) && waitForQuery(model);
    }
    std::string libraryFile() const { return data / "library.json"; }
    // A media file with `size` bytes.
    std::string media(const std::string& relative, size_t size = 4)
    {
        std::string path = files / relative;
        writeFile(path, std::string(size, 'x'));
        return path;
    }
    static std::vector<std::string> pathsOf(const MediaItems& items)
    {
        std::vector<std::string> paths;
        for (const MediaItem& item : items) paths.emplace_back(item.path());
        return paths;
    }

    TempFolder data;
    TempFolder files;
    RecordingViewer viewer;
    ScriptedPanel panel;
    ScriptedFolderPrompt folderPrompt;
};

// A model launched and restored for each test, after the user defaults
// were cleared.
class LaunchedModelTest : public AppModelTest {
protected:
    void SetUp() override
    {
        AppModelTest::SetUp();
        model = launchRestored();
    }
    std::unique_ptr<AppModel> model;
};

} // namespace mirelo::test
