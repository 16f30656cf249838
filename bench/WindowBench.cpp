// The library window over a synthetic library of a million items, as a user
// meets it: the window opening and its first cards, one more character in
// the search field until the new grid is painted, Select All and one card
// toggled until painted, and the memory with a page of previews.

#include "WindowBench.h"

#include "Samples.h"

#include "AppModel.h"
#include "library/CacheKey.h"
#include "library/LibraryStore.h"
#include "ProcessMemory.h"
#include "SyntheticLibrary.h"
#include "ThumbnailStore.h"
#include "common/CapsuleButton.h"
#include "library/FilterBar.h"
#include "library/LibraryColumn.h"
#include "library/LibraryWindow.h"
#include "library/MediaGridView.h"
#include "common/ActionRegistry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace mirelo::bench {

namespace {

double milliseconds(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e6; }

void key(QWidget* target, int code, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

int runWindowBench(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int count = argc >= 3 ? std::atoi(argv[2]) : 1'000'000;
    const std::string file = scratchFolder() + "/mirelo-bench-window/library.json";
    writeSyntheticLibrary(file, count);
    const double startMb = double(processKilobytes("VmRSS:")) / 1024.0;

    // Launch: the model starts its restore, the window opens at once.
    QElapsedTimer launch;
    launch.start();
    AppModel model(file);
    ActionRegistry actions(model);
    LibraryWindow window(model, actions);
    window.resize(1440, 900);
    window.show();
    QCoreApplication::processEvents();
    window.repaint();
    const double toWindow = milliseconds(launch);
    MediaGridView& grid = *window.column()->grid();
    double restored = 0, queried = 0;
    QObject::connect(&model, &AppModel::restoringChanged, [&] { restored = milliseconds(launch); });
    QObject::connect(&model, &AppModel::contentRevisionChanged, [&] {
        if (queried == 0) queried = milliseconds(launch);
    });
    until([&] { return !model.restoring() && !model.loadingContent() && grid.isVisible(); });
    grid.viewport()->repaint();
    const double toCards = milliseconds(launch);
    std::printf("window items=%d launch_to_window_ms=%.1f launch_to_first_cards_ms=%.1f (library read by %.1f, first "
                "query applied by %.1f)\n",
                count, toWindow, toCards, restored, queried);

    // A page of previews in the store, then the memory.
    ThumbnailStore& thumbnails = ThumbnailStore::shared();
    for (int i = 0; i < std::min<int>(240, int(model.visible().size())); ++i)
        thumbnails.cache().insert(cacheKey(model.visible()[i]), syntheticPreview(i), syntheticPreview(i).sizeInBytes());
    grid.viewport()->repaint();
    QCoreApplication::processEvents();
    std::printf("window rss_mb=%.1f (%.1f before the model) peak_rss_mb=%.1f\n",
                double(processKilobytes("VmRSS:")) / 1024.0, startMb, double(processKilobytes("VmHWM:")) / 1024.0);

    // One more character in the search field, until the new grid is painted.
    QLineEdit* search = window.column()->filterBar()->searchField();
    search->setFocus();
    std::vector<double> typing, erasing;
    const QString word = QStringLiteral("IMG_1");
    for (int round = 0; round < 3; ++round) {
        for (QChar character : word) {
            QElapsedTimer clock;
            clock.start();
            key(search, character.unicode(), QString(character));
            until([&] { return !model.loadingContent(); });
            grid.viewport()->repaint();
            typing.push_back(milliseconds(clock));
        }
        for (qsizetype i = 0; i < word.size(); ++i) {
            QElapsedTimer clock;
            clock.start();
            key(search, Qt::Key_Backspace, QString());
            until([&] { return !model.loadingContent(); });
            grid.viewport()->repaint();
            erasing.push_back(milliseconds(clock));
        }
    }
    std::printf("search visible=%lld keystrokes=%zu median_ms=%.1f max_ms=%.1f  deletions median_ms=%.1f max_ms=%.1f\n",
                static_cast<long long>(model.visible().size()), typing.size(), median(typing), maximum(typing),
                median(erasing), maximum(erasing));

    // Select All and one card, each until painted.
    window.column()->filterBar()->selectButton()->click();
    CapsuleButton* selectAll = window.column()->filterBar()->selectAllButton();
    std::vector<double> selecting, toggling;
    for (int round = 0; round < 5; ++round) {
        for (int twice = 0; twice < 2; ++twice) { // select, then deselect
            QElapsedTimer clock;
            clock.start();
            selectAll->click();
            QCoreApplication::processEvents(); // paints what changed
            selecting.push_back(milliseconds(clock));
        }
    }
    const QPoint card = grid.cardRect(3).center();
    for (int round = 0; round < 20; ++round) {
        QElapsedTimer clock;
        clock.start();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(card), grid.viewport()->mapToGlobal(QPointF(card)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(card), grid.viewport()->mapToGlobal(QPointF(card)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &release);
        QCoreApplication::processEvents(); // paints what changed
        toggling.push_back(milliseconds(clock));
    }
    std::printf("select_all visible=%lld median_ms=%.1f max_ms=%.1f  toggle_one median_ms=%.2f max_ms=%.2f (each until "
                "what changed is painted)\n",
                static_cast<long long>(model.visible().size()), median(selecting), maximum(selecting), median(toggling),
                maximum(toggling));
    return 0;
}

} // namespace mirelo::bench
