#include "LiveResize.h"

#include "Startup.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

constexpr int ProbeWaitMs = 300000;  // under callgrind too
const int Widths[] = {476, 1350};
const int Scales[] = {1, 2};

// One screen as large and as dense as a 4K monitor at scale 1.
constexpr const char *UhdScreen = R"({
    "screens": [
        { "name": "uhd", "x": 0, "y": 0, "width": 3840, "height": 2160,
          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
    ]
})";

struct ProbeRun {
    int Frames = 0;  // counted
    QString Sizes;   // "<w>x<h>,<w>x<h>" as the probe showed them
    double FrameMs = 0;
};

class Runner {
public:
    explicit Runner(const QString &probeDir) : Probe(probeDir + QStringLiteral("/probe-resize")) {}

    bool Prepare()
    {
        QFile screens(Folder.filePath(QStringLiteral("uhd.json")));
        if (!Folder.isValid() || !screens.open(QIODevice::WriteOnly) || screens.write(UhdScreen) < 0)
            return false;
        Screens = screens.fileName();
        return true;
    }

    // The probe's report, or nullopt with `Failure` set. With `callgrindOut`
    // it runs under callgrind, which counts only the probe's counted frames.
    std::optional<ProbeRun> Run(int scale, const QStringList &arguments, const QString &callgrindOut = {})
    {
        QString program = Probe;
        QStringList programArguments = arguments;
        if (!callgrindOut.isEmpty()) {
            program = Valgrind;
            programArguments = QStringList{QStringLiteral("-q"), QStringLiteral("--tool=callgrind"),
                                           QStringLiteral("--instr-atstart=no"),
                                           QStringLiteral("--callgrind-out-file=") + callgrindOut, Probe}
                               + arguments;
        }
        QProcess probe;
        probe.setProcessEnvironment(Environment(scale));
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(program, programArguments);
        if (!probe.waitForFinished(ProbeWaitMs) || probe.exitStatus() != QProcess::NormalExit
            || probe.exitCode() != 0) {
            probe.kill();
            probe.waitForFinished();
            Failure = QStringLiteral("probe-resize %1 at scale %2 did not finish").arg(arguments.join(u' ')).arg(scale);
            return std::nullopt;
        }
        static const QRegularExpression report(QStringLiteral(R"(frames=(\d+) sizes=(\S+)(?: frame-ms=([0-9.]+))?)"));
        const QRegularExpressionMatch match = report.match(QString::fromLatin1(probe.readAllStandardOutput()));
        if (!match.hasMatch() || match.captured(1).toInt() <= 0) {
            Failure = QStringLiteral("probe-resize printed no report line");
            return std::nullopt;
        }
        return ProbeRun{match.captured(1).toInt(), match.captured(2), match.captured(3).toDouble()};
    }

    // Instructions per counted frame under callgrind.
    std::optional<double> PerFrame(int scale, const QStringList &arguments)
    {
        const QString out = Folder.filePath(QStringLiteral("callgrind.out"));
        QFile::remove(out);
        const std::optional<ProbeRun> run = Run(scale, arguments, out);
        if (!run)
            return std::nullopt;
        const std::optional<std::int64_t> total = CallgrindTotal(out);
        if (!total) {
            Failure = QStringLiteral("callgrind wrote no totals for probe-resize");
            return std::nullopt;
        }
        return double(*total) / run->Frames;
    }

    QString Valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    QString Failure;

private:
    QProcessEnvironment Environment(int scale) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + Screens);
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Folder.path());
        return env;
    }

    const QString Probe;
    const QTemporaryDir Folder;  // the screen's file; the probes' runtime folder (mode 0700)
    QString Screens;
};

// One width at one scale: the main window, then the plain widget at the
// sizes the main window took.
bool Measure(Runner &runner, ResizeFigures &figures)
{
    const QStringList mivrel = {QStringLiteral("mivrel"), QString::number(figures.Width)};
    const std::optional<ProbeRun> shown = runner.Run(figures.Scale, mivrel);
    if (!shown)
        return false;
    const QStringList plain = QStringList{QStringLiteral("plain")} + shown->Sizes.split(u',');
    const std::optional<ProbeRun> anchor = runner.Run(figures.Scale, plain);
    if (!anchor)
        return false;
    figures.MivrelMs = shown->FrameMs;
    figures.PlainMs = anchor->FrameMs;
    if (runner.Valgrind.isEmpty())
        return true;
    figures.MivrelInstructions = runner.PerFrame(figures.Scale, mivrel);
    figures.PlainInstructions = runner.PerFrame(figures.Scale, plain);
    return figures.MivrelInstructions && figures.PlainInstructions;
}

} // namespace

LiveResizeFigures MeasureLiveResize(const QString &probeDir)
{
    LiveResizeFigures figures;
    Runner runner(probeDir);
    figures.ValgrindFound = !runner.Valgrind.isEmpty();
    if (!runner.Prepare()) {
        figures.Failure = QStringLiteral("no temporary folder for the screen's file");
        return figures;
    }
    for (const int scale : Scales) {
        for (const int width : Widths) {
            ResizeFigures one;
            one.Width = width;
            one.Scale = scale;
            if (!Measure(runner, one)) {
                figures.Failure = runner.Failure;
                return figures;
            }
            figures.Cases.push_back(one);
        }
    }
    return figures;
}
