// The deduction inspection rules: computed values and the findings of each
// tab, on slips built from a blank one.

#include "Kojochk/KojoRules.h"
#include "Verify/Kyuho.h"

#include <QtTest>

#include <cstdint>
#include <limits>

Q_DECLARE_METATYPE(mivrel::TKyuho)

using namespace mivrel;

namespace {

// A blank slip with the given values filled in.
struct SlipBuilder {
    TKyuho Slip;
    SlipBuilder() { ClearSlip(Slip); }
    SlipBuilder &Amount(Slot::Amount slot, std::int32_t value) { Slip.amounts[slot] = value; return *this; }
    SlipBuilder &Count(Slot::Count slot, std::uint8_t value) { Slip.counts[slot] = value; return *this; }
    SlipBuilder &Mark(Slot::Mark slot) { Slip.marks[slot] = 1; return *this; }
    SlipBuilder &Birth(Slot::Mark era, std::uint8_t year, std::uint8_t month, std::uint8_t day)
    {
        return Mark(era).Count(Slot::BirthYear, year).Count(Slot::BirthMonth, month).Count(Slot::BirthDay, day);
    }
    operator TKyuho() const { return Slip; }
};

// A slip whose birth date alone is valid, so the personal tab has no finding of its own.
SlipBuilder Person() { return SlipBuilder().Birth(Slot::Showa, 32, 1, 1); }

const QString Normal = QStringLiteral("検査結果は正常です．");

const QString SalaryMismatch = QStringLiteral("  給与所得の算出値と入力値が一致しません．表の段ずれ等の誤りがある可能性があります．");

const QString SpouseDeductionDiffers = QStringLiteral("  配偶者特別控除が計算値と入力値で異なります．計算間違い，または配偶者の合計所得が正しくない可能性があります.");
const QString SpouseOverLimit = QStringLiteral("  配偶者の合計所得が扶養限度額を超えています．控除対象配偶者は’無’の可能性があります．");
const QString SpouseUnderLimit = QStringLiteral("  配偶者の合計所得が扶養限度額を超えてません．控除対象配偶者は’有’の可能性があります．");
const QString SpouseYesAndNo = QStringLiteral("  控除対象配偶者が’有’と’無’のどちらか不明です．");
const QString ElderlySpouseWithoutYes = QStringLiteral("  控除対象配偶者が老人の場合’有’にも印を付けます．なお，老人控除対象配偶者は昭和２年１月１日以前に生まれた人をいいます．");

const QString ElderlyLivingWithOver = QStringLiteral("  老人の’内’は，老人扶養の内の同居老親の人数を表わしています．老人扶養の人数(’人’)より同居老親の人数(’内’)が多いのは正しくありません．");
const QString SpecialLivingWithOver = QStringLiteral("  特別障害の’内’は，特別障害者の内の同居の人数を表わしています．特別障害者の人数(’人’)より同居特別障害者の人数(’内’)が多いのは正しくありません．");
const QString DisabledOverDependants = QStringLiteral("  特別障害とその他障害の人数は，扶養者の人数の内の障害者の人数を表わしています．扶養の合計の人数(控除対象配偶者を含む)より障害者の合計の人数が多いのは正しくありません．");

const QString LifeOverCap = QStringLiteral("  生命保険料の控除額が上限の100,000円を超えています．");
const QString LifeUnderPension = QStringLiteral("  生命保険料の控除額が個人年金保険料で計算した控除額以下です．");
const QString PensionFieldHoldsDeduction = QStringLiteral("  ’個人年金保険料の金額’の項目は支払い金額を記入します．この項目にある50,000円は控除額である可能性があります．");
const QString GeneralLifeOverCap = QStringLiteral("  個人年金保険料から逆算して求めた一般の生命保険料の控除額が、上限の50,000円を超えています．");
const QString NonLifeOverCap = QStringLiteral("  損害保険料の控除額が上限の15,000円を超えています．");
const QString NonLifeUnderLongTerm = QStringLiteral("  損害保険料の控除額が長期損害保険料で計算した控除額以下です．");
const QString ShortTermOverCap = QStringLiteral("  長期損害保険料から逆算して求めた短期損害保険料の控除額が、上限の3,000円を超えています．");

const QString SelfDisabledBoth = QStringLiteral("  本人の障害が’特別障害者’か’その他障害者’のどちらかわかりません．");
const QString AgedIncomeOver = QStringLiteral("  本人の給与所得が老年者の所得上限額の10,000,000円を超えています．");
const QString AgedTooYoung = QStringLiteral("  本人の年齢が平成８年１２月３１日時点で６５歳未満です．老年者にあたりません．");
const QString WidowBoth = QStringLiteral("  本人が’一般の寡婦’か’特別寡婦’のどちらかわかりません．");
const QString WidowNoDependants = QStringLiteral("  扶養親族又は生計を一にする子がいない場合は合計所得が5,000,000円以下でないと寡婦になりません．");
const QString SpecialWidowIncomeOver = QStringLiteral("  本人の給与所得が特別寡婦の所得上限額の5,000,000円を超えています．");
const QString WidowerIncomeOver = QStringLiteral("  本人の給与所得が寡夫の所得上限額の5,000,000円を超えています．");
const QString WidowerNoChild = QStringLiteral("  (扶養親族が０のため)生計を一にする子がいない場合は寡夫になりません．");
const QString StudentIncomeOver = QStringLiteral("  本人の給与所得が勤労学生の所得上限額の650,000円を超えています．");
const QString BirthDateWrong = QStringLiteral("  本人の生年月日が正しくありません．");

} // namespace

class TestKojoRules : public QObject {
    Q_OBJECT
private slots:
    void computedValues_data();
    void computedValues();
    void salaryVerdict_data();
    void salaryVerdict();
    void spouseTab_data();
    void spouseTab();
    void dependantsTab_data();
    void dependantsTab();
    void insuranceTab_data();
    void insuranceTab();
    void personalTab_data();
    void personalTab();
    void sampleSlipIsConsistent();
};

void TestKojoRules::computedValues_data()
{
    QTest::addColumn<TKyuho>("slip");
    QTest::addColumn<int>("salaryIncome");
    QTest::addColumn<int>("spouseDeduction");
    QTest::addColumn<int>("pensionDeduction");
    QTest::addColumn<int>("longTermDeduction");

    QTest::newRow("blank slip") << TKyuho(SlipBuilder()) << 0 << 380000 << 0 << 0;
    QTest::newRow("salary 1,624,000") << TKyuho(SlipBuilder().Amount(Slot::SalaryPaid, 1624000))
                                      << 974000 << 380000 << 0 << 0;
    QTest::newRow("spouse income 380,000")
        << TKyuho(SlipBuilder().Amount(Slot::SpouseIncome, 380000)) << 0 << 0 << 0 << 0;
    QTest::newRow("spouse income 380,001")
        << TKyuho(SlipBuilder().Amount(Slot::SpouseIncome, 380001)) << 0 << 380000 << 0 << 0;
    QTest::newRow("pension 50,000, long-term 20,000")
        << TKyuho(SlipBuilder().Amount(Slot::PensionPremiums, 50000).Amount(Slot::LongTermPremiums, 20000))
        << 0 << 380000 << 37500 << 15000;
    QTest::newRow("entered deductions do not feed the computed ones")
        << TKyuho(SlipBuilder().Amount(Slot::LifeInsurance, 90000).Amount(Slot::NonLifeInsurance, 9000)
                      .Amount(Slot::SalaryIncome, 123))
        << 0 << 380000 << 0 << 0;
}

void TestKojoRules::computedValues()
{
    QFETCH(TKyuho, slip);
    const KojoInspection r = InspectDeductions(slip);
    QTEST(r.SalaryIncome, "salaryIncome");
    QTEST(r.SpouseSpecialDeduction, "spouseDeduction");
    QTEST(r.PensionDeduction, "pensionDeduction");
    QTEST(r.LongTermDeduction, "longTermDeduction");
}

void TestKojoRules::salaryVerdict_data()
{
    QTest::addColumn<TKyuho>("slip");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("blank slip") << TKyuho(SlipBuilder()) << Normal;
    QTest::newRow("974,000 agrees")
        << TKyuho(SlipBuilder().Amount(Slot::SalaryPaid, 1624000).Amount(Slot::SalaryIncome, 974000)) << Normal;
    QTest::newRow("974,400 disagrees")
        << TKyuho(SlipBuilder().Amount(Slot::SalaryPaid, 1624000).Amount(Slot::SalaryIncome, 974400))
        << SalaryMismatch;
    QTest::newRow("blank income against a salary")
        << TKyuho(SlipBuilder().Amount(Slot::SalaryPaid, 1624000)) << SalaryMismatch;
    QTest::newRow("blank salary, income 0") << TKyuho(SlipBuilder().Amount(Slot::SalaryIncome, 0)) << Normal;
    QTest::newRow("small salary, income 0") << TKyuho(SlipBuilder().Amount(Slot::SalaryPaid, 650999)
                                                      .Amount(Slot::SalaryIncome, 0)) << Normal;
}

void TestKojoRules::salaryVerdict()
{
    QFETCH(TKyuho, slip);
    QTEST(InspectDeductions(slip).SalaryVerdict, "verdict");
}

void TestKojoRules::spouseTab_data()
{
    QTest::addColumn<TKyuho>("slip");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("blank slip") << TKyuho(SlipBuilder()) << QStringList{Normal};
    // Without the spouse's income the three income rules stay silent, even
    // where the blank (0) would contradict the marks and the entered amount.
    QTest::newRow("income blank: no income rule")
        << TKyuho(SlipBuilder().Amount(Slot::SpouseSpecial, 50000)) << QStringList{Normal};
    QTest::newRow("income blank, 有 marked")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes)) << QStringList{Normal};
    QTest::newRow("income 0 entered: rules run")
        << TKyuho(SlipBuilder().Amount(Slot::SpouseIncome, 0))
        << QStringList{SpouseDeductionDiffers, SpouseUnderLimit};
    QTest::newRow("consistent spouse")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Amount(Slot::SpouseIncome, 300000)
                      .Amount(Slot::SpouseSpecial, 80000))
        << QStringList{Normal};
    QTest::newRow("deduction differs")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Amount(Slot::SpouseIncome, 300000)
                      .Amount(Slot::SpouseSpecial, 130000))
        << QStringList{SpouseDeductionDiffers};
    QTest::newRow("380,000 without 有")
        << TKyuho(SlipBuilder().Amount(Slot::SpouseIncome, 380000).Amount(Slot::SpouseSpecial, 0))
        << QStringList{SpouseUnderLimit};
    QTest::newRow("380,000 with 有")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Amount(Slot::SpouseIncome, 380000)
                      .Amount(Slot::SpouseSpecial, 0))
        << QStringList{Normal};
    QTest::newRow("380,001 with 有")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Amount(Slot::SpouseIncome, 380001)
                      .Amount(Slot::SpouseSpecial, 380000))
        << QStringList{SpouseOverLimit};
    QTest::newRow("380,001 without 有")
        << TKyuho(SlipBuilder().Amount(Slot::SpouseIncome, 380001).Amount(Slot::SpouseSpecial, 380000))
        << QStringList{Normal};
    QTest::newRow("有 and 無")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Mark(Slot::SpouseNo)) << QStringList{SpouseYesAndNo};
    QTest::newRow("老人 without 有")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseElderly)) << QStringList{ElderlySpouseWithoutYes};
    QTest::newRow("老人 with 有")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Mark(Slot::SpouseElderly)) << QStringList{Normal};
    QTest::newRow("income rules, then both marks")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Mark(Slot::SpouseNo).Amount(Slot::SpouseIncome, 500000))
        << QStringList{SpouseDeductionDiffers, SpouseOverLimit, SpouseYesAndNo};
    QTest::newRow("under the limit, elderly without 有")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseElderly).Amount(Slot::SpouseIncome, 100000)
                      .Amount(Slot::SpouseSpecial, 280000))
        << QStringList{SpouseUnderLimit, ElderlySpouseWithoutYes};
}

void TestKojoRules::spouseTab()
{
    QFETCH(TKyuho, slip);
    QTEST(InspectDeductions(slip).SpouseLines, "lines");
}

void TestKojoRules::dependantsTab_data()
{
    QTest::addColumn<TKyuho>("slip");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("blank slip") << TKyuho(SlipBuilder()) << QStringList{Normal};
    QTest::newRow("elderly 1, living with 2")
        << TKyuho(SlipBuilder().Count(Slot::Elderly, 1).Count(Slot::ElderlyLivingWith, 2))
        << QStringList{ElderlyLivingWithOver};
    QTest::newRow("elderly 2, living with 2")
        << TKyuho(SlipBuilder().Count(Slot::Elderly, 2).Count(Slot::ElderlyLivingWith, 2)) << QStringList{Normal};
    QTest::newRow("elderly blank, living with 1")
        << TKyuho(SlipBuilder().Count(Slot::ElderlyLivingWith, 1)) << QStringList{ElderlyLivingWithOver};
    QTest::newRow("special 1, living with 2, no dependants")
        << TKyuho(SlipBuilder().Count(Slot::SpecialDisabled, 1).Count(Slot::SpecialDisabledLivingWith, 2))
        << QStringList{SpecialLivingWithOver, DisabledOverDependants};
    QTest::newRow("disabled 1, no dependants")
        << TKyuho(SlipBuilder().Count(Slot::OtherDisabled, 1)) << QStringList{DisabledOverDependants};
    QTest::newRow("the deductible spouse counts as a dependant")
        << TKyuho(SlipBuilder().Mark(Slot::SpouseYes).Count(Slot::SpecialDisabled, 1)) << QStringList{Normal};
    QTest::newRow("disabled 2 of 1 dependant")
        << TKyuho(SlipBuilder().Count(Slot::Specified, 1).Count(Slot::SpecialDisabled, 1)
                      .Count(Slot::OtherDisabled, 1))
        << QStringList{DisabledOverDependants};
    QTest::newRow("disabled 3 of 3 dependants")
        << TKyuho(SlipBuilder().Count(Slot::Specified, 1).Count(Slot::Elderly, 1).Count(Slot::OtherDependants, 1)
                      .Count(Slot::SpecialDisabled, 2).Count(Slot::OtherDisabled, 1))
        << QStringList{Normal};
    // The dependant total is a byte: 200 + 56 wraps to 0.
    QTest::newRow("dependant total wraps to 0")
        << TKyuho(SlipBuilder().Count(Slot::Specified, 200).Count(Slot::OtherDependants, 56)
                      .Count(Slot::OtherDisabled, 1))
        << QStringList{DisabledOverDependants};
    QTest::newRow("all three in order")
        << TKyuho(SlipBuilder().Count(Slot::ElderlyLivingWith, 1).Count(Slot::SpecialDisabledLivingWith, 3)
                      .Count(Slot::SpecialDisabled, 2))
        << QStringList{ElderlyLivingWithOver, SpecialLivingWithOver, DisabledOverDependants};
}

void TestKojoRules::dependantsTab()
{
    QFETCH(TKyuho, slip);
    QTEST(InspectDeductions(slip).DependantLines, "lines");
}

void TestKojoRules::insuranceTab_data()
{
    QTest::addColumn<TKyuho>("slip");
    QTest::addColumn<QStringList>("lines");

    auto life = [](std::int32_t l, std::int32_t p) {
        return TKyuho(SlipBuilder().Amount(Slot::LifeInsurance, l).Amount(Slot::PensionPremiums, p));
    };
    auto nonLife = [](std::int32_t n, std::int32_t t) {
        return TKyuho(SlipBuilder().Amount(Slot::NonLifeInsurance, n).Amount(Slot::LongTermPremiums, t));
    };

    QTest::newRow("blank slip") << TKyuho(SlipBuilder()) << QStringList{Normal};
    QTest::newRow("L 100,000, P 50,000") << life(100000, 50000) << QStringList{PensionFieldHoldsDeduction};
    QTest::newRow("L 100,000, P 40,000") << life(100000, 40000) << QStringList{GeneralLifeOverCap};
    QTest::newRow("L 100,000, P 100,000") << life(100000, 100000) << QStringList{Normal};
    QTest::newRow("L 100,001, P 50,000") << life(100001, 50000) << QStringList{LifeOverCap, GeneralLifeOverCap};
    QTest::newRow("L 50,000, P blank") << TKyuho(SlipBuilder().Amount(Slot::LifeInsurance, 50000))
                                      << QStringList{Normal};
    QTest::newRow("L 50,001, P blank") << TKyuho(SlipBuilder().Amount(Slot::LifeInsurance, 50001))
                                      << QStringList{GeneralLifeOverCap};
    QTest::newRow("L 37,500 = PD") << life(37500, 50000) << QStringList{Normal};
    QTest::newRow("L 37,499 < PD") << life(37499, 50000) << QStringList{LifeUnderPension};
    QTest::newRow("L blank, P 10,000") << TKyuho(SlipBuilder().Amount(Slot::PensionPremiums, 10000))
                                      << QStringList{LifeUnderPension};
    QTest::newRow("N 15,000, T 20,000") << nonLife(15000, 20000) << QStringList{Normal};
    QTest::newRow("N 15,000, T 0") << nonLife(15000, 0) << QStringList{ShortTermOverCap};
    QTest::newRow("N 15,001, T 20,000") << nonLife(15001, 20000) << QStringList{NonLifeOverCap};
    QTest::newRow("N 3,000, T blank") << TKyuho(SlipBuilder().Amount(Slot::NonLifeInsurance, 3000))
                                     << QStringList{Normal};
    QTest::newRow("N 3,001, T blank") << TKyuho(SlipBuilder().Amount(Slot::NonLifeInsurance, 3001))
                                     << QStringList{ShortTermOverCap};
    QTest::newRow("N 10,000, T 20,000") << nonLife(10000, 20000) << QStringList{NonLifeUnderLongTerm};
    QTest::newRow("several in rule order")
        << TKyuho(SlipBuilder().Amount(Slot::LifeInsurance, 100001).Amount(Slot::PensionPremiums, 0)
                      .Amount(Slot::NonLifeInsurance, 20000).Amount(Slot::LongTermPremiums, 0))
        << QStringList{LifeOverCap, GeneralLifeOverCap, NonLifeOverCap, ShortTermOverCap};
    // The most negative amount the editor can store: the subtraction must
    // neither overflow nor wrap into a finding.
    QTest::newRow("L at the bottom of the range")
        << life(std::numeric_limits<std::int32_t>::min(), 100000) << QStringList{LifeUnderPension};
    QTest::newRow("N at the bottom of the range")
        << nonLife(std::numeric_limits<std::int32_t>::min(), 20000) << QStringList{NonLifeUnderLongTerm};
}

void TestKojoRules::insuranceTab()
{
    QFETCH(TKyuho, slip);
    QTEST(InspectDeductions(slip).InsuranceLines, "lines");
}

void TestKojoRules::personalTab_data()
{
    QTest::addColumn<TKyuho>("slip");
    QTest::addColumn<QStringList>("lines");

    auto aged = [](Slot::Mark era, std::uint8_t year, std::uint8_t month, std::uint8_t day) {
        return TKyuho(SlipBuilder().Mark(Slot::Aged).Birth(era, year, month, day));
    };

    QTest::newRow("blank slip: no era") << TKyuho(SlipBuilder()) << QStringList{BirthDateWrong};
    QTest::newRow("Showa, date blank") << TKyuho(SlipBuilder().Mark(Slot::Showa)) << QStringList{Normal};
    QTest::newRow("two eras") << TKyuho(SlipBuilder().Mark(Slot::Showa).Mark(Slot::Heisei))
                              << QStringList{BirthDateWrong};
    QTest::newRow("all four eras") << TKyuho(SlipBuilder().Mark(Slot::Meiji).Mark(Slot::Taisho)
                                                 .Mark(Slot::Showa).Mark(Slot::Heisei))
                                   << QStringList{BirthDateWrong};

    QTest::newRow("both self-disabled marks")
        << TKyuho(Person().Mark(Slot::SelfSpecialDisabled).Mark(Slot::SelfOtherDisabled))
        << QStringList{SelfDisabledBoth};

    QTest::newRow("aged, 10,000,000") << TKyuho(SlipBuilder().Mark(Slot::Aged).Birth(Slot::Showa, 6, 5, 5)
                                                    .Amount(Slot::SalaryIncome, 10000000))
                                      << QStringList{Normal};
    QTest::newRow("aged, 10,000,001") << TKyuho(SlipBuilder().Mark(Slot::Aged).Birth(Slot::Showa, 6, 5, 5)
                                                    .Amount(Slot::SalaryIncome, 10000001))
                                      << QStringList{AgedIncomeOver};
    QTest::newRow("aged, 昭 7.1.1") << aged(Slot::Showa, 7, 1, 1) << QStringList{Normal};
    QTest::newRow("aged, 昭 7.1.2") << aged(Slot::Showa, 7, 1, 2) << QStringList{AgedTooYoung};
    QTest::newRow("aged, 昭 7.2.1") << aged(Slot::Showa, 7, 2, 1) << QStringList{AgedTooYoung};
    QTest::newRow("aged, 昭 8.1.1") << aged(Slot::Showa, 8, 1, 1) << QStringList{AgedTooYoung};
    QTest::newRow("aged, 昭 6.12.31") << aged(Slot::Showa, 6, 12, 31) << QStringList{Normal};
    QTest::newRow("aged, 昭 0") << aged(Slot::Showa, 0, 1, 1) << QStringList{Normal};
    QTest::newRow("aged, 昭 year blank") << aged(Slot::Showa, BlankCount, 1, 1) << QStringList{AgedTooYoung};
    QTest::newRow("aged, 昭 7, month blank") << aged(Slot::Showa, 7, BlankCount, 1) << QStringList{AgedTooYoung};
    QTest::newRow("aged, 明 alone") << aged(Slot::Meiji, 40, 1, 1) << QStringList{Normal};
    QTest::newRow("aged, 大 alone") << aged(Slot::Taisho, 14, 12, 31) << QStringList{Normal};
    QTest::newRow("aged, 平 1.1.1") << aged(Slot::Heisei, 1, 1, 1) << QStringList{AgedTooYoung};
    QTest::newRow("aged, 平 date blank") << TKyuho(SlipBuilder().Mark(Slot::Aged).Mark(Slot::Heisei))
                                        << QStringList{AgedTooYoung};
    QTest::newRow("not aged, 平") << TKyuho(SlipBuilder().Birth(Slot::Heisei, 1, 1, 1)) << QStringList{Normal};
    QTest::newRow("aged, 明 and 平")
        << TKyuho(SlipBuilder().Mark(Slot::Aged).Mark(Slot::Meiji).Mark(Slot::Heisei))
        << QStringList{AgedTooYoung, BirthDateWrong};

    QTest::newRow("widow general and special")
        << TKyuho(Person().Mark(Slot::WidowGeneral).Mark(Slot::WidowSpecial)) << QStringList{WidowBoth};
    QTest::newRow("widow, 5,000,001, no dependants")
        << TKyuho(Person().Mark(Slot::WidowGeneral).Amount(Slot::SalaryIncome, 5000001))
        << QStringList{WidowNoDependants};
    QTest::newRow("widow, 5,000,000, no dependants")
        << TKyuho(Person().Mark(Slot::WidowGeneral).Amount(Slot::SalaryIncome, 5000000)) << QStringList{Normal};
    QTest::newRow("widow, 5,000,001, one dependant")
        << TKyuho(Person().Mark(Slot::WidowGeneral).Amount(Slot::SalaryIncome, 5000001)
                      .Count(Slot::OtherDependants, 1))
        << QStringList{Normal};
    QTest::newRow("special widow, 5,000,001")
        << TKyuho(Person().Mark(Slot::WidowSpecial).Amount(Slot::SalaryIncome, 5000001))
        << QStringList{SpecialWidowIncomeOver};
    QTest::newRow("special widow, 5,000,000")
        << TKyuho(Person().Mark(Slot::WidowSpecial).Amount(Slot::SalaryIncome, 5000000)) << QStringList{Normal};

    QTest::newRow("widower without 有") << TKyuho(Person().Mark(Slot::Widower)) << QStringList{WidowerNoChild};
    QTest::newRow("widower with 有") << TKyuho(Person().Mark(Slot::Widower).Mark(Slot::SpouseYes))
                                    << QStringList{Normal};
    QTest::newRow("widower with a dependant")
        << TKyuho(Person().Mark(Slot::Widower).Count(Slot::Specified, 1)) << QStringList{Normal};
    QTest::newRow("widower, 5,000,001, 有")
        << TKyuho(Person().Mark(Slot::Widower).Mark(Slot::SpouseYes).Amount(Slot::SalaryIncome, 5000001))
        << QStringList{WidowerIncomeOver};
    QTest::newRow("widower, 6,000,000, nobody")
        << TKyuho(Person().Mark(Slot::Widower).Amount(Slot::SalaryIncome, 6000000))
        << QStringList{WidowerIncomeOver, WidowerNoChild};
    QTest::newRow("widower, dependants wrap to 0")
        << TKyuho(Person().Mark(Slot::Widower).Count(Slot::Specified, 200).Count(Slot::OtherDependants, 56))
        << QStringList{WidowerNoChild};

    QTest::newRow("student, 650,000")
        << TKyuho(Person().Mark(Slot::WorkingStudent).Amount(Slot::SalaryIncome, 650000)) << QStringList{Normal};
    QTest::newRow("student, 650,001")
        << TKyuho(Person().Mark(Slot::WorkingStudent).Amount(Slot::SalaryIncome, 650001))
        << QStringList{StudentIncomeOver};

    QTest::newRow("several in rule order")
        << TKyuho(SlipBuilder().Mark(Slot::SelfSpecialDisabled).Mark(Slot::SelfOtherDisabled)
                      .Mark(Slot::WidowGeneral).Mark(Slot::WidowSpecial).Mark(Slot::WorkingStudent)
                      .Amount(Slot::SalaryIncome, 700000))
        << QStringList{SelfDisabledBoth, WidowBoth, StudentIncomeOver, BirthDateWrong};
}

void TestKojoRules::personalTab()
{
    QFETCH(TKyuho, slip);
    QTEST(InspectDeductions(slip).PersonalLines, "lines");
}

void TestKojoRules::sampleSlipIsConsistent()
{
    TKyuho slip;
    ClearSlip(slip);
    FillSampleSlip(slip);
    const KojoInspection r = InspectDeductions(slip);
    QCOMPARE(r.SalaryIncome, 5008830);
    QCOMPARE(r.SpouseSpecialDeduction, 80000);
    QCOMPARE(r.PensionDeduction, 46000);
    QCOMPARE(r.LongTermDeduction, 14200);
    QCOMPARE(r.SalaryVerdict, Normal);
    for (const QStringList &lines : {r.SpouseLines, r.DependantLines, r.InsuranceLines, r.PersonalLines})
        QCOMPARE(lines, QStringList{Normal});
}

QTEST_GUILESS_MAIN(TestKojoRules)
#include "tst_kojorules.moc"
