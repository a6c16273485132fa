#pragma once
// The one table of `make bench`: every figure beside its target, if it has
// one, and whether the target is met.

#include "LiveResize.h"
#include "Startup.h"

#include <map>
#include <string>

// Median real time per call in nanoseconds, by benchmark name.
using BenchMedians = std::map<std::string, double>;

// Prints the table to stdout; false when a figure is missing.
bool PrintSummary(const BenchMedians &medians, const StartupFigures &startup, const LiveResizeFigures &resize,
                  double loadAtStart);
