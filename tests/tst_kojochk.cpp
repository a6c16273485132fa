// The deduction inspection dialog: its controls, the two reference tables,
// the excerpts and what an inspection writes.

#include "Kojochk/Kojochk.h"
#include "Verify/Kyuho.h"
#include "slip/SlipDraw.h"
#include "tests/SlipSamples.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <array>
#include <memory>

using namespace mivrel;

namespace {

const QString Normal = QStringLiteral("検査結果は正常です．");

// True when some pixel of the area differs from `background`.
bool HasInk(const QImage &image, const QRect &area, QColor background)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != background)
                return true;
    return false;
}

} // namespace

class TestKojoCheck : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dialogFrame();
    void controlPlacement_data();
    void controlPlacement();
    void onlyInsuranceMemoIsEditable();
    void salaryTable_data();
    void salaryTable();
    void spouseTable_data();
    void spouseTable();
    void tablesAreReadOnlyGrids_data();
    void tablesAreReadOnlyGrids();
    void headerRowsStayInViewWhileScrolling_data();
    void headerRowsStayInViewWhileScrolling();
    void excerptSizes_data();
    void excerptSizes();
    void excerptsShowValuesAndClearWithTheSlip();
    void twoPieceExcerptsLeaveTheirGapBlank();
    void sampleSlipInspection();
    void findingsOnePerLineAndOverwritten();
    void insuranceValuesKeepTheirRightEdge();
    void tabShownLastIsKeptAcrossOpenings();
    void tabLeavesEveryControl_data();
    void tabLeavesEveryControl();
    void ctrlTabSwitchesPageFromGrid_data();
    void ctrlTabSwitchesPageFromGrid();
    void cancelAndHelpExistHidden();

private:
    std::unique_ptr<TdlgKojoCheck> Dialog;
    template <typename T> T *Find(const char *name) const
    {
        T *child = Dialog->findChild<T *>(QLatin1String(name));
        if (!child)
            qWarning("no control %s", name);
        return child;
    }
    QTabWidget *Tabs() const { return Find<QTabWidget>("PageControl1"); }
};

void TestKojoCheck::initTestCase()
{
    InstallFaceSubstitutions();
}

void TestKojoCheck::init()
{
    Dialog = std::make_unique<TdlgKojoCheck>();
}

void TestKojoCheck::cleanup()
{
    Dialog.reset();
}

void TestKojoCheck::dialogFrame()
{
    QCOMPARE(Dialog->windowTitle(), QStringLiteral("控除項目の検査"));
    QCOMPARE(Dialog->size(), QSize(426, 306));
    QCOMPARE(Dialog->minimumSize(), Dialog->maximumSize());
    QCOMPARE(Dialog->font().pixelSize(), 13);
    QTabWidget *tabs = Tabs();
    QVERIFY(tabs);
    QCOMPARE(tabs->geometry(), QRect(0, 0, 419, 269));
    const QStringList titles{QStringLiteral("給与所得"), QStringLiteral("配偶者"), QStringLiteral("扶養親族"),
                             QStringLiteral("保険料"), QStringLiteral("本人該当")};
    QCOMPARE(tabs->count(), titles.size());
    for (int i = 0; i < tabs->count(); ++i) {
        QCOMPARE(tabs->tabText(i), titles[i]);
        QCOMPARE(tabs->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
    }
    QCOMPARE(tabs->currentIndex(), 0);
    auto *ok = Find<QPushButton>("OKBtn");
    QVERIFY(ok);
    QCOMPARE(ok->geometry(), QRect(176, 272, 77, 27));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
}

void TestKojoCheck::controlPlacement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QRect>("geometry");  // width/height -1: sized at run time

    auto row = [](const char *name, const char *sheet, QRect geometry) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(sheet) << geometry;
    };
    row("imgKyuyo", "TabSheet1", {4, 5, -1, -1});
    row("memKyuyoSyotokuMsg", "TabSheet1", {222, 5, 189, 68});
    row("Label5", "TabSheet1", {16, 104, -1, -1});
    row("dispKyuyoSyotokuKeisan", "TabSheet1", {16, 120, 81, -1});
    row("Label2", "TabSheet1", {160, 80, -1, -1});
    row("StringGrid1", "TabSheet1", {112, 96, 297, 139});
    row("imgKouhai", "TabSheet2", {4, 5, -1, -1});
    row("imgHaitoku", "TabSheet2", {4, 77, -1, -1});
    row("memHaiguMsg", "TabSheet2", {168, 8, 241, 89});
    row("Label4", "TabSheet2", {192, 105, -1, -1});
    row("Label7", "TabSheet2", {8, 128, -1, -1});
    row("dispHaitokuKeisan", "TabSheet2", {40, 144, 86, -1});
    row("StringGrid2", "TabSheet2", {136, 120, 273, 115});
    row("imgHuyou", "TabSheet3", {4, 5, -1, -1});
    row("memHuyou", "TabSheet3", {8, 80, 401, 153});
    row("imgHokenKojo", "TabSheet4", {4, 5, -1, -1});
    row("imgHokenSiharai", "TabSheet4", {180, 5, -1, -1});
    row("Label1", "TabSheet4", {176, 49, -1, -1});
    row("Label3", "TabSheet4", {176, 64, -1, -1});
    row("memHoken", "TabSheet4", {8, 88, 401, 145});
    row("imgHonnin", "TabSheet5", {4, 5, -1, -1});
    row("memHonnin", "TabSheet5", {8, 80, 401, 153});
}

void TestKojoCheck::controlPlacement()
{
    QFETCH(QString, name);
    QFETCH(QString, sheet);
    QFETCH(QRect, geometry);
    auto *control = Dialog->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), sheet);
    QCOMPARE(control->pos(), geometry.topLeft());
    if (geometry.width() >= 0)
        QCOMPARE(control->width(), geometry.width());
    if (geometry.height() >= 0)
        QCOMPARE(control->height(), geometry.height());
}

void TestKojoCheck::onlyInsuranceMemoIsEditable()
{
    for (const char *name : {"memKyuyoSyotokuMsg", "memHaiguMsg", "memHuyou", "memHonnin"}) {
        auto *memo = Find<QPlainTextEdit>(name);
        QVERIFY(memo);
        QVERIFY2(memo->isReadOnly(), name);
    }
    auto *hoken = Find<QPlainTextEdit>("memHoken");
    QVERIFY(hoken);
    QVERIFY(!hoken->isReadOnly());
    QCOMPARE(Find<QPlainTextEdit>("memKyuyoSyotokuMsg")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(Find<QPlainTextEdit>("memHuyou")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestKojoCheck::salaryTable_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");

    const QList<std::pair<int, QStringList>> rows{
        {0, {"給与等の金額", "", "給与所得控除後"}},
        {1, {"以上", "以下", "の給与等の金額"}},
        {2, {"0", "650,999", "0"}},
        {3, {"651,000", "1,618,999", "給与等の金額"}},
        {4, {"", "", "から650,000円"}},
        {5, {"", "", "を引いた金額"}},
        {6, {"1,619,000", "1,619,999", "969,000"}},
        {7, {"1,620,000", "1,621,999", "970,000"}},
        {8, {"1,622,000", "1,623,999", "972,000"}},
        {9, {"1,624,000", "1,627,999", "974,000"}},
        {10, {"1,628,000", "1,631,999", "976,800"}},
        {52, {"1,796,000", "1,799,999", "1,077,600"}},
        {53, {"1,800,000", "1,803,999", "1,080,000"}},
        {502, {"3,596,000", "3,599,999", "2,337,200"}},
        {503, {"3,600,000", "3,603,999", "2,340,000"}},
        {1252, {"6,596,000", "6,599,999", "4,736,800"}},
        {1253, {"6,600,000", "9,999,999", "給与等の金額"}},
        {1254, {"", "", "に90%を乗じて"}},
        {1255, {"", "", " 1,200,000 円"}},
        {1256, {"", "", "を引いた金額"}},
        {1257, {"10,000,000以上", "", "給与等の金額"}},
        {1258, {"", "", "に95%を乗じて"}},
        {1259, {"", "", " 1,700,000 円"}},
        {1260, {"", "", "を引いた金額"}},
    };
    for (const auto &[row, cells] : rows)
        QTest::addRow("row %d", row) << row << cells;
}

void TestKojoCheck::salaryTable()
{
    QFETCH(int, row);
    QFETCH(QStringList, cells);
    auto *grid = Find<QTableView>("StringGrid1");
    QVERIFY(grid);
    const QAbstractItemModel *model = grid->model();
    QCOMPARE(model->rowCount(), 1261);
    for (int column = 0; column < 3; ++column)
        QCOMPARE(model->index(row, column).data().toString(), cells[column]);
}

void TestKojoCheck::spouseTable_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");

    const QList<QStringList> rows{
        {"配偶者の", "合計所得", "配偶者特"}, {"以上", "以下", "別控除額"},
        {"0", "49,999", "380,000"},          {"50,000", "99,999", "330,000"},
        {"100,000", "149,999", "280,000"},   {"150,000", "199,999", "230,000"},
        {"200,000", "249,999", "180,000"},   {"250,000", "299,999", "130,000"},
        {"300,000", "349,999", "80,000"},    {"350,000", "379,999", "30,000"},
        {"380,000", "380,000", "0"},         {"380,001", "399,999", "380,000"},
        {"400,000", "449,999", "360,000"},   {"450,000", "499,999", "310,000"},
        {"500,000", "549,999", "260,000"},   {"550,000", "599,999", "210,000"},
        {"600,000", "649,999", "160,000"},   {"650,000", "699,999", "110,000"},
        {"700,000", "749,999", "60,000"},    {"750,000", "759,999", "30,000"},
        {"760,000", "以上", "0"},
    };
    for (int row = 0; row < rows.size(); ++row)
        QTest::addRow("row %d", row) << row << rows[row];
}

void TestKojoCheck::spouseTable()
{
    QFETCH(int, row);
    QFETCH(QStringList, cells);
    auto *grid = Find<QTableView>("StringGrid2");
    QVERIFY(grid);
    QCOMPARE(grid->model()->rowCount(), 21);
    for (int column = 0; column < 3; ++column)
        QCOMPARE(grid->model()->index(row, column).data().toString(), cells[column]);
}

void TestKojoCheck::tablesAreReadOnlyGrids_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("StringGrid1") << QStringLiteral("StringGrid1");
    QTest::newRow("StringGrid2") << QStringLiteral("StringGrid2");
}

void TestKojoCheck::tablesAreReadOnlyGrids()
{
    QFETCH(QString, name);
    auto *grid = Dialog->findChild<QTableView *>(name);
    QVERIFY(grid);
    QCOMPARE(grid->model()->columnCount(), 3);
    QVERIFY(!(grid->model()->flags(grid->model()->index(5, 1)) & Qt::ItemIsEditable));
    QCOMPARE(grid->rowHeight(5), 14);
    // Three equal columns that fill the client area beside the scroll bar.
    Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    Tabs()->setCurrentWidget(grid->parentWidget());
    QVERIFY(grid->isVisible());
    const int columnWidth = grid->viewport()->width() / 3;
    for (int column = 0; column < 3; ++column)
        QCOMPARE(grid->columnWidth(column), columnWidth);
}

void TestKojoCheck::headerRowsStayInViewWhileScrolling_data()
{
    tablesAreReadOnlyGrids_data();
}

// The two header rows are painted in the same place at the top and at the
// bottom of the table, while the rows below them change.
void TestKojoCheck::headerRowsStayInViewWhileScrolling()
{
    QFETCH(QString, name);
    auto *grid = Dialog->findChild<QTableView *>(name);
    QVERIFY(grid);
    Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    Tabs()->setCurrentWidget(grid->parentWidget());

    const int headerBottom = grid->viewport()->y();
    QVERIFY(headerBottom >= 2 * 14);
    QCOMPARE(grid->rowAt(0), 2);

    const QImage atTop = grid->grab().toImage();
    grid->scrollToBottom();
    QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
    QVERIFY(grid->rowAt(0) > 2);
    QCOMPARE(grid->rowAt(grid->viewport()->height() - 1), grid->model()->rowCount() - 1);
    const QImage atBottom = grid->grab().toImage();

    // Left of the scroll bar, whose thumb has moved.
    const int cellsRight = grid->viewport()->geometry().right();
    const QRect header(0, 0, cellsRight, headerBottom);
    const QRect firstRows(0, headerBottom, cellsRight, 2 * 14);
    QCOMPARE(atBottom.copy(header), atTop.copy(header));
    QVERIFY(atBottom.copy(firstRows) != atTop.copy(firstRows));
    // The header shows text: it is not an empty strip.
    QVERIFY(HasInk(atTop, QRect(4, headerBottom - 14, atTop.width() / 3 - 8, 12),
                   atTop.pixelColor(2, headerBottom - 7)));
}

void TestKojoCheck::excerptSizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("imgKyuyo") << QStringLiteral("imgKyuyo") << QSize(213, 50);
    QTest::newRow("imgKouhai") << QStringLiteral("imgKouhai") << QSize(129, 65);
    QTest::newRow("imgHaitoku") << QStringLiteral("imgHaitoku") << QSize(160, 18);
    QTest::newRow("imgHuyou") << QStringLiteral("imgHuyou") << QSize(250, 65);
    QTest::newRow("imgHokenKojo") << QStringLiteral("imgHokenKojo") << QSize(160, 65);
    QTest::newRow("imgHokenSiharai") << QStringLiteral("imgHokenSiharai") << QSize(160, 35);
    QTest::newRow("imgHonnin") << QStringLiteral("imgHonnin") << QSize(301, 52);
}

void TestKojoCheck::excerptSizes()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const TKyuho slip = SampleSlip();
    RunKojoCheck(*Dialog, slip);
    auto *image = Dialog->findChild<QLabel *>(name);
    QVERIFY(image);
    QCOMPARE(image->pixmap().size(), size);
    QCOMPARE(image->size(), size);
}

// imgKyuyo holds cells 13 and 14 in its lower half: the sample's amounts
// show there, a cleared slip leaves the boxes empty but keeps the captions.
void TestKojoCheck::excerptsShowValuesAndClearWithTheSlip()
{
    const TKyuho sample = SampleSlip();
    const TKyuho blank = BlankSlip();
    auto *image = Find<QLabel>("imgKyuyo");
    QVERIFY(image);
    const QColor background = Dialog->palette().color(QPalette::Window);
    // At 511 pixels cells 8 / 13 run from x 0 to 106 and cells 9 / 14 from
    // 106 to 212; the captions from y 0 to 15, the value boxes from 15 to 49
    // with their small "円" in the top seven pixels.
    const QRect captions(1, 1, 211, 14);
    const std::array<QRect, 2> values{QRect(1, 25, 105, 24), QRect(107, 25, 105, 24)};

    RunKojoCheck(*Dialog, sample);
    const QImage withValues = image->pixmap().toImage();
    for (const QRect &value : values)
        QVERIFY(HasInk(withValues, value, background));

    RunKojoCheck(*Dialog, blank);
    const QImage cleared = image->pixmap().toImage();
    for (const QRect &value : values)
        QVERIFY(!HasInk(cleared, value, background));
    QVERIFY(HasInk(cleared, captions, background));
    QCOMPARE(cleared.copy(captions), withValues.copy(captions));
}

void TestKojoCheck::twoPieceExcerptsLeaveTheirGapBlank()
{
    const TKyuho sample = SampleSlip();
    RunKojoCheck(*Dialog, sample);
    const QColor background = Dialog->palette().color(QPalette::Window);
    // At 511 pixels the left pieces end at x 75 (imgHuyou) and 138 (imgHonnin).
    for (const auto &[name, pieceEnd] : {std::pair{"imgHuyou", 75}, std::pair{"imgHonnin", 138}}) {
        const QImage image = Find<QLabel>(name)->pixmap().toImage();
        QVERIFY2(HasInk(image, QRect(pieceEnd, 0, 1, image.height()), background), name);
        QVERIFY2(!HasInk(image, QRect(pieceEnd + 1, 0, 2, image.height()), background), name);
        QVERIFY2(HasInk(image, QRect(pieceEnd + 3, 0, 1, image.height()), background), name);
    }
}

void TestKojoCheck::sampleSlipInspection()
{
    const TKyuho slip = SampleSlip();
    const TKyuho before = slip;
    RunKojoCheck(*Dialog, slip);
    QVERIFY(slip == before);
    QCOMPARE(Find<QLabel>("dispKyuyoSyotokuKeisan")->text(), QStringLiteral("5,008,830"));
    QCOMPARE(Find<QLabel>("dispHaitokuKeisan")->text(), QStringLiteral("80,000"));
    QCOMPARE(Find<QLabel>("dispKojinNenkinKeisan")->text(), QStringLiteral("46,000"));
    QCOMPARE(Find<QLabel>("dispChousonKeisan")->text(), QStringLiteral("14,200"));
    for (const char *name : {"memKyuyoSyotokuMsg", "memHaiguMsg", "memHuyou", "memHoken", "memHonnin"})
        QCOMPARE(Find<QPlainTextEdit>(name)->toPlainText(), Normal);
    QCOMPARE(Tabs()->currentIndex(), 0);
}

void TestKojoCheck::findingsOnePerLineAndOverwritten()
{
    TKyuho slip = BlankSlip();
    slip.amounts[Slot::SalaryPaid] = 1624000;
    slip.amounts[Slot::SalaryIncome] = 974400;
    slip.marks[Slot::SelfSpecialDisabled] = 1;
    slip.marks[Slot::SelfOtherDisabled] = 1;
    RunKojoCheck(*Dialog, slip);
    QCOMPARE(Find<QPlainTextEdit>("memKyuyoSyotokuMsg")->toPlainText(),
             QStringLiteral("  給与所得の算出値と入力値が一致しません．表の段ずれ等の誤りがある可能性があります．"));
    QCOMPARE(Find<QLabel>("dispKyuyoSyotokuKeisan")->text(), QStringLiteral("974,000"));
    QCOMPARE(Find<QPlainTextEdit>("memHonnin")->toPlainText(),
             QStringLiteral("  本人の障害が’特別障害者’か’その他障害者’のどちらかわかりません．\n"
                            "  本人の生年月日が正しくありません．"));
    QCOMPARE(Find<QLabel>("dispHaitokuKeisan")->text(), QStringLiteral("380,000"));
    QCOMPARE(Find<QLabel>("dispKojinNenkinKeisan")->text(), QStringLiteral("0"));

    Find<QPlainTextEdit>("memHoken")->setPlainText(QStringLiteral("typed by the user"));
    const TKyuho sample = SampleSlip();
    RunKojoCheck(*Dialog, sample);
    for (const char *name : {"memKyuyoSyotokuMsg", "memHoken", "memHonnin"})
        QCOMPARE(Find<QPlainTextEdit>(name)->toPlainText(), Normal);
}

void TestKojoCheck::insuranceValuesKeepTheirRightEdge()
{
    TKyuho slip = BlankSlip();
    RunKojoCheck(*Dialog, slip);  // "0"
    auto *pension = Find<QLabel>("dispKojinNenkinKeisan");
    auto *longTerm = Find<QLabel>("dispChousonKeisan");
    const int narrow = pension->width();
    QCOMPARE(pension->x() + pension->width(), 407);
    QCOMPARE(longTerm->x() + longTerm->width(), 407);
    QCOMPARE(pension->y(), 48);
    QCOMPARE(longTerm->y(), 64);

    slip.amounts[Slot::PensionPremiums] = 84000;
    RunKojoCheck(*Dialog, slip);  // "46,000"
    QVERIFY(pension->width() > narrow);
    QCOMPARE(pension->x() + pension->width(), 407);
}

void TestKojoCheck::tabShownLastIsKeptAcrossOpenings()
{
    const TKyuho slip = SampleSlip();
    int shownTab = -1;
    auto closeWith = [&](int switchTo) {
        QTimer::singleShot(0, Dialog.get(), [&, switchTo] {
            shownTab = Tabs()->currentIndex();
            if (switchTo >= 0)
                Tabs()->setCurrentIndex(switchTo);
            Find<QPushButton>("OKBtn")->click();
        });
    };

    RunKojoCheck(*Dialog, slip);
    closeWith(3);
    QCOMPARE(Dialog->exec(), int(QDialog::Accepted));
    QCOMPARE(shownTab, 0);

    RunKojoCheck(*Dialog, slip);
    closeWith(-1);
    QCOMPARE(Dialog->exec(), int(QDialog::Accepted));
    QCOMPARE(shownTab, 3);
    QCOMPARE(Find<QPlainTextEdit>("memHoken")->toPlainText(), Normal);
}

// Tab moves the focus on from the grids and the memos as from any control,
// without moving in the grid or typing a tab character.
void TestKojoCheck::tabLeavesEveryControl_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::newRow("salary table") << 0 << "StringGrid1";
    QTest::newRow("spouse table") << 1 << "StringGrid2";
    QTest::newRow("insurance memo") << 3 << "memHoken";
    QTest::newRow("dependants memo") << 2 << "memHuyou";
}

void TestKojoCheck::tabLeavesEveryControl()
{
    QFETCH(int, page);
    QFETCH(QString, control);
    RunKojoCheck(*Dialog, SampleSlip());
    Dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(Dialog.get()));
    Tabs()->setCurrentIndex(page);
    auto *target = Dialog->findChild<QWidget *>(control);
    QVERIFY(target);
    target->setFocus(Qt::TabFocusReason);
    QVERIFY(target->hasFocus());
    const QString before = Find<QPlainTextEdit>("memHoken")->toPlainText();
    QTest::keyClick(target, Qt::Key_Tab);
    QVERIFY(!target->hasFocus());
    QCOMPARE(Find<QPlainTextEdit>("memHoken")->toPlainText(), before);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(target->hasFocus());
}

void TestKojoCheck::ctrlTabSwitchesPageFromGrid_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("grid");
    QTest::newRow("salary table") << 0 << "StringGrid1";
    QTest::newRow("spouse table") << 1 << "StringGrid2";
}

void TestKojoCheck::ctrlTabSwitchesPageFromGrid()
{
    QFETCH(int, page);
    QFETCH(QString, grid);
    Dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(Dialog.get()));
    Tabs()->setCurrentIndex(page);
    auto *view = Dialog->findChild<QTableView *>(grid);
    view->setFocus(Qt::TabFocusReason);
    const QModelIndex current = view->currentIndex();
    QTest::keyClick(view, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(Tabs()->currentIndex(), page + 1);
    QCOMPARE(view->currentIndex(), current);
}

void TestKojoCheck::cancelAndHelpExistHidden()
{
    Dialog->show();
    for (const char *name : {"CancelBtn", "HelpBtn"}) {
        auto *button = Find<QPushButton>(name);
        QVERIFY(button);
        QVERIFY(!button->isVisible());
    }
    QVERIFY(Find<QPushButton>("OKBtn")->isVisible());
}

QTEST_MAIN(TestKojoCheck)
#include "tst_kojochk.moc"
