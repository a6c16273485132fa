#include "Startup.h"

#include "Clock.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
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

// The figures of one probe's report line, by name.
using ProbeReport = std::map<QString, double>;

ProbeReport ParseReport(const QString &line)
{
    ProbeReport report;
    static const QRegularExpression pair(QStringLiteral(R"(([a-z-]+)=([0-9.]+))"));
    for (QRegularExpressionMatchIterator it = pair.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        report[match.captured(1)] = match.captured(2).toDouble();
    }
    return report;
}

// Runs one probe on `display` and reads its report line.
std::optional<ProbeReport> RunProbe(const QString &program, const QString &display, const QString &runtimeDir,
                                    QString &failure)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(program, {QString::number(MonotonicNs())});
    if (!probe.waitForFinished(ProbeWaitMs) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0) {
        probe.kill();
        probe.waitForFinished();
        failure = program + QStringLiteral(" did not report its first paint");
        return std::nullopt;
    }
    const ProbeReport report = ParseReport(QString::fromLatin1(probe.readAllStandardOutput()));
    if (!report.count(QStringLiteral("first-paint-ms")) || !report.count(QStringLiteral("vmhwm-kb"))) {
        failure = program + QStringLiteral(" printed no report line");
        return std::nullopt;
    }
    return report;
}

template <typename T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The median of one figure over the runs; 0 when no run reported it.
double MedianOf(const std::vector<ProbeReport> &reports, const QString &name)
{
    std::vector<double> values;
    for (const ProbeReport &report : reports)
        if (const auto it = report.find(name); it != report.end())
            values.push_back(it->second);
    return values.empty() ? 0 : Median(values);
}

ProgramStartup Summarise(const std::vector<ProbeReport> &reports)
{
    return {MedianOf(reports, QStringLiteral("first-paint-ms")),
            static_cast<std::int64_t>(MedianOf(reports, QStringLiteral("vmhwm-kb")))};
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
    const QTemporaryDir runtimeDir;  // the probes' XDG_RUNTIME_DIR, mode 0700
    const QString mivrel = probeDir + QStringLiteral("/probe-mivrel");
    const QString minimal = probeDir + QStringLiteral("/probe-minimal");
    std::vector<ProbeReport> mivrelReports;
    std::vector<ProbeReport> minimalReports;
    // Round 0 warms the caches and is not counted; the order alternates so
    // that neither program always runs right after the other.
    for (int round = 0; round <= runs; ++round) {
        const bool mivrelFirst = round % 2 == 0;
        for (const QString &program : mivrelFirst ? QStringList{mivrel, minimal} : QStringList{minimal, mivrel}) {
            const std::optional<ProbeReport> report = RunProbe(program, xvfb.Display(), runtimeDir.path(), figures.Failure);
            if (!report)
                return figures;
            if (round > 0)
                (program == mivrel ? mivrelReports : minimalReports).push_back(*report);
        }
    }
    figures.Runs = runs;
    figures.Mivrel = Summarise(mivrelReports);
    figures.Minimal = Summarise(minimalReports);
    figures.KojoConstructionMs = MedianOf(mivrelReports, QStringLiteral("kojo-ms"));
    return figures;
}
