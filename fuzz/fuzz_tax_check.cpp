// The verification arithmetic and the inspection rules on arbitrary slips:
// no overflow or other undefined behaviour, the computed total is the
// saturated sum of the lines, taxable incomes are whole thousands and never
// negative, taxes whole hundreds and never negative, and every inspection
// tab says something (its findings, or the normal sentence alone).

#include "FuzzSupport.h"

#include "Kojochk/KojoRules.h"
#include "Verify/TaxCheck.h"
#include "Verify/TaxRules.h"

namespace {

using namespace mivrel;

// Blank, a slip-sized figure, or any 32-bit value.
std::int32_t ConsumeAmount(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: return BlankAmount;
    case 1: return in.ConsumeIntegralInRange<std::int32_t>(0, 20'000'000);
    default: return in.ConsumeIntegral<std::int32_t>();
    }
}

// Mostly 0 or 1, as the editor stores marks, sometimes any byte.
std::uint8_t ConsumeMark(FuzzedDataProvider &in)
{
    const auto byte = in.ConsumeIntegral<std::uint8_t>();
    return byte < 0xF0 ? byte & 1u : byte;
}

TKyuho ConsumeSlip(FuzzedDataProvider &in)
{
    TKyuho slip;
    for (std::int32_t &amount : slip.amounts)
        amount = ConsumeAmount(in);
    for (std::uint8_t &count : slip.counts)
        count = in.ConsumeIntegral<std::uint8_t>();
    for (std::uint8_t &mark : slip.marks)
        mark = ConsumeMark(in);
    for (QString &text : slip.texts)
        text = ConsumeText(in, 40);
    return slip;
}

void CheckRow(const TaxRow &row)
{
    Require(row.Taxable.Number >= 0 && row.Taxable.Number % 1000 == 0,
            "taxable income is a non-negative whole thousand");
    Require(row.Tax.Number >= 0 && row.Tax.Number % 100 == 0, "tax due is a non-negative whole hundred");
}

void CheckVerification(const TKyuho &slip)
{
    const TaxVerification v = VerifyTax(slip);
    std::int64_t total = 0;
    for (const AmountLine &line : v.Lines)
        total += line.Number;
    Require(v.Computed.DeductionTotal.Number == Saturate32(total), "the computed total is the sum of the lines");
    CheckRow(v.Computed);
    CheckRow(v.Stated);
}

void CheckTab(const QStringList &lines)
{
    Require(!lines.isEmpty(), "every tab says something");
    Require(!lines.contains(KojoNormalSentence) || lines.size() == 1, "the normal sentence stands alone");
}

void CheckInspection(const TKyuho &slip)
{
    const KojoInspection result = InspectDeductions(slip);
    Require(!result.SalaryVerdict.isEmpty(), "the salary tab has a verdict");
    CheckTab(result.SpouseLines);
    CheckTab(result.DependantLines);
    CheckTab(result.InsuranceLines);
    CheckTab(result.PersonalLines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const TKyuho slip = ConsumeSlip(in);
    CheckVerification(slip);
    CheckInspection(slip);
    return 0;
}
