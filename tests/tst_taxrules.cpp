// The tax rules of the year: each rule's band edges in one table.

#include "Verify/TaxRules.h"

#include <QtTest>

#include <limits>

using namespace mivrel;

namespace {
constexpr int Min32 = std::numeric_limits<std::int32_t>::min();
constexpr int Max32 = std::numeric_limits<std::int32_t>::max();
}

class TestTaxRules : public QObject {
    Q_OBJECT
private slots:
    void roundDown_data();
    void roundDown();
    void salaryIncome_data();
    void salaryIncome();
    void salaryIncomeMatchesExactFormulaAboveTwentyMillion();
    void taxRateAndIncomeTax_data();
    void taxRateAndIncomeTax();
    void specialTaxReduction_data();
    void specialTaxReduction();
    void spouseSpecialDeduction_data();
    void spouseSpecialDeduction();
    void insurancePremiumDeduction_data();
    void insurancePremiumDeduction();
    void longTermNonLifeDeduction_data();
    void longTermNonLifeDeduction();
    void taxableIncome_data();
    void taxableIncome();
    void taxDue_data();
    void taxDue();
};

void TestTaxRules::roundDown_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("by1000");
    QTest::addColumn<int>("by100");
    QTest::newRow("0") << 0 << 0 << 0;
    QTest::newRow("999") << 999 << 0 << 900;
    QTest::newRow("2624999") << 2624999 << 2624000 << 2624900;
    QTest::newRow("max") << Max32 << 2147483000 << 2147483600;
}

void TestTaxRules::roundDown()
{
    QFETCH(int, x);
    QFETCH(int, by1000);
    QFETCH(int, by100);
    QCOMPARE(RoundDown1000(x), by1000);
    QCOMPARE(RoundDown100(x), by100);
}

void TestTaxRules::salaryIncome_data()
{
    QTest::addColumn<int>("paid");
    QTest::addColumn<int>("income");
    QTest::newRow("negative") << -5 << 0;
    QTest::newRow("min") << Min32 << 0;
    QTest::newRow("650,999") << 650999 << 0;
    QTest::newRow("651,000") << 651000 << 1000;
    QTest::newRow("1,618,999") << 1618999 << 968999;
    QTest::newRow("1,619,000") << 1619000 << 969000;
    QTest::newRow("1,619,999") << 1619999 << 969000;
    QTest::newRow("1,620,000") << 1620000 << 970000;
    QTest::newRow("1,621,999") << 1621999 << 970000;
    QTest::newRow("1,622,000") << 1622000 << 972000;
    QTest::newRow("1,623,999") << 1623999 << 972000;
    QTest::newRow("1,624,000") << 1624000 << 974000;
    QTest::newRow("1,627,999") << 1627999 << 974000;
    QTest::newRow("1,628,000") << 1628000 << 976800;
    QTest::newRow("1,799,999") << 1799999 << 1077600;
    QTest::newRow("1,800,000") << 1800000 << 1080000;
    QTest::newRow("3,599,999") << 3599999 << 2337200;
    QTest::newRow("3,600,000") << 3600000 << 2340000;
    QTest::newRow("6,599,999") << 6599999 << 4736800;
    QTest::newRow("6,600,000") << 6600000 << 4740000;
    QTest::newRow("sample 6,898,700") << 6898700 << 5008830;
    QTest::newRow("9,999,999") << 9999999 << 7799999;
    QTest::newRow("10,000,000") << 10000000 << 7800000;
    QTest::newRow("19,999,999") << 19999999 << 17299999;
    QTest::newRow("20,000,000") << 20000000 << 17300000;
    QTest::newRow("20,000,001") << 20000001 << 17300000;
    QTest::newRow("22,605,092 (x*95 past 32 bits)") << 22605092 << 19774837;
    QTest::newRow("max") << Max32 << 2038409464;
}

void TestTaxRules::salaryIncome()
{
    QFETCH(int, paid);
    QFETCH(int, income);
    QCOMPARE(SalaryIncome(paid), income);
}

// Above 20,000,000 the rule is (x * 95) div 100 - 1,700,000 exactly; sweep the
// band in coarse steps, including its far end.
void TestTaxRules::salaryIncomeMatchesExactFormulaAboveTwentyMillion()
{
    for (std::int64_t x = 20000000; x <= Max32; x += 9999991) {
        const auto expected = static_cast<std::int32_t>(x * 95 / 100 - 1700000);
        QCOMPARE(SalaryIncome(static_cast<std::int32_t>(x)), expected);
    }
}

void TestTaxRules::taxRateAndIncomeTax_data()
{
    QTest::addColumn<int>("taxable");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("tax");
    QTest::newRow("negative") << -1 << 0 << 0;
    QTest::newRow("min") << Min32 << 0 << 0;
    QTest::newRow("0") << 0 << 10 << 0;
    QTest::newRow("2,624,000") << 2624000 << 10 << 262400;
    QTest::newRow("3,300,000") << 3300000 << 10 << 330000;
    QTest::newRow("3,300,001") << 3300001 << 20 << 330000;
    QTest::newRow("9,000,000") << 9000000 << 20 << 1470000;
    QTest::newRow("9,000,001") << 9000001 << 30 << 1470000;
    QTest::newRow("18,000,000") << 18000000 << 30 << 4170000;
    QTest::newRow("18,000,001") << 18000001 << 40 << 4170000;
    QTest::newRow("30,000,000") << 30000000 << 40 << 8970000;
    QTest::newRow("30,000,001") << 30000001 << 50 << 8970000;
    QTest::newRow("max") << Max32 << 50 << 1067711823;
}

void TestTaxRules::taxRateAndIncomeTax()
{
    QFETCH(int, taxable);
    QFETCH(int, rate);
    QFETCH(int, tax);
    QCOMPARE(int(TaxRate(taxable)), rate);
    QCOMPARE(IncomeTax(taxable), tax);
}

void TestTaxRules::specialTaxReduction_data()
{
    QTest::addColumn<int>("tax");
    QTest::addColumn<int>("reduction");
    QTest::newRow("1") << 1 << 0;
    QTest::newRow("20") << 20 << 3;
    QTest::newRow("178,400") << 178400 << 26760;
    QTest::newRow("333,333") << 333333 << 49999;
    QTest::newRow("333,334") << 333334 << 50000;
    QTest::newRow("1,000,000,000") << 1000000000 << 50000;
    QTest::newRow("max") << Max32 << 50000;
}

void TestTaxRules::specialTaxReduction()
{
    QFETCH(int, tax);
    QFETCH(int, reduction);
    QCOMPARE(SpecialTaxReduction(tax), reduction);
}

void TestTaxRules::spouseSpecialDeduction_data()
{
    QTest::addColumn<int>("income");
    QTest::addColumn<int>("deduction");
    QTest::newRow("min") << Min32 << 380000;
    QTest::newRow("0") << 0 << 380000;
    QTest::newRow("49,999") << 49999 << 380000;
    QTest::newRow("50,000") << 50000 << 330000;
    QTest::newRow("299,999") << 299999 << 130000;
    QTest::newRow("300,000 sample") << 300000 << 80000;
    QTest::newRow("349,999") << 349999 << 80000;
    QTest::newRow("350,000") << 350000 << 30000;
    QTest::newRow("379,999") << 379999 << 30000;
    QTest::newRow("380,000") << 380000 << 0;
    QTest::newRow("380,001") << 380001 << 380000;
    QTest::newRow("399,999") << 399999 << 380000;
    QTest::newRow("400,000") << 400000 << 360000;
    QTest::newRow("749,999") << 749999 << 60000;
    QTest::newRow("750,000") << 750000 << 30000;
    QTest::newRow("759,999") << 759999 << 30000;
    QTest::newRow("760,000") << 760000 << 0;
    QTest::newRow("max") << Max32 << 0;
}

void TestTaxRules::spouseSpecialDeduction()
{
    QFETCH(int, income);
    QFETCH(int, deduction);
    QCOMPARE(SpouseSpecialDeduction(income), deduction);
}

void TestTaxRules::insurancePremiumDeduction_data()
{
    QTest::addColumn<int>("premiums");
    QTest::addColumn<int>("deduction");
    QTest::newRow("negative") << -1 << 0;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("25,000") << 25000 << 25000;
    QTest::newRow("25,001") << 25001 << 25001;
    QTest::newRow("25,003 rounds up") << 25003 << 25002;
    QTest::newRow("50,000") << 50000 << 37500;
    QTest::newRow("50,001") << 50001 << 37501;
    QTest::newRow("50,002") << 50002 << 37501;
    QTest::newRow("84,000 sample") << 84000 << 46000;
    QTest::newRow("100,000") << 100000 << 50000;
    QTest::newRow("100,001") << 100001 << 50000;
    QTest::newRow("max") << Max32 << 50000;
}

void TestTaxRules::insurancePremiumDeduction()
{
    QFETCH(int, premiums);
    QFETCH(int, deduction);
    QCOMPARE(InsurancePremiumDeduction(premiums), deduction);
}

void TestTaxRules::longTermNonLifeDeduction_data()
{
    QTest::addColumn<int>("premiums");
    QTest::addColumn<int>("deduction");
    QTest::newRow("negative") << -100 << 0;
    QTest::newRow("10,000") << 10000 << 10000;
    QTest::newRow("10,001") << 10001 << 10001;
    QTest::newRow("18,400 sample") << 18400 << 14200;
    QTest::newRow("19,999") << 19999 << 15000;
    QTest::newRow("20,000") << 20000 << 15000;
    QTest::newRow("20,001") << 20001 << 15000;
}

void TestTaxRules::longTermNonLifeDeduction()
{
    QFETCH(int, premiums);
    QFETCH(int, deduction);
    QCOMPARE(LongTermNonLifeDeduction(premiums), deduction);
}

void TestTaxRules::taxableIncome_data()
{
    QTest::addColumn<int>("income");
    QTest::addColumn<int>("deductions");
    QTest::addColumn<int>("taxable");
    QTest::newRow("sample") << 5008830 << 2384630 << 2624000;
    QTest::newRow("deductions above income") << 380000 << 2384630 << 0;
    QTest::newRow("equal") << 1000 << 1000 << 0;
    QTest::newRow("below 1,000") << 1999 << 1000 << 0;
    QTest::newRow("negative deductions do not overflow") << Max32 << -1000 << 2147483000;
    QTest::newRow("extremes") << Min32 << Max32 << 0;
}

void TestTaxRules::taxableIncome()
{
    QFETCH(int, income);
    QFETCH(int, deductions);
    QFETCH(int, taxable);
    QCOMPARE(TaxableIncome(income, deductions), taxable);
}

void TestTaxRules::taxDue_data()
{
    QTest::addColumn<int>("taxable");
    QTest::addColumn<int>("credit");
    QTest::addColumn<int>("due");
    QTest::addColumn<int>("reduction");
    QTest::newRow("sample") << 2624000 << 84000 << 151600 << 26760;
    QTest::newRow("no credit") << 2624000 << 0 << 223000 << 39360;
    QTest::newRow("credit above tax") << 2624000 << 300000 << 0 << 0;
    QTest::newRow("credit equal to tax") << 2624000 << 262400 << 0 << 0;
    QTest::newRow("zero income") << 0 << 0 << 0 << 0;
    QTest::newRow("reduction capped") << 10000000 << 0 << 1720000 << 50000;
    QTest::newRow("negative credit does not overflow") << Max32 << Min32 << 2147433600 << 50000;
}

void TestTaxRules::taxDue()
{
    QFETCH(int, taxable);
    QFETCH(int, credit);
    QFETCH(int, due);
    QFETCH(int, reduction);
    QCOMPARE(TaxDue(taxable, credit), (TaxDueResult{due, reduction}));
}

QTEST_GUILESS_MAIN(TestTaxRules)
#include "tst_taxrules.moc"
