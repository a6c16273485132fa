#pragma once
// The slip record: everything typed from one withholding tax slip, the table
// that maps each of the slip's 121 cells to a value slot, and the conversions
// between a slot and the text of the in-place editor.

#include <QString>

#include <array>
#include <cstdint>

namespace mivrel {

enum class CellKind : std::uint8_t { None = 0, Text = 1, Amount = 2, Count = 3, Mark = 4 };

inline constexpr std::uint8_t CellCount = 121;   // cells 0..120
inline constexpr std::uint8_t NoCell = 121;      // "no cell selected"
inline constexpr std::int32_t BlankAmount = -1;
inline constexpr std::uint8_t BlankCount = 255;
inline constexpr std::uint8_t FirstInputCell = 2;
inline constexpr std::uint8_t LastInputCell = 120;

// One slip. Blank values: empty text, amount -1, count 255, mark 0.
struct TKyuho {
    std::array<QString, 8> texts;
    std::array<std::int32_t, 13> amounts{};
    std::array<std::uint8_t, 16> counts{};
    std::array<std::uint8_t, 24> marks{};
    bool operator==(const TKyuho &) const = default;
};

// Slot numbers of the record, named after the slip item they hold.
namespace Slot {
enum Text : std::uint8_t { Address = 0, RecipientNumber = 1, Kana = 2, Name = 3, PayerAddress = 5, PayerName = 6 };
enum Amount : std::uint8_t {
    SalaryPaid = 0, SalaryIncome = 1, DeductionTotal = 2, TaxWithheld = 3, SpouseSpecial = 4,
    SocialInsurance = 5, LifeInsurance = 7, NonLifeInsurance = 8, HousingCredit = 9,
    SpouseIncome = 10, PensionPremiums = 11, LongTermPremiums = 12
};
enum Count : std::uint8_t {
    Specified = 0, ElderlyLivingWith = 2, Elderly = 3, OtherDependants = 5,
    SpecialDisabledLivingWith = 7, SpecialDisabled = 8, OtherDisabled = 9,
    MidYear = 10, MidMonth = 11, MidDay = 12, BirthYear = 13, BirthMonth = 14, BirthDay = 15
};
enum Mark : std::uint8_t {
    SpouseYes = 0, SpouseNo = 1, SpouseElderly = 4, Husband = 5, Minor = 6, ColumnB = 7,
    SelfSpecialDisabled = 8, SelfOtherDisabled = 9, Aged = 10, WidowGeneral = 11, WidowSpecial = 12,
    Widower = 13, WorkingStudent = 14, RetiredByDeath = 15, DisasterVictim = 16, Foreigner = 17,
    Joined = 18, Left = 19, Meiji = 20, Taisho = 21, Showa = 22, Heisei = 23
};
} // namespace Slot

// The kind of a cell and the slot of the record that holds its value.
struct CellSlot {
    CellKind Kind = CellKind::None;
    std::uint8_t Slot = 0;
    bool operator==(const CellSlot &) const = default;
};

// Cell number (0..121) -> kind and slot; kind None has no slot (Slot 0).
CellSlot LookupCell(std::uint8_t cell);
bool IsInputCell(std::uint8_t cell);

// What a reader of the paper slip calls an input cell's box: its printed
// caption with the headings above or beside it ("支払金額",
// "控除対象配偶者の有無等 有", "扶養親族の数 老人 内"). Every input cell has a
// name of its own; a caption cell has none (its words are in the names of the
// boxes it heads), nor has NoCell.
QString CellName(std::uint8_t cell);

// Makes every slot blank.
void ClearSlip(TKyuho &slip);

// Reads an integer the way the editor's amount and count cells do: leading
// spaces, an optional sign or '$' for hexadecimal, then digits up to the
// first other character. Full-width digits, spaces and signs count as their
// ASCII forms, and a comma between two digits is passed over (1,200 reads
// 1200). Never fails; see Kyuho.cpp for the exact rule.
std::int32_t ReadInteger(const QString &text);
// How many characters of the text are digits, ASCII or full-width.
qsizetype CountDigits(QStringView text);

// Stores the editor's text into the cell's slot (nothing for caption cells).
void SetCellText(TKyuho &slip, std::uint8_t cell, const QString &text);
// The editor text of the cell's slot; for a caption cell, `current` unchanged.
QString GetCellText(const TKyuho &slip, std::uint8_t cell, const QString &current = {});

// 0 for a blank count, else the count.
std::uint8_t CountOrZero(std::uint8_t count);

// A value to add into a total, and the text that shows it.
struct AmountLine {
    std::int32_t Number = 0;
    QString Text;
    bool operator==(const AmountLine &) const = default;
};
// Whole yen with Japanese thousands separators; a blank amount gives 0 and "".
AmountLine FormatAmount(std::int32_t amount);
// The same grouping for a 64-bit figure, whatever the system locale.
QString GroupedNumber(std::int64_t value);

// The fictitious slip shown at start-up.
void FillSampleSlip(TKyuho &slip);

} // namespace mivrel
