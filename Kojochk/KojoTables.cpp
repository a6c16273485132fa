#include "Kojochk/KojoTables.h"

#include "Verify/Kyuho.h"
#include "Verify/TaxRules.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace mivrel {
namespace {

struct FixedRow {
    int Row;
    std::array<const char *, ReferenceTableColumns> Cells;  // UTF-8
};

// Salary income table: headers, the bands below the 4,000-yen steps, and the
// two percentage bands written as sentences down column 2.
constexpr std::array<FixedRow, 17> SalaryFixedRows{{
    {0, {"給与等の金額", "", "給与所得控除後"}},
    {1, {"以上", "以下", "の給与等の金額"}},
    {2, {"0", "650,999", "0"}},
    {3, {"651,000", "1,618,999", "給与等の金額"}},
    {4, {"", "", "から650,000円"}},
    {5, {"", "", "を引いた金額"}},
    {6, {"1,619,000", "1,619,999", "969,000"}},
    {7, {"1,620,000", "1,621,999", "970,000"}},
    {8, {"1,622,000", "1,623,999", "972,000"}},
    {1253, {"6,600,000", "9,999,999", "給与等の金額"}},
    {1254, {"", "", "に90%を乗じて"}},
    {1255, {"", "", " 1,200,000 円"}},
    {1256, {"", "", "を引いた金額"}},
    {1257, {"10,000,000以上", "", "給与等の金額"}},
    {1258, {"", "", "に95%を乗じて"}},
    {1259, {"", "", " 1,700,000 円"}},
    {1260, {"", "", "を引いた金額"}},
}};

constexpr std::array<FixedRow, 7> SpouseFixedRows{{
    {0, {"配偶者の", "合計所得", "配偶者特"}},
    {1, {"以上", "以下", "別控除額"}},
    {9, {"350,000", "379,999", "30,000"}},
    {10, {"380,000", "380,000", "0"}},
    {11, {"380,001", "399,999", "380,000"}},
    {19, {"750,000", "759,999", "30,000"}},
    {20, {"760,000", "以上", "0"}},
}};

// Rows 9..1252 step through 1,624,000..6,599,999 in bands of 4,000 yen, the
// rounding unit of the salary income rule there.
constexpr int SalaryStepFirstRow = 9;
constexpr int SalaryStepLastRow = 1252;
constexpr std::int32_t SalaryStepStart = 1624000;
constexpr std::int32_t SalaryStep = 4000;

constexpr std::int32_t SpouseStep = 50000;

template <std::size_t N>
const FixedRow *FindRow(const std::array<FixedRow, N> &rows, int row)
{
    const auto it = std::find_if(rows.begin(), rows.end(), [row](const FixedRow &r) { return r.Row == row; });
    return it == rows.end() ? nullptr : &*it;
}

// A generated row: lower bound, upper bound, and the rule's value at the
// lower bound, each with thousands separators.
QString BandCell(std::int32_t from, std::int32_t step, std::int32_t value, int column)
{
    switch (column) {
    case 0: return FormatAmount(from).Text;
    case 1: return FormatAmount(from + step - 1).Text;
    case 2: return FormatAmount(value).Text;
    default: return {};
    }
}

bool InTable(int row, int rows, int column)
{
    return row >= 0 && row < rows && column >= 0 && column < ReferenceTableColumns;
}

} // namespace

QString SalaryTableCell(int row, int column)
{
    if (!InTable(row, SalaryTableRows, column))
        return {};
    if (row >= SalaryStepFirstRow && row <= SalaryStepLastRow) {
        const std::int32_t from = SalaryStepStart + (row - SalaryStepFirstRow) * SalaryStep;
        return BandCell(from, SalaryStep, SalaryIncome(from), column);
    }
    const FixedRow *fixed = FindRow(SalaryFixedRows, row);
    return fixed ? QString::fromUtf8(fixed->Cells[column]) : QString();
}

QString SpouseTableCell(int row, int column)
{
    if (!InTable(row, SpouseTableRows, column))
        return {};
    if (const FixedRow *fixed = FindRow(SpouseFixedRows, row))
        return QString::fromUtf8(fixed->Cells[column]);
    // Rows 2..8 from 0 and rows 12..18 from 400,000, in bands of 50,000 yen.
    const std::int32_t from = row <= 8 ? (row - 2) * SpouseStep : 400000 + (row - 12) * SpouseStep;
    return BandCell(from, SpouseStep, SpouseSpecialDeduction(from), column);
}

} // namespace mivrel
