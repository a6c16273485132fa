#pragma once
// The two reference tables of the inspection dialog: the salary income table
// (給与所得控除後の給与等の金額の表) and the quick table of the spouse special
// deduction (配偶者特別控除の早見表). Each cell text is computed on request
// from constants and the tax rules; rows 0 and 1 are the two header rows.

#include <QString>

namespace mivrel {

inline constexpr int ReferenceTableColumns = 3;
inline constexpr int ReferenceTableHeaderRows = 2;
inline constexpr int SalaryTableRows = 1261;
inline constexpr int SpouseTableRows = 21;

// The text of one cell; empty for a cell the table leaves blank and for a
// row or column outside the table.
QString SalaryTableCell(int row, int column);
QString SpouseTableCell(int row, int column);

} // namespace mivrel
