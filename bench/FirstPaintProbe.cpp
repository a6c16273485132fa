#include "FirstPaintProbe.h"

#include "Clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {
constexpr int GiveUpMs = 30000;
}

FirstPaintProbe::FirstPaintProbe(QWidget &window, std::int64_t launchedNs, std::function<bool()> painted)
    : Window(window), LaunchedNs(launchedNs), Painted(std::move(painted))
{
    Window.installEventFilter(this);
    QTimer::singleShot(GiveUpMs, this, [] { QCoreApplication::exit(3); });
}

// A paint event arrives before the window draws; the zero timer runs once the
// backing store has been painted and flushed to the display.
bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &Window && event->type() == QEvent::Paint && !CheckQueued && !Reported) {
        CheckQueued = true;
        QTimer::singleShot(0, this, &FirstPaintProbe::ReportIfPainted);
    }
    return QObject::eventFilter(watched, event);
}

void FirstPaintProbe::ReportIfPainted()
{
    CheckQueued = false;
    if (Reported || !Painted())
        return;
    Reported = true;
    const double elapsedMs = static_cast<double>(MonotonicNs() - LaunchedNs) / 1e6;
    std::printf("first-paint-ms=%.3f vmhwm-kb=%lld\n", elapsedMs, static_cast<long long>(PeakResidentKb()));
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
