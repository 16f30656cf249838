// Timings of the application model on the event loop: the restore of a
// large library, one more character typed into the search, and a file
// created on disk reaching the library.

#include "AppModelBench.h"

#include "AppModel.h"
#include "library/LibraryStore.h"
#include "library/MediaSort.h"
#include "SyntheticLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace mirelo::bench {

namespace {

bool runUntil(const std::function<bool()>& done, int timeoutMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

double elapsedMs(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e6; }

// `count` media files in folders of 50, two levels deep.
void makeMediaTree(const std::string& root, int count)
{
    const std::string marker = root + "/.complete-" + std::to_string(count);
    if (::access(marker.c_str(), F_OK) == 0) return;
    ::mkdir(root.c_str(), 0755);
    for (int i = 0; i < count; ++i) {
        std::string first = root + "/album" + std::to_string(i / 2500);
        std::string second = first + "/day" + std::to_string(i / 50 % 50);
        if (i % 2500 == 0) ::mkdir(first.c_str(), 0755);
        if (i % 50 == 0) ::mkdir(second.c_str(), 0755);
        std::string name = second + "/IMG_" + std::to_string(i) + (i % 10 ? ".jpg" : ".mov");
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) ::close(fd);
    }
    int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) ::close(fd);
}

// Select All over the whole library, then one card toggled on and off, as
// the grid does.
void selectAndToggle(AppModel& model)
{
    model.setSearch(QString());
    runUntil([&] { return !model.loadingContent(); });
    QElapsedTimer clock;
    clock.start();
    model.toggleSelectAll();
    std::printf("  select all selected=%zu ms=%.1f\n", model.selection().size(), elapsedMs(clock));
    const std::string one(model.visible()[model.visible().size() / 2].path());
    for (bool selected : {false, true}) {
        clock.restart();
        model.setSelected(one, selected);
        std::printf("  toggle one selected=%zu ms=%.2f\n", model.selection().size(), elapsedMs(clock));
    }
    clock.restart();
    model.toggleSelectAll();
    std::printf("  select none selected=%zu ms=%.1f\n", model.selection().size(), elapsedMs(clock));
}

void restoreAndSearch(int count)
{
    const std::string file = scratchFolder() + "/mirelo-bench-model/library.json";
    LibrarySnapshot snapshot;
    snapshot.items = syntheticLibrary(count);
    LibraryStore(file).flush(snapshot);
    {
        QElapsedTimer clock;
        clock.start();
        const bool ordered = MediaSorts::inNameOrder(snapshot.items);
        std::printf("name order check ordered=%d ms=%.0f\n", int(ordered), elapsedMs(clock));
    }

    for (int run = 0; run < 3; ++run) {
        QElapsedTimer clock;
        clock.start();
        AppModel model(file);
        runUntil([&] { return !model.restoring(); });
        const double applied = elapsedMs(clock);
        runUntil([&] { return !model.loadingContent(); });
        std::printf("restore items=%lld applied_ms=%.0f first_query_ready_ms=%.0f\n",
                    static_cast<long long>(model.items().size()), applied, elapsedMs(clock));

        QString typed;
        for (const char* text : {"I", "IM", "IMG", "IMG_", "IMG_1", "IMG_10", "IMG_100", "IMG_1001"}) {
            typed = QString::fromUtf8(text);
            QElapsedTimer keystroke;
            keystroke.start();
            model.setSearch(typed);
            runUntil([&] { return !model.loadingContent(); });
            std::printf("  search \"%s\" visible=%lld replaced_ms=%.1f\n", text,
                        static_cast<long long>(model.visible().size()), elapsedMs(keystroke));
        }
        if (run == 0) selectAndToggle(model);
    }
}

void fileToLibrary(int count)
{
    const std::string root = scratchFolder() + "/mirelo-bench-watch";
    makeMediaTree(root, count);
    std::system(("rm -f " + root + "/album7/day3/NEW_*").c_str()); // left by an interrupted run
    const std::string file = scratchFolder() + "/mirelo-bench-watch-library.json";
    ::unlink(file.c_str());
    AppModel model(file);
    runUntil([&] { return !model.restoring(); });
    model.scan({root}, true);
    runUntil([&] { return !model.scanning() && !model.loadingContent(); });
    runUntil([&] { return model.watchedFolders().watcher().watchCount() > size_t(count / 50); });
    std::printf("watch items=%lld watches=%zu\n", static_cast<long long>(model.items().size()),
                model.watchedFolders().watcher().watchCount());

    for (int run = 0; run < 3; ++run) {
        const std::string added =
            root + "/album7/day3/NEW_" + std::to_string(run) + "_" + std::to_string(::getpid()) + ".jpg";
        QElapsedTimer clock;
        clock.start();
        int fd = ::open(added.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) ::close(fd);
        auto present = [&] {
            for (const MediaItem& item : model.visible())
                if (item.path() == added) return true;
            return false;
        };
        runUntil([&] { return present() && !model.loadingContent(); });
        std::printf("  created file visible after %.0f ms\n", elapsedMs(clock));
        ::unlink(added.c_str());
    }
}

} // namespace

int runModelBench(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int count = argc >= 3 ? std::atoi(argv[2]) : 1'000'000;
    restoreAndSearch(count);
    fileToLibrary(100'000);
    return 0;
}

} // namespace mirelo::bench
