#include "Verify/Kyuho.h"

#include <QLocale>
#include <QStringView>

#include <algorithm>
#include <iterator>
#include <span>

namespace mivrel {
namespace {

// Cell number of each slot, per kind, in slot order. Slots without an input
// cell repeat the cell before them or name a box of kind None, so the
// first-match lookup below never reaches them.
constexpr std::array<std::uint8_t, 8> TextCells{2, 4, 5, 6, 6, 119, 120, 120};
constexpr std::array<std::uint8_t, 13> AmountCells{13, 14, 15, 16, 29, 51, 51, 52, 53, 54, 59, 60, 61};
constexpr std::array<std::uint8_t, 16> CountCells{34, 35, 36, 37, 38, 39, 40, 44,
                                                  45, 46, 98, 99, 100, 113, 114, 115};
constexpr std::array<std::uint8_t, 24> MarkCells{23, 24, 25, 26, 27, 77, 78, 79, 80, 81, 82, 83,
                                                 84, 85, 86, 87, 88, 89, 96, 97, 109, 110, 111, 112};

constexpr std::array<CellKind, 122> MakeCellKindTable()
{
    std::array<CellKind, 122> table{};
    for (std::uint8_t c : {2, 4, 5, 6, 119, 120})
        table[c] = CellKind::Text;
    for (std::uint8_t c : {13, 14, 15, 16, 29, 51, 52, 53, 54, 59, 60, 61})
        table[c] = CellKind::Amount;
    for (std::uint8_t c : {34, 36, 37, 39, 44, 45, 46, 98, 99, 100, 113, 114, 115})
        table[c] = CellKind::Count;
    for (std::uint8_t c : {23, 24, 27, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89,
                           96, 97, 109, 110, 111, 112})
        table[c] = CellKind::Mark;
    return table;
}
constexpr std::array<CellKind, 122> CellKindTable = MakeCellKindTable();

// The name of each input cell, in cell order.
struct CellNameRow {
    std::uint8_t Cell;
    QStringView Name;
};
constexpr CellNameRow CellNames[] = {
    {2, u"支払を受ける者 住所又は居所"},
    {4, u"支払を受ける者 受給者番号"},
    {5, u"支払を受ける者 フリガナ"},
    {6, u"支払を受ける者 氏名"},
    {13, u"支払金額"},
    {14, u"給与所得控除後の金額"},
    {15, u"所得控除の額の合計額"},
    {16, u"源泉徴収税額"},
    {23, u"控除対象配偶者の有無等 有"},
    {24, u"控除対象配偶者の有無等 無"},
    {27, u"控除対象配偶者の有無等 老人"},
    {29, u"配偶者特別控除の額"},
    {34, u"扶養親族の数 特定 人"},
    {36, u"扶養親族の数 老人 内"},
    {37, u"扶養親族の数 老人 人"},
    {39, u"扶養親族の数 その他 人"},
    {44, u"障害者の数 特別 内"},
    {45, u"障害者の数 特別 人"},
    {46, u"障害者の数 その他 人"},
    {51, u"社会保険料等の金額"},
    {52, u"生命保険料の控除額"},
    {53, u"損害保険料の控除額"},
    {54, u"住宅取得等特別控除"},
    {59, u"配偶者の合計所得"},
    {60, u"個人年金保険料の金額"},
    {61, u"長期損害保険料の金額"},
    {77, u"夫あり"},
    {78, u"未成年者"},
    {79, u"乙欄"},
    {80, u"本人が障害者 特別"},
    {81, u"本人が障害者 その他"},
    {82, u"老年者"},
    {83, u"寡婦 一般"},
    {84, u"寡婦 特別"},
    {85, u"寡夫"},
    {86, u"勤労学生"},
    {87, u"死亡退職"},
    {88, u"災害者"},
    {89, u"外国人"},
    {96, u"中途就・退職 就職"},
    {97, u"中途就・退職 退職"},
    {98, u"中途就・退職 年"},
    {99, u"中途就・退職 月"},
    {100, u"中途就・退職 日"},
    {109, u"受給者生年月日 明"},
    {110, u"受給者生年月日 大"},
    {111, u"受給者生年月日 昭"},
    {112, u"受給者生年月日 平"},
    {113, u"受給者生年月日 年"},
    {114, u"受給者生年月日 月"},
    {115, u"受給者生年月日 日"},
    {119, u"支払者 住所（居所）又は所在地"},
    {120, u"支払者 氏名又は名称"},
};

std::span<const std::uint8_t> CellsOfKind(CellKind kind)
{
    switch (kind) {
    case CellKind::Text: return TextCells;
    case CellKind::Amount: return AmountCells;
    case CellKind::Count: return CountCells;
    case CellKind::Mark: return MarkCells;
    case CellKind::None: break;
    }
    return {};
}

const QString MarkText = QStringLiteral("○");

// A digit as typed: ASCII, or full-width as an input method gives it; -1 for
// any other character.
int DecimalDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'\uFF10' && u <= u'\uFF19') return u - u'\uFF10';  // ０..９
    return -1;
}

bool IsLeadingSpace(QChar c)
{
    return c == u' ' || c == u'\u3000';  // the ideographic space too
}

// Signs as typed: ASCII, full-width (＋ －) and the minus sign U+2212.
bool IsPlus(QChar c)
{
    return c == u'+' || c == u'\uFF0B';
}

bool IsMinus(QChar c)
{
    return c == u'-' || c == u'\uFF0D' || c == u'\u2212';
}

// A comma that groups digits, as amounts are printed (1,200 or １，２００): it
// counts only between two digits.
bool IsGroupComma(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    return (c == u',' || c == u'\uFF0C') && i > 0 && i + 1 < text.size()
        && DecimalDigit(text[i - 1]) >= 0 && DecimalDigit(text[i + 1]) >= 0;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

} // namespace

CellSlot LookupCell(std::uint8_t cell)
{
    if (cell >= CellKindTable.size())
        return {};
    const CellKind kind = CellKindTable[cell];
    const auto cells = CellsOfKind(kind);
    const auto it = std::find(cells.begin(), cells.end(), cell);
    if (it == cells.end())
        return {};
    return {kind, static_cast<std::uint8_t>(it - cells.begin())};
}

bool IsInputCell(std::uint8_t cell)
{
    return LookupCell(cell).Kind != CellKind::None;
}

QString CellName(std::uint8_t cell)
{
    const auto *row = std::find_if(std::begin(CellNames), std::end(CellNames),
                                   [cell](const CellNameRow &r) { return r.Cell == cell; });
    return row == std::end(CellNames) ? QString() : row->Name.toString();
}

void ClearSlip(TKyuho &slip)
{
    for (QString &t : slip.texts)
        t.clear();
    slip.amounts.fill(BlankAmount);
    slip.counts.fill(BlankCount);
    slip.marks.fill(0);
}

// The value is gathered in 32 unsigned bits so that no step can overflow; the
// final conversion to signed is modular, which gives the two ten-digit strings
// 2147483648 and 2147483649 their 32-bit pattern. Decimal reading stops, as
// at a bad character, when the value already exceeds 214,748,364 before the
// next digit (hexadecimal: 0x0FFFFFFF), and a minus sign counts only when
// every character was read. Full-width digits and signs read as their ASCII
// forms, and a comma between two digits is passed over, so that an amount
// typed through an input method or as the slip prints it reads as meant.
std::int32_t ReadInteger(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsLeadingSpace(text[i]))
        ++i;
    std::uint32_t value = 0;
    bool negative = false;
    if (i < n && text[i] == u'$') {
        for (++i; i < n; ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0 || value > 0x0FFFFFFFu)
                break;
            value = value * 16u + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(value);
    }
    if (i < n && (IsMinus(text[i]) || IsPlus(text[i]))) {
        negative = IsMinus(text[i]);
        ++i;
    }
    for (; i < n; ++i) {
        if (IsGroupComma(text, i))
            continue;
        const int d = DecimalDigit(text[i]);
        if (d < 0 || value > 214748364u)
            break;
        value = value * 10u + static_cast<std::uint32_t>(d);
    }
    if (negative && i == n)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

qsizetype CountDigits(QStringView text)
{
    return std::count_if(text.begin(), text.end(), [](QChar c) { return DecimalDigit(c) >= 0; });
}

void SetCellText(TKyuho &slip, std::uint8_t cell, const QString &text)
{
    const CellSlot where = LookupCell(cell);
    switch (where.Kind) {
    case CellKind::Text:
        slip.texts[where.Slot] = text;
        break;
    case CellKind::Amount:
        slip.amounts[where.Slot] = text.isEmpty() ? BlankAmount : ReadInteger(text);
        break;
    case CellKind::Count:
        slip.counts[where.Slot] = text.isEmpty()
            ? BlankCount
            : static_cast<std::uint8_t>(static_cast<std::uint32_t>(ReadInteger(text)) & 0xFFu);
        break;
    case CellKind::Mark:
        slip.marks[where.Slot] = text == MarkText ? 1 : 0;
        break;
    case CellKind::None:
        break;
    }
}

QString GetCellText(const TKyuho &slip, std::uint8_t cell, const QString &current)
{
    const CellSlot where = LookupCell(cell);
    switch (where.Kind) {
    case CellKind::Text:
        return slip.texts[where.Slot];
    case CellKind::Amount: {
        const std::int32_t v = slip.amounts[where.Slot];
        return v == BlankAmount ? QString() : QString::number(v);
    }
    case CellKind::Count: {
        const std::uint8_t v = slip.counts[where.Slot];
        return v == BlankCount ? QString() : QString::number(v);
    }
    case CellKind::Mark:
        return slip.marks[where.Slot] == 1 ? MarkText : QString();
    case CellKind::None:
        break;
    }
    return current;
}

std::uint8_t CountOrZero(std::uint8_t count)
{
    return count == BlankCount ? 0 : count;
}

QString GroupedNumber(std::int64_t value)
{
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    return japanese.toString(static_cast<qint64>(value));
}

AmountLine FormatAmount(std::int32_t amount)
{
    if (amount == BlankAmount)
        return {};
    return {amount, GroupedNumber(amount)};
}

void FillSampleSlip(TKyuho &slip)
{
    slip.texts[Slot::Address] = QStringLiteral("東京都架空区見本町１－２\nサンプルハイツ４５６号");
    slip.texts[Slot::RecipientNumber] = QStringLiteral("0000-1234");
    slip.texts[Slot::Kana] = QStringLiteral("ミホン　タロウ");
    slip.texts[Slot::Name] = QStringLiteral("見本　太郎");
    slip.texts[Slot::PayerAddress] = QStringLiteral("東京都架空区例示町９－８－７");
    slip.texts[Slot::PayerName] = QStringLiteral("株式会社　架空見本商事");

    slip.amounts[Slot::SalaryPaid] = 6898700;
    slip.amounts[Slot::SalaryIncome] = 5008830;
    slip.amounts[Slot::DeductionTotal] = 2384630;
    slip.amounts[Slot::TaxWithheld] = 151600;
    slip.amounts[Slot::SpouseSpecial] = 80000;
    slip.amounts[Slot::SocialInsurance] = 692430;
    slip.amounts[Slot::LifeInsurance] = 78000;
    slip.amounts[Slot::NonLifeInsurance] = 14200;
    slip.amounts[Slot::HousingCredit] = 84000;
    slip.amounts[Slot::SpouseIncome] = 300000;
    slip.amounts[Slot::PensionPremiums] = 84000;
    slip.amounts[Slot::LongTermPremiums] = 18400;

    slip.counts[Slot::OtherDependants] = 2;
    slip.counts[Slot::BirthYear] = 32;
    slip.counts[Slot::BirthMonth] = 1;
    slip.counts[Slot::BirthDay] = 1;

    slip.marks[Slot::SpouseYes] = 1;
    slip.marks[Slot::Showa] = 1;
}

} // namespace mivrel
