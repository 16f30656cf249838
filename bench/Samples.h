#pragma once
// The figures the benchmarks print about their timings, and waiting on the
// event loop for what they measure.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace mirelo::bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline double maximum(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Runs the event loop until `done`, at most `limitMs`; whether it came.
// The loop sleeps between events, woken each millisecond to look again:
// processEvents with a time limit never sleeps, and a bench that spins
// takes a core from what it measures.
inline bool until(const std::function<bool()>& done, int limitMs = 10000)
{
    QElapsedTimer wait;
    wait.start();
    QTimer tick;
    tick.start(1);
    while (!done() && wait.elapsed() < limitMs) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

} // namespace mirelo::bench
