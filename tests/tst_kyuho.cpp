// The slip record: cell table, blank values, the integer-reading rule and the
// text conversions of the in-place editor.

#include "Verify/Kyuho.h"

#include <QtTest>

using namespace mivrel;

Q_DECLARE_METATYPE(mivrel::CellKind)

class TestKyuho : public QObject {
    Q_OBJECT
private slots:
    void lookupCell_data();
    void lookupCell();
    void everyInputCellRoundTrips();
    void everyInputCellHasItsOwnName();
    void clearedSlipIsBlank();
    void readInteger_data();
    void readInteger();
    void amountCell_data();
    void amountCell();
    void countCell_data();
    void countCell();
    void markCell_data();
    void markCell();
    void textCellKeepsLineBreaks();
    void captionCellIgnored();
    void countOrZero();
    void formatAmount_data();
    void formatAmount();
    void sampleSlip();
};

void TestKyuho::lookupCell_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<CellKind>("kind");
    QTest::addColumn<int>("slot");
    QTest::newRow("6 name") << 6 << CellKind::Text << 3;
    QTest::newRow("119 payer address") << 119 << CellKind::Text << 5;
    QTest::newRow("120 payer name") << 120 << CellKind::Text << 6;
    QTest::newRow("51 social insurance") << 51 << CellKind::Amount << 5;
    QTest::newRow("52 life insurance skips slot 6") << 52 << CellKind::Amount << 7;
    QTest::newRow("61 long-term") << 61 << CellKind::Amount << 12;
    QTest::newRow("37 elderly") << 37 << CellKind::Count << 3;
    QTest::newRow("115 birth day") << 115 << CellKind::Count << 15;
    QTest::newRow("27 spouse elderly") << 27 << CellKind::Mark << 4;
    QTest::newRow("112 Heisei") << 112 << CellKind::Mark << 23;
    QTest::newRow("35 secondary count") << 35 << CellKind::None << 0;
    QTest::newRow("25 secondary mark") << 25 << CellKind::None << 0;
    QTest::newRow("0 caption") << 0 << CellKind::None << 0;
    QTest::newRow("121 no cell") << 121 << CellKind::None << 0;
}

void TestKyuho::lookupCell()
{
    QFETCH(int, cell);
    QFETCH(CellKind, kind);
    QFETCH(int, slot);
    const CellSlot got = LookupCell(static_cast<std::uint8_t>(cell));
    QCOMPARE(got.Kind, kind);
    QCOMPARE(int(got.Slot), slot);
}

// 53 input cells, each with its own slot: a value stored in one is read back
// from it and from no other cell.
void TestKyuho::everyInputCellRoundTrips()
{
    int inputCells = 0;
    for (int cell = 0; cell <= 121; ++cell) {
        const auto c = static_cast<std::uint8_t>(cell);
        const CellKind kind = LookupCell(c).Kind;
        if (kind == CellKind::None)
            continue;
        ++inputCells;
        TKyuho slip;
        ClearSlip(slip);
        const QString text = kind == CellKind::Mark ? QStringLiteral("○")
                           : kind == CellKind::Text ? QStringLiteral("文字\n2行目")
                                                    : QStringLiteral("7");
        SetCellText(slip, c, text);
        QCOMPARE(GetCellText(slip, c), text);
        for (int other = 0; other <= 120; ++other)
            if (other != cell && IsInputCell(static_cast<std::uint8_t>(other)))
                QVERIFY2(GetCellText(slip, static_cast<std::uint8_t>(other)).isEmpty(),
                         qPrintable(QStringLiteral("cell %1 leaked into %2").arg(cell).arg(other)));
    }
    QCOMPARE(inputCells, 53);
}

// A screen reader tells the boxes apart by their names alone; caption cells
// and NoCell have none.
void TestKyuho::everyInputCellHasItsOwnName()
{
    QSet<QString> names;
    for (int cell = 0; cell <= 121; ++cell) {
        const auto c = static_cast<std::uint8_t>(cell);
        QCOMPARE(CellName(c).isEmpty(), !IsInputCell(c));
        if (IsInputCell(c))
            names << CellName(c);
    }
    QCOMPARE(names.size(), 53);
}

void TestKyuho::clearedSlipIsBlank()
{
    TKyuho slip;
    FillSampleSlip(slip);
    ClearSlip(slip);
    for (int cell = 0; cell <= 120; ++cell)
        if (IsInputCell(static_cast<std::uint8_t>(cell)))
            QVERIFY(GetCellText(slip, static_cast<std::uint8_t>(cell)).isEmpty());
    for (std::int32_t a : slip.amounts) {
        QCOMPARE(a, BlankAmount);
        QCOMPARE(FormatAmount(a), AmountLine{});
    }
    for (std::uint8_t c : slip.counts)
        QCOMPARE(c, BlankCount);
    for (std::uint8_t m : slip.marks)
        QCOMPARE(m, std::uint8_t(0));
}

void TestKyuho::readInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "1200" << 1200;
    QTest::newRow("digit-group comma") << "1,200" << 1200;
    QTest::newRow("two digit-group commas") << "6,898,700" << 6898700;
    QTest::newRow("full-width comma") << QStringLiteral("１，２００") << 1200;
    QTest::newRow("comma not between digits stops") << "1,,200" << 1;
    QTest::newRow("trailing comma stops, sign lost") << "-1," << 1;
    QTest::newRow("commas past the range stop") << "9,999,999,999" << 999999999;
    QTest::newRow("trailing letter") << "12a" << 12;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("spaces only") << "   " << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("leading spaces") << "  42" << 42;
    QTest::newRow("minus") << "-500" << -500;
    QTest::newRow("plus") << "+500" << 500;
    QTest::newRow("minus then bad char") << "-12a" << 12;
    QTest::newRow("minus alone") << "-" << 0;
    QTest::newRow("space after sign") << "- 5" << 0;
    QTest::newRow("full-width digits") << QStringLiteral("１２３") << 123;
    QTest::newRow("mixed-width digits") << QStringLiteral("1２3") << 123;
    QTest::newRow("full-width minus") << QStringLiteral("－５００") << -500;
    QTest::newRow("full-width plus") << QStringLiteral("＋５００") << 500;
    QTest::newRow("minus sign U+2212") << QStringLiteral("\u2212500") << -500;
    QTest::newRow("hyphen U+2010 is no sign") << QStringLiteral("\u2010500") << 0;
    QTest::newRow("ideographic space skipped") << QStringLiteral("\u3000\u3000４２") << 42;
    QTest::newRow("full-width 2147483648 keeps its pattern") << QStringLiteral("２１４７４８３６４８")
                                                             << int(-2147483647 - 1);
    QTest::newRow("full-width 9999999999 stops") << QStringLiteral("９９９９９９９９９９") << 999999999;
    QTest::newRow("hex") << "$1F" << 31;
    QTest::newRow("hex lower") << "$ff" << 255;
    QTest::newRow("hex all ones") << "$FFFFFFFF" << -1;
    QTest::newRow("hex stops after 8 digits") << "$123456789" << 0x12345678;
    QTest::newRow("hex bad char") << "$1G" << 1;
    QTest::newRow("max") << "2147483647" << 2147483647;
    QTest::newRow("2147483648 keeps its pattern") << "2147483648" << int(-2147483647 - 1);
    QTest::newRow("2147483649 keeps its pattern") << "2147483649" << -2147483647;
    QTest::newRow("2147483650 stops") << "2147483650" << 214748365;
    QTest::newRow("3000000000 stops") << "3000000000" << 300000000;
    QTest::newRow("9999999999 stops") << "9999999999" << 999999999;
    QTest::newRow("negative min") << "-2147483648" << int(-2147483647 - 1);
    QTest::newRow("stopped negative loses sign") << "-9999999999" << 999999999;
    QTest::newRow("many digits") << QString(300, u'9') << 999999999;
}

void TestKyuho::readInteger()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(ReadInteger(text), value);
}

void TestKyuho::amountCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty is blank") << "" << -1 << "";
    QTest::newRow("-1 is blank") << "-1" << -1 << "";
    QTest::newRow("zero is real") << "0" << 0 << "0";
    QTest::newRow("thousand with comma") << "1,000" << 1000 << "1000";
    QTest::newRow("as the slip prints it") << "6,898,700" << 6898700 << "6898700";
    QTest::newRow("full-width -1 is blank") << QStringLiteral("－１") << -1 << "";
    QTest::newRow("negative") << "-500" << -500 << "-500";
    QTest::newRow("spaces only") << "  " << 0 << "0";
    QTest::newRow("full-width") << QStringLiteral("１２３") << 123 << "123";
    QTest::newRow("salary max") << "2147483647" << 2147483647 << "2147483647";
    QTest::newRow("3000000000 typed") << "3000000000" << 300000000 << "300000000";
}

void TestKyuho::amountCell()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    TKyuho slip;
    ClearSlip(slip);
    SetCellText(slip, 13, typed);
    QCOMPARE(slip.amounts[Slot::SalaryPaid], stored);
    QCOMPARE(GetCellText(slip, 13), shown);
}

void TestKyuho::countCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty is blank") << "" << 255 << "";
    QTest::newRow("3") << "3" << 3 << "3";
    QTest::newRow("0") << "0" << 0 << "0";
    QTest::newRow("255 is blank") << "255" << 255 << "";
    QTest::newRow("-1 is blank") << "-1" << 255 << "";
    QTest::newRow("256 wraps to 0") << "256" << 0 << "0";
    QTest::newRow("300 keeps low bits") << "300" << 44 << "44";
    QTest::newRow("letters") << "x" << 0 << "0";
    QTest::newRow("full-width birth year") << QStringLiteral("３２") << 32 << "32";
}

void TestKyuho::countCell()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    TKyuho slip;
    ClearSlip(slip);
    SetCellText(slip, 39, typed);
    QCOMPARE(int(slip.counts[Slot::OtherDependants]), stored);
    QCOMPARE(GetCellText(slip, 39), shown);
}

void TestKyuho::markCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("circle") << QStringLiteral("○") << 1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("circle and space") << QStringLiteral("○ ") << 0;
    QTest::newRow("other circle") << QStringLiteral("〇") << 0;
    QTest::newRow("letter") << "o" << 0;
}

void TestKyuho::markCell()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    TKyuho slip;
    ClearSlip(slip);
    slip.marks[Slot::Aged] = 1;
    SetCellText(slip, 82, typed);
    QCOMPARE(int(slip.marks[Slot::Aged]), stored);
    QCOMPARE(GetCellText(slip, 82), stored ? QStringLiteral("○") : QString());
}

void TestKyuho::textCellKeepsLineBreaks()
{
    TKyuho slip;
    ClearSlip(slip);
    const QString address = QStringLiteral("東京都\n架空区 1-2 ");
    SetCellText(slip, 2, address);
    QCOMPARE(slip.texts[Slot::Address], address);
    QCOMPARE(GetCellText(slip, 2), address);
}

void TestKyuho::captionCellIgnored()
{
    TKyuho slip;
    ClearSlip(slip);
    const TKyuho before = slip;
    SetCellText(slip, 35, QStringLiteral("5"));
    SetCellText(slip, 0, QStringLiteral("x"));
    SetCellText(slip, NoCell, QStringLiteral("x"));
    QVERIFY(slip == before);
    QCOMPARE(GetCellText(slip, 35, QStringLiteral("kept")), QStringLiteral("kept"));
    QCOMPARE(GetCellText(slip, NoCell, QStringLiteral("kept")), QStringLiteral("kept"));
}

void TestKyuho::countOrZero()
{
    QCOMPARE(CountOrZero(255), std::uint8_t(0));
    QCOMPARE(CountOrZero(254), std::uint8_t(254));
    QCOMPARE(CountOrZero(0), std::uint8_t(0));
}

void TestKyuho::formatAmount_data()
{
    QTest::addColumn<int>("amount");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("blank") << -1 << 0 << "";
    QTest::newRow("zero") << 0 << 0 << "0";
    QTest::newRow("sample salary") << 6898700 << 6898700 << "6,898,700";
    QTest::newRow("below a thousand") << 999 << 999 << "999";
    QTest::newRow("negative") << -1500 << -1500 << "-1,500";
    QTest::newRow("max") << 2147483647 << 2147483647 << "2,147,483,647";
    QTest::newRow("min") << int(-2147483647 - 1) << int(-2147483647 - 1) << "-2,147,483,648";
}

void TestKyuho::formatAmount()
{
    QFETCH(int, amount);
    QFETCH(int, number);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QLocale::German));  // grouping must not follow the system
    const AmountLine line = FormatAmount(amount);
    QCOMPARE(line.Number, number);
    QCOMPARE(line.Text, text);
}

void TestKyuho::sampleSlip()
{
    TKyuho slip;
    ClearSlip(slip);
    FillSampleSlip(slip);
    QCOMPARE(GetCellText(slip, 13), QStringLiteral("6898700"));
    QCOMPARE(GetCellText(slip, 14), QStringLiteral("5008830"));
    QCOMPARE(GetCellText(slip, 59), QStringLiteral("300000"));
    QCOMPARE(GetCellText(slip, 39), QStringLiteral("2"));
    QCOMPARE(GetCellText(slip, 113), QStringLiteral("32"));
    QCOMPARE(GetCellText(slip, 23), QStringLiteral("○"));
    QCOMPARE(GetCellText(slip, 111), QStringLiteral("○"));
    QCOMPARE(GetCellText(slip, 24), QString());
    QCOMPARE(GetCellText(slip, 34), QString());
    QVERIFY(GetCellText(slip, 2).contains(u'\n'));
    for (std::uint8_t cell : {4, 5, 6, 119, 120})
        QVERIFY(!GetCellText(slip, cell).isEmpty());
}

QTEST_GUILESS_MAIN(TestKyuho)
#include "tst_kyuho.moc"
