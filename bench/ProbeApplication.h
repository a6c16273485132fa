#pragma once
// The application object of the start-up probes. It reports, as soon as the
// watched window has painted a frame that `painted` accepts and that frame
// has been flushed to the display, one line
//     first-paint-ms=<ms since launch> vmhwm-kb=<peak resident kB> [name=value ...]
// and leaves the event loop. The launch time is the launcher's CLOCK_MONOTONIC
// timestamp, passed as the only argument.

#include <QApplication>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class ProbeApplication : public QApplication {
public:
    // `launchedNs` from LaunchTimestamp().
    ProbeApplication(int &argc, char **argv, std::int64_t launchedNs);

    void ReportFirstPaint(QWidget &window, std::function<bool()> painted);
    // Runs before each event is delivered; used for marks inside start-up.
    void ObserveEvents(std::function<void(QObject *, QEvent *)> observer);
    // An extra figure for the report line.
    void AddFigure(const std::string &name, double value);
    // Milliseconds since launch.
    double ElapsedMs() const;

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void Report();

    std::int64_t LaunchedNs;
    QWidget *Window = nullptr;
    std::function<bool()> Painted;
    std::function<void(QObject *, QEvent *)> Observer;
    std::map<std::string, double> Figures;
    bool Reported = false;
};

// The launcher's timestamp from the command line; -1 when missing or malformed.
std::int64_t LaunchTimestamp(int argc, char **argv);

// VmHWM of this process in kB; -1 if /proc cannot tell.
std::int64_t PeakResidentKb();
