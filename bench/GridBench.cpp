// The library grid's paint cost while scrolling: a 1440 × 900 viewport over
// a synthetic library whose previews are in the thumbnail store's cache, as
// after a first pass, so each frame pays for painting and for reducing the
// previews of cards that come into view.

#include "GridBench.h"

#include "AppModel.h"
#include "library/CacheKey.h"
#include "library/LibraryStore.h"
#include "SyntheticLibrary.h"
#include "ThumbnailStore.h"
#include "library/MediaGridView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace mirelo::bench {

namespace {

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

} // namespace

int runGridBench(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int count = argc >= 3 ? std::atoi(argv[2]) : 1'000'000;
    const std::string file = scratchFolder() + "/mirelo-bench-grid/library.json";
    writeSyntheticLibrary(file, count);

    AppModel model(file);
    QElapsedTimer wait;
    wait.start();
    while ((model.restoring() || model.loadingContent()) && wait.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    ThumbnailStore& thumbnails = ThumbnailStore::shared();
    for (int i = 0; i < std::min<int>(2000, int(model.visible().size())); ++i)
        thumbnails.cache().insert(cacheKey(model.visible()[i]), syntheticPreview(i), syntheticPreview(i).sizeInBytes());

    MediaGridView grid(model, thumbnails);
    grid.resize(1440, 900);
    grid.show();
    QCoreApplication::processEvents();
    std::vector<double> frames;
    QElapsedTimer clock;
    // Painted into one image, as a window's backing store is reused.
    QImage target(grid.viewport()->size() * grid.devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(grid.devicePixelRatioF());
    // Four pages' worth, 24 points a frame (a brisk trackpad scroll).
    for (int frame = 0; frame < 1200; ++frame) {
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->value() + 24);
        clock.start();
        grid.viewport()->render(&target);
        frames.push_back(double(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    std::printf("grid items=%lld columns=%d built=%d frames=%zu whole viewport painted: median_ms=%.2f p95_ms=%.2f "
                "max_ms=%.2f\n",
                static_cast<long long>(model.visible().size()), grid.layout().columns(), grid.builtCount(),
                frames.size(), percentile(frames, 0.5), percentile(frames, 0.95), percentile(frames, 1.0));

    // As a window scrolls: the painted pixels move and the band that comes
    // into view is painted, then the window's backing store is flushed.
    frames.clear();
    for (int frame = 0; frame < 1200; ++frame) {
        clock.start();
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->value() + 24);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        frames.push_back(double(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    std::printf("grid scrolled in its window: median_ms=%.2f p95_ms=%.2f max_ms=%.2f\n", percentile(frames, 0.5),
                percentile(frames, 0.95), percentile(frames, 1.0));
    return 0;
}

} // namespace mirelo::bench
