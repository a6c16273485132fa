// The main window as a user drives it: start-up, the in-place editor, Tab
// navigation, the button panel and the commands.

#include "Kojochk/Kojochk.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"
#include "Mainunit/WindowFit.h"
#include "Trial/Trial.h"
#include "Verify/Verify.h"
#include "tests/SlipSamples.h"
#include "tests/OffscreenQuiet.h"

#include <QDialog>
#include <QFrame>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace mivrel;

namespace {

QPoint CellCentre(const TfrmMain &frm, std::uint8_t cell)
{
    const CellRect &r = frm.layout().Cells[cell];
    const SlipOrigin &o = frm.paintContext().Origin;
    return {o.X + (r.Left + r.Right) / 2, o.Y + (r.Top + r.Bottom) / 2};
}

void SendKey(QWidget *target, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods,
             const QString &text, bool autoRepeat = false)
{
    QKeyEvent event(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

// What an input method sends: a composition shown in the editor, or a
// composition committed into its text.
void Compose(QWidget *editor, const QString &preedit)
{
    QInputMethodEvent composing(preedit, {});
    QApplication::sendEvent(editor, &composing);
}

void CommitText(QWidget *editor, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(editor, &commit);
}

QString ShownComposition(const QPlainTextEdit *editor)
{
    return editor->textCursor().block().layout()->preeditAreaText();
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

} // namespace

class TestMainunit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithSampleAndEditorOnAddress();
    void heightFollowsWidth_data();
    void heightFollowsWidth();
    void clickMovesEditorAndStoresCell();
    void tabOrder_data();
    void tabOrder();
    void tabPastLastCellOpensPanelAtClear();
    void shiftTabBeforeFirstCellOpensPanelAtAbout();
    void tabFromAboutReturnsToFirstCell();
    void shiftTabFromClearReturnsToLastCell();
    void holdingTabStoresOnlyTheCellLeft();
    void markCellToggles_data();
    void markCellToggles();
    void amountWithSeparatorStoresConversion();
    void textCellKeepsLineBreaks();
    void editorStopsAt255Characters();
    void inputMethodTypesIntoTextCellOnly();
    void secondaryPressHighlightsWithoutSelecting();
    void pressOnFrameLineHitsNothing();
    void pressOnCaptionClearsPinAndReentry();
    void pointerOntoStripCommitsAndParks();
    void panelOpenedFromKeyboardStaysPinned();
    void widenWhileEditingReloadsCell_data();
    void widenWhileEditingReloadsCell();
    void movingBetweenCellsRedrawsSingleCells();
    void focusFrameIsErasedWhenCellIsLeft();
    void canvasHoldsWholeSlipAtEverySize_data();
    void canvasHoldsWholeSlipAtEverySize();
    void clearBlanksEveryCell();
    void dialogsLeaveRecordUnchangedAndReturnFocus_data();
    void dialogsLeaveRecordUnchangedAndReturnFocus();
    void dialogsAreBuiltOnceInTheirOrder_data();
    void dialogsAreBuiltOnceInTheirOrder();
    void editingRetractsPanel_data();
    void editingRetractsPanel();
    void tabWithoutFrameStartsAtFirstCell();
    void limitKeepsWholeCharacters_data();
    void limitKeepsWholeCharacters();
    void widthLimitedToScreenHeight();
    void inputMethodAskedOnlyOutsideMarkCells_data();
    void inputMethodAskedOnlyOutsideMarkCells();
    void dictatedSizeHoldsWholeSlip_data();
    void dictatedSizeHoldsWholeSlip();
    void everyPixelPainted_data();
    void everyPixelPainted();
    void compositionCommittedIntoCellLeft_data();
    void compositionCommittedIntoCellLeft();
    void compositionCommittedAgainIsDropped_data();
    void compositionCommittedAgainIsDropped();
    void markCellRefusesCompositionWhateverIsAsked_data();
    void markCellRefusesCompositionWhateverIsAsked();

private:
    QPlainTextEdit *editor() const { return frm->findChild<QPlainTextEdit *>("MemoGen"); }
    QFrame *panel() const { return frm->findChild<QFrame *>("PanelBtn"); }
    QToolButton *button(const char *name) const { return frm->findChild<QToolButton *>(name); }
    void click(std::uint8_t cell, Qt::MouseButton which = Qt::LeftButton);
    void tab(bool shift = false);
    void typeText(const QString &text);
    void openPanelWithPointer();
    bool buttonsEnabled() const;
    QStringList dialogNames() const;

    std::unique_ptr<TfrmMain> frm;
};

void TestMainunit::initTestCase()
{
    SilenceOffscreenSizeHints();
}

void TestMainunit::init()
{
    frm.reset(CreateForms().frmMain);
    frm->show();
    QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    Settle();
}

void TestMainunit::cleanup()
{
    frm.reset();
}

void TestMainunit::click(std::uint8_t cell, Qt::MouseButton which)
{
    QTest::mouseClick(frm.get(), which, {}, CellCentre(*frm, cell));
    Settle();
}

void TestMainunit::tab(bool shift)
{
    QWidget *target = QApplication::focusWidget();
    const Qt::Key key = shift ? Qt::Key_Backtab : Qt::Key_Tab;
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    SendKey(target, QEvent::KeyPress, key, mods, QStringLiteral("\t"));
    // Qt moves the focus between buttons on the press; the release then goes
    // to whichever widget has the focus, as it does on a real keyboard.
    SendKey(QApplication::focusWidget(), QEvent::KeyRelease, key, mods, QStringLiteral("\t"));
    Settle();
}

void TestMainunit::typeText(const QString &text)
{
    for (const QChar c : text) {
        SendKey(QApplication::focusWidget(), QEvent::KeyPress, Qt::Key_unknown, {}, QString(c));
        SendKey(QApplication::focusWidget(), QEvent::KeyRelease, Qt::Key_unknown, {}, QString(c));
    }
}

void TestMainunit::openPanelWithPointer()
{
    // Qt drops a move to where the pointer already is: come from the slip.
    QTest::mouseMove(frm.get(), CellCentre(*frm, 55));
    QTest::mouseMove(frm.get(), QPoint(300, 5));
    Settle();
}

bool TestMainunit::buttonsEnabled() const
{
    bool all = true;
    bool any = false;
    for (const char *name : {"BitBtnClear", "BitBtnVerify", "BitBtnCheck", "BitBtnTrial", "BitBtnAbout"}) {
        all = all && button(name)->isEnabled();
        any = any || button(name)->isEnabled();
    }
    if (all != any)
        qWarning("buttons partly enabled");
    return all;
}

void TestMainunit::startsWithSampleAndEditorOnAddress()
{
    QCOMPARE(frm->windowTitle(), QStringLiteral("Mivrel"));
    QVERIFY(frm->slip() == SampleSlip());
    QCOMPARE(int(frm->currentCell()), 2);
    QCOMPARE(int(frm->highlightedCell()), 2);
    QCOMPARE(editor()->toPlainText(), SampleSlip().texts[Slot::Address]);
    QVERIFY(editor()->hasFocus());
    const CellRect &r = frm->layout().Cells[2];
    const int oy = frm->paintContext().Origin.Y;
    QCOMPARE(editor()->geometry(), QRect(r.Left + 2, oy + r.Top + 2, r.Right - r.Left - 3, r.Bottom - r.Top - 3));
    QCOMPARE(panel()->y(), TfrmMain::PanelRetractedTop);
    QVERIFY(!buttonsEnabled());
    QCOMPARE(frm->height(), frm->fittedHeight(frm->width()));
    QVERIFY(!frm->windowIcon().isNull());
}

void TestMainunit::heightFollowsWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("initial 476") << 476 << 350;   // 17 + 2*7 + 2 + 316 + 1
    QTest::newRow("1350") << 1350 << 963;         // 17 + 2*22 + 2 + 899 + 1
    QTest::newRow("733") << 733 << 532;           // 17 + 2*12 + 2 + 488 + 1
    QTest::newRow("one pixel: an empty slip") << 1 << 20;
}

// A width the user gives a normal window brings the height that fits it; a
// height the user gives alone is kept, and the slip sits in its middle.
void TestMainunit::heightFollowsWidth()
{
    QFETCH(int, width);
    QFETCH(int, height);
    frm->resize(width + 100, 200);
    Settle();
    frm->resize(width, 200);
    Settle();
    QCOMPARE(frm->width(), width);
    QCOMPARE(frm->height(), height);
    QCOMPARE(frm->fittedHeight(width), height);
    const int top = frm->paintContext().Origin.Y;
    frm->resize(width, height + 80);  // the bottom edge dragged alone
    Settle();
    QCOMPARE(frm->height(), height + 80);
    QCOMPARE(frm->paintContext().Origin.Y, top + 40);
    QCOMPARE(frm->layout().ScaleNum, width - 1);
}

void TestMainunit::clickMovesEditorAndStoresCell()
{
    editor()->setPlainText(QStringLiteral("新住所"));
    click(13);
    QCOMPARE(int(frm->currentCell()), 13);
    QCOMPARE(frm->slip().texts[Slot::Address], QStringLiteral("新住所"));
    QCOMPARE(editor()->toPlainText(), QStringLiteral("6898700"));
    QVERIFY(editor()->hasFocus());
}

void TestMainunit::tabOrder_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("to");
    QTest::newRow("6 -> 13") << 6 << false << 13;
    QTest::newRow("13 <- 6") << 13 << true << 6;
    QTest::newRow("29 -> 34") << 29 << false << 34;
    QTest::newRow("34 -> 36 skips 35") << 34 << false << 36;
    QTest::newRow("61 -> 77") << 61 << false << 77;
    QTest::newRow("97 -> 98") << 97 << false << 98;
    QTest::newRow("100 -> 109") << 100 << false << 109;
    QTest::newRow("115 -> 119") << 115 << false << 119;
    QTest::newRow("23 <- 16") << 23 << true << 16;
    QTest::newRow("4 <- 2") << 4 << true << 2;
}

void TestMainunit::tabOrder()
{
    QFETCH(int, from);
    QFETCH(bool, shift);
    QFETCH(int, to);
    click(static_cast<std::uint8_t>(from));
    QCOMPARE(int(frm->currentCell()), from);
    tab(shift);
    QCOMPARE(int(frm->currentCell()), to);
    QCOMPARE(int(frm->highlightedCell()), to);
}

void TestMainunit::tabPastLastCellOpensPanelAtClear()
{
    click(120);
    typeText(QStringLiteral("X"));
    tab();
    QCOMPARE(int(frm->currentCell()), int(NoCell));
    QCOMPARE(int(frm->highlightedCell()), int(NoCell));
    QCOMPARE(frm->slip().texts[Slot::PayerName], SampleSlip().texts[Slot::PayerName] + "X");
    QCOMPARE(editor()->size(), QSize(1, 1));
    QCOMPARE(panel()->y(), TfrmMain::PanelShownTop);
    QVERIFY(buttonsEnabled());
    QCOMPARE(QApplication::focusWidget(), button("BitBtnClear"));
    QVERIFY(frm->panelPinned());
}

void TestMainunit::shiftTabBeforeFirstCellOpensPanelAtAbout()
{
    tab(true);
    QCOMPARE(int(frm->currentCell()), int(NoCell));
    QCOMPARE(panel()->y(), TfrmMain::PanelShownTop);
    QCOMPARE(QApplication::focusWidget(), button("BitBtnAbout"));
}

void TestMainunit::tabFromAboutReturnsToFirstCell()
{
    click(13);
    tab(true);  // 13 -> 6
    click(2);
    tab(true);  // before the first cell: the About button
    QCOMPARE(QApplication::focusWidget(), button("BitBtnAbout"));
    tab();
    QCOMPARE(QApplication::focusWidget(), editor());
    QCOMPARE(int(frm->currentCell()), 2);
    QCOMPARE(panel()->y(), TfrmMain::PanelRetractedTop);
    QVERIFY(!buttonsEnabled());
}

void TestMainunit::shiftTabFromClearReturnsToLastCell()
{
    click(120);
    tab();
    QCOMPARE(QApplication::focusWidget(), button("BitBtnClear"));
    tab(true);
    QCOMPARE(QApplication::focusWidget(), editor());
    QCOMPARE(int(frm->currentCell()), 120);
    QCOMPARE(panel()->y(), TfrmMain::PanelRetractedTop);
}

void TestMainunit::holdingTabStoresOnlyTheCellLeft()
{
    click(13);
    editor()->setPlainText(QStringLiteral("999"));
    QWidget *ed = editor();
    SendKey(ed, QEvent::KeyPress, Qt::Key_Tab, {}, QStringLiteral("\t"));
    for (int i = 0; i < 4; ++i) {
        SendKey(ed, QEvent::KeyRelease, Qt::Key_Tab, {}, QStringLiteral("\t"), true);
        SendKey(ed, QEvent::KeyPress, Qt::Key_Tab, {}, QStringLiteral("\t"), true);
    }
    Settle();
    QCOMPARE(int(frm->highlightedCell()), 24);  // 14, 15, 16, 23, 24
    QCOMPARE(int(frm->currentCell()), 13);
    QVERIFY(frm->slip() == SampleSlip());
    QCOMPARE(editor()->toPlainText(), QStringLiteral("999"));
    SendKey(ed, QEvent::KeyRelease, Qt::Key_Tab, {}, QStringLiteral("\t"));
    Settle();
    QCOMPARE(int(frm->currentCell()), 24);
    TKyuho expected = SampleSlip();
    expected.amounts[Slot::SalaryPaid] = 999;
    QVERIFY(frm->slip() == expected);
}

void TestMainunit::markCellToggles_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("space") << Qt::Key_Space << " ";
    QTest::newRow("letter") << Qt::Key_A << "a";
    QTest::newRow("digit") << Qt::Key_1 << "1";
    QTest::newRow("enter") << Qt::Key_Return << "\r";
    QTest::newRow("backspace") << Qt::Key_Backspace << "\b";
}

void TestMainunit::markCellToggles()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, text);
    click(82);  // 老年者, not marked in the sample
    QCOMPARE(editor()->toPlainText(), QString());
    SendKey(editor(), QEvent::KeyPress, key, {}, text);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("○"));
    SendKey(editor(), QEvent::KeyPress, key, {}, text);
    QCOMPARE(editor()->toPlainText(), QString());
    SendKey(editor(), QEvent::KeyPress, key, {}, text);
    tab();
    QCOMPARE(int(frm->slip().marks[Slot::Aged]), 1);
    // A Tab in a mark cell toggles nothing.
    click(82);
    tab();
    QCOMPARE(int(frm->slip().marks[Slot::Aged]), 1);
}

void TestMainunit::amountWithSeparatorStoresConversion()
{
    click(16);
    editor()->clear();
    QTest::keyClicks(editor(), "12,345");
    QCOMPARE(editor()->toPlainText(), QStringLiteral("12,345"));
    tab();
    QCOMPARE(frm->slip().amounts[Slot::TaxWithheld], 12345);
    click(16);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("12345"));
}

void TestMainunit::textCellKeepsLineBreaks()
{
    click(120);
    editor()->clear();
    QTest::keyClicks(editor(), "ab");
    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), "cd");
    click(13);
    QCOMPARE(frm->slip().texts[Slot::PayerName], QStringLiteral("ab\ncd"));
}

void TestMainunit::editorStopsAt255Characters()
{
    click(120);
    editor()->clear();
    QTest::keyClicks(editor(), QString(300, u'x'));
    QCOMPARE(editor()->toPlainText().size(), 255);
    editor()->insertPlainText(QString(10, u'y'));  // a paste past the limit
    QCOMPARE(editor()->toPlainText(), QString(255, u'x'));
    click(13);
    QCOMPARE(frm->slip().texts[Slot::PayerName].size(), 255);
}

void TestMainunit::inputMethodTypesIntoTextCellOnly()
{
    click(6);
    editor()->clear();
    QInputMethodEvent preedit(QStringLiteral("みほん"), {});
    QApplication::sendEvent(editor(), &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("見本"));
    QApplication::sendEvent(editor(), &commit);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("見本"));
    click(82);
    QVERIFY(!editor()->testAttribute(Qt::WA_InputMethodEnabled));
    QApplication::sendEvent(editor(), &preedit);
    QApplication::sendEvent(editor(), &commit);
    QCOMPARE(editor()->toPlainText(), QString());
    click(13);
    QCOMPARE(frm->slip().texts[Slot::Name], QStringLiteral("見本"));
    QCOMPARE(int(frm->slip().marks[Slot::Aged]), 0);
    QVERIFY(editor()->testAttribute(Qt::WA_InputMethodEnabled));
}

void TestMainunit::secondaryPressHighlightsWithoutSelecting()
{
    click(13);
    QTest::mousePress(frm.get(), Qt::RightButton, {}, CellCentre(*frm, 29));
    QTest::mouseRelease(frm.get(), Qt::RightButton, {}, CellCentre(*frm, 29));
    Settle();
    QCOMPARE(int(frm->highlightedCell()), 29);
    QCOMPARE(int(frm->currentCell()), 13);
    tab();
    QCOMPARE(int(frm->currentCell()), 34);
}

void TestMainunit::pressOnFrameLineHitsNothing()
{
    click(13);
    const CellRect &r = frm->layout().Cells[13];
    const QPoint onLine(r.Right, frm->paintContext().Origin.Y + (r.Top + r.Bottom) / 2);
    QTest::mouseClick(frm.get(), Qt::LeftButton, {}, onLine);
    Settle();
    QCOMPARE(int(frm->highlightedCell()), 13);
    QCOMPARE(int(frm->currentCell()), 13);
}

void TestMainunit::pressOnCaptionClearsPinAndReentry()
{
    click(120);
    tab();  // panel shown and pinned, the Clear button focused
    QVERIFY(frm->panelPinned());
    click(8);  // the caption 支払金額
    QVERIFY(!frm->panelPinned());
    QCOMPARE(int(frm->highlightedCell()), int(NoCell));
    QCOMPARE(int(frm->currentCell()), int(NoCell));
    // The click that takes the focus from the Clear button leaves the frame
    // on the clicked cell: nothing sends it back to the last cell.
    click(29);
    QCOMPARE(int(frm->currentCell()), 29);
    QCOMPARE(int(frm->highlightedCell()), 29);
    QVERIFY(editor()->hasFocus());
    tab();
    QCOMPARE(int(frm->currentCell()), 34);
}

void TestMainunit::pointerOntoStripCommitsAndParks()
{
    click(14);
    editor()->setPlainText(QStringLiteral("4000000"));
    openPanelWithPointer();  // over a disabled button of the strip
    QCOMPARE(frm->slip().amounts[Slot::SalaryIncome], 4000000);
    QCOMPARE(int(frm->currentCell()), int(NoCell));
    QCOMPARE(editor()->size(), QSize(1, 1));
    QCOMPARE(panel()->y(), TfrmMain::PanelShownTop);
    QVERIFY(buttonsEnabled());
    QVERIFY(!frm->panelPinned());
    QTest::mouseMove(frm.get(), CellCentre(*frm, 55));
    Settle();
    QCOMPARE(panel()->y(), TfrmMain::PanelRetractedTop);
    QVERIFY(!buttonsEnabled());
    QCOMPARE(editor()->size(), QSize(1, 1));
}

void TestMainunit::panelOpenedFromKeyboardStaysPinned()
{
    tab(true);
    QTest::mouseMove(frm.get(), CellCentre(*frm, 55));
    Settle();
    QCOMPARE(panel()->y(), TfrmMain::PanelShownTop);
    QVERIFY(buttonsEnabled());
}

void TestMainunit::widenWhileEditingReloadsCell_data()
{
    QTest::addColumn<QSize>("grow");
    QTest::addColumn<bool>("slipDrawnAgain");
    QTest::newRow("widened: the slip drawn anew") << QSize(524, 0) << true;
    QTest::newRow("made taller: the slip only moves") << QSize(0, 120) << false;
}

// A resize while a box is edited stores the box and reloads it, whether the
// slip is drawn again at a new size or only moved within the window; the
// editor sits on the box.
void TestMainunit::widenWhileEditingReloadsCell()
{
    QFETCH(QSize, grow);
    QFETCH(bool, slipDrawnAgain);
    const QSize start = frm->size();
    frm->resize(start + QSize(0, 200));  // the canvas's store grows once
    Settle();
    frm->resize(start);
    Settle();
    click(13);
    editor()->setPlainText(QStringLiteral("1,000"));
    const int full = frm->fullRedrawCount();
    frm->resize(start + grow);
    Settle();
    QCOMPARE(frm->width(), start.width() + grow.width());
    QCOMPARE(frm->fullRedrawCount() > full, slipDrawnAgain);
    QCOMPARE(int(frm->currentCell()), 13);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("1000"));
    const CellRect &r = frm->layout().Cells[13];
    const SlipOrigin origin = frm->paintContext().Origin;
    QCOMPARE(editor()->geometry(), QRect(origin.X + r.Left + 2, origin.Y + r.Top + 2, r.Right - r.Left - 3,
                                         r.Bottom - r.Top - 3));
}

void TestMainunit::movingBetweenCellsRedrawsSingleCells()
{
    const int full = frm->fullRedrawCount();
    const int single = frm->cellRedrawCount();
    for (std::uint8_t cell : {13, 14, 29, 51, 120})
        click(cell);
    for (int i = 0; i < 5; ++i)
        tab(true);
    frm->repaint();
    QCOMPARE(frm->fullRedrawCount(), full);
    QCOMPARE(frm->cellRedrawCount(), single + 10);
}

// After the editor left a cell, the cell looks exactly as a fresh drawing of
// the slip shows it: value redrawn, focus frame gone.
void TestMainunit::focusFrameIsErasedWhenCellIsLeft()
{
    click(13);
    click(14);
    frm->repaint();
    QImage fresh(frm->canvas().size(), QImage::Format_RGB32);
    {
        QPainter painter(&fresh);
        painter.setBackground(frm->palette().color(QPalette::Window));
        painter.fillRect(fresh.rect(), painter.background());
        DrawSlip(painter, frm->paintContext());
    }
    const CellRect &r = frm->layout().Cells[13];
    const QRect area(r.Left, frm->paintContext().Origin.Y + r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
    QCOMPARE(frm->canvas().copy(area), fresh.copy(area));
}

void TestMainunit::canvasHoldsWholeSlipAtEverySize_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("growing") << QList<int>{600, 900, 1300};
    QTest::newRow("shrinking") << QList<int>{1300, 800, 476};
    QTest::newRow("dragged back and forth") << QList<int>{1343, 1357, 1343, 1357, 700};
}

// Whatever sizes the window goes through, its canvas is the client area in
// device pixels and shows the slip drawn whole at the size it has now, with
// nothing left from an earlier size (the canvas reuses its pixels).
void TestMainunit::canvasHoldsWholeSlipAtEverySize()
{
    QFETCH(QList<int>, widths);
    for (const int width : widths) {
        frm->resize(width, frm->height());
        Settle();
        frm->repaint();
        const QImage &canvas = frm->canvas();
        QCOMPARE(canvas.size(), frm->size() * frm->devicePixelRatioF());
        QImage fresh(canvas.size(), QImage::Format_RGB32);
        fresh.setDevicePixelRatio(canvas.devicePixelRatio());
        {
            QPainter painter(&fresh);
            painter.setBackground(frm->palette().color(QPalette::Window));
            painter.fillRect(QRectF(QPointF(), fresh.deviceIndependentSize()), painter.background());
            DrawSlip(painter, frm->paintContext());
            if (frm->highlightedCell() != NoCell)
                DrawCellFocus(painter, frm->paintContext(), frm->highlightedCell());
        }
        QVERIFY2(canvas == fresh, qPrintable(QStringLiteral("width %1").arg(width)));
    }
}

void TestMainunit::clearBlanksEveryCell()
{
    openPanelWithPointer();
    QTest::mouseClick(button("BitBtnClear"), Qt::LeftButton);
    Settle();
    TKyuho blank;
    ClearSlip(blank);
    QVERIFY(frm->slip() == blank);
    QCOMPARE(editor()->toPlainText(), QString());
    QVERIFY(editor()->isVisible());
    QCOMPARE(editor()->size(), QSize(1, 1));
}

void TestMainunit::dialogsLeaveRecordUnchangedAndReturnFocus_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("dialogName");
    QTest::newRow("verify by space") << "BitBtnVerify" << Qt::Key_Space << "dlgVerifyTax";
    QTest::newRow("verify by enter") << "BitBtnVerify" << Qt::Key_Return << "dlgVerifyTax";
    QTest::newRow("check") << "BitBtnCheck" << Qt::Key_Space << "dlgKojoCheck";
    QTest::newRow("trial by enter") << "BitBtnTrial" << Qt::Key_Enter << "dlgTrial";
    QTest::newRow("about") << "BitBtnAbout" << Qt::Key_Space << "dlgAboutBox";
}

void TestMainunit::dialogsLeaveRecordUnchangedAndReturnFocus()
{
    QFETCH(QString, buttonName);
    QFETCH(Qt::Key, key);
    QFETCH(QString, dialogName);
    openPanelWithPointer();
    const TKyuho before = frm->slip();
    QString opened;
    bool childOfMain = false;  // so that a compositor can place it on the window
    QTimer::singleShot(0, frm.get(), [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            childOfMain = modal->windowHandle()->transientParent() == frm->windowHandle();
            static_cast<QDialog *>(modal)->accept();
        }
    });
    QToolButton *b = frm->findChild<QToolButton *>(buttonName);
    b->setFocus();
    QTest::keyClick(b, key);
    Settle();
    QCOMPARE(opened, dialogName);
    QVERIFY(childOfMain);
    QVERIFY(frm->slip() == before);
    // The window keeps the button as its focus; it has it again once active.
    QCOMPARE(frm->focusWidget(), static_cast<QWidget *>(b));
    QCOMPARE(panel()->y(), TfrmMain::PanelShownTop);
}


// However the editor comes onto a cell while the panel is out, the buttons go
// away, so no command can run on a record without the cell being typed.
void TestMainunit::editingRetractsPanel_data()
{
    QTest::addColumn<bool>("fromKeyboard");
    QTest::newRow("Tab from the parked editor") << false;
    QTest::newRow("click while the panel is pinned") << true;
}

void TestMainunit::editingRetractsPanel()
{
    QFETCH(bool, fromKeyboard);
    click(15);
    if (fromKeyboard) {
        click(120);
        tab();  // past the last cell: panel pinned, Clear focused
        click(16);
    } else {
        openPanelWithPointer();
        tab();
    }
    QCOMPARE(int(frm->currentCell()), 16);
    QCOMPARE(panel()->y(), TfrmMain::PanelRetractedTop);
    QVERIFY(!buttonsEnabled());
    editor()->selectAll();
    typeText(QStringLiteral("12345"));
    openPanelWithPointer();
    QCOMPARE(frm->slip().amounts[Slot::TaxWithheld], 12345);
    QVERIFY(buttonsEnabled());
}

void TestMainunit::tabWithoutFrameStartsAtFirstCell()
{
    click(120);
    tab();      // past the last cell
    click(8);   // a caption: no frame anywhere, the editor parked
    QTest::mouseMove(frm.get(), CellCentre(*frm, 55));
    Settle();
    QCOMPARE(int(frm->highlightedCell()), int(NoCell));
    QVERIFY(editor()->hasFocus());
    tab();
    QCOMPARE(int(frm->currentCell()), int(FirstInputCell));
}

void TestMainunit::limitKeepsWholeCharacters_data()
{
    const QString grin = QStringLiteral("\U0001F600");            // a surrogate pair
    const QString accented = QStringLiteral("e\u0301");           // e and a combining acute
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("pair across the limit") << QString(254, u'a') + grin << QString(254, u'a');
    QTest::newRow("pair up to the limit") << QString(253, u'a') + grin << QString(253, u'a') + grin;
    QTest::newRow("combined across the limit") << QString(254, u'a') + accented << QString(254, u'a');
    QTest::newRow("pairs past the limit") << QString(200, u'a') + grin.repeated(40)
                                          << QString(200, u'a') + grin.repeated(27);
}

void TestMainunit::limitKeepsWholeCharacters()
{
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    click(5);
    editor()->clear();
    editor()->insertPlainText(pasted);
    QCOMPARE(editor()->toPlainText(), kept);
    click(6);
    QCOMPARE(frm->slip().texts[Slot::Kana], kept);
}

// However wide the window is made, the whole slip stays on the screen.
void TestMainunit::widthLimitedToScreenHeight()
{
    frm->resize(32000, 300);
    Settle();
    const int room = frm->screen()->availableGeometry().height() - (frm->frameGeometry().height() - frm->height());
    QCOMPARE(frm->height(), frm->fittedHeight(frm->width()));
    QVERIFY(frm->height() <= room);
    QVERIFY(frm->fittedHeight(frm->width() + 1) > room);
    QCOMPARE(frm->layout().ScaleNum, frm->width() - 1);
}

// When the window system sets the size, the window keeps it and the largest
// slip that fits is centred in it; the pointer and the editor follow.
void TestMainunit::dictatedSizeHoldsWholeSlip_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("maximized") << false;
    QTest::newRow("full screen") << true;
}

void TestMainunit::dictatedSizeHoldsWholeSlip()
{
    QFETCH(bool, fullScreen);
    const QSize normal = frm->size();
    fullScreen ? frm->showFullScreen() : frm->showMaximized();
    QTRY_VERIFY(frm->width() > normal.width());
    Settle();
    const QSize given = frm->size();
    const SlipLayout &layout = frm->layout();
    const SlipOrigin &origin = frm->paintContext().Origin;
    const int slipWidth = layout.XCoord[56] + 1;
    QCOMPARE(frm->fittedHeight(slipWidth), origin.Y + layout.YCoord[18] + 1);
    QVERIFY(frm->fittedHeight(slipWidth) <= given.height());
    QVERIFY(frm->fittedHeight(slipWidth + 1) > given.height() || slipWidth == given.width());
    QCOMPARE(origin.X, (given.width() - slipWidth) / 2);
    const int topGap = origin.Y - SlipTop(layout.XCoord[56]);
    const int bottomGap = given.height() - (origin.Y + layout.YCoord[18] + 1);
    QVERIFY2(topGap >= 0 && bottomGap - topGap >= 0 && bottomGap - topGap <= 1,
             qPrintable(QStringLiteral("gaps %1 above, %2 below").arg(topGap).arg(bottomGap)));

    click(120);
    QCOMPARE(int(frm->currentCell()), 120);
    const CellRect &r = layout.Cells[120];
    QCOMPARE(editor()->geometry(), QRect(origin.X + r.Left + 2, origin.Y + r.Top + 2, r.Right - r.Left - 3,
                                         r.Bottom - r.Top - 3));
    QCOMPARE(frm->size(), given);

    frm->showNormal();
    QTRY_COMPARE(frm->size(), normal);
    QCOMPARE(frm->paintContext().Origin.X, 0);
    QCOMPARE(frm->paintContext().Origin.Y, SlipTop(frm->layout().XCoord[56]));
}

// Whatever size the window has, the window paints all of it: outside the
// slip only the window colour, inside it the slip's frame lines.
void TestMainunit::everyPixelPainted_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<QSize>("given");
    QTest::newRow("taller than the slip") << false << QSize(476, 700);
    QTest::newRow("a tall tile") << false << QSize(800, 1000);
    QTest::newRow("wider than the slip: full screen") << true << QSize(1920, 1080);
}

void TestMainunit::everyPixelPainted()
{
    QFETCH(bool, fullScreen);
    QFETCH(QSize, given);
    if (fullScreen) {
        frm->showFullScreen();
    } else {
        // The width first (the window fits its height to it), then the
        // height alone, which the window keeps.
        frm->resize(given.width(), 200);
        Settle();
        frm->resize(given);
    }
    QTRY_COMPARE(frm->size(), given);
    Settle();
    const QImage shot = frm->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb window = frm->palette().color(QPalette::Window).rgb();
    const SlipOrigin &o = frm->paintContext().Origin;
    const int strip = TfrmMain::PanelHeight + TfrmMain::PanelRetractedTop;
    const int titleHeight = SlipTop(frm->layout().XCoord[56]) - strip;
    const QRect frame(o.X, o.Y, frm->layout().XCoord[56] + 1, frm->layout().YCoord[18] + 1);
    const QRect slip = frame.adjusted(0, -titleHeight, 0, 0);
    for (int y = strip; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            if (!slip.contains(x, y) && shot.pixel(x, y) != window)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 outside the slip is not the window colour").arg(x).arg(y)));
        }
    // The frame's four corners are drawn.
    for (const QPoint corner : {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
        QVERIFY2(qGray(shot.pixel(corner)) < 128, qPrintable(QStringLiteral("corner %1,%2").arg(corner.x()).arg(corner.y())));
}

// An input method asks the focused editor whether it takes composed text;
// in a mark cell the answer is no, so every key reaches the toggle.
void TestMainunit::inputMethodAskedOnlyOutsideMarkCells_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("name") << 6 << true;
    QTest::newRow("amount") << 13 << true;
    QTest::newRow("mark 有") << 23 << false;
    QTest::newRow("mark 昭") << 111 << false;
}

void TestMainunit::inputMethodAskedOnlyOutsideMarkCells()
{
    QFETCH(int, cell);
    QFETCH(bool, enabled);
    click(std::uint8_t(cell));
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(editor(), &query);
    QCOMPARE(query.value(Qt::ImEnabled).toBool(), enabled);
}

void TestMainunit::compositionCommittedIntoCellLeft_data()
{
    QTest::addColumn<QString>("leave");
    QTest::addColumn<int>("cellAfter");
    QTest::newRow("click on another box") << "click" << 2;
    QTest::newRow("Tab") << "tab" << 13;
    QTest::newRow("pointer onto the button strip") << "strip" << int(NoCell);
    QTest::newRow("wider window, same box") << "resize" << 6;
}

// An input method may still hold a composition when the editor moves: it goes
// into the box it was typed in, and the editor shows none afterwards.
void TestMainunit::compositionCommittedIntoCellLeft()
{
    QFETCH(QString, leave);
    QFETCH(int, cellAfter);
    click(6);
    Compose(editor(), QStringLiteral("さん"));
    QCOMPARE(ShownComposition(editor()), QStringLiteral("さん"));
    QCOMPARE(frm->slip().texts[Slot::Name], QStringLiteral("見本　太郎"));
    if (leave == u"click")
        click(2);
    else if (leave == u"tab")
        tab();
    else if (leave == u"strip")
        openPanelWithPointer();
    else
        frm->resize(1000, frm->height());
    Settle();
    QCOMPARE(int(frm->currentCell()), cellAfter);
    QCOMPARE(frm->slip().texts[Slot::Name], QStringLiteral("見本　太郎さん"));
    QCOMPARE(ShownComposition(editor()), QString());
}

void TestMainunit::compositionCommittedAgainIsDropped_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QStringList>("arrives");
    QTest::addColumn<QString>("held");
    const QStringList same{QStringLiteral("さん")};
    QTest::newRow("the same again at once") << "" << same << "6898700";
    QTest::newRow("after the input method hid it") << "hide" << same << "6898700";
    QTest::newRow("the same twice: the second is new") << "" << same + same << "6898700さん";
    QTest::newRow("other text") << "" << QStringList{QStringLiteral("か")} << "6898700か";
    QTest::newRow("the same after a typed key") << "key" << same << "68987001さん";
}

// Some input methods commit the composition again on their own once they are
// reset, a moment after the editor took it and moved on: that repeat is not
// new input for the next box. Anything the user did in between makes it new.
void TestMainunit::compositionCommittedAgainIsDropped()
{
    QFETCH(QString, meanwhile);
    QFETCH(QStringList, arrives);
    QFETCH(QString, held);
    click(6);
    Compose(editor(), QStringLiteral("さん"));
    click(13);
    QCOMPARE(frm->slip().texts[Slot::Name], QStringLiteral("見本　太郎さん"));
    if (meanwhile == u"hide")
        Compose(editor(), QString());
    else if (meanwhile == u"key")
        SendKey(editor(), QEvent::KeyPress, Qt::Key_1, {}, QStringLiteral("1"));
    for (const QString &text : arrives)
        CommitText(editor(), text);
    QCOMPARE(editor()->toPlainText(), held);
}

void TestMainunit::markCellRefusesCompositionWhateverIsAsked_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<uint>("queries");
    QTest::addColumn<bool>("enabled");
    const uint withHints = Qt::ImEnabled | Qt::ImHints;  // as IBus asks
    const uint everything = Qt::ImQueryAll;
    QTest::newRow("mark, with hints") << 23 << withHints << false;
    QTest::newRow("mark, everything") << 111 << everything << false;
    QTest::newRow("name, with hints") << 6 << withHints << true;
    QTest::newRow("amount, everything") << 13 << everything << true;
}

// However an input method asks, a mark cell says it takes no composed text;
// what else it asks is answered as the editor answers it.
void TestMainunit::markCellRefusesCompositionWhateverIsAsked()
{
    QFETCH(int, cell);
    QFETCH(uint, queries);
    QFETCH(bool, enabled);
    click(std::uint8_t(cell));
    QInputMethodQueryEvent query{Qt::InputMethodQueries::fromInt(queries)};
    QApplication::sendEvent(editor(), &query);
    QCOMPARE(query.value(Qt::ImEnabled).toBool(), enabled);
    for (const Qt::InputMethodQuery asked : {Qt::ImHints, Qt::ImCursorRectangle, Qt::ImFont}) {
        if (queries & asked)
            QCOMPARE(query.value(asked), editor()->inputMethodQuery(asked));
    }
}

QStringList TestMainunit::dialogNames() const
{
    QStringList names;
    for (const QDialog *dialog : frm->findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        names << dialog->objectName();
    return names;
}

void TestMainunit::dialogsAreBuiltOnceInTheirOrder_data()
{
    QTest::addColumn<bool>("commandFirst");
    QTest::newRow("right after the first frame") << false;
    QTest::newRow("by a command that comes first") << true;
}

// The four dialogs are built once each, trial, inspection, verification,
// about: right after the main window's first frame, or by the first command
// that needs one when it comes before that frame.
void TestMainunit::dialogsAreBuiltOnceInTheirOrder()
{
    QFETCH(bool, commandFirst);
    const QStringList designed = {"dlgTrial", "dlgKojoCheck", "dlgVerifyTax", "dlgAboutBox"};
    frm.reset(CreateForms().frmMain);
    QCOMPARE(dialogNames(), QStringList());
    if (commandFirst) {
        frm->HideButtonPanel();  // the panel starts down with its buttons disabled
        frm->ShowButtonPanel(false);
        QString opened;
        QTimer::singleShot(0, frm.get(), [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                static_cast<QDialog *>(modal)->accept();
            }
        });
        button("BitBtnAbout")->click();
        QCOMPARE(opened, QStringLiteral("dlgAboutBox"));
        QCOMPARE(frm->fullRedrawCount(), 0);
        QCOMPARE(dialogNames(), designed);
    }
    frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    QTRY_COMPARE(dialogNames(), designed);
    QVERIFY(frm->fullRedrawCount() > 0);
    Settle();
    QCOMPARE(dialogNames(), designed);
}

QTEST_MAIN(TestMainunit)
#include "tst_mainunit.moc"
