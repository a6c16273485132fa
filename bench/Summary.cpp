#include "Summary.h"

#include <QFile>
#include <QString>
#include <QTextStream>
#include <QThread>
#include <QtGlobal>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Targets, for two cores. Start-up is held against the toolkit's own floor:
// the empty window for time and memory, the one-line Japanese label (which
// loads the same faces and rasterises hinted glyphs) for instructions.
constexpr double MaxStartupRatio = 1.3;
constexpr double MaxInstructionRatio = 1.5;
constexpr double MaxCellShareOfSlip = 1.0 / 30;
constexpr double MaxExtraPeakMB = 10;
// Live resize: a frame at width 1350 on an ordinary screen, and the same
// frame on a dense screen (scale 2) no costlier than its four times as many
// pixels make it.
constexpr double MaxResizeFrameInstructions = 10e6;
constexpr double MaxDenseResizeRatio = 4;

struct Row {
    QString Measure;
    QString Figure;
    QString Target;
    QString Verdict;  // "pass", "MISS", or empty for a figure without a target
};

QString Verdict(bool met) { return met ? QStringLiteral("pass") : QStringLiteral("MISS"); }

QString Duration(double ns)
{
    if (ns < 1e3)
        return QStringLiteral("%1 ns").arg(ns, 0, 'f', 1);
    if (ns < 1e6)
        return QStringLiteral("%1 µs").arg(ns / 1e3, 0, 'f', 2);
    return QStringLiteral("%1 ms").arg(ns / 1e6, 0, 'f', 2);
}

QString Megabytes(std::int64_t kb) { return QStringLiteral("%1 MB").arg(kb * 1024 / 1e6, 0, 'f', 1); }

QString Millions(double count) { return QStringLiteral("%1 M").arg(count / 1e6, 0, 'f', 1); }

QString Ratio(double ratio) { return QStringLiteral("%1").arg(ratio, 0, 'f', 2); }

QString CpuModel()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly))
        for (const QByteArray &line : cpuinfo.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown CPU");
}

void Print(const QString &title, std::vector<Row> rows)
{
    rows.insert(rows.begin(), {QStringLiteral("measure"), QStringLiteral("figure"), QStringLiteral("target"),
                               QStringLiteral("result")});
    qsizetype widths[3] = {0, 0, 0};
    for (const Row &row : rows) {
        widths[0] = std::max(widths[0], row.Measure.size());
        widths[1] = std::max(widths[1], row.Figure.size());
        widths[2] = std::max(widths[2], row.Target.size());
    }
    QTextStream out(stdout);
    out << '\n' << title << '\n';
    const auto line = [&](const QString &a, const QString &b, const QString &c, const QString &d) {
        out << a.leftJustified(widths[0]) << "  " << b.rightJustified(widths[1]) << "  "
            << c.leftJustified(widths[2]) << "  " << d << '\n';
    };
    for (const Row &row : rows)
        line(row.Measure, row.Figure, row.Target, row.Verdict);
}

class TableBuilder {
public:
    explicit TableBuilder(const BenchMedians &medians) : Medians(medians) {}

    // The median of a benchmark; a missing one is marked in its row.
    std::optional<double> Time(const std::string &name) const
    {
        const auto it = Medians.find(name);
        if (it == Medians.end())
            return std::nullopt;
        return it->second;
    }

    void AddTime(const QString &measure, const std::string &name)
    {
        const std::optional<double> ns = Time(name);
        Add({measure, ns ? Duration(*ns) : QStringLiteral("missing"), {}, {}});
        Complete = Complete && ns;
    }
    void Add(Row row) { Rows.push_back(std::move(row)); }
    void MarkIncomplete() { Complete = false; }

    std::vector<Row> Rows;
    bool Complete = true;

private:
    const BenchMedians &Medians;
};

void AddSlipRows(TableBuilder &table)
{
    table.AddTime(QStringLiteral("LayOutSlip (ScaleNum 1349)"), "LayOutSlip");
    table.AddTime(QStringLiteral("DrawSlip, client width 476"), "DrawSlip/476");
    table.AddTime(QStringLiteral("DrawSlip, client width 1350"), "DrawSlip/1350");
    const std::optional<double> cell = table.Time("DrawCell/1350");
    const std::optional<double> slip = table.Time("DrawSlip/1350");
    if (cell && slip) {
        const double share = *cell / *slip;
        table.Add({QStringLiteral("DrawCell 13, width 1350"),
                   QStringLiteral("%1 = 1/%2 slip").arg(Duration(*cell)).arg(1 / share, 0, 'f', 0),
                   QStringLiteral("<= 1/30 of DrawSlip 1350"), Verdict(share <= MaxCellShareOfSlip)});
    } else {
        table.AddTime(QStringLiteral("DrawCell 13, width 1350"), "DrawCell/1350");
        table.MarkIncomplete();
    }
    table.AddTime(QStringLiteral("DrawCellFocus 13, width 1350"), "DrawCellFocus/1350");
    table.AddTime(QStringLiteral("HitTestCell, width 1350 (per point, 384 spread)"), "HitTestCell/1350");
}

void AddDialogRows(TableBuilder &table)
{
    table.AddTime(QStringLiteral("VerifyTax"), "VerifyTax");
    table.AddTime(QStringLiteral("FillVerifyTax"), "FillVerifyTax");
    table.AddTime(QStringLiteral("InspectDeductions (inspection rules)"), "InspectDeductions");
    table.AddTime(QStringLiteral("RunKojoCheck (findings and 7 excerpts)"), "RunKojoCheck");
    table.AddTime(QStringLiteral("TdlgKojoCheck construction, warm (1261-row table)"), "TdlgKojoCheck/construct");
    table.AddTime(QStringLiteral("TdlgTrial Recalculate (salary field text)"), "TdlgTrial/Recalculate");
}

void AddTimeRows(TableBuilder &table, const StartupFigures &startup)
{
    const QString runs = QStringLiteral("median of %1").arg(startup.Runs);
    const double mivrelMs = startup.Mivrel.FirstPaintMs;
    table.Add({QStringLiteral("start-up to first full slip frame, Mivrel (%1)").arg(runs), Duration(mivrelMs * 1e6), {}, {}});
    table.Add({QStringLiteral("start-up to first frame, minimal Qt Widgets (%1)").arg(runs),
               Duration(startup.Minimal.FirstPaintMs * 1e6), {}, {}});
    table.Add({QStringLiteral("start-up to first frame, Japanese label (%1)").arg(runs),
               Duration(startup.Label.FirstPaintMs * 1e6), {}, {}});
    const double ratio = mivrelMs / startup.Minimal.FirstPaintMs;
    table.Add({QStringLiteral("  ratio Mivrel / minimal"), Ratio(ratio),
               QStringLiteral("<= %1").arg(Ratio(MaxStartupRatio)), Verdict(ratio <= MaxStartupRatio)});
    table.Add({QStringLiteral("  ratio Mivrel / label"), Ratio(mivrelMs / startup.Label.FirstPaintMs), {}, {}});
    if (startup.DialogsReadyMs > 0) {
        table.Add({QStringLiteral("  the four dialogs built, after launch"), Duration(startup.DialogsReadyMs * 1e6), {}, {}});
    } else {
        table.Add({QStringLiteral("  the four dialogs built, after launch"), QStringLiteral("missing"), {}, {}});
        table.MarkIncomplete();
    }
}

void AddInstructionRows(TableBuilder &table, const StartupFigures &startup)
{
    const QString measure = QStringLiteral("instructions to the first frame (callgrind)");
    if (!startup.ValgrindFound) {
        table.Add({measure, QStringLiteral("not counted"), QStringLiteral("valgrind is not installed"), {}});
        return;
    }
    if (!startup.InstructionsFailure.isEmpty()) {
        table.Add({measure, QStringLiteral("not counted"), startup.InstructionsFailure, {}});
        table.MarkIncomplete();
        return;
    }
    const std::int64_t mivrel = *startup.Mivrel.Instructions;
    const std::int64_t label = *startup.Label.Instructions;
    table.Add({QStringLiteral("instructions to the first full slip frame, Mivrel"), Millions(double(mivrel)), {}, {}});
    table.Add({QStringLiteral("instructions to the first frame, minimal"),
               Millions(double(*startup.Minimal.Instructions)), {}, {}});
    table.Add({QStringLiteral("instructions to the first frame, Japanese label"), Millions(double(label)), {}, {}});
    const double ratio = double(mivrel) / double(label);
    table.Add({QStringLiteral("  ratio Mivrel / label"), Ratio(ratio),
               QStringLiteral("<= %1").arg(Ratio(MaxInstructionRatio)), Verdict(ratio <= MaxInstructionRatio)});
}

void AddMemoryRows(TableBuilder &table, const StartupFigures &startup)
{
    table.Add({QStringLiteral("peak resident memory (VmHWM) at that frame, Mivrel"), Megabytes(startup.Mivrel.PeakKb), {}, {}});
    table.Add({QStringLiteral("peak resident memory (VmHWM), minimal"), Megabytes(startup.Minimal.PeakKb), {}, {}});
    table.Add({QStringLiteral("peak resident memory (VmHWM), Japanese label"), Megabytes(startup.Label.PeakKb), {}, {}});
    const std::int64_t extraKb = startup.Mivrel.PeakKb - startup.Minimal.PeakKb;
    table.Add({QStringLiteral("  Mivrel above minimal"), Megabytes(extraKb),
               QStringLiteral("<= %1 MB").arg(MaxExtraPeakMB, 0, 'f', 0),
               Verdict(extraKb * 1024 / 1e6 <= MaxExtraPeakMB)});
    if (startup.DialogsPeakKb > 0)
        table.Add({QStringLiteral("  Mivrel once the dialogs are built"), Megabytes(startup.DialogsPeakKb), {}, {}});
}

void AddStartupRows(TableBuilder &table, const StartupFigures &startup)
{
    if (!startup.Failure.isEmpty()) {
        table.Add({QStringLiteral("start-up"), QStringLiteral("not measured"), startup.Failure, {}});
        table.MarkIncomplete();
        return;
    }
    AddTimeRows(table, startup);
    AddInstructionRows(table, startup);
    AddMemoryRows(table, startup);
}

// The target of a live-resize frame, if it has one, and whether it is met.
std::pair<QString, QString> ResizeTarget(const ResizeFigures &figures, std::optional<double> unscaled)
{
    if (figures.Width != 1350)
        return {};
    if (figures.Scale == 1)
        return {QStringLiteral("<= %1").arg(Millions(MaxResizeFrameInstructions)),
                Verdict(*figures.MivrelInstructions <= MaxResizeFrameInstructions)};
    if (figures.Scale == 2 && unscaled)
        return {QStringLiteral("<= %1 x scale 1 = %2").arg(MaxDenseResizeRatio).arg(Millions(MaxDenseResizeRatio * *unscaled)),
                Verdict(*figures.MivrelInstructions <= MaxDenseResizeRatio * *unscaled)};
    return {};
}

void AddResizeRows(TableBuilder &table, const LiveResizeFigures &resize)
{
    if (!resize.Failure.isEmpty()) {
        table.Add({QStringLiteral("live resize"), QStringLiteral("not measured"), resize.Failure, {}});
        table.MarkIncomplete();
        return;
    }
    std::optional<double> unscaled;
    for (const ResizeFigures &figures : resize.Cases)
        if (figures.Width == 1350 && figures.Scale == 1)
            unscaled = figures.MivrelInstructions;
    for (const ResizeFigures &figures : resize.Cases) {
        const QString where = QStringLiteral("live resize around width %1, scale %2").arg(figures.Width).arg(figures.Scale);
        if (figures.MivrelInstructions && figures.PlainInstructions) {
            const auto [target, verdict] = ResizeTarget(figures, unscaled);
            table.Add({where + QStringLiteral(": instructions per frame, Mivrel"), Millions(*figures.MivrelInstructions),
                       target, verdict});
            table.Add({QStringLiteral("  plain QWidget of the same sizes"), Millions(*figures.PlainInstructions), {}, {}});
        } else {
            table.Add({where + QStringLiteral(": instructions per frame"), QStringLiteral("not counted"),
                       QStringLiteral("valgrind is not installed"), {}});
        }
        table.Add({QStringLiteral("  time per frame, Mivrel / plain QWidget (median of 30)"),
                   QStringLiteral("%1 / %2").arg(Duration(figures.MivrelMs * 1e6), Duration(figures.PlainMs * 1e6)), {}, {}});
    }
}

} // namespace

bool PrintSummary(const BenchMedians &medians, const StartupFigures &startup, const LiveResizeFigures &resize,
                  double loadAtStart)
{
    TableBuilder table(medians);
    AddSlipRows(table);
    AddDialogRows(table);
    AddStartupRows(table, startup);
    AddResizeRows(table, resize);
    const QString title =
        QStringLiteral("Mivrel benchmarks — %1, %2 cores, Qt %3, load average %4 at start; "
                       "times are medians per call (MB = 10^6 bytes)")
            .arg(CpuModel())
            .arg(QThread::idealThreadCount())
            .arg(QString::fromLatin1(qVersion()))
            .arg(loadAtStart, 0, 'f', 2);
    Print(title, table.Rows);
    return table.Complete;
}
