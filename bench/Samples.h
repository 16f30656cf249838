#pragma once
// The figures the benchmarks print about their timings, and waiting on the
// event loop for what they measure.

#include <QCoreApplication>
#include <QElapsedTimer>

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
inline bool until(const std::function<bool()>& done, int limitMs = 10000)
{
    QElapsedTimer wait;
    wait.start();
    while (!done() && wait.elapsed() < limitMs) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
    return done();
}

} // namespace mirelo::bench
