// The tax trial dialog, driven through its controls (found by object name):
// typing, sliders moved by keys and by value, loading from a slip, labels
// rewritten only on a change, the keyboard order and the focus kept between
// openings.

#include "Trial/Trial.h"
#include "Verify/Kyuho.h"
#include "slip/SlipDraw.h"
#include "tests/SlipSamples.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

using namespace mivrel;

namespace {

template <class T = QWidget>
T &Control(const QWidget &dlg, const QString &name)
{
    T *control = dlg.findChild<T *>(name);
    if (!control)
        qFatal("no control named %s", qPrintable(name));
    return *control;
}

QLineEdit &Field(const QWidget &dlg, const QString &name) { return Control<QLineEdit>(dlg, name); }
QLabel &Label(const QWidget &dlg, const QString &name) { return Control<QLabel>(dlg, name); }
QSlider &Slider(const QWidget &dlg, const QString &name) { return Control<QSlider>(dlg, name); }

// Replaces the field's text by typing, one key per character; a key carries
// its character, full-width ones included.
void Type(QLineEdit &field, const QString &text)
{
    field.selectAll();
    if (text.isEmpty())
        QTest::keyClick(&field, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

TKyuho SlipWith(std::int32_t salary, std::int32_t deductions, std::int32_t housing)
{
    TKyuho slip;
    ClearSlip(slip);
    slip.amounts[Slot::SalaryPaid] = salary;
    slip.amounts[Slot::DeductionTotal] = deductions;
    slip.amounts[Slot::HousingCredit] = housing;
    return slip;
}

const QStringList ResultLabels{"lblDispKyuyoSyotoku", "lblDispKazeiSyotoku", "lblDispZeiritu",
                               "lblDispSyotokuzeigaku", "lblDispTakubetuGenzei"};

QStringList Results(const QWidget &dlg)
{
    QStringList texts;
    for (const QString &name : ResultLabels)
        texts << Label(dlg, name).text();
    return texts;
}

const QString Sentinel = QStringLiteral("*untouched*");

} // namespace

class TestTrial : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void createdState();
    void layoutAsDesigned_data();
    void layoutAsDesigned();
    void typedFigures_data();
    void typedFigures();
    void rateLabelWaitsForTaxableIncome();
    void sliders_data();
    void sliders();
    void sliderMoveRecalculates();
    void fieldsNeverMoveSliders();
    void initFromSlip_data();
    void initFromSlip();
    void longSlipAmountKeptWhole();
    void typingLimitCountsDigits_data();
    void typingLimitCountsDigits();
    void unchangedResultNotRewritten_data();
    void unchangedResultNotRewritten();
    void keyboardOrder();
    void focusKeptAcrossOpenings();
};

void TestTrial::initTestCase()
{
    InstallFaceSubstitutions();
}

void TestTrial::createdState()
{
    TdlgTrial dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("税額の試算"));
    QCOMPARE(dlg.minimumSize(), QSize(386, 275));
    QCOMPARE(dlg.maximumSize(), QSize(386, 275));
    QCOMPARE(dlg.font().family(), SystemFace);
    QCOMPARE(dlg.font().pixelSize(), 13);
    for (const char *name : {"medKyuyoSyunyu", "medKoujoGoukei", "medJutakusyutokutou"}) {
        QCOMPARE(Field(dlg, name).text(), QStringLiteral("0"));
        QVERIFY(Field(dlg, name).inputMask().isEmpty());
    }
    QCOMPARE(Results(dlg), QStringList(5, QStringLiteral("0")));
    for (const char *name : {"traKyuyoSyunyu", "traKoujoGoukei"}) {
        QCOMPARE(Slider(dlg, name).tickPosition(), QSlider::TicksLeft);
        QCOMPARE(Slider(dlg, name).tickInterval(), 10000);
    }
    QCOMPARE(Control<QPushButton>(dlg, "OKBtn").text(), QStringLiteral("OK"));
}

void TestTrial::layoutAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");  // a caption's size is its text's: only x, y count
    QTest::addColumn<QString>("caption");
    const auto row = [](const char *name, QRect bounds, const char *caption = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << bounds << QString::fromUtf8(caption);
    };
    row("lblKyuyoSyunyu", QRect(13, 13, 0, 0), "給与収入");
    row("lblKyuyoSyotoku", QRect(13, 69, 0, 0), "給与所得");
    row("lblKazeiSyotoku", QRect(13, 125, 0, 0), "課税所得金額");
    row("lblZeiritu", QRect(13, 181, 0, 0), "税率");
    row("lblKoujoGoukei", QRect(197, 13, 0, 0), "控除合計");
    row("lblJutakusyutokutou", QRect(197, 69, 0, 0), "住宅取得等特別控除");
    row("lblSyotokuzeigaku", QRect(197, 125, 0, 0), "所得税額");
    row("lblTakubetuGenzei", QRect(197, 181, 0, 0), "特別減税額");
    row("medKyuyoSyunyu", QRect(18, 40, 135, 17));
    row("medKoujoGoukei", QRect(204, 40, 133, 17));
    row("medJutakusyutokutou", QRect(206, 96, 131, 17));
    row("bevKyuyoSyotoku", QRect(16, 88, 137, 25));
    row("bevKazeiSyotoku", QRect(16, 144, 137, 25));
    row("bevZeiritu", QRect(16, 200, 137, 25));
    row("bevSyotokuzeigaku", QRect(200, 144, 137, 25));
    row("bevTakubetuGenzei", QRect(200, 200, 137, 25));
    row("lblDispKyuyoSyotoku", QRect(24, 96, 121, 17));
    row("lblDispKazeiSyotoku", QRect(24, 152, 121, 17));
    row("lblDispZeiritu", QRect(24, 208, 121, 17));
    row("lblDispSyotokuzeigaku", QRect(208, 152, 121, 17));
    row("lblDispTakubetuGenzei", QRect(208, 208, 121, 17));
    row("traKyuyoSyunyu", QRect(160, 9, 33, 216));
    row("traKoujoGoukei", QRect(344, 9, 33, 216));
    row("OKBtn", QRect(120, 240, 77, 27));
}

void TestTrial::layoutAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(QString, caption);
    TdlgTrial dlg;
    const QWidget &control = Control(dlg, name);
    QCOMPARE(control.parentWidget(), &dlg);
    if (caption.isEmpty()) {
        QCOMPARE(control.geometry(), bounds);
    } else {
        const auto &label = static_cast<const QLabel &>(control);
        QCOMPARE(label.text(), caption);
        QCOMPARE(label.pos(), bounds.topLeft());
        QVERIFY(label.width() >= label.fontMetrics().horizontalAdvance(caption));
    }
    if (name.startsWith(u"bev")) {
        const auto &frame = static_cast<const QFrame &>(control);
        QCOMPARE(frame.frameShape(), QFrame::Panel);
        QCOMPARE(frame.frameShadow(), QFrame::Sunken);
        // the value label lies on top of its frame, under only the field
        // that lets the keyboard reach it, which has its bounds
        const QWidget &value = Control(dlg, QStringLiteral("lblDisp") + name.mid(3));
        const QWidget &field = Control(dlg, QStringLiteral("fld") + name.mid(3));
        QVERIFY(frame.geometry().contains(value.geometry()));
        QCOMPARE(field.geometry(), value.geometry());
        QCOMPARE(dlg.childAt(value.geometry().center()), &field);
    }
    if (name.startsWith(u"lblDisp"))
        QVERIFY(static_cast<const QLabel &>(control).alignment() & Qt::AlignRight);
}

void TestTrial::typedFigures_data()
{
    QTest::addColumn<QString>("salary");
    QTest::addColumn<QString>("deductions");
    QTest::addColumn<QString>("housing");
    QTest::addColumn<QStringList>("results");
    const QStringList sample{"5,008,830", "2,624,000", "10%", "151,600", "26,760"};
    const QStringList zeros(5, QStringLiteral("0"));
    QTest::newRow("sample slip") << "6898700" << "2384630" << "84000" << sample;
    QTest::newRow("as the slip prints amounts") << "6,898,700" << "2,384,630" << "84,000" << sample;
    QTest::newRow("full-width deduction total")
        << "6898700" << QStringLiteral("４００００００") << "0"
        << QStringList{"5,008,830", "1,008,000", "10%", "85,600", "15,120"};
    QTest::newRow("digits then other characters")
        << "6898700y" << "2384630z" << "84000abc" << sample;
    QTest::newRow("all zero") << "0" << "0" << "0" << zeros;
    QTest::newRow("all empty") << "" << "" << "" << zeros;
    QTest::newRow("no number") << "abc" << "x1" << " " << zeros;
    QTest::newRow("salary below 651,000") << "650999" << "0" << "0" << zeros;
    // the salary is typed first, so the rate was shown on the way
    QTest::newRow("deductions above salary income")
        << "6898700" << "6000000" << "0" << QStringList{"5,008,830", "0", "10%", "0", "0"};
    QTest::newRow("housing credit above the tax")
        << "6898700" << "2384630" << "300000"
        << QStringList{"5,008,830", "2,624,000", "10%", "0", "0"};
    QTest::newRow("housing credit equal to the tax")
        << "6898700" << "2384630" << "262400"
        << QStringList{"5,008,830", "2,624,000", "10%", "0", "0"};
    QTest::newRow("rate 20%, reduction at its cap")
        << "6000000" << "0" << "0"
        << QStringList{"4,260,000", "4,260,000", "20%", "472,000", "50,000"};
    QTest::newRow("negative deductions add to the income")
        << "6898700" << "-1000000" << "0"
        << QStringList{"5,008,830", "6,008,000", "20%", "821,600", "50,000"};
    QTest::newRow("largest salary the slider sets")
        << "50000000" << "0" << "0"
        << QStringList{"45,800,000", "45,800,000", "50%", "16,820,000", "50,000"};
    QTest::newRow("largest typed figures")
        << "99999999" << "-9999999" << "-9999999"
        << QStringList{"93,299,999", "103,299,000", "50%", "55,569,400", "50,000"};
}

void TestTrial::typedFigures()
{
    QFETCH(QString, salary);
    QFETCH(QString, deductions);
    QFETCH(QString, housing);
    QFETCH(QStringList, results);
    TdlgTrial dlg;
    Type(Field(dlg, "medKyuyoSyunyu"), salary);
    Type(Field(dlg, "medKoujoGoukei"), deductions);
    Type(Field(dlg, "medJutakusyutokutou"), housing);
    QCOMPARE(Field(dlg, "medKyuyoSyunyu").text(), salary);
    QCOMPARE(Results(dlg), results);
}

// The rate is looked at only when the taxable income changes, so it keeps
// its "0" while the taxable income stays 0, and later shows the rate of 0.
void TestTrial::rateLabelWaitsForTaxableIncome()
{
    TdlgTrial dlg;
    QLabel &rate = Label(dlg, "lblDispZeiritu");
    Type(Field(dlg, "medKyuyoSyunyu"), "600000");
    QCOMPARE(rate.text(), QStringLiteral("0"));
    Type(Field(dlg, "medKyuyoSyunyu"), "6000000");
    QCOMPARE(rate.text(), QStringLiteral("20%"));
    Type(Field(dlg, "medKyuyoSyunyu"), "0");
    QCOMPARE(Label(dlg, "lblDispKazeiSyotoku").text(), QStringLiteral("0"));
    QCOMPARE(rate.text(), QStringLiteral("10%"));
}

void TestTrial::sliders_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("setValue");  // -1: none, after the keys
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    const QString salary = QStringLiteral("traKyuyoSyunyu");
    const QString deduction = QStringLiteral("traKoujoGoukei");
    const QString salaryField = QStringLiteral("medKyuyoSyunyu");
    const QString deductionField = QStringLiteral("medKoujoGoukei");
    using K = QList<int>;
    QTest::newRow("salary: up at the top does nothing")
        << salary << salaryField << K{Qt::Key_Up} << -1 << 0 << "0";
    QTest::newRow("salary: one step down")
        << salary << salaryField << K{Qt::Key_Down} << -1 << 1 << "49995000";
    QTest::newRow("salary: back to the top")
        << salary << salaryField << K{Qt::Key_Down, Qt::Key_Up} << -1 << 0 << "50000000";
    QTest::newRow("salary: home")
        << salary << salaryField << K{Qt::Key_Down, Qt::Key_Down, Qt::Key_Home} << -1 << 0
        << "50000000";
    QTest::newRow("salary: page down is one position")
        << salary << salaryField << K{Qt::Key_PageDown} << -1 << 1 << "49995000";
    QTest::newRow("salary: end is the bottom")
        << salary << salaryField << K{Qt::Key_End} << -1 << 10000 << "0";
    QTest::newRow("salary: set to the bottom")
        << salary << salaryField << K{} << 10000 << 10000 << "0";
    QTest::newRow("salary: set to the middle")
        << salary << salaryField << K{} << 5000 << 5000 << "25000000";
    QTest::newRow("salary: set beyond the bottom")
        << salary << salaryField << K{} << 20000 << 10000 << "0";
    QTest::newRow("deduction: one step down")
        << deduction << deductionField << K{Qt::Key_Down} << -1 << 1 << "4999500";
    QTest::newRow("deduction: page down is two positions")
        << deduction << deductionField << K{Qt::Key_PageDown} << -1 << 2 << "4999000";
    QTest::newRow("deduction: page up to the top")
        << deduction << deductionField << K{Qt::Key_PageDown, Qt::Key_PageUp} << -1 << 0
        << "5000000";
    QTest::newRow("deduction: end is the bottom")
        << deduction << deductionField << K{Qt::Key_End} << -1 << 10000 << "0";
    QTest::newRow("deduction: set one above the bottom")
        << deduction << deductionField << K{} << 9999 << 9999 << "500";
}

void TestTrial::sliders()
{
    QFETCH(QString, slider);
    QFETCH(QString, field);
    QFETCH(QList<int>, keys);
    QFETCH(int, setValue);
    QFETCH(int, position);
    QFETCH(QString, text);
    TdlgTrial dlg;
    QSlider &control = Slider(dlg, slider);
    for (int key : keys)
        QTest::keyClick(&control, static_cast<Qt::Key>(key));
    if (setValue >= 0)
        control.setValue(setValue);
    QCOMPARE(control.value(), position);
    QCOMPARE(Field(dlg, field).text(), text);
}

void TestTrial::sliderMoveRecalculates()
{
    TdlgTrial dlg;
    QTest::keyClick(&Slider(dlg, "traKyuyoSyunyu"), Qt::Key_Down);
    QCOMPARE(Label(dlg, "lblDispKyuyoSyotoku").text(), QStringLiteral("45,795,250"));
    Type(Field(dlg, "medKyuyoSyunyu"), "6898700");
    Slider(dlg, "traKoujoGoukei").setValue(5231);  // 2,384,500
    QCOMPARE(Label(dlg, "lblDispKazeiSyotoku").text(), QStringLiteral("2,624,000"));
}

void TestTrial::fieldsNeverMoveSliders()
{
    TdlgTrial dlg;
    QSlider &salary = Slider(dlg, "traKyuyoSyunyu");
    QSlider &deduction = Slider(dlg, "traKoujoGoukei");
    QTest::keyClick(&salary, Qt::Key_PageDown);
    QTest::keyClick(&deduction, Qt::Key_PageDown);
    Type(Field(dlg, "medKyuyoSyunyu"), "0");
    Type(Field(dlg, "medKoujoGoukei"), "5000000");
    QCOMPARE(salary.value(), 1);
    QCOMPARE(deduction.value(), 2);
    dlg.InitFromSlip(SampleSlip());
    QCOMPARE(salary.value(), 1);
    QCOMPARE(deduction.value(), 2);
    QCOMPARE(Field(dlg, "medKyuyoSyunyu").text(), QStringLiteral("6898700"));
}

void TestTrial::initFromSlip_data()
{
    QTest::addColumn<bool>("sampleFirst");  // an opening with the sample slip before
    QTest::addColumn<QString>("typed");     // salary typed before this opening, if any
    QTest::addColumn<int>("salary");
    QTest::addColumn<int>("deductions");
    QTest::addColumn<int>("housing");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("salaryIncome");
    QTest::newRow("sample slip") << false << "" << 6898700 << 2384630 << 84000
                                 << QStringList{"6898700", "2384630", "84000"} << "5,008,830";
    QTest::newRow("blank slip keeps the initial 0")
        << false << "" << -1 << -1 << -1 << QStringList{"0", "0", "0"} << "0";
    QTest::newRow("blank slip keeps the last opening")
        << true << "" << -1 << -1 << -1 << QStringList{"6898700", "2384630", "84000"}
        << "5,008,830";
    QTest::newRow("blank salary keeps the typed salary")
        << true << "3000000" << -1 << 100000 << -1 << QStringList{"3000000", "100000", "84000"}
        << "1,920,000";
    QTest::newRow("0 is not blank")
        << true << "3000000" << 0 << 0 << 0 << QStringList{"0", "0", "0"} << "0";
    QTest::newRow("negative amount") << false << "" << -5 << -2 << -1
                                     << QStringList{"-5", "-2", "0"} << "0";
}

void TestTrial::initFromSlip()
{
    QFETCH(bool, sampleFirst);
    QFETCH(QString, typed);
    QFETCH(int, salary);
    QFETCH(int, deductions);
    QFETCH(int, housing);
    QFETCH(QStringList, fields);
    QFETCH(QString, salaryIncome);
    TdlgTrial dlg;
    if (sampleFirst)
        dlg.InitFromSlip(SampleSlip());
    if (!typed.isEmpty())
        Type(Field(dlg, "medKyuyoSyunyu"), typed);
    dlg.InitFromSlip(SlipWith(salary, deductions, housing));
    QCOMPARE((QStringList{Field(dlg, "medKyuyoSyunyu").text(), Field(dlg, "medKoujoGoukei").text(),
                          Field(dlg, "medJutakusyutokutou").text()}),
             fields);
    QCOMPARE(Label(dlg, "lblDispKyuyoSyotoku").text(), salaryIncome);
}

// A slip amount longer than the typing limit is shown whole and counts whole;
// typing may shorten it but not lengthen it, and the limit comes back.
void TestTrial::longSlipAmountKeptWhole()
{
    TdlgTrial dlg;
    QLineEdit &field = Field(dlg, "medKyuyoSyunyu");
    dlg.InitFromSlip(SlipWith(1234567890, -1, -1));
    QCOMPARE(field.text(), QStringLiteral("1234567890"));
    QCOMPARE(Label(dlg, "lblDispKyuyoSyotoku").text(), QStringLiteral("1,171,139,495"));

    QTest::keyClick(&field, Qt::Key_5);
    QCOMPARE(field.text(), QStringLiteral("1234567890"));
    field.setCursorPosition(3);
    QTest::keyClick(&field, Qt::Key_Delete);
    QCOMPARE(field.text(), QStringLiteral("123567890"));
    QCOMPARE(field.cursorPosition(), 3);
    QTest::keyClick(&field, Qt::Key_Delete);
    QCOMPARE(field.text(), QStringLiteral("12367890"));
    QCOMPARE(field.cursorPosition(), 3);
    QTest::keyClick(&field, Qt::Key_4);
    QCOMPARE(field.text(), QStringLiteral("12367890"));
    QCOMPARE(Label(dlg, "lblDispKyuyoSyotoku").text(), QStringLiteral("10,049,495"));

    dlg.InitFromSlip(SlipWith(-2147483647 - 1, -1, -1));
    QCOMPARE(field.text(), QStringLiteral("-2147483648"));
    QCOMPARE(Label(dlg, "lblDispKyuyoSyotoku").text(), QStringLiteral("0"));
}

void TestTrial::typingLimitCountsDigits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ninth digit refused") << "123456789" << "12345678";
    QTest::newRow("grouped largest slider salary") << "50,000,000" << "50,000,000";
    QTest::newRow("grouped, ninth digit refused") << "99,999,999,9" << "99,999,999,";
    QTest::newRow("full-width digits count")
        << QStringLiteral("１２３４５６７８９") << QStringLiteral("１２３４５６７８");
    QTest::newRow("other characters do not count") << "abc12345678xyz9" << "abc12345678xyz";
}

// Eight digits may be typed, however many commas or other characters come
// with them.
void TestTrial::typingLimitCountsDigits()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TdlgTrial dlg;
    QLineEdit &field = Field(dlg, "medKoujoGoukei");
    Type(field, typed);
    QCOMPARE(field.text(), kept);
}

void TestTrial::unchangedResultNotRewritten_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("salary income kept when the credit changes")
        << "lblDispKyuyoSyotoku" << "medJutakusyutokutou" << "100000" << Sentinel;
    QTest::newRow("tax rewritten when the credit changes")
        << "lblDispSyotokuzeigaku" << "medJutakusyutokutou" << "100000" << "138,000";
    QTest::newRow("tax kept when the change is rounded away")
        << "lblDispSyotokuzeigaku" << "medJutakusyutokutou" << "84001" << Sentinel;
    QTest::newRow("reduction rewritten by the same change")
        << "lblDispTakubetuGenzei" << "medJutakusyutokutou" << "84001" << "26,759";
    QTest::newRow("salary income rewritten when the salary changes")
        << "lblDispKyuyoSyotoku" << "medKyuyoSyunyu" << "6898709" << "5,008,838";
    QTest::newRow("taxable income kept under 1,000 yen")
        << "lblDispKazeiSyotoku" << "medKyuyoSyunyu" << "6898709" << Sentinel;
    QTest::newRow("rate kept when the taxable income changes")
        << "lblDispZeiritu" << "medKoujoGoukei" << "2000000" << Sentinel;
    QTest::newRow("rate rewritten in another band")
        << "lblDispZeiritu" << "medKoujoGoukei" << "0" << "20%";
}

// The label is marked by hand; a recalculation that rewrites it replaces the
// mark, one that leaves it alone keeps it.
void TestTrial::unchangedResultNotRewritten()
{
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TdlgTrial dlg;
    dlg.InitFromSlip(SampleSlip());
    Label(dlg, label).setText(Sentinel);
    Field(dlg, field).setText(text);
    QCOMPARE(Label(dlg, label).text(), shown);
}

void TestTrial::keyboardOrder()
{
    TdlgTrial dlg;
    dlg.show();
    dlg.activateWindow();  // no window manager under a bare X server
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(QApplication::focusWidget(), &Control(dlg, "OKBtn"));
    QStringList order;
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    // The results follow the designed controls, so that a keyboard user
    // reaches them too.
    QCOMPARE(order, (QStringList{"medKyuyoSyunyu", "medKoujoGoukei", "medJutakusyutokutou",
                                 "traKyuyoSyunyu", "traKoujoGoukei", "fldKyuyoSyotoku",
                                 "fldKazeiSyotoku", "fldZeiritu", "fldSyotokuzeigaku",
                                 "fldTakubetuGenzei", "OKBtn"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("fldTakubetuGenzei"));
}

// Each opening records where the focus is, moves it with Tab and closes with
// Enter (the OK button is the default); the next opening must find the focus
// where it was left.
void TestTrial::focusKeptAcrossOpenings()
{
    TdlgTrial dlg;
    const TKyuho slip = SampleSlip();
    QStringList seen;
    const auto open = [&](int tabs) {
        QTimer::singleShot(0, &dlg, [&dlg, &seen, tabs] {
            if (!QTest::qWaitForWindowActive(&dlg) || !QApplication::focusWidget()) {
                seen << QStringLiteral("(not active)");
                dlg.reject();
                return;
            }
            seen << QApplication::focusWidget()->objectName();
            for (int i = 0; i < tabs; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        dlg.InitFromSlip(slip);
        return dlg.exec();
    };
    QCOMPARE(open(2), int(QDialog::Accepted));
    QCOMPARE(open(2), int(QDialog::Accepted));
    QCOMPARE(open(0), int(QDialog::Accepted));
    QCOMPARE(seen, (QStringList{"OKBtn", "medKoujoGoukei", "traKyuyoSyunyu"}));
}

QTEST_MAIN(TestTrial)
#include "tst_trial.moc"
