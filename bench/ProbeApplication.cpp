#include "ProbeApplication.h"

#include "Clock.h"

#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {
constexpr int GiveUpMs = 30000;
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

void ProbeApplication::ObserveEvents(std::function<void(QObject *, QEvent *)> observer)
{
    Observer = std::move(observer);
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
    if (Observer)
        Observer(receiver, event);
    const QEvent::Type type = event->type();
    const bool result = QApplication::notify(receiver, event);
    if (!Reported && Window && receiver == Window->windowHandle()
        && (type == QEvent::Expose || type == QEvent::UpdateRequest) && Painted())
        Report();
    return result;
}

void ProbeApplication::Report()
{
    Reported = true;
    std::printf("first-paint-ms=%.3f vmhwm-kb=%lld", ElapsedMs(), static_cast<long long>(PeakResidentKb()));
    for (const auto &[name, value] : Figures)
        std::printf(" %s=%.3f", name.c_str(), value);
    std::printf("\n");
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

std::int64_t LaunchTimestamp(int argc, char **argv)
{
    if (argc != 2)
        return -1;
    bool ok = false;
    const qint64 ns = QByteArray(argv[1]).toLongLong(&ok);
    return ok && ns > 0 ? ns : -1;
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
