#include "Startup.h"

#include "Clock.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int ServerWaitMs = 10000;
constexpr int ProbeWaitMs = 60000;

// An X server of its own for the run, on the first free display.
class PrivateXvfb {
public:
    PrivateXvfb()
    {
        Server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                              QStringLiteral("-screen"), QStringLiteral("0"),
                                              QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
                                              QStringLiteral("tcp")});
        if (!Server.waitForStarted(ServerWaitMs))
            return;
        // Xvfb writes the display number once it accepts clients.
        while (!Server.canReadLine() && Server.waitForReadyRead(ServerWaitMs)) {
        }
        const QByteArray number = Server.readLine().trimmed();
        if (!number.isEmpty())
            DisplayName = QStringLiteral(":") + QString::fromLatin1(number);
    }
    ~PrivateXvfb()
    {
        Server.terminate();
        if (!Server.waitForFinished(ServerWaitMs))
            Server.kill();
        Server.waitForFinished(ServerWaitMs);
    }
    PrivateXvfb(const PrivateXvfb &) = delete;
    PrivateXvfb &operator=(const PrivateXvfb &) = delete;

    const QString &Display() const { return DisplayName; }

private:
    QProcess Server;
    QString DisplayName;
};

struct ProbeReport {
    double FirstPaintMs;
    std::int64_t PeakKb;
};

// Runs one probe on `display` and reads its report line.
std::optional<ProbeReport> RunProbe(const QString &program, const QString &display, QString &failure)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), display);
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const std::int64_t launched = MonotonicNs();
    probe.start(program, {QString::number(launched)});
    if (!probe.waitForFinished(ProbeWaitMs) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0) {
        probe.kill();
        probe.waitForFinished();
        failure = program + QStringLiteral(" did not report its first paint");
        return std::nullopt;
    }
    static const QRegularExpression line(QStringLiteral(R"(first-paint-ms=([0-9.]+) vmhwm-kb=([0-9]+))"));
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(probe.readAllStandardOutput()));
    if (!match.hasMatch()) {
        failure = program + QStringLiteral(" printed no report line");
        return std::nullopt;
    }
    return ProbeReport{match.captured(1).toDouble(), match.captured(2).toLongLong()};
}

template <typename T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

ProgramStartup Summarise(const std::vector<ProbeReport> &reports)
{
    std::vector<double> ms;
    std::vector<std::int64_t> kb;
    for (const ProbeReport &r : reports) {
        ms.push_back(r.FirstPaintMs);
        kb.push_back(r.PeakKb);
    }
    return {Median(ms), Median(kb)};
}

} // namespace

StartupFigures MeasureStartup(const QString &probeDir, int runs)
{
    StartupFigures figures;
    const PrivateXvfb xvfb;
    if (xvfb.Display().isEmpty()) {
        figures.Failure = QStringLiteral("Xvfb did not start");
        return figures;
    }
    const QString mivrel = probeDir + QStringLiteral("/probe-mivrel");
    const QString minimal = probeDir + QStringLiteral("/probe-minimal");
    std::vector<ProbeReport> mivrelReports;
    std::vector<ProbeReport> minimalReports;
    // Round 0 warms the caches and is not counted; the order alternates so
    // that neither program always runs right after the other.
    for (int round = 0; round <= runs; ++round) {
        const bool mivrelFirst = round % 2 == 0;
        for (const QString &program : mivrelFirst ? QStringList{mivrel, minimal} : QStringList{minimal, mivrel}) {
            const std::optional<ProbeReport> report = RunProbe(program, xvfb.Display(), figures.Failure);
            if (!report)
                return figures;
            if (round > 0)
                (program == mivrel ? mivrelReports : minimalReports).push_back(*report);
        }
    }
    figures.Runs = runs;
    figures.Mivrel = Summarise(mivrelReports);
    figures.Minimal = Summarise(minimalReports);
    return figures;
}
