// The verification, the inspection and the trial, each through the same
// entry point the main window's commands use. Two slips alternate so that
// every value label really changes from one call to the next.

#include "Benchmarks.h"

#include "Kojochk/KojoRules.h"
#include "Kojochk/Kojochk.h"
#include "Trial/Trial.h"
#include "Verify/Kyuho.h"
#include "Verify/TaxCheck.h"
#include "Verify/Verify.h"

#include <benchmark/benchmark.h>

#include <QLineEdit>

#include <array>
#include <memory>

using namespace mivrel;

namespace {

// The start-up sample and a variant of it whose figures and marks differ.
std::array<TKyuho, 2> TwoSlips()
{
    std::array<TKyuho, 2> slips;
    for (TKyuho &slip : slips) {
        ClearSlip(slip);
        FillSampleSlip(slip);
    }
    TKyuho &variant = slips[1];
    variant.amounts[Slot::SalaryPaid] = 4321000;
    variant.amounts[Slot::SalaryIncome] = 2910000;
    variant.amounts[Slot::DeductionTotal] = 1980000;
    variant.amounts[Slot::SpouseIncome] = 760000;
    variant.counts[Slot::Specified] = 1;
    variant.marks[Slot::SpouseYes] = 0;
    variant.marks[Slot::Aged] = 1;
    return slips;
}

// Runs `step` on the two slips in turn, so no result can be cached.
template <typename Step>
void AlternateSlips(benchmark::State &state, Step step)
{
    const std::array<TKyuho, 2> slips = TwoSlips();
    std::size_t which = 0;
    for (auto _ : state) {
        step(slips[which]);
        which ^= 1;
    }
}

void VerifyTaxBench(benchmark::State &state)
{
    AlternateSlips(state, [](const TKyuho &slip) { benchmark::DoNotOptimize(VerifyTax(slip)); });
}

void FillVerifyTaxBench(benchmark::State &state)
{
    TdlgVerifyTax dlg;
    AlternateSlips(state, [&dlg](const TKyuho &slip) { FillVerifyTax(dlg, slip); });
}

void InspectDeductionsBench(benchmark::State &state)
{
    AlternateSlips(state, [](const TKyuho &slip) { benchmark::DoNotOptimize(InspectDeductions(slip)); });
}

void RunKojoCheckBench(benchmark::State &state)
{
    TdlgKojoCheck dlg;
    AlternateSlips(state, [&dlg](const TKyuho &slip) { RunKojoCheck(dlg, slip); });
}

// Construction only: the dialog is destroyed with the clock stopped.
void ConstructKojoCheckBench(benchmark::State &state)
{
    for (auto _ : state) {
        auto dlg = std::make_unique<TdlgKojoCheck>();
        benchmark::DoNotOptimize(dlg.get());
        state.PauseTiming();
        dlg.reset();
        state.ResumeTiming();
    }
}

// Typing a salary: the field's change handler reads it and recalculates.
void TrialRecalculateBench(benchmark::State &state)
{
    TdlgTrial dlg;
    auto *salary = dlg.findChild<QLineEdit *>(QStringLiteral("medKyuyoSyunyu"));
    if (!salary) {
        state.SkipWithError("medKyuyoSyunyu not found");
        return;
    }
    const std::array<QString, 2> salaries{QStringLiteral("6898700"), QStringLiteral("4321000")};
    std::size_t which = 0;
    for (auto _ : state) {
        salary->setText(salaries[which]);
        which ^= 1;
    }
}

} // namespace

void RegisterDialogBenchmarks()
{
    benchmark::RegisterBenchmark("VerifyTax", VerifyTaxBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("FillVerifyTax", FillVerifyTaxBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("InspectDeductions", InspectDeductionsBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("RunKojoCheck", RunKojoCheckBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("TdlgKojoCheck/construct", ConstructKojoCheckBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("TdlgTrial/Recalculate", TrialRecalculateBench)->Apply(MedianOfRepetitions);
}
