#pragma once
// The arithmetic of the tax verification: every income deduction recomputed
// from the slip's items, their total, and the tax computed twice — once from
// that total, once from the total the slip states.

#include "Verify/Kyuho.h"

#include <array>

namespace mivrel {

inline constexpr int DeductionLineCount = 21;

// Blank count -> 0 and ""; else count x amount per person, "%.0n" text.
AmountLine FormatCountLine(std::uint8_t count, std::int32_t amountPerPerson);
// Mark exactly 1 -> the fixed amount and its text; else 0 and "".
AmountLine FormatMarkLine(std::uint8_t mark, std::int32_t amount);

struct TaxRow {
    AmountLine DeductionTotal;  // computed (row 1) or stated (row 2)
    AmountLine Taxable;
    AmountLine Tax;
};

struct TaxVerification {
    AmountLine SalaryIncome;     // as the slip states it
    AmountLine HousingCredit;    // as the slip states it
    AmountLine StatedTax;        // the slip's tax withheld
    std::array<AmountLine, DeductionLineCount> Lines;  // in the dialog's order
    TaxRow Computed;             // from the sum of Lines
    TaxRow Stated;               // from the slip's deduction total
};

TaxVerification VerifyTax(const TKyuho &slip);

} // namespace mivrel
