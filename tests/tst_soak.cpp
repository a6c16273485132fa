// A randomized soak of the real main window: thousands of random presses,
// clicks, keys, pointer moves, resizes and commands, with the window's
// invariants checked after every one. The seed and the number of events come
// from MIVREL_SOAK_SEED and MIVREL_SOAK_EVENTS (defaults: a fixed seed, 20000).

#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"
#include "tests/OffscreenQuiet.h"

#include <QDialog>
#include <QFrame>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace mivrel;

namespace {

quint32 SettingOr(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Closes whatever modal dialog a random event opened.
void CloseModalSoon()
{
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

const QStringList Characters{
    "1", "0", "9", ",", "-", "a", "Z", " ", "$", "F", "○", "東", "ｱ", "\r", "\b"};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void randomSession();

private:
    enum class Action { Press, Click, SecondaryPress, Tab, HoldTab, Character, Enter, Backspace,
                        OntoStrip, BackOverSlip, Resize, Command };
    void perform(Action action);
    void checkInvariants(const TKyuho &before, std::uint8_t cellBefore, const QString &textBefore,
                         bool mayClear);
    QPoint randomPoint();
    void sendKey(Qt::Key key, Qt::KeyboardModifiers mods, const QString &text, bool autoRepeat = false,
                 QEvent::Type type = QEvent::KeyPress);
    QPlainTextEdit *editor() const { return frm->findChild<QPlainTextEdit *>("MemoGen"); }
    QFrame *panel() const { return frm->findChild<QFrame *>("PanelBtn"); }

    std::unique_ptr<TfrmMain> frm;
    QRandomGenerator random;
    int commands = 0;
    int commits = 0;
};

void TestSoak::initTestCase()
{
    SilenceOffscreenSizeHints();
}

QPoint TestSoak::randomPoint()
{
    // Mostly on the slip, sometimes exactly on a frame line, sometimes outside.
    const SlipLayout &layout = frm->layout();
    const int oy = frm->paintContext().Origin.Y;
    switch (random.bounded(6)) {
    case 0: {
        const CellRect &r = layout.Cells[random.bounded(121)];
        return {r.Left, oy + (r.Top + r.Bottom) / 2};
    }
    case 1:
        return {random.bounded(-20, frm->width() + 20), random.bounded(-20, frm->height() + 20)};
    default:
        return {random.bounded(std::max(1, frm->width())), random.bounded(std::max(1, frm->height()))};
    }
}

void TestSoak::sendKey(Qt::Key key, Qt::KeyboardModifiers mods, const QString &text, bool autoRepeat,
                       QEvent::Type type)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : frm.get();
    QKeyEvent event(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

void TestSoak::perform(Action action)
{
    CloseModalSoon();
    switch (action) {
    case Action::Press:
        QTest::mousePress(frm.get(), Qt::LeftButton, {}, randomPoint());
        break;
    case Action::Click:
        QTest::mouseClick(frm.get(), Qt::LeftButton, {}, randomPoint());
        break;
    case Action::SecondaryPress: {
        const QPoint at = randomPoint();
        QTest::mousePress(frm.get(), Qt::RightButton, {}, at);
        QTest::mouseRelease(frm.get(), Qt::RightButton, {}, at);
        break;
    }
    case Action::Tab: {
        const bool shift = random.bounded(3) == 0;
        const Qt::Key key = shift ? Qt::Key_Backtab : Qt::Key_Tab;
        const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
        sendKey(key, mods, "\t");
        sendKey(key, mods, "\t", false, QEvent::KeyRelease);
        break;
    }
    case Action::HoldTab: {
        const int repeats = random.bounded(1, 12);
        sendKey(Qt::Key_Tab, {}, "\t");
        for (int i = 0; i < repeats; ++i) {
            sendKey(Qt::Key_Tab, {}, "\t", true, QEvent::KeyRelease);
            sendKey(Qt::Key_Tab, {}, "\t", true);
        }
        sendKey(Qt::Key_Tab, {}, "\t", false, QEvent::KeyRelease);
        break;
    }
    case Action::Character: {
        const QString c = Characters.at(random.bounded(Characters.size()));
        sendKey(Qt::Key_unknown, {}, c);
        sendKey(Qt::Key_unknown, {}, c, false, QEvent::KeyRelease);
        break;
    }
    case Action::Enter:
        sendKey(Qt::Key_Return, {}, "\r");
        break;
    case Action::Backspace:
        sendKey(Qt::Key_Backspace, {}, "\b");
        break;
    case Action::OntoStrip:
        QTest::mouseMove(frm.get(), QPoint(random.bounded(1, 320), random.bounded(1, 16)));
        break;
    case Action::BackOverSlip:
        QTest::mouseMove(frm.get(), QPoint(random.bounded(1, frm->width()), frm->height() - random.bounded(1, 40)));
        break;
    case Action::Resize:
        frm->resize(random.bounded(200, 2001), frm->height());
        break;
    case Action::Command: {
        const QList<QToolButton *> buttons = panel()->findChildren<QToolButton *>();
        QToolButton *button = buttons.at(random.bounded(buttons.size()));
        if (button->isEnabled()) {
            ++commands;
            QTest::mouseClick(button, Qt::LeftButton);
        }
        break;
    }
    }
    QApplication::processEvents();
    // A window manager gives the activation back to the main window when a
    // dialog closes; the offscreen platform leaves that to the program.
    if (!frm->isActiveWindow()) {
        frm->activateWindow();
        QApplication::processEvents();
    }
    frm->repaint();
}

void TestSoak::checkInvariants(const TKyuho &before, std::uint8_t cellBefore, const QString &textBefore,
                               bool mayClear)
{
    // The record changes only by committing the cell being edited, or by Clear.
    if (!(frm->slip() == before)) {
        TKyuho committed = before;
        SetCellText(committed, cellBefore, textBefore);
        TKyuho cleared;
        ClearSlip(cleared);
        const bool byCommit = cellBefore != NoCell && frm->slip() == committed;
        QVERIFY2(byCommit || (mayClear && frm->slip() == cleared), "record changed without a commit");
        commits += byCommit ? 1 : 0;
    }

    // The editor covers the current cell's interior, or is parked or hidden.
    const QPlainTextEdit *ed = editor();
    if (frm->currentCell() != NoCell) {
        const CellRect &r = frm->layout().Cells[frm->currentCell()];
        const SlipOrigin &o = frm->paintContext().Origin;
        const QRect interior(o.X + r.Left + 2, o.Y + r.Top + 2, std::max(0, r.Right - r.Left - 3),
                             std::max(0, r.Bottom - r.Top - 3));
        QCOMPARE(ed->geometry(), interior);
        QVERIFY(ed->isVisible());
        QVERIFY(IsInputCell(frm->currentCell()));
    } else {
        QVERIFY(!ed->isVisible() || ed->size() == QSize(1, 1));
    }

    // The panel rests shown or retracted, its buttons enabled exactly when shown.
    const int top = panel()->y();
    QVERIFY(top == TfrmMain::PanelShownTop || top == TfrmMain::PanelRetractedTop);
    for (const QToolButton *button : panel()->findChildren<QToolButton *>())
        QCOMPARE(button->isEnabled(), top == TfrmMain::PanelShownTop);

    // The height follows the width.
    QCOMPARE(frm->height(), frm->fittedHeight(frm->width()));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestSoak::randomSession()
{
    const quint32 seed = SettingOr("MIVREL_SOAK_SEED", 19961231);
    const quint32 events = SettingOr("MIVREL_SOAK_EVENTS", 20000);
    random.seed(seed);
    qInfo("seed %u, %u events", seed, events);

    frm.reset(CreateForms().frmMain);
    frm->show();
    QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    QApplication::processEvents();

    // Weighted towards what users do most: clicks, Tab and typing.
    const Action weighted[] = {
        Action::Press, Action::Click, Action::Click, Action::Click, Action::SecondaryPress,
        Action::Tab, Action::Tab, Action::Tab, Action::HoldTab, Action::Character, Action::Character,
        Action::Character, Action::Character, Action::Enter, Action::Backspace, Action::OntoStrip,
        Action::OntoStrip, Action::BackOverSlip, Action::BackOverSlip, Action::Command, Action::Command,
        Action::Command, Action::Resize};
    for (quint32 i = 0; i < events; ++i) {
        const TKyuho before = frm->slip();
        const std::uint8_t cellBefore = frm->currentCell();
        const QString textBefore = editor()->toPlainText();
        // Clear runs only from the panel (click, Space or Enter on its button).
        const bool panelShown = panel()->y() == TfrmMain::PanelShownTop;
        const Action action = weighted[random.bounded(int(std::size(weighted)))];
        perform(action);
        checkInvariants(before, cellBefore, textBefore, panelShown);
        if (QTest::currentTestFailed()) {
            qWarning("failed after event %u (action %d), seed %u", i, int(action), seed);
            return;
        }
    }
    qInfo("%d commands run, %d commits changed the record", commands, commits);
    QVERIFY(commands > 0);
    QVERIFY(commits > 0);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
