// make bench: runs the micro-benchmarks (offscreen), measures start-up under
// a private Xvfb and live resize offscreen, and prints one table of the
// figures beside their targets.
//
//   run-bench [--startup-runs=N] [Google Benchmark flags]
//
// Exits 1 when a figure could not be measured; a missed target is reported
// in the table, not in the exit status.

#include "Benchmarks.h"
#include "LiveResize.h"
#include "Startup.h"
#include "Summary.h"

#include "slip/SlipDraw.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

constexpr int DefaultStartupRuns = 11;

// Shows each benchmark's median as Google Benchmark prints it and keeps it.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    MedianCollector() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        std::vector<Run> medians;
        for (const Run &run : runs) {
            if (run.error_occurred) {
                medians.push_back(run);
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians.push_back(run);
                Medians[run.run_name.function_name] = run.GetAdjustedRealTime() * NsPer(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(medians);
    }

    BenchMedians Medians;

private:
    static double NsPer(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond: return 1;
        case benchmark::kMicrosecond: return 1e3;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kSecond: return 1e9;
        }
        return 1;
    }
};

// Removes --startup-runs=N from the arguments and returns N.
int TakeStartupRuns(int &argc, char **argv)
{
    constexpr const char *Flag = "--startup-runs=";
    int runs = DefaultStartupRuns;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], Flag, std::strlen(Flag)) == 0)
            runs = std::max(1, std::atoi(argv[i] + std::strlen(Flag)));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return runs;
}

double OneMinuteLoad()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    const double loadAtStart = OneMinuteLoad();
    const int startupRuns = TakeStartupRuns(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mivrel::InstallFaceSubstitutions();

    RegisterSlipBenchmarks();
    RegisterDialogBenchmarks();
    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    const StartupFigures startup = MeasureStartup(QCoreApplication::applicationDirPath(), startupRuns);
    const LiveResizeFigures resize = MeasureLiveResize(QCoreApplication::applicationDirPath());
    return PrintSummary(collector.Medians, startup, resize, loadAtStart) ? 0 : 1;
}
