#include "Startup.h"

#include "Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr int ServerWaitMs = 10000;
constexpr int ProbeWaitMs = 120000;  // under callgrind too

// An X server of its own for the run, on the first free display. It does not
// reset when a probe leaves: a probe that connects during a reset is refused.
class PrivateXvfb {
public:
    PrivateXvfb()
    {
        Server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                              QStringLiteral("-screen"), QStringLiteral("0"),
                                              QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
                                              QStringLiteral("tcp"), QStringLiteral("-noreset")});
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

// A probe's environment: the private display, the runtime folder.
QProcessEnvironment ProbeEnvironment(const QString &display, const QString &runtimeDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    return env;
}

// Runs `command` (a probe, possibly under a tool) with the launch timestamp
// as last argument and reads the probe's report.
std::optional<ProbeReport> RunProbe(QStringList command, const QProcessEnvironment &env, QString &failure)
{
    const QString probeName = QFileInfo(command.last()).fileName();
    const QString program = command.takeFirst();
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(program, command << QString::number(MonotonicNs()));
    if (!probe.waitForFinished(ProbeWaitMs) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0) {
        probe.kill();
        probe.waitForFinished();
        failure = probeName + QStringLiteral(" did not report its first paint");
        return std::nullopt;
    }
    const ProbeReport report = ParseReport(QString::fromLatin1(probe.readAllStandardOutput()));
    if (!report.count(QStringLiteral("first-paint-ms")) || !report.count(QStringLiteral("vmhwm-kb"))) {
        failure = probeName + QStringLiteral(" printed no report line");
        return std::nullopt;
    }
    return report;
}

} // namespace

std::optional<std::int64_t> CallgrindTotal(const QString &callgrindOut)
{
    QFile file(callgrindOut);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    static const QRegularExpression totals(QStringLiteral(R"(^totals:\s+(\d+))"),
                                           QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = totals.match(QString::fromLatin1(file.readAll()));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

namespace {

// Each probe once under callgrind, the whole process counted up to its first
// frame (the probe stops the count there). Returns what went wrong, if anything.
QString CountInstructions(const QString &valgrind, const QStringList &probes,
                          const std::vector<ProgramStartup *> &figures, const QProcessEnvironment &env)
{
    const QTemporaryDir outDir;
    for (qsizetype i = 0; i < probes.size(); ++i) {
        const QString out = outDir.filePath(QStringLiteral("callgrind-%1.out").arg(i));
        QString failure;
        if (!RunProbe({valgrind, QStringLiteral("-q"), QStringLiteral("--tool=callgrind"),
                       QStringLiteral("--callgrind-out-file=") + out, probes[i]},
                      env, failure))
            return failure;
        figures[std::size_t(i)]->Instructions = CallgrindTotal(out);
        if (!figures[std::size_t(i)]->Instructions)
            return QStringLiteral("callgrind wrote no totals for ") + QFileInfo(probes[i]).fileName();
    }
    return {};
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
    ProgramStartup summary;
    summary.FirstPaintMs = MedianOf(reports, QStringLiteral("first-paint-ms"));
    summary.PeakKb = static_cast<std::int64_t>(MedianOf(reports, QStringLiteral("vmhwm-kb")));
    return summary;
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
    const QProcessEnvironment env = ProbeEnvironment(xvfb.Display(), runtimeDir.path());
    const QStringList probes = {probeDir + QStringLiteral("/probe-mivrel"), probeDir + QStringLiteral("/probe-minimal"),
                                probeDir + QStringLiteral("/probe-label")};
    std::vector<std::vector<ProbeReport>> reports(probes.size());
    // Round 0 warms the caches and is not counted; the order rotates so that
    // no program always runs right after the same other one.
    for (int round = 0; round <= runs; ++round) {
        for (qsizetype k = 0; k < probes.size(); ++k) {
            const qsizetype which = (round + k) % probes.size();
            const std::optional<ProbeReport> report = RunProbe({probes[which]}, env, figures.Failure);
            if (!report)
                return figures;
            if (round > 0)
                reports[std::size_t(which)].push_back(*report);
        }
    }
    figures.Runs = runs;
    figures.Mivrel = Summarise(reports[0]);
    figures.Minimal = Summarise(reports[1]);
    figures.Label = Summarise(reports[2]);
    figures.DialogsReadyMs = MedianOf(reports[0], QStringLiteral("dialogs-ms"));
    figures.DialogsPeakKb = static_cast<std::int64_t>(MedianOf(reports[0], QStringLiteral("dialogs-vmhwm-kb")));
    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    figures.ValgrindFound = !valgrind.isEmpty();
    if (figures.ValgrindFound)
        figures.InstructionsFailure =
            CountInstructions(valgrind, probes, {&figures.Mivrel, &figures.Minimal, &figures.Label}, env);
    return figures;
}
