#include "Verify/TaxRules.h"

#include <algorithm>
#include <limits>

namespace mivrel {

std::int32_t Saturate32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t RoundDown1000(std::int32_t amount)
{
    return amount / 1000 * 1000;
}

std::int32_t RoundDown100(std::int32_t amount)
{
    return amount / 100 * 100;
}

namespace {

// 1,624,000 <= x < 6,600,000: the table of the year moves in 4,000-yen rows,
// and every salary in a row has the income of the row's lower bound.
std::int32_t SalaryIncomeByTable(std::int32_t x)
{
    const std::int32_t b = x / 4000 * 4000;
    if (x < 1628000) return b / 10 * 6 - 400;
    if (x < 1800000) return b / 10 * 6;
    if (x < 3600000) return b / 10 * 7 - 180000;
    return b / 10 * 8 - 540000;
}

// ceil(p / divisor) for p >= 0.
std::int32_t HalfOrQuarterUp(std::int32_t p, std::int32_t divisor)
{
    const std::int32_t h = p / divisor;
    return h * divisor < p ? h + 1 : h;
}

} // namespace

std::int32_t SalaryIncome(std::int32_t x)
{
    if (x < 651000) return 0;
    if (x < 1619000) return x - 650000;
    if (x < 1620000) return 969000;
    if (x < 1622000) return 970000;
    if (x < 1624000) return 972000;
    if (x < 6600000) return SalaryIncomeByTable(x);
    if (x < 10000000) return x * 9 / 10 - 1200000;
    // x * 95 overflows 32 bits above 22,605,091, so the product is wide.
    return static_cast<std::int32_t>(static_cast<std::int64_t>(x) * 95 / 100) - 1700000;
}

std::uint8_t TaxRate(std::int32_t t)
{
    if (t < 0) return 0;
    if (t <= 3300000) return 10;
    if (t <= 9000000) return 20;
    if (t <= 18000000) return 30;
    if (t <= 30000000) return 40;
    return 50;
}

std::int32_t IncomeTax(std::int32_t t)
{
    if (t < 0) return 0;
    if (t <= 3300000) return t / 10;
    if (t <= 9000000) return t / 5 - 330000;
    if (t <= 18000000) return t * 3 / 10 - 1230000;
    if (t <= 30000000) return t * 2 / 5 - 3030000;
    return t / 2 - 6030000;
}

std::int32_t SpecialTaxReduction(std::int32_t tax)
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(tax) * 3 / 20, 50000));
}

std::int32_t SpouseSpecialDeduction(std::int32_t s)
{
    struct Band { std::int32_t Below; std::int32_t Deduction; };
    static constexpr Band LowBands[] = {
        {50000, 380000}, {100000, 330000}, {150000, 280000}, {200000, 230000},
        {250000, 180000}, {300000, 130000}, {350000, 80000}, {380000, 30000}};
    static constexpr Band HighBands[] = {
        {400000, 380000}, {450000, 360000}, {500000, 310000}, {550000, 260000},
        {600000, 210000}, {650000, 160000}, {700000, 110000}, {750000, 60000}, {760000, 30000}};
    for (const Band &b : LowBands)
        if (s < b.Below) return b.Deduction;
    if (s == 380000) return 0;
    for (const Band &b : HighBands)
        if (s < b.Below) return b.Deduction;
    return 0;
}

std::int32_t InsurancePremiumDeduction(std::int32_t p)
{
    if (p < 0) return 0;
    if (p <= 25000) return p;
    if (p <= 50000) return HalfOrQuarterUp(p, 2) + 12500;
    if (p <= 100000) return HalfOrQuarterUp(p, 4) + 25000;
    return 50000;
}

std::int32_t LongTermNonLifeDeduction(std::int32_t p)
{
    if (p < 0) return 0;
    if (p <= 10000) return p;
    if (p <= 20000) return HalfOrQuarterUp(p, 2) + 5000;
    return 15000;
}

// The difference is formed wide: negative deductions typed on a slip must not
// overflow it.
std::int32_t TaxableIncome(std::int32_t salaryIncome, std::int32_t deductions)
{
    const std::int64_t diff = static_cast<std::int64_t>(salaryIncome) - deductions;
    return RoundDown1000(Saturate32(std::max<std::int64_t>(diff, 0)));
}

TaxDueResult TaxDue(std::int32_t taxable, std::int32_t housingCredit)
{
    const std::int32_t a = Saturate32(static_cast<std::int64_t>(IncomeTax(taxable)) - housingCredit);
    if (a <= 0)
        return {};
    const std::int32_t r = SpecialTaxReduction(a);
    return {RoundDown100(a - r), r};
}

} // namespace mivrel
