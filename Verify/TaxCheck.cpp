#include "Verify/TaxCheck.h"

#include "Verify/TaxRules.h"

namespace mivrel {

AmountLine FormatCountLine(std::uint8_t count, std::int32_t amountPerPerson)
{
    if (count == BlankCount)
        return {};
    const std::int32_t value = count * amountPerPerson;  // at most 254 x 530,000
    return {value, GroupedNumber(value)};
}

AmountLine FormatMarkLine(std::uint8_t mark, std::int32_t amount)
{
    if (mark != 1)
        return {};
    return {amount, GroupedNumber(amount)};
}

namespace {

std::array<AmountLine, DeductionLineCount> DeductionLines(const TKyuho &s)
{
    const auto &a = s.amounts;
    const auto &c = s.counts;
    const auto &m = s.marks;
    return {
        FormatMarkLine(m[Slot::SpouseYes], 380000),            // 配偶者控除
        FormatMarkLine(m[Slot::SpouseElderly], 100000),        // 老人配偶者加算
        FormatAmount(a[Slot::SpouseSpecial]),                  // 配偶者特別控除
        FormatCountLine(c[Slot::Specified], 530000),           // 特定扶養控除
        FormatCountLine(c[Slot::Elderly], 480000),             // 老人扶養控除
        FormatCountLine(c[Slot::ElderlyLivingWith], 200000),   // 同居老親加算
        FormatCountLine(c[Slot::OtherDependants], 380000),     // 一般扶養控除
        FormatCountLine(c[Slot::SpecialDisabled], 350000),     // 特別障害者控除
        FormatCountLine(c[Slot::SpecialDisabledLivingWith], 300000), // 同居特障加算
        FormatCountLine(c[Slot::OtherDisabled], 270000),       // 一般障害者控除
        FormatMarkLine(m[Slot::SelfSpecialDisabled], 350000),  // 本人特別傷害
        FormatMarkLine(m[Slot::SelfOtherDisabled], 270000),    // 本人一般障害
        FormatMarkLine(m[Slot::Aged], 500000),                 // 老年者控除
        FormatMarkLine(m[Slot::WidowGeneral], 270000),         // 一般寡婦控除
        FormatMarkLine(m[Slot::WidowSpecial], 350000),         // 特別寡婦控除
        FormatMarkLine(m[Slot::Widower], 270000),              // 寡夫控除
        FormatMarkLine(m[Slot::WorkingStudent], 270000),       // 勤労学生控除
        FormatAmount(a[Slot::SocialInsurance]),                // 社会保険料等
        FormatAmount(a[Slot::LifeInsurance]),                  // 生命保険料控除
        FormatAmount(a[Slot::NonLifeInsurance]),               // 損害保険料控除
        FormatMarkLine(1, 380000),                             // 基礎控除
    };
}

TaxRow ComputeRow(std::int32_t deductions, const AmountLine &shown, std::int32_t salaryIncome,
                  std::int32_t housingCredit)
{
    const std::int32_t taxable = TaxableIncome(salaryIncome, deductions);
    const std::int32_t tax = TaxDue(taxable, housingCredit).Due;
    return {shown, FormatAmount(taxable), FormatAmount(tax)};
}

} // namespace

// The total is summed wide and saturated: a slip whose typed amounts add up
// past the 32-bit range must not overflow.
TaxVerification VerifyTax(const TKyuho &slip)
{
    TaxVerification v;
    v.SalaryIncome = FormatAmount(slip.amounts[Slot::SalaryIncome]);
    v.HousingCredit = FormatAmount(slip.amounts[Slot::HousingCredit]);
    v.StatedTax = FormatAmount(slip.amounts[Slot::TaxWithheld]);
    v.Lines = DeductionLines(slip);

    std::int64_t total = 0;
    for (const AmountLine &line : v.Lines)
        total += line.Number;
    const std::int32_t sum = Saturate32(total);

    v.Computed = ComputeRow(sum, FormatAmount(sum), v.SalaryIncome.Number, v.HousingCredit.Number);
    const AmountLine stated = FormatAmount(slip.amounts[Slot::DeductionTotal]);
    v.Stated = ComputeRow(stated.Number, stated, v.SalaryIncome.Number, v.HousingCredit.Number);
    return v;
}

} // namespace mivrel
