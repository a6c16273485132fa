#include "Kojochk/KojoRules.h"

#include "Verify/TaxRules.h"

namespace mivrel {
namespace {

// Amounts enter every rule through FormatAmount, so a blank one counts as 0.
std::int32_t AmountOf(const TKyuho &slip, Slot::Amount slot)
{
    return FormatAmount(slip.amounts[slot]).Number;
}

// Dependant and disabled counts: a blank one counts as 0.
std::uint8_t CountOf(const TKyuho &slip, Slot::Count slot)
{
    return CountOrZero(slip.counts[slot]);
}

bool Marked(const TKyuho &slip, Slot::Mark slot)
{
    return slip.marks[slot] == 1;
}

void AddIf(QStringList &lines, bool condition, const QString &sentence)
{
    if (condition)
        lines << sentence;
}

QStringList OrNormal(QStringList findings)
{
    if (findings.isEmpty())
        findings << KojoNormalSentence;
    return findings;
}

// D: the deductible spouse (有) plus the specified, elderly and other
// dependants, summed as a byte the way the slip's counts are held.
std::uint8_t DependantTotal(const TKyuho &slip)
{
    std::uint32_t total = Marked(slip, Slot::SpouseYes) ? 1u : 0u;
    total += CountOf(slip, Slot::Specified);
    total += CountOf(slip, Slot::Elderly);
    total += CountOf(slip, Slot::OtherDependants);
    return static_cast<std::uint8_t>(total & 0xFFu);
}

// H: specially disabled plus other disabled dependants.
std::int32_t DisabledTotal(const TKyuho &slip)
{
    return std::int32_t{CountOf(slip, Slot::SpecialDisabled)} + CountOf(slip, Slot::OtherDisabled);
}

// Under 65 on 31 December Heisei 8 means born after 1 January Showa 7 (a year
// of age is completed the day before the birthday). Reads the raw birth
// counts, so a blank year (255) under Showa counts as late.
bool BornAfterShowa7Jan1(const TKyuho &slip)
{
    if (Marked(slip, Slot::Heisei))
        return true;
    if (!Marked(slip, Slot::Showa))
        return false;
    const std::uint8_t year = slip.counts[Slot::BirthYear];
    const std::uint8_t month = slip.counts[Slot::BirthMonth];
    const std::uint8_t day = slip.counts[Slot::BirthDay];
    return year > 6 && !(year == 7 && month == 1 && day == 1);
}

int MarkedEraCount(const TKyuho &slip)
{
    int n = 0;
    for (Slot::Mark era : {Slot::Meiji, Slot::Taisho, Slot::Showa, Slot::Heisei})
        n += Marked(slip, era) ? 1 : 0;
    return n;
}

QString SalaryVerdict(const TKyuho &slip, std::int32_t computedIncome)
{
    if (AmountOf(slip, Slot::SalaryIncome) == computedIncome)
        return KojoNormalSentence;
    return QStringLiteral("  給与所得の算出値と入力値が一致しません．表の段ずれ等の誤りがある可能性があります．");
}

// The three rules on the spouse's total income speak only when that income
// was entered: for a blank one (no spouse) they would report on every slip.
void AddSpouseIncomeFindings(QStringList &lines, const TKyuho &slip, std::int32_t computedDeduction)
{
    const AmountLine spouseIncome = FormatAmount(slip.amounts[Slot::SpouseIncome]);
    if (spouseIncome.Text.isEmpty())
        return;
    const bool spouseYes = Marked(slip, Slot::SpouseYes);
    AddIf(lines, computedDeduction != AmountOf(slip, Slot::SpouseSpecial),
          QStringLiteral("  配偶者特別控除が計算値と入力値で異なります．計算間違い，または配偶者の合計所得が正しくない可能性があります."));
    AddIf(lines, spouseYes && spouseIncome.Number > 380000,
          QStringLiteral("  配偶者の合計所得が扶養限度額を超えています．控除対象配偶者は’無’の可能性があります．"));
    AddIf(lines, !spouseYes && spouseIncome.Number < 380001,
          QStringLiteral("  配偶者の合計所得が扶養限度額を超えてません．控除対象配偶者は’有’の可能性があります．"));
}

QStringList SpouseFindings(const TKyuho &slip, std::int32_t computedDeduction)
{
    QStringList lines;
    AddSpouseIncomeFindings(lines, slip, computedDeduction);
    const bool spouseYes = Marked(slip, Slot::SpouseYes);
    AddIf(lines, spouseYes && Marked(slip, Slot::SpouseNo),
          QStringLiteral("  控除対象配偶者が’有’と’無’のどちらか不明です．"));
    AddIf(lines, !spouseYes && Marked(slip, Slot::SpouseElderly),
          QStringLiteral("  控除対象配偶者が老人の場合’有’にも印を付けます．なお，老人控除対象配偶者は昭和２年１月１日以前に生まれた人をいいます．"));
    return OrNormal(lines);
}

QStringList DependantFindings(const TKyuho &slip)
{
    QStringList lines;
    AddIf(lines, CountOf(slip, Slot::Elderly) < CountOf(slip, Slot::ElderlyLivingWith),
          QStringLiteral("  老人の’内’は，老人扶養の内の同居老親の人数を表わしています．老人扶養の人数(’人’)より同居老親の人数(’内’)が多いのは正しくありません．"));
    AddIf(lines, CountOf(slip, Slot::SpecialDisabled) < CountOf(slip, Slot::SpecialDisabledLivingWith),
          QStringLiteral("  特別障害の’内’は，特別障害者の内の同居の人数を表わしています．特別障害者の人数(’人’)より同居特別障害者の人数(’内’)が多いのは正しくありません．"));
    AddIf(lines, std::int32_t{DependantTotal(slip)} < DisabledTotal(slip),
          QStringLiteral("  特別障害とその他障害の人数は，扶養者の人数の内の障害者の人数を表わしています．扶養の合計の人数(控除対象配偶者を含む)より障害者の合計の人数が多いのは正しくありません．"));
    return OrNormal(lines);
}

// L is the life insurance deduction as entered, P the pension premiums paid,
// N the non-life deduction, T the long-term premiums paid. The general and
// short-term parts are found by subtraction, in 64 bits so that no entered
// amount can overflow them.
QStringList InsuranceFindings(const TKyuho &slip, std::int32_t pd, std::int32_t ld)
{
    const std::int32_t l = AmountOf(slip, Slot::LifeInsurance);
    const std::int32_t p = AmountOf(slip, Slot::PensionPremiums);
    const std::int32_t n = AmountOf(slip, Slot::NonLifeInsurance);
    const std::int64_t generalPart = std::int64_t{l} - pd;
    const std::int64_t shortTermPart = std::int64_t{n} - ld;

    QStringList lines;
    AddIf(lines, l > 100000, QStringLiteral("  生命保険料の控除額が上限の100,000円を超えています．"));
    AddIf(lines, l < pd, QStringLiteral("  生命保険料の控除額が個人年金保険料で計算した控除額以下です．"));
    if (generalPart > 50000) {
        if (p == 50000 && l == 100000)
            lines << QStringLiteral("  ’個人年金保険料の金額’の項目は支払い金額を記入します．この項目にある50,000円は控除額である可能性があります．");
        else
            lines << QStringLiteral("  個人年金保険料から逆算して求めた一般の生命保険料の控除額が、上限の50,000円を超えています．");
    }
    AddIf(lines, n > 15000, QStringLiteral("  損害保険料の控除額が上限の15,000円を超えています．"));
    AddIf(lines, n < ld, QStringLiteral("  損害保険料の控除額が長期損害保険料で計算した控除額以下です．"));
    AddIf(lines, shortTermPart > 3000,
          QStringLiteral("  長期損害保険料から逆算して求めた短期損害保険料の控除額が、上限の3,000円を超えています．"));
    return OrNormal(lines);
}

QStringList PersonalFindings(const TKyuho &slip)
{
    const std::int32_t income = AmountOf(slip, Slot::SalaryIncome);
    const std::uint8_t dependants = DependantTotal(slip);
    const bool aged = Marked(slip, Slot::Aged);
    const bool widowGeneral = Marked(slip, Slot::WidowGeneral);
    const bool widowSpecial = Marked(slip, Slot::WidowSpecial);
    const bool widower = Marked(slip, Slot::Widower);

    QStringList lines;
    AddIf(lines, Marked(slip, Slot::SelfSpecialDisabled) && Marked(slip, Slot::SelfOtherDisabled),
          QStringLiteral("  本人の障害が’特別障害者’か’その他障害者’のどちらかわかりません．"));
    AddIf(lines, aged && income > 10000000,
          QStringLiteral("  本人の給与所得が老年者の所得上限額の10,000,000円を超えています．"));
    AddIf(lines, aged && BornAfterShowa7Jan1(slip),
          QStringLiteral("  本人の年齢が平成８年１２月３１日時点で６５歳未満です．老年者にあたりません．"));
    AddIf(lines, widowGeneral && widowSpecial,
          QStringLiteral("  本人が’一般の寡婦’か’特別寡婦’のどちらかわかりません．"));
    AddIf(lines, widowGeneral && income > 5000000 && dependants == 0,
          QStringLiteral("  扶養親族又は生計を一にする子がいない場合は合計所得が5,000,000円以下でないと寡婦になりません．"));
    AddIf(lines, widowSpecial && income > 5000000,
          QStringLiteral("  本人の給与所得が特別寡婦の所得上限額の5,000,000円を超えています．"));
    AddIf(lines, widower && income > 5000000,
          QStringLiteral("  本人の給与所得が寡夫の所得上限額の5,000,000円を超えています．"));
    AddIf(lines, widower && dependants == 0,
          QStringLiteral("  (扶養親族が０のため)生計を一にする子がいない場合は寡夫になりません．"));
    AddIf(lines, Marked(slip, Slot::WorkingStudent) && income > 650000,
          QStringLiteral("  本人の給与所得が勤労学生の所得上限額の650,000円を超えています．"));
    AddIf(lines, MarkedEraCount(slip) != 1, QStringLiteral("  本人の生年月日が正しくありません．"));
    return OrNormal(lines);
}

} // namespace

KojoInspection InspectDeductions(const TKyuho &slip)
{
    KojoInspection result;
    result.SalaryIncome = SalaryIncome(AmountOf(slip, Slot::SalaryPaid));
    result.SpouseSpecialDeduction = SpouseSpecialDeduction(AmountOf(slip, Slot::SpouseIncome));
    result.PensionDeduction = InsurancePremiumDeduction(AmountOf(slip, Slot::PensionPremiums));
    result.LongTermDeduction = LongTermNonLifeDeduction(AmountOf(slip, Slot::LongTermPremiums));

    result.SalaryVerdict = SalaryVerdict(slip, result.SalaryIncome);
    result.SpouseLines = SpouseFindings(slip, result.SpouseSpecialDeduction);
    result.DependantLines = DependantFindings(slip);
    result.InsuranceLines = InsuranceFindings(slip, result.PensionDeduction, result.LongTermDeduction);
    result.PersonalLines = PersonalFindings(slip);
    return result;
}

QString KojoMessageText(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

} // namespace mivrel
