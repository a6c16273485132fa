#pragma once
// Start-up probe: watches a top-level window and, once the paint that
// `painted` accepts has been drawn and flushed, prints one line
//     first-paint-ms=<ms since the launch timestamp> vmhwm-kb=<peak resident kB>
// and leaves the event loop.

#include <QObject>

#include <cstdint>
#include <functional>

class QWidget;

class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget &window, std::int64_t launchedNs, std::function<bool()> painted);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ReportIfPainted();

    QWidget &Window;
    std::int64_t LaunchedNs;
    std::function<bool()> Painted;
    bool CheckQueued = false;
    bool Reported = false;
};

// The launcher's CLOCK_MONOTONIC timestamp (ns), taken just before it started
// this process and passed as the only argument; -1 when missing or malformed.
std::int64_t LaunchTimestamp(int argc, char **argv);

// VmHWM of this process in kB; -1 if /proc cannot tell.
std::int64_t PeakResidentKb();
