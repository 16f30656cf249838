#pragma once
// Measures a launch for the benchmarks: with MIRELO_LAUNCH_TRACE set to the
// moment the launch began (nanoseconds since 1970, as `date +%s%N` prints),
// it prints to standard error how long until the library window was first
// painted and until its grid first painted cards (or, for a picture opened
// from the file manager, until the picture was painted), with the resident
// memory;
// MIRELO_LAUNCH_TRACE_QUIT=1 then quits. Without the variable it does
// nothing.

#include <QObject>

namespace mirelo {

class LaunchTrace : public QObject {
    Q_OBJECT
public:
    // Installed on the application when the variable is set.
    static void installIfAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit LaunchTrace(qint64 startNs);
    double elapsedMs() const;

    qint64 startNs_;
    bool windowSeen_ = false;
};

} // namespace mirelo
