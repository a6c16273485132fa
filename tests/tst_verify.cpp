// The tax verification: the arithmetic over whole slips and the dialog's
// labels, read by their object names.

#include "Verify/TaxCheck.h"
#include "Verify/Verify.h"
#include "slip/SlipDraw.h"
#include "tests/SlipSamples.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace mivrel;

namespace {

// Every value label of the dialog in the order of the arithmetic.
const QStringList DeductionLabels{
    "dispHaikou", "dispRouhai", "dispHaitoku", "dispTokutei", "dispRojin", "dispDoukyoRosin",
    "dispHuyou", "dispTokusyo", "dispDokyoTokusyo", "dispSonotaSyogai", "dispHonninTokusyo",
    "dispHonninnSonotaSyogai", "dispRonensya", "dispKahu", "dispTokubetuKahu", "dispKaotto",
    "dispKinrougakusei", "dispSyaho", "dispSeiho", "dispSonho", "dispKisoKojo"};

} // namespace

class TestVerify : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lineFormatting_data();
    void lineFormatting();
    void dialogShowsSample();
    void dialogShowsBlankSlip();
    void slipVariants_data();
    void slipVariants();
    void refillLeavesNothingBehind();
    void layoutAsDesigned_data();
    void layoutAsDesigned();
    void captionsCarryHints();
    void okClosesAndSlipUnchanged();
};

void TestVerify::initTestCase()
{
    InstallFaceSubstitutions();
}

void TestVerify::lineFormatting_data()
{
    QTest::addColumn<bool>("mark");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("count blank") << false << 255 << 0 << "";
    QTest::newRow("count zero") << false << 0 << 0 << "0";
    QTest::newRow("count two") << false << 2 << 760000 << "760,000";
    QTest::newRow("count 254") << false << 254 << 254 * 380000 << "96,520,000";
    QTest::newRow("mark set") << true << 1 << 380000 << "380,000";
    QTest::newRow("mark clear") << true << 0 << 0 << "";
    QTest::newRow("mark other byte") << true << 2 << 0 << "";
}

void TestVerify::lineFormatting()
{
    QFETCH(bool, mark);
    QFETCH(int, value);
    QFETCH(int, number);
    QFETCH(QString, text);
    const auto v = static_cast<std::uint8_t>(value);
    const AmountLine line = mark ? FormatMarkLine(v, 380000) : FormatCountLine(v, 380000);
    QCOMPARE(line.Number, number);
    QCOMPARE(line.Text, text);
}

void TestVerify::dialogShowsSample()
{
    TdlgVerifyTax dlg;
    FillVerifyTax(dlg, SampleSlip());
    const QMap<QString, QString> filled{
        {"dispHaikou", "380,000"}, {"dispHaitoku", "80,000"}, {"dispHuyou", "760,000"},
        {"dispSyaho", "692,430"},  {"dispSeiho", "78,000"},   {"dispSonho", "14,200"},
        {"dispKisoKojo", "380,000"}};
    for (const QString &name : DeductionLabels)
        QCOMPARE(dlg.valueLabel(name)->text(), filled.value(name));
    QCOMPARE(dlg.valueLabel("dispKyuyoSyotoku")->text(), "5,008,830");
    QCOMPARE(dlg.valueLabel("dispJutakuSyutoku")->text(), "84,000");
    QCOMPARE(dlg.valueLabel("dispSyotokuzeiNyuryoku")->text(), "151,600");
    for (const char *row : {"KojoGokeiKeisan", "KojoGokeiNyuryoku"})
        QCOMPARE(dlg.valueLabel(QStringLiteral("disp") + row)->text(), "2,384,630");
    for (const char *name : {"dispKazeiSyotokuKeisan1", "dispKazeiSyotokuKeisan2"})
        QCOMPARE(dlg.valueLabel(name)->text(), "2,624,000");
    for (const char *name : {"dispSyotokuzeikeisan1", "dispSyotokuzeikeisan2"})
        QCOMPARE(dlg.valueLabel(name)->text(), "151,600");
}

void TestVerify::dialogShowsBlankSlip()
{
    TdlgVerifyTax dlg;
    FillVerifyTax(dlg, BlankSlip());
    for (const QString &name : DeductionLabels)
        QCOMPARE(dlg.valueLabel(name)->text(), name == "dispKisoKojo" ? "380,000" : "");
    QCOMPARE(dlg.valueLabel("dispKojoGokeiKeisan")->text(), "380,000");
    for (const char *name : {"dispKyuyoSyotoku", "dispJutakuSyutoku", "dispSyotokuzeiNyuryoku",
                             "dispKojoGokeiNyuryoku"})
        QCOMPARE(dlg.valueLabel(name)->text(), "");
    for (const char *name : {"dispKazeiSyotokuKeisan1", "dispKazeiSyotokuKeisan2",
                             "dispSyotokuzeikeisan1", "dispSyotokuzeikeisan2"})
        QCOMPARE(dlg.valueLabel(name)->text(), "0");
}

// Variants of the sample: (label, expected text) pairs checked after a change.
void TestVerify::slipVariants_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");
    QTest::newRow("elderly 2") << 37 << "2" << "dispRojin" << "960,000";
    QTest::newRow("living with 1") << 36 << "1" << "dispDoukyoRosin" << "200,000";
    QTest::newRow("count typed 0") << 34 << "0" << "dispTokutei" << "0";
    QTest::newRow("special disabled 1") << 45 << "1" << "dispTokusyo" << "350,000";
    QTest::newRow("aged") << 82 << "○" << "dispRonensya" << "500,000";
    QTest::newRow("widower") << 85 << "○" << "dispKaotto" << "270,000";
    QTest::newRow("spouse elderly") << 27 << "○" << "dispRouhai" << "100,000";
    QTest::newRow("housing credit wipes out tax") << 54 << "300000" << "dispSyotokuzeikeisan1" << "0";
    QTest::newRow("housing credit wipes out row 2") << 54 << "300000" << "dispSyotokuzeikeisan2" << "0";
    QTest::newRow("stated total blank: row 2 from salary income")
        << 15 << "" << "dispKazeiSyotokuKeisan2" << "5,008,000";
    QTest::newRow("stated total blank: row 1 unchanged")
        << 15 << "" << "dispKazeiSyotokuKeisan1" << "2,624,000";
    QTest::newRow("salary income blank") << 14 << "" << "dispKazeiSyotokuKeisan1" << "0";
    QTest::newRow("extra dependant moves row 1 only")
        << 39 << "3" << "dispKazeiSyotokuKeisan1" << "2,244,000";
    QTest::newRow("extra dependant keeps row 2") << 39 << "3" << "dispKazeiSyotokuKeisan2" << "2,624,000";
    QTest::newRow("huge amounts do not overflow the total")
        << 51 << "2147483647" << "dispKojoGokeiKeisan" << "2,147,483,647";
}

void TestVerify::slipVariants()
{
    QFETCH(int, cell);
    QFETCH(QString, typed);
    QFETCH(QString, label);
    QFETCH(QString, expected);
    TKyuho slip = SampleSlip();
    SetCellText(slip, static_cast<std::uint8_t>(cell), typed);
    TdlgVerifyTax dlg;
    FillVerifyTax(dlg, slip);
    QCOMPARE(dlg.valueLabel(label)->text(), expected);
}

void TestVerify::refillLeavesNothingBehind()
{
    TdlgVerifyTax dlg;
    FillVerifyTax(dlg, SampleSlip());
    FillVerifyTax(dlg, BlankSlip());
    QCOMPARE(dlg.valueLabel("dispHaikou")->text(), "");
    QCOMPARE(dlg.valueLabel("dispSyaho")->text(), "");
    QCOMPARE(dlg.valueLabel("dispKojoGokeiNyuryoku")->text(), "");
}

void TestVerify::layoutAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rightEdge");
    QTest::addColumn<int>("top");
    QTest::newRow("first line") << "dispHaikou" << 148 << 12;
    QTest::newRow("seventh line") << "dispHuyou" << 148 << 110;
    QTest::newRow("column 2") << "dispTokusyo" << 287 << 12;
    QTest::newRow("column 3 last") << "dispKisoKojo" << 425 << 110;
    QTest::newRow("salary income") << "dispKyuyoSyotoku" << 75 << 179;
    QTest::newRow("computed total") << "dispKojoGokeiKeisan" << 191 << 162;
    QTest::newRow("taxable 2") << "dispKazeiSyotokuKeisan2" << 306 << 202;
    QTest::newRow("housing") << "dispJutakuSyutoku" << 214 << 248;
    QTest::newRow("stated tax") << "dispSyotokuzeiNyuryoku" << 419 << 248;
}

void TestVerify::layoutAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(int, rightEdge);
    QFETCH(int, top);
    TdlgVerifyTax dlg;
    FillVerifyTax(dlg, SampleSlip());
    const QLabel *label = dlg.valueLabel(name);
    QVERIFY(label);
    QCOMPARE(label->geometry().right() + 1, rightEdge);
    QCOMPARE(label->y(), top);
    QVERIFY(label->alignment() & Qt::AlignRight);
    QVERIFY(label->toolTip().isEmpty());
}

void TestVerify::captionsCarryHints()
{
    TdlgVerifyTax dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("税額の検算"));
    QCOMPARE(dlg.size(), QSize(442, 302));
    const auto *haikou = dlg.findChild<QLabel *>("lblHaikou");
    QVERIFY(haikou);
    QCOMPARE(haikou->text(), QStringLiteral("配偶者控除"));
    QCOMPARE(haikou->pos(), QPoint(17, 12));
    QVERIFY(haikou->toolTip().startsWith(QStringLiteral("所得者と生計を一にする配偶者")));
    const auto *kahu = dlg.findChild<QLabel *>("lblKahu");
    QVERIFY(kahu->toolTip().endsWith(QStringLiteral("人をいいます。 ")));
    QCOMPARE(dlg.findChild<QLabel *>("lblKyuyoSyotoku")->toolTip(), QString());
    QCOMPARE(dlg.findChild<QLabel *>("lblSyotokuzeikeisan2")->toolTip(),
             dlg.findChild<QLabel *>("lblSyotokuzeikeisan1")->toolTip());
    int hinted = 0;
    for (const QLabel *label : dlg.findChildren<QLabel *>())
        hinted += label->toolTip().isEmpty() ? 0 : 1;
    QCOMPARE(hinted, 21 + 7);
}

void TestVerify::okClosesAndSlipUnchanged()
{
    const TKyuho slip = SampleSlip();
    const TKyuho before = slip;
    TdlgVerifyTax dlg;
    FillVerifyTax(dlg, slip);
    QWidget *focused = nullptr;
    QTimer::singleShot(0, &dlg, [&] {
        focused = dlg.focusWidget();
        if (focused)
            QTest::keyClick(focused, Qt::Key_Space);
        else
            dlg.reject();
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(focused->objectName(), QStringLiteral("OKBtn"));
    QVERIFY(slip == before);
}

QTEST_MAIN(TestVerify)
#include "tst_verify.moc"
