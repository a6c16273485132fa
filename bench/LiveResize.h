#pragma once
// Live resize: probe-resize shows the main window, and then one plain
// QWidget of the same sizes, offscreen on a 3840 x 2160 screen at scale 1
// and 2 and resizes it by 7 pixels back and forth around a client width.
// Each runs once as it is, for the median time of a frame, and once under
// callgrind (when valgrind is installed), for the instructions of a frame.

#include <QString>

#include <optional>
#include <vector>

struct ResizeFigures {
    int Width = 0;  // client width the window is resized around
    int Scale = 1;  // QT_SCALE_FACTOR
    double MivrelMs = 0, PlainMs = 0;  // median time of a frame
    std::optional<double> MivrelInstructions, PlainInstructions;  // per frame
};

struct LiveResizeFigures {
    QString Failure;  // empty when measured
    bool ValgrindFound = false;
    std::vector<ResizeFigures> Cases;  // widths 476 and 1350 at scale 1, then at scale 2
};

// Runs probe-resize from `probeDir`.
LiveResizeFigures MeasureLiveResize(const QString &probeDir);
