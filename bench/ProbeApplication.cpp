#include "ProbeApplication.h"

#include "Clock.h"

#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define PROBE_STOP_COUNTING() CALLGRIND_STOP_INSTRUMENTATION
#else
#define PROBE_STOP_COUNTING() ((void)0)
#endif

namespace {
// Generous: under callgrind the start-up runs some fifty times slower.
constexpr int GiveUpMs = 60000;
}

ProbeApplication::ProbeApplication(int &argc, char **argv, std::int64_t launchedNs)
    : QApplication(argc, argv), LaunchedNs(launchedNs)
{
    QTimer::singleShot(GiveUpMs, this, [] { QCoreApplication::exit(3); });
}

void ProbeApplication::ReportFirstPaint(QWidget &window, std::function<bool()> painted)
{
    Window = &window;
    Painted = std::move(painted);
}

void ProbeApplication::ReportWhenReady(const std::string &name, std::function<bool()> ready)
{
    ReadyName = name;
    Ready = std::move(ready);
}

void ProbeApplication::AddFigure(const std::string &name, double value)
{
    Figures[name] = value;
}

double ProbeApplication::ElapsedMs() const
{
    return static_cast<double>(MonotonicNs() - LaunchedNs) / 1e6;
}

// A widget window paints and flushes its backing store while it handles an
// Expose or UpdateRequest event: when that handling returns, the frame is out.
bool ProbeApplication::notify(QObject *receiver, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool result = QApplication::notify(receiver, event);
    if (!FirstFrameReported) {
        if (Window && receiver == Window->windowHandle()
            && (type == QEvent::Expose || type == QEvent::UpdateRequest) && Painted())
            ReportFirstFrame();
    } else if (Ready && Ready()) {
        ReportReady();
    }
    return result;
}

void ProbeApplication::ReportFirstFrame()
{
    PROBE_STOP_COUNTING();
    FirstFrameReported = true;
    std::printf("first-paint-ms=%.3f vmhwm-kb=%lld", ElapsedMs(), static_cast<long long>(PeakResidentKb()));
    for (const auto &[name, value] : Figures)
        std::printf(" %s=%.3f", name.c_str(), value);
    std::printf("\n");
    std::fflush(stdout);
    if (Ready && Ready())
        ReportReady();
    else if (!Ready)
        QCoreApplication::exit(0);
}

void ProbeApplication::ReportReady()
{
    std::printf("%s-ms=%.3f %s-vmhwm-kb=%lld\n", ReadyName.c_str(), ElapsedMs(), ReadyName.c_str(),
                static_cast<long long>(PeakResidentKb()));
    std::fflush(stdout);
    Ready = {};
    QCoreApplication::exit(0);
}

std::int64_t LaunchTimestamp(int argc, char **argv)
{
    bool ok = false;
    const qint64 ns = argc == 2 ? QByteArray(argv[1]).toLongLong(&ok) : 0;
    if (ok && ns > 0)
        return ns;
    std::fprintf(stderr, "usage: %s <CLOCK_MONOTONIC ns at launch>\n", argc > 0 ? argv[0] : "probe");
    return -1;
}

std::int64_t PeakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            bool ok = false;
            const qint64 kb = line.mid(6).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kb : -1;
        }
    }
    return -1;
}
