// The printed captions of the slip, one entry per cell that carries one.

#include "slip/SlipDraw.h"

#include <QStringView>

namespace mivrel {

namespace {

struct CaptionRow {
    std::uint8_t Cell;
    std::uint8_t Placement;
    FontEntry Font;
    std::uint8_t CharsPerLine;  // only the two- and three-line rules read it
    std::uint8_t Margin;
    const char16_t *Text;
};

// Cells missing here have no caption: 2, 23-27, 77-89, 96-100, 109-115,
// 119 and 120. Full-width spaces take a place in the spreading; "( " and
// " )" are half-width pairs that make one unit each.
constexpr CaptionRow CaptionRows[] = {
    {0, SpreadH3, FontMedium, 3, 2, u"支　払を受ける　者"},
    {1, StackV, FontLarge, 0, 0, u"住所又は居所"},
    {3, SpreadV, FontLarge, 0, 10, u"氏名"},
    {4, TopLeft, FontSmall, 0, 1, u"（受給者番号）"},
    {5, TopLeft, FontSmall, 0, 1, u"（フリガナ）"},
    {6, TopLeft, FontSmall, 0, 1, u"（役職名）"},
    {7, SpreadH, FontLarge, 0, 10, u"種別"},
    {8, SpreadH, FontLarge, 0, 10, u"支払金額"},
    {9, SpreadH, FontLarge, 0, 2, u"給与所得控除後の金額"},
    {10, SpreadH, FontLarge, 0, 2, u"所得控除の額の合計額"},
    {11, SpreadH, FontLarge, 0, 5, u"源泉徴収税額"},
    {12, SpreadH, FontLarge, 0, 10, u"給料・賞与"},
    {13, TopRight, FontSmall, 0, 1, u"円"},
    {14, TopRight, FontSmall, 0, 1, u"円"},
    {15, TopRight, FontSmall, 0, 1, u"円"},
    {16, TopRight, FontSmall, 0, 1, u"円"},
    {17, SpreadH2, FontLarge, 7, 5, u"控除対象配偶者の有無等　　　"},
    {18, SpreadH, FontSmall, 0, 1, u"老人"},
    {19, BottomRight, FontSmall, 0, 1, u"有"},
    {20, BottomRight, FontSmall, 0, 1, u"無"},
    {21, SpreadV, FontSmall, 0, 0, u"従有"},
    {22, SpreadV, FontSmall, 0, 0, u"従無"},
    {28, SpreadH2, FontLarge, 5, 2, u"配偶者特別控除の額"},
    {29, TopRight, FontSmall, 0, 1, u"円"},
    {30, SpreadH2, FontMedium, 6, 10, u"扶養親族の数　( 配偶者を除く )　"},
    {31, SpreadH, FontLarge, 0, 5, u"特定"},
    {32, SpreadH, FontLarge, 0, 10, u"老人"},
    {33, SpreadH, FontLarge, 0, 1, u"その他"},
    {34, TopRight, FontSmall, 0, 1, u"人"},
    {35, TopLeft, FontSmall, 0, 1, u"従人"},
    {36, TopLeft, FontSmall, 0, 1, u"内"},
    {37, TopRight, FontSmall, 0, 1, u"人"},
    {38, TopLeft, FontSmall, 0, 1, u"従人"},
    {39, TopLeft, FontSmall, 0, 1, u"人"},
    {40, TopLeft, FontSmall, 0, 1, u"従人"},
    {41, SpreadH2, FontMedium, 5, 2, u"障害者の数( 本人を除く )"},
    {42, SpreadH, FontLarge, 0, 5, u"特別"},
    {43, SpreadH, FontSmall, 0, 0, u"その他"},
    {44, TopLeft, FontSmall, 0, 1, u"内"},
    {45, TopRight, FontSmall, 0, 1, u"人"},
    {46, TopRight, FontSmall, 0, 1, u"人"},
    {47, SpreadH2, FontLarge, 5, 2, u"社会保険料等の金額"},
    {48, SpreadH2, FontLarge, 5, 2, u"生命保険料の控除額"},
    {49, SpreadH2, FontLarge, 5, 2, u"損害保険料の控除額"},
    {50, SpreadH2, FontLarge, 5, 2, u"住宅取得等特別控除"},
    {51, TopRight, FontSmall, 0, 1, u"円"},
    {52, TopRight, FontSmall, 0, 1, u"円"},
    {53, TopRight, FontSmall, 0, 1, u"円"},
    {54, TopRight, FontSmall, 0, 1, u"円"},
    {55, TopLeft, FontSmall, 0, 0, u"（摘要）"},
    {56, SpreadH, FontMedium, 0, 2, u"配偶者の合計所得"},
    {57, SpreadH, FontMedium, 0, 2, u"個人年金保険料の金額"},
    {58, SpreadH, FontMedium, 0, 2, u"長期損害保険料の金額"},
    {59, TopRight, FontSmall, 0, 1, u"円"},
    {60, TopRight, FontSmall, 0, 1, u"円"},
    {61, TopRight, FontSmall, 0, 1, u"円"},
    {62, SpreadV, FontMedium, 0, 1, u"夫あり"},
    {63, SpreadV, FontMedium, 0, 1, u"未成年者"},
    {64, SpreadV, FontMedium, 0, 1, u"乙欄"},
    {65, SpreadH, FontSmall, 0, 1, u"本人が障害者"},
    {66, StackV, FontMedium, 0, 0, u"特別"},
    {67, SpreadV, FontMedium, 0, 0, u"その他"},
    {68, SpreadV, FontMedium, 0, 1, u"老年者"},
    {69, SpreadH, FontMedium, 0, 8, u"寡婦"},
    {70, StackV, FontMedium, 0, 0, u"一般"},
    {71, StackV, FontMedium, 0, 0, u"特別"},
    {72, SpreadV, FontMedium, 0, 1, u"寡夫"},
    {73, SpreadV, FontMedium, 0, 1, u"勤労学生"},
    {74, SpreadV, FontMedium, 0, 1, u"死亡退職"},
    {75, SpreadV, FontMedium, 0, 1, u"災害者"},
    {76, SpreadV, FontMedium, 0, 1, u"外国人"},
    {90, SpreadH, FontLarge, 0, 5, u"中途就・退職"},
    {91, SpreadH, FontMedium, 0, 1, u"就職"},
    {92, SpreadH, FontMedium, 0, 1, u"退職"},
    {93, SpreadH, FontLarge, 0, 0, u"年"},
    {94, SpreadH, FontLarge, 0, 0, u"月"},
    {95, SpreadH, FontLarge, 0, 0, u"日"},
    {101, SpreadH, FontLarge, 0, 15, u"受給者生年月日"},
    {102, SpreadH, FontLarge, 0, 0, u"明"},
    {103, SpreadH, FontLarge, 0, 0, u"大"},
    {104, SpreadH, FontLarge, 0, 0, u"昭"},
    {105, SpreadH, FontLarge, 0, 0, u"平"},
    {106, SpreadH, FontLarge, 0, 0, u"年"},
    {107, SpreadH, FontLarge, 0, 0, u"月"},
    {108, SpreadH, FontLarge, 0, 0, u"日"},
    {116, SpreadV, FontLarge, 0, 5, u"支払者"},
    {117, SpreadH2, FontLarge, 6, 2, u"住所（居所）又は所在地"},
    {118, SpreadH2, FontLarge, 4, 2, u"氏名又は名称"},
};

std::array<CellCaption, CellCount> BuildCaptionTable()
{
    std::array<CellCaption, CellCount> table{};
    for (const CaptionRow &row : CaptionRows) {
        table[row.Cell] = {row.Placement, row.Font, row.CharsPerLine, row.Margin,
                           QStringView(row.Text).toString()};
    }
    return table;
}

} // namespace

const CellCaption &CaptionOf(std::uint8_t cell)
{
    static const std::array<CellCaption, CellCount> table = BuildCaptionTable();
    static const CellCaption none;
    return cell < table.size() ? table[cell] : none;
}

} // namespace mivrel
