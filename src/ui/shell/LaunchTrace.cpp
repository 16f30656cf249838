#include "LaunchTrace.h"

#include "AppModel.h"
#include "library/MediaGridView.h"
#include "viewer/ImageStage.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <string>

namespace mirelo {

namespace {

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

} // namespace

void LaunchTrace::installIfAsked()
{
    const QByteArray start = qgetenv("MIRELO_LAUNCH_TRACE");
    if (start.isEmpty()) return;
    qApp->installEventFilter(new LaunchTrace(start.toLongLong()));
}

LaunchTrace::LaunchTrace(qint64 startNs) : QObject(qApp), startNs_(startNs) {}

double LaunchTrace::elapsedMs() const
{
    return double(QDateTime::currentMSecsSinceEpoch() * 1'000'000 - startNs_) / 1e6;
}

bool LaunchTrace::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!windowSeen_ && widget->window()->objectName() == QStringLiteral("library")) {
        windowSeen_ = true;
        std::fprintf(stderr, "launch window_ms=%.1f\n", elapsedMs());
    }
    if (auto* stage = qobject_cast<ImageStage*>(widget); stage && stage->ready()) {
        // Opened from the file manager: the picture is what counts.
        QTimer::singleShot(0, this, [this] {
            std::fprintf(stderr, "launch picture_ms=%.1f rss_mb=%.1f\n", elapsedMs(),
                         double(residentKilobytes()) / 1024);
            if (qgetenv("MIRELO_LAUNCH_TRACE_QUIT") == "1") QApplication::exit(0);
        });
        qApp->removeEventFilter(this);
        return false;
    }
    auto* grid = qobject_cast<MediaGridView*>(widget->parentWidget());
    if (grid && widget == grid->viewport() && grid->isVisible() && grid->builtCount() > 0 &&
        !grid->model().loadingContent()) {
        // Measured after this paint is done.
        QTimer::singleShot(0, this, [this] {
            std::fprintf(stderr, "launch first_cards_ms=%.1f rss_mb=%.1f\n", elapsedMs(),
                         double(residentKilobytes()) / 1024);
            if (qgetenv("MIRELO_LAUNCH_TRACE_QUIT") == "1") QApplication::exit(0);
        });
        qApp->removeEventFilter(this);
    }
    return false;
}

} // namespace mirelo
