// The viewer as a user meets it, over a folder of photos: a card opened
// until its picture is painted (something of it first, then the full
// frame), the next picture after the arrow key once it was prefetched, a
// picture far along the filmstrip, and the memory while paging through the
// whole folder. Run it on the screen size that matters (the viewer fills it).

#include "ViewerBench.h"

#include "Samples.h"

#include "AppModel.h"
#include "ProcessMemory.h"
#include "SyntheticLibrary.h"
#include "ThumbnailStore.h"
#include "ViewerPipeline.h"
#include "library/LibraryWindow.h"
#include "common/ActionRegistry.h"
#include "viewer/ImageStage.h"
#include "viewer/OverlayWindow.h"
#include "shell/WindowShell.h"
#include "viewer/ViewerCoordinator.h"
#include "viewer/ViewerScene.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace mirelo::bench {

namespace {

// Notes when the stage paints a picture, and whether it was the full frame.
class PaintProbe : public QObject {
public:
    explicit PaintProbe(ViewerCoordinator& coordinator) : coordinator_(coordinator) { qApp->installEventFilter(this); }
    void start()
    {
        clock_.start();
        anything_ = full_ = -1;
    }
    double anything() const { return anything_; }
    double full() const { return full_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || watched != coordinator_.scene()->stage() ||
            !coordinator_.scene()->stage()->ready())
            return false;
        // The painting itself is done when the event loop turns again.
        const bool full = coordinator_.currentFrame() != nullptr;
        QMetaObject::invokeMethod(
            this,
            [this, full] {
                const double now = double(clock_.nsecsElapsed()) / 1e6;
                if (anything_ < 0) anything_ = now;
                if (full && full_ < 0) full_ = now;
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    ViewerCoordinator& coordinator_;
    QElapsedTimer clock_;
    double anything_ = -1, full_ = -1;
};

} // namespace

int runViewerBench(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mirelo-bench viewer FOLDER\n");
        return 1;
    }
    QApplication application(argc, argv);
    const std::string folder = std::filesystem::absolute(argv[2]).string();
    const std::string file = scratchFolder() + "/mirelo-bench-viewer/library.json";
    std::filesystem::remove(file);
    AppModel model(file);
    until([&] { return !model.restoring(); });
    model.scan({folder}, true);
    until([&] { return !model.scanning() && !model.loadingContent(); });
    const MediaItems items = model.visible();
    if (items.size() < 60) {
        std::fprintf(stderr, "the folder needs at least 60 pictures (it has %lld)\n",
                     static_cast<long long>(items.size()));
        return 2;
    }
    ActionRegistry actions(model);
    WindowShell shell(model, actions);
    ViewerCoordinator& coordinator = shell.viewer();
    shell.reopenLibrary();
    until([&] { return shell.libraryWindow()->isVisible(); });
    // The grid's previews are made before the user double-clicks.
    until([&] { return ThumbnailStore::shared().waitingCount() == 0; }, 120000);
    QElapsedTimer settle;
    settle.start();
    until([&] { return settle.elapsed() > 1500; });
    PaintProbe probe(coordinator);
    const double startMb = double(processKilobytes("VmRSS:")) / 1024.0;

    // Opening a card: a picture nobody asked for before.
    std::vector<double> openSomething, openFull;
    for (int round = 0; round < 5; ++round) {
        // The user looked at the last picture long enough for its neighbours to be made.
        until([&] { return ViewerPipeline::shared().pendingCount() == 0; });
        probe.start();
        model.show(items[round * 10]);
        if (!until([&] { return probe.full() >= 0; }))
            std::fprintf(stderr, "open %d: no full frame painted (shown %d, frame %d)\n", round,
                         coordinator.viewerWindow()->isVisible(), coordinator.currentFrame() != nullptr);
        openSomething.push_back(probe.anything());
        openFull.push_back(probe.full());
        model.setCurrent(std::nullopt);
        QCoreApplication::processEvents();
    }
    std::printf("viewer open card-to-painted: first picture median %.1f ms max %.1f ms; full frame median %.1f ms max "
                "%.1f ms (%lld opens)\n",
                median(openSomething), maximum(openSomething), median(openFull), maximum(openFull),
                static_cast<long long>(openSomething.size()));

    // The next picture, prefetched while the user looked at this one.
    model.show(items[0]);
    until([&] { return coordinator.currentFrame() != nullptr; });
    std::vector<double> next;
    for (int step = 0; step < 10; ++step) {
        // The neighbours are asked for once the picture is on screen: a
        // second's look, as a person pressing once a second gives them.
        QElapsedTimer look;
        look.start();
        until([&] { return look.elapsed() > 1000; });
        probe.start();
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(coordinator.scene(), &right);
        until([&] { return probe.full() >= 0; });
        next.push_back(probe.full());
    }
    std::printf("viewer next (prefetched) key-to-painted: median %.1f ms max %.1f ms (%zu steps)\n", median(next),
                maximum(next), next.size());

    // Far along the filmstrip: nothing prepared for it.
    std::vector<double> farSomething, farFull;
    for (int round = 0; round < 4; ++round) {
        until([&] { return ViewerPipeline::shared().pendingCount() == 0; });
        probe.start();
        model.setCurrent(items[20 + round * 10]);
        until([&] { return probe.full() >= 0; });
        farSomething.push_back(probe.anything());
        farFull.push_back(probe.full());
    }
    std::printf("viewer far click-to-painted: first picture median %.1f ms max %.1f ms; full frame median %.1f ms max "
                "%.1f ms\n",
                median(farSomething), maximum(farSomething), median(farFull), maximum(farFull));

    // Paging through everything, one picture at a time.
    model.setCurrent(items[0]);
    until([&] { return coordinator.currentFrame() != nullptr; });
    std::printf("viewer rss_mb before opening %.1f;", startMb);
    for (qsizetype index = 1; index < items.size(); ++index) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(coordinator.scene(), &right);
        until([&] { return coordinator.currentFrame() != nullptr; });
        if (index % 25 == 0 || index + 1 == items.size())
            std::printf(" after %lld pictures %.1f;", static_cast<long long>(index + 1),
                        double(processKilobytes("VmRSS:")) / 1024.0);
    }
    std::printf(" peak %.1f\n", double(processKilobytes("VmHWM:")) / 1024.0);
    std::fflush(stdout);
    shell.prepareToQuit();
    return 0;
}

} // namespace mirelo::bench
