// The cost of a frame of the viewer's picture while the user zooms and pans:
// a 4,096-pixel frame painted into a 1440 × 900 window (MIRELO_BENCH_SIZE,
// such as 2560x1440, sets another), as the held zoom keys and a drag drive it.

#include "StageBench.h"

#include "Samples.h"

#include "ViewerPipeline.h"
#include "viewer/ImageStage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace mirelo::bench {

int runStageBench(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mirelo-bench stage FILE [OUT.png]\n");
        return 1;
    }
    QApplication application(argc, argv);
    FrameRef frame = ViewerPipeline::prepare(argv[2], 0.1);
    if (!frame) return 2;
    int width = 1440, height = 900;
    if (const QByteArray size = qgetenv("MIRELO_BENCH_SIZE"); !size.isEmpty())
        std::sscanf(size.constData(), "%dx%d", &width, &height);
    ImageStage stage;
    stage.resize(width, height);
    stage.setImageViewport(QRectF(0, 42, width, height - 187));
    stage.show();
    stage.display(frame, QStringLiteral("photo"), false);
    QElapsedTimer wait;
    wait.start();
    while (!stage.hasPyramid() && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 pyramidMs = wait.elapsed();

    QImage target(width, height, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> zooming, panning;
    QElapsedTimer clock;
    // Zooming in from fit to 300 % with a held key, each step of its timer painted.
    stage.beginKeyboardZoom(1, 1, false);
    QElapsedTimer limit;
    limit.start();
    for (double last = stage.geometry().scale;
         stage.geometry().scale < 3 && stage.keyboardZooming() && limit.elapsed() < 60000;) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (stage.geometry().scale == last) continue;
        last = stage.geometry().scale;
        clock.start();
        stage.render(&target);
        zooming.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    stage.endKeyboardZoom(1);
    stage.perform({ZoomAction::value, 2.0});
    QCoreApplication::processEvents();
    for (int step = 0; step < 300; ++step) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(700, 400), QPointF(700, 400), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        if (step == 0) QApplication::sendEvent(&stage, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(700 - step, 400), QPointF(700 - step, 400), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&stage, &move);
        clock.start();
        stage.render(&target);
        panning.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const auto over16 = std::count_if(zooming.begin(), zooming.end(), [](double ms) { return ms > 16; });
    std::printf("stage %dx%d window, %dx%d frame (source %.0fx%.0f): copies made in %lld ms; zooming %zu frames median "
                "%.2f ms max %.2f ms, %lld over 16 ms; "
                "panning at 200%% %zu frames median %.2f ms max %.2f ms\n",
                width, height, frame->image.width(), frame->image.height(), frame->pixels.width, frame->pixels.height,
                static_cast<long long>(pyramidMs), zooming.size(), median(zooming),
                *std::max_element(zooming.begin(), zooming.end()), static_cast<long long>(over16), panning.size(),
                median(panning), *std::max_element(panning.begin(), panning.end()));
    if (argc >= 4) {
        const QString out = QString::fromLocal8Bit(argv[3]);
        target.save(out);
        // And fitted, on a grey like the viewer's backdrop.
        stage.perform({ZoomAction::fit});
        stage.perform({ZoomAction::fit});
        target.fill(QColor(110, 110, 110));
        stage.render(&target);
        target.save(QString(out).replace(QStringLiteral(".png"), QStringLiteral("-fit.png")));
    }
    return 0;
}

} // namespace mirelo::bench
