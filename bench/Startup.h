#pragma once
// Start-up under a private Xvfb: the program's probe, the minimal Qt Widgets
// probe and the Japanese label probe, started alternately, each reporting the
// end of its first frame and its peak resident memory; then, when valgrind is
// installed, each once under callgrind for its instructions to that frame.

#include <QString>

#include <cstdint>
#include <optional>

struct ProgramStartup {
    double FirstPaintMs = 0;  // median, from the launch to the end of the first paint
    std::int64_t PeakKb = 0;  // median VmHWM at that point
    std::optional<std::int64_t> Instructions;  // the whole process up to that point
};

struct StartupFigures {
    QString Failure;  // empty when measured
    int Runs = 0;
    ProgramStartup Mivrel;
    ProgramStartup Minimal;
    ProgramStartup Label;
    double DialogsReadyMs = 0;       // median, from the launch until Mivrel's dialogs exist
    std::int64_t DialogsPeakKb = 0;  // median VmHWM at that point
    bool ValgrindFound = false;      // without it there are no instruction counts
    QString InstructionsFailure;     // empty when counted (or valgrind is missing)
};

// The instructions callgrind counted, from the totals line of its output
// file; nullopt if there is none.
std::optional<std::int64_t> CallgrindTotal(const QString &callgrindOut);

// Starts probe-mivrel, probe-minimal and probe-label from `probeDir` `runs`
// times each (after one unmeasured run each to warm the file cache).
StartupFigures MeasureStartup(const QString &probeDir, int runs);
