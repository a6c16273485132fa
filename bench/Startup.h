#pragma once
// Start-up under a private Xvfb: the program's probe and the minimal Qt
// Widgets probe, started alternately, each reporting the end of its first
// frame and its peak resident memory.

#include <QString>

#include <cstdint>

struct ProgramStartup {
    double FirstPaintMs = 0;  // median, from the launch to the end of the first paint
    std::int64_t PeakKb = 0;  // median VmHWM at that point
};

struct StartupFigures {
    QString Failure;  // empty when measured
    int Runs = 0;
    ProgramStartup Mivrel;
    ProgramStartup Minimal;
    double KojoConstructionMs = 0;  // median, TdlgKojoCheck built inside Mivrel's start-up
};

// Starts probe-mivrel and probe-minimal from `probeDir` `runs` times each
// (after one unmeasured run each to warm the file cache).
StartupFigures MeasureStartup(const QString &probeDir, int runs);
