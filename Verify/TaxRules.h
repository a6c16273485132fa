#pragma once
// The income-tax rules of the year Heisei 8 (1996), as pure functions on whole
// yen. Every division truncates toward zero; no rule fails for any 32-bit
// argument, and none overflows (wide products are formed in 64 bits).

#include <cstdint>

namespace mivrel {

std::int32_t RoundDown1000(std::int32_t amount);
std::int32_t RoundDown100(std::int32_t amount);

// Salary paid -> salary income after the salary income deduction.
std::int32_t SalaryIncome(std::int32_t salaryPaid);
// Marginal rate in percent (0, 10, 20, 30, 40 or 50) of a taxable income.
std::uint8_t TaxRate(std::int32_t taxable);
// Income tax before credits, by the quick-calculation formula.
std::int32_t IncomeTax(std::int32_t taxable);
// 15 % of a (positive) tax, truncated, at most 50,000.
std::int32_t SpecialTaxReduction(std::int32_t tax);
// Spouse special deduction for the spouse's total income.
std::int32_t SpouseSpecialDeduction(std::int32_t spouseIncome);
// Deduction for life-insurance or personal-pension premiums paid.
std::int32_t InsurancePremiumDeduction(std::int32_t premiums);
// Deduction for long-term non-life premiums paid.
std::int32_t LongTermNonLifeDeduction(std::int32_t premiums);

// (salary income - deductions), 0 if negative, rounded down to 1,000 yen.
std::int32_t TaxableIncome(std::int32_t salaryIncome, std::int32_t deductions);

struct TaxDueResult {
    std::int32_t Due = 0;        // tax due after the housing credit and the reduction
    std::int32_t Reduction = 0;  // the special tax reduction applied
    bool operator==(const TaxDueResult &) const = default;
};
// Income tax less the housing credit, less the special reduction, rounded
// down to 100 yen; 0 and 0 when the credit wipes out the tax.
TaxDueResult TaxDue(std::int32_t taxable, std::int32_t housingCredit);

// A 64-bit figure pulled back into the 32-bit range (saturating).
std::int32_t Saturate32(std::int64_t value);

} // namespace mivrel
