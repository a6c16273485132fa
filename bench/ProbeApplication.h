#pragma once
// The application object of the start-up probes. It reports, as soon as the
// watched window has painted a frame that `painted` accepts and that frame
// has been flushed to the display, one line
//     first-paint-ms=<ms since launch> vmhwm-kb=<peak resident kB> [name=value ...]
// and leaves the event loop, or first waits for what ReportWhenReady names.
// The launch time is the launcher's CLOCK_MONOTONIC timestamp, passed as the
// only argument. Under callgrind the instruction count stops at the report of
// the first frame, so the profile is that of the start-up alone.

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
    // After the first frame, waits until `ready` holds and then reports
    //     <name>-ms=<ms since launch> <name>-vmhwm-kb=<peak resident kB>
    // before leaving the event loop.
    void ReportWhenReady(const std::string &name, std::function<bool()> ready);
    // An extra figure for the report line.
    void AddFigure(const std::string &name, double value);
    // Milliseconds since launch.
    double ElapsedMs() const;

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void ReportFirstFrame();
    void ReportReady();

    std::int64_t LaunchedNs;
    QWidget *Window = nullptr;
    std::function<bool()> Painted;
    std::string ReadyName;
    std::function<bool()> Ready;
    std::map<std::string, double> Figures;
    bool FirstFrameReported = false;
};

// The launcher's timestamp from the command line; -1, after printing the
// usage line, when it is missing or malformed.
std::int64_t LaunchTimestamp(int argc, char **argv);

// VmHWM of this process in kB; -1 if /proc cannot tell.
std::int64_t PeakResidentKb();
