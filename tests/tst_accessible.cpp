// What a screen reader finds through Qt's accessibility interfaces: the
// slip's cells with their names, values and rectangles, the editor named
// after its cell, the command buttons, and the dialogs' captions, excerpts,
// findings and tables. The notifications sent to a running screen reader are
// checked end to end (e2e_atspi.sh); offscreen, no assistive technology
// listens and Qt sends none.

#include "Kojochk/Kojochk.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"
#include "Trial/Trial.h"
#include "Verify/Kyuho.h"
#include "Verify/TextBoundaries.h"
#include "Verify/Verify.h"
#include "tests/OffscreenQuiet.h"
#include "tests/SlipSamples.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace mivrel;

namespace {

QAccessibleInterface *Accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// The main window's children that stand for cells of the slip (no widget).
QList<QAccessibleInterface *> CellChildren(TfrmMain &frm)
{
    QList<QAccessibleInterface *> cells;
    QAccessibleInterface *window = Accessible(&frm);
    for (int i = 0; i < window->childCount(); ++i)
        if (QAccessibleInterface *child = window->child(i); child && !child->object())
            cells << child;
    return cells;
}

QAccessibleInterface *CellNamed(TfrmMain &frm, const QString &name)
{
    for (QAccessibleInterface *cell : CellChildren(frm))
        if (cell->text(QAccessible::Name) == name)
            return cell;
    return nullptr;
}

QPoint CellCentre(const TfrmMain &frm, std::uint8_t cell)
{
    const CellRect &r = frm.layout().Cells[cell];
    const SlipOrigin &o = frm.paintContext().Origin;
    return {o.X + (r.Left + r.Right) / 2, o.Y + (r.Top + r.Bottom) / 2};
}

// The widgets a keyboard user has to reach to read or operate a dialog.
bool NeedsKeyboard(QWidget *widget)
{
    if (qobject_cast<QHeaderView *>(widget))
        return false;  // part of its table, which takes the focus
    return qobject_cast<QPushButton *>(widget) || qobject_cast<QLineEdit *>(widget)
        || qobject_cast<QSlider *>(widget) || qobject_cast<QAbstractScrollArea *>(widget)
        || qobject_cast<QTabBar *>(widget);
}

bool InFocusChain(QWidget *dialog, QWidget *widget)
{
    for (QWidget *w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain())
        if (w == widget)
            return true;
    return false;
}

} // namespace

class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void slipHasOneChildPerInputCell();
    void cellNameValueAndState_data();
    void cellNameValueAndState();
    void cellRectFollowsSlip();
    void editorNamedAfterItsCell();
    void editChangesCellValue_data();
    void editChangesCellValue();
    void buttonsNamedByCaption();
    void dialogTexts_data();
    void dialogTexts();
    void dialogsReachableByKeyboard();
    void textUnitsAtEveryOffset_data();
    void textUnitsAtEveryOffset();
    void fieldAnswersAtItsEnd();
    void sliderValueIsAmount();
    void tableHeadingsJoined();

private:
    QPlainTextEdit *editor() const { return frm->findChild<QPlainTextEdit *>("MemoGen"); }
    void click(std::uint8_t cell);

    std::unique_ptr<TfrmMain> frm;
};

void TestAccessible::initTestCase()
{
    SilenceOffscreenSizeHints();
}

void TestAccessible::init()
{
    frm.reset(CreateForms().frmMain);
    frm->show();
    QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    QCoreApplication::processEvents();
}

void TestAccessible::cleanup()
{
    frm.reset();
}

void TestAccessible::click(std::uint8_t cell)
{
    QTest::mouseClick(frm.get(), Qt::LeftButton, {}, CellCentre(*frm, cell));
}

void TestAccessible::slipHasOneChildPerInputCell()
{
    const QList<QAccessibleInterface *> cells = CellChildren(*frm);
    QCOMPARE(cells.size(), 53);
    QSet<QString> names;
    int checkBoxes = 0;
    for (QAccessibleInterface *cell : cells) {
        names << cell->text(QAccessible::Name);
        checkBoxes += cell->role() == QAccessible::CheckBox;
        QCOMPARE(cell->parent(), Accessible(frm.get()));
        QCOMPARE(cell->parent()->child(cell->parent()->indexOfChild(cell)), cell);
    }
    QSet<QString> expected;
    for (int c = 0; c < CellCount; ++c)
        if (IsInputCell(static_cast<std::uint8_t>(c)))
            expected << CellName(static_cast<std::uint8_t>(c));
    QCOMPARE(names, expected);
    QCOMPARE(checkBoxes, 22);
}

void TestAccessible::cellNameValueAndState_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("mark");
    QTest::newRow("13 amount, grouped") << QStringLiteral("支払金額") << QStringLiteral("6,898,700") << false;
    QTest::newRow("59 remarks amount") << QStringLiteral("配偶者の合計所得") << QStringLiteral("300,000") << false;
    QTest::newRow("51 plain digits as printed") << QStringLiteral("社会保険料等の金額") << QStringLiteral("692430") << false;
    QTest::newRow("39 count") << QStringLiteral("扶養親族の数 その他 人") << QStringLiteral("2") << false;
    QTest::newRow("98 blank count") << QStringLiteral("中途就・退職 年") << QString() << false;
    QTest::newRow("2 two-line address") << QStringLiteral("支払を受ける者 住所又は居所")
                                        << SampleSlip().texts[Slot::Address] << false;
    QTest::newRow("23 set mark") << QStringLiteral("控除対象配偶者の有無等 有") << QStringLiteral("○") << true;
    QTest::newRow("24 clear mark") << QStringLiteral("控除対象配偶者の有無等 無") << QString() << true;
}

void TestAccessible::cellNameValueAndState()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, mark);
    QAccessibleInterface *cell = CellNamed(*frm, name);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Value), value);
    QCOMPARE(cell->role(), mark ? QAccessible::CheckBox : QAccessible::EditableText);
    QVERIFY(cell->state().focusable);
    if (mark) {
        QVERIFY(cell->state().checkable);
        QCOMPARE(bool(cell->state().checked), !value.isEmpty());
        QVERIFY(!cell->textInterface());
    } else {
        QAccessibleTextInterface *text = cell->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), value);
    }
}

void TestAccessible::cellRectFollowsSlip()
{
    QAccessibleInterface *window = Accessible(frm.get());
    for (int width : {476, 900}) {
        frm->resize(width, 100);
        QCoreApplication::processEvents();
        QAccessibleInterface *salary = CellNamed(*frm, QStringLiteral("支払金額"));
        const CellRect &r = frm->layout().Cells[13];
        const SlipOrigin &o = frm->paintContext().Origin;
        const QRect onScreen(frm->mapToGlobal(QPoint(o.X + r.Left, o.Y + r.Top)),
                             frm->mapToGlobal(QPoint(o.X + r.Right, o.Y + r.Bottom)));
        QCOMPARE(salary->rect(), onScreen);
        QCOMPARE(window->childAt(onScreen.center().x(), onScreen.center().y()), salary);
    }
    // Over the cell being edited the editor answers, not the cell beneath.
    const QPoint onEditor = editor()->mapToGlobal(editor()->rect().center());
    QCOMPARE(window->childAt(onEditor.x(), onEditor.y()), Accessible(editor()));
}

void TestAccessible::editorNamedAfterItsCell()
{
    QAccessibleInterface *edit = Accessible(editor());
    QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("支払を受ける者 住所又は居所"));

    click(13);
    QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("支払金額"));
    QVERIFY(edit->text(QAccessible::Description).isEmpty());

    // Tab held down: the frame runs ahead and the framed box has the focus.
    QTest::keyPress(editor(), Qt::Key_Tab);
    QAccessibleInterface *next = CellNamed(*frm, QStringLiteral("給与所得控除後の金額"));
    QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("支払金額"));
    QVERIFY(next->state().focused);
    QCOMPARE(Accessible(frm.get())->focusChild(), next);

    QTest::keyRelease(editor(), Qt::Key_Tab);
    QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("給与所得控除後の金額"));
    QVERIFY(!next->state().focused);
    QCOMPARE(Accessible(frm.get())->focusChild(), edit);

    // In a mark cell the editor tells what its keys do.
    click(23);
    QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("控除対象配偶者の有無等 有"));
    QVERIFY(!edit->text(QAccessible::Description).isEmpty());
    QVERIFY(!edit->text(QAccessible::Description).contains(u'○'));
}

void TestAccessible::editChangesCellValue_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    QTest::newRow("13 amount") << 13 << QStringLiteral("5000000") << QStringLiteral("5,000,000");
    QTest::newRow("98 blank count") << 98 << QStringLiteral("8") << QStringLiteral("8");
    QTest::newRow("24 mark set by a key") << 24 << QStringLiteral(" ") << QStringLiteral("○");
    QTest::newRow("23 mark cleared by a key") << 23 << QStringLiteral("x") << QString();
}

void TestAccessible::editChangesCellValue()
{
    QFETCH(int, cell);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    click(static_cast<std::uint8_t>(cell));
    QAccessibleInterface *child = CellNamed(*frm, CellName(static_cast<std::uint8_t>(cell)));
    editor()->selectAll();
    QTest::keyClicks(editor(), typed);
    QTest::keyClick(editor(), Qt::Key_Tab);
    QCOMPARE(child->text(QAccessible::Value), value);
    if (child->role() == QAccessible::CheckBox)
        QCOMPARE(bool(child->state().checked), !value.isEmpty());
}

void TestAccessible::buttonsNamedByCaption()
{
    const QList<QToolButton *> buttons = frm->findChild<QWidget *>("PanelBtn")->findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), 5);
    for (QToolButton *button : buttons) {
        QAccessibleInterface *iface = Accessible(button);
        QVERIFY(!button->text().isEmpty() && !button->toolTip().isEmpty());
        QCOMPARE(iface->text(QAccessible::Name), button->text());
        QCOMPARE(iface->text(QAccessible::Description), button->toolTip());
    }
}

enum class Dialog { Verify, Trial, Inspection };
Q_DECLARE_METATYPE(Dialog)

// Names and descriptions in the dialogs, filled from the sample slip or from
// a blank one. Names come from the captions beside the controls.
void TestAccessible::dialogTexts_data()
{
    QTest::addColumn<Dialog>("dialog");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QAccessible::Text>("which");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *tag, Dialog dialog, bool blank, const char *control, QAccessible::Text which,
                        const QString &text) {
        QTest::newRow(tag) << dialog << blank << QString::fromLatin1(control) << which << text;
    };
    const auto name = QAccessible::Name;
    const auto description = QAccessible::Description;
    row("verify: value with caption", Dialog::Verify, false, "dispHaikou", name, QStringLiteral("配偶者控除 380,000"));
    row("verify: blank value, caption alone", Dialog::Verify, true, "dispHaikou", name, QStringLiteral("配偶者控除"));
    row("verify: row 2 tax", Dialog::Verify, false, "dispSyotokuzeikeisan2", name,
        QStringLiteral("所得税額計算値 151,600"));
    row("verify: caption's hint", Dialog::Verify, false, "dispKisoKojo", description,
        QStringLiteral("３８万円を控除することをいいます。(必要用件はありません。)"));
    row("trial: field", Dialog::Trial, false, "medKyuyoSyunyu", name, QStringLiteral("給与収入"));
    row("trial: salary slider", Dialog::Trial, false, "traKyuyoSyunyu", name, QStringLiteral("給与収入"));
    row("trial: deduction slider", Dialog::Trial, false, "traKoujoGoukei", name, QStringLiteral("控除合計"));
    row("trial: result, named by its caption", Dialog::Trial, false, "fldZeiritu", name, QStringLiteral("税率"));
    row("trial: result's value", Dialog::Trial, false, "fldZeiritu", QAccessible::Value, QStringLiteral("10%"));
    row("trial: result label said by its field", Dialog::Trial, false, "lblDispZeiritu", name, QString());
    row("verify: caption said with its value", Dialog::Verify, false, "lblHaikou", name, QString());
    row("inspection: findings", Dialog::Inspection, false, "memHaiguMsg", name, QStringLiteral("配偶者の検査結果"));
    row("inspection: table", Dialog::Inspection, false, "StringGrid1", name,
        QStringLiteral("給与所得控除後の給与等の金額の表"));
    row("inspection: value", Dialog::Inspection, false, "dispChousonKeisan", name,
        QStringLiteral("長期損害保険に係る控除額 14,200"));
    row("inspection: excerpt", Dialog::Inspection, false, "imgKyuyo", name, QStringLiteral("源泉徴収票の抜粋"));
    row("inspection: excerpt figures", Dialog::Inspection, false, "imgKyuyo", description,
        QStringLiteral("支払金額 6,898,700、給与所得控除後の金額 5,008,830"));
    row("inspection: marks and a plain amount", Dialog::Inspection, false, "imgKouhai", description,
        QStringLiteral("控除対象配偶者の有無等 有、配偶者特別控除の額 80000"));
    row("inspection: not the clipped box above", Dialog::Inspection, false, "imgHokenSiharai", description,
        QStringLiteral("個人年金保険料の金額 84,000、長期損害保険料の金額 18,400"));
    row("inspection: blank excerpt", Dialog::Inspection, true, "imgHonnin", description, QStringLiteral("記入なし"));
}

void TestAccessible::dialogTexts()
{
    QFETCH(Dialog, dialog);
    QFETCH(bool, blank);
    QFETCH(QString, control);
    QFETCH(QAccessible::Text, which);
    QFETCH(QString, text);
    const TKyuho slip = blank ? BlankSlip() : SampleSlip();
    std::unique_ptr<QDialog> dlg;
    if (dialog == Dialog::Verify) {
        auto *verify = new TdlgVerifyTax;
        FillVerifyTax(*verify, slip);
        dlg.reset(verify);
    } else if (dialog == Dialog::Trial) {
        auto *trial = new TdlgTrial;
        trial->InitFromSlip(slip);
        dlg.reset(trial);
    } else {
        auto *inspection = new TdlgKojoCheck;
        RunKojoCheck(*inspection, slip);
        dlg.reset(inspection);
    }
    QWidget *widget = dlg->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(Accessible(widget)->text(which), text);
}

// Everything a dialog shows can be read without a mouse: what scrolls or
// is operated takes the keyboard focus by Tab.
void TestAccessible::dialogsReachableByKeyboard()
{
    TdlgVerifyTax verify;
    TdlgTrial trial;
    TdlgKojoCheck inspection;
    for (QDialog *dlg : std::initializer_list<QDialog *>{&verify, &trial, &inspection}) {
        int reachable = 0;
        for (QWidget *widget : dlg->findChildren<QWidget *>()) {
            if (!NeedsKeyboard(widget) || !widget->isVisibleTo(widget->parentWidget()))
                continue;
            QVERIFY2(widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) && InFocusChain(dlg, widget),
                     qPrintable(widget->objectName()));
            ++reachable;
        }
        QVERIFY(reachable > 0);
    }
}

void TestAccessible::textUnitsAtEveryOffset_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("units");  // the text's units in order
    const int word = QAccessible::WordBoundary, sentence = QAccessible::SentenceBoundary;
    const int line = QAccessible::LineBoundary, character = QAccessible::CharBoundary;
    QTest::newRow("amount, one word") << QStringLiteral("6898700") << word << QStringList{"6898700"};
    QTest::newRow("words and a space") << QStringLiteral("ab cd") << word << QStringList{"ab", " ", "cd"};
    QTest::newRow("grouped amount") << QStringLiteral("5,008,830") << word << QStringList{"5,008,830"};
    QTest::newRow("two sentences") << QStringLiteral("所得です。税額です。") << sentence
                                   << QStringList{"所得です。", "税額です。"};
    QTest::newRow("two lines") << QStringLiteral("a\nbc") << line << QStringList{"a\n", "bc"};
    QTest::newRow("one line") << QStringLiteral("6898700") << line << QStringList{"6898700"};
    QTest::newRow("surrogate pair is one character") << QStringLiteral("a\U0002000Bb") << character
                                                    << QStringList{"a", QStringLiteral("\U0002000B"), "b"};
    QTest::newRow("empty") << QString() << word << QStringList{};
}

// At every offset, the ends and the bridge's -1 (end) included, the unit at
// the offset holds it, the unit before ends where it starts and the unit
// after starts where it ends; nothing hangs.
void TestAccessible::textUnitsAtEveryOffset()
{
    QFETCH(QString, text);
    QFETCH(int, unit);
    QFETCH(QStringList, units);
    const auto type = QAccessible::TextBoundaryType(unit);
    std::vector<TextItem> expected;
    int at = 0;
    for (const QString &piece : units) {
        expected.push_back({at, at + int(piece.size()), piece});
        at += int(piece.size());
    }
    const int length = int(text.size());
    const auto unitAt = [&](int offset) -> TextItem {
        if (expected.empty())
            return {offset, offset, {}};
        for (const TextItem &item : expected)
            if (offset < item.End)
                return item;
        return expected.back();
    };
    for (int offset = 0; offset <= length; ++offset) {
        const TextItem here = unitAt(offset);
        QCOMPARE(TextAtOffset(text, offset, type), here);
        const auto index = std::find(expected.begin(), expected.end(), here) - expected.begin();
        const TextItem before = offset == length ? here
                              : index > 0       ? expected[std::size_t(index - 1)]
                                                : TextItem{0, 0, {}};
        if (!expected.empty())
            QCOMPARE(TextBeforeOffset(text, offset, type), before);
        const bool last = expected.empty() || offset == length || std::size_t(index + 1) == expected.size();
        const TextItem after = last ? TextItem{length, length, {}} : expected[std::size_t(index + 1)];
        QCOMPARE(TextAfterOffset(text, offset, type), after);
    }
    QCOMPARE(TextAtOffset(text, ResolveTextOffset(-1, length, 0), type), unitAt(length));
    QCOMPARE(TextAtOffset(text, length + 1, type), TextItem{});
    QCOMPARE(TextAtOffset(text, -3, type), TextItem{});
}

// The trial's fields and the slip's boxes answer the word and sentence at
// the end of their text (Qt's own line edit never returned there).
void TestAccessible::fieldAnswersAtItsEnd()
{
    TdlgTrial trial;
    trial.InitFromSlip(SampleSlip());
    QAccessibleTextInterface *field = Accessible(trial.findChild<QLineEdit *>("medKyuyoSyunyu"))->textInterface();
    QAccessibleTextInterface *box = CellNamed(*frm, QStringLiteral("支払金額"))->textInterface();
    for (QAccessibleTextInterface *text : {field, box}) {
        QVERIFY(text);
        const int end = text->characterCount();
        for (auto unit : {QAccessible::WordBoundary, QAccessible::SentenceBoundary, QAccessible::LineBoundary}) {
            for (int offset : {end, -1, -2}) {
                int start = -5, stop = -5;
                const QString word = text->textAtOffset(offset, unit, &start, &stop);
                QCOMPARE(word, text->text(0, end));
                QCOMPARE(start, 0);
                QCOMPARE(stop, end);
            }
        }
    }

    // Texts of several words, sentences and lines: the last unit, at the end.
    TdlgKojoCheck inspection;
    TKyuho slip = SampleSlip();
    SetCellText(slip, 29, QStringLiteral("90000"));
    RunKojoCheck(inspection, slip);
    QAccessibleTextInterface *findings =
        Accessible(inspection.findChild<QWidget *>("memHaiguMsg"))->textInterface();
    QAccessibleTextInterface *editorText = Accessible(editor())->textInterface();  // on the address
    QAccessibleTextInterface *result = Accessible(trial.findChild<QWidget *>("fldKyuyoSyotoku"))->textInterface();
    for (QAccessibleTextInterface *text : {findings, editorText, result}) {
        QVERIFY(text);
        const int end = text->characterCount();
        QVERIFY(end > 0);
        for (auto unit : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
                          QAccessible::LineBoundary, QAccessible::ParagraphBoundary}) {
            for (int offset : {end, -1}) {
                int start = -5, stop = -5;
                const QString last = text->textAtOffset(offset, unit, &start, &stop);
                QVERIFY(0 <= start && start < stop);
                QCOMPARE(stop, end);
                QCOMPARE(last, text->text(start, stop));
            }
        }
    }
}

// A slider's value is the amount its position sets, whatever the field holds.
void TestAccessible::sliderValueIsAmount()
{
    TdlgTrial trial;
    auto *slider = trial.findChild<QSlider *>("traKyuyoSyunyu");
    QAccessibleValueInterface *value = Accessible(slider)->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toLongLong(), 50000000LL);
    slider->setValue(1);
    QCOMPARE(value->currentValue().toLongLong(), 49995000LL);
    trial.findChild<QLineEdit *>("medKyuyoSyunyu")->setText(QStringLiteral("123"));
    QCOMPARE(Accessible(slider)->text(QAccessible::Value), QStringLiteral("49995000"));
    QCOMPARE(value->minimumValue().toLongLong(), 0LL);
    value->setCurrentValue(QVariant::fromValue<qlonglong>(10000));
    QCOMPARE(slider->value(), 9998);
    auto *deductions = trial.findChild<QSlider *>("traKoujoGoukei");
    QCOMPARE(Accessible(deductions)->valueInterface()->maximumValue().toLongLong(), 5000000LL);
}

// The tables' column headings are their two heading rows' words; a sentence
// stacked down a column is read once, in its first row.
void TestAccessible::tableHeadingsJoined()
{
    TdlgKojoCheck inspection;
    RunKojoCheck(inspection, SampleSlip());
    QAccessibleTableInterface *spouse =
        Accessible(inspection.findChild<QWidget *>("StringGrid2"))->tableInterface();
    QAccessibleTableInterface *salary =
        Accessible(inspection.findChild<QWidget *>("StringGrid1"))->tableInterface();
    QVERIFY(spouse && salary);
    QCOMPARE(spouse->columnDescription(2), QStringLiteral("配偶者特別控除額"));
    QCOMPARE(salary->columnDescription(2), QStringLiteral("給与所得控除後の給与等の金額"));
    auto *model = inspection.findChild<QTableView *>("StringGrid1")->model();
    QCOMPARE(model->index(3, 2).data(Qt::AccessibleTextRole).toString(),
             QStringLiteral("給与等の金額から650,000円を引いた金額"));
    QCOMPARE(model->index(4, 2).data(Qt::AccessibleTextRole).toString().trimmed(), QString());
    QCOMPARE(model->index(9, 2).data(Qt::AccessibleTextRole).toString(), QStringLiteral("974,000"));
}

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
