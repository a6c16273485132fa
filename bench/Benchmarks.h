#pragma once
// Registration of the micro-benchmarks. Every one reports the median of
// several repetitions; the names are the keys the summary table looks up.

namespace benchmark::internal {
class Benchmark;
}

// Median of 5 repetitions, microseconds.
void MedianOfRepetitions(benchmark::internal::Benchmark *bench);

// LayOutSlip, DrawSlip/<width>, DrawCell/1350, DrawCellFocus/1350, HitTestCell/1350.
void RegisterSlipBenchmarks();
// VerifyTax, FillVerifyTax, InspectDeductions, RunKojoCheck,
// TdlgKojoCheck/construct, TdlgTrial/Recalculate. Need a QApplication.
void RegisterDialogBenchmarks();
