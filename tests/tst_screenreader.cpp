// What a screen reader hears: the events Qt sends to assistive technology
// while one listens, recorded here in place of the platform's bridge, and the
// objects they are about. Run by at_spi_session.sh, where Qt's accessibility
// is on. The editor becomes a new object for each box (the
// one it leaves answering with its old box), loads the box's text unheard,
// then takes the focus; a toggled mark is heard as the check box's new state;
// Clear and the trial's new results are notifications; a finding is one line
// however it wraps; the verification's captions are said with their values.

#include "Kojochk/Kojochk.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"
#include "Trial/Trial.h"
#include "Verify/Kyuho.h"
#include "Verify/Verify.h"
#include "tests/SlipSamples.h"

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <vector>

using namespace mivrel;

namespace {

QAccessibleInterface *Accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// One event as assistive technology receives it.
struct Heard {
    QAccessible::Event Type;
    QAccessible::Id Object;
    QString Name;
    QAccessible::Role Role;
};

std::vector<Heard> *Recording = nullptr;

void Record(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    if (Recording && iface)
        Recording->push_back({event->type(), QAccessible::uniqueId(iface), iface->text(QAccessible::Name),
                              iface->role()});
}

// While it lasts, what Qt tells assistive technology is recorded (and goes
// no further).
class Listening {
public:
    Listening()
    {
        Recording = &Events;
        Previous = QAccessible::installUpdateHandler(Record);
    }
    ~Listening()
    {
        QAccessible::installUpdateHandler(Previous);
        Recording = nullptr;
    }
    Listening(const Listening &) = delete;
    Listening &operator=(const Listening &) = delete;

    std::vector<Heard> Events;

    std::vector<Heard> Of(QAccessible::Event type) const
    {
        std::vector<Heard> found;
        for (const Heard &heard : Events)
            if (heard.Type == type)
                found.push_back(heard);
        return found;
    }
    bool AnyText() const
    {
        return std::any_of(Events.begin(), Events.end(), [](const Heard &heard) {
            return heard.Type == QAccessible::TextInserted || heard.Type == QAccessible::TextRemoved
                || heard.Type == QAccessible::TextUpdated;
        });
    }

private:
    QAccessible::UpdateHandler Previous = nullptr;
};

// The notifications heard, as their words.
QStringList Notified(const Listening &listening)
{
    QStringList said;
    for (const Heard &heard : listening.Of(QAccessible::ObjectShow))
        if (heard.Role == QAccessible::Notification)
            said << heard.Name;
    return said;
}

void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestScreenReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editorIsNewObjectPerBox();
    void markToggleHeardAsState();
    void clearIsAnnounced();
    void windowActivatedAnnouncesFocus();
    void trialResultsAnnounced();
    void findingIsOneLine();
    void verificationSaysEachCaptionOnce();

private:
    QPlainTextEdit *editor() const { return frm->findChild<QPlainTextEdit *>("MemoGen"); }
    void click(std::uint8_t cell);

    std::unique_ptr<TfrmMain> frm;
};

void TestScreenReader::initTestCase()
{
    // Qt turns its accessibility on once it has found the accessibility bus.
    QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "run with Qt's accessibility on (at_spi_session.sh)", 10000);
}

void TestScreenReader::init()
{
    frm.reset(CreateForms().frmMain);
    frm->show();
    QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    QCoreApplication::processEvents();
}

void TestScreenReader::cleanup()
{
    frm.reset();
}

void TestScreenReader::click(std::uint8_t cell)
{
    const CellRect &r = frm->layout().Cells[cell];
    const SlipOrigin &o = frm->paintContext().Origin;
    QTest::mouseClick(frm.get(), Qt::LeftButton, {}, {o.X + (r.Left + r.Right) / 2, o.Y + (r.Top + r.Bottom) / 2});
}

// On each box the editor is another object, focused once it holds the box's
// text, which it took unheard; the object it leaves keeps its box's name,
// place and role until the next move, then goes.
void TestScreenReader::editorIsNewObjectPerBox()
{
    Listening listening;
    const QAccessible::Id onAddress = QAccessible::uniqueId(Accessible(editor()));
    const QRect addressRect = Accessible(editor())->rect();

    click(13);
    QAccessibleInterface *onSalary = Accessible(editor());
    QVERIFY(QAccessible::uniqueId(onSalary) != onAddress);
    QCOMPARE(onSalary->text(QAccessible::Name), QStringLiteral("支払金額"));
    QCOMPARE(onSalary->textInterface()->text(0, onSalary->textInterface()->characterCount()),
             QStringLiteral("6898700"));
    const std::vector<Heard> focused = listening.Of(QAccessible::Focus);
    QVERIFY(!focused.empty());
    QCOMPARE(focused.back().Object, QAccessible::uniqueId(onSalary));
    QVERIFY2(!listening.AnyText(), "the box's text was loaded unheard");

    QAccessibleInterface *left = QAccessible::accessibleInterface(onAddress);
    QVERIFY(left);
    QCOMPARE(left->text(QAccessible::Name), QStringLiteral("支払を受ける者 住所又は居所"));
    QCOMPARE(left->rect(), addressRect);
    QVERIFY(!left->object());
    QAccessibleInterface *window = Accessible(frm.get());
    QCOMPARE(window->child(window->indexOfChild(onSalary)), onSalary);

    // A mark cell: a check box; the object before the last one is gone.
    const QAccessible::Id salaryId = QAccessible::uniqueId(onSalary);
    click(23);
    QCOMPARE(Accessible(editor())->role(), QAccessible::CheckBox);
    QVERIFY(Accessible(editor())->state().checked);
    QVERIFY(!QAccessible::accessibleInterface(onAddress));
    QCOMPARE(QAccessible::accessibleInterface(salaryId)->role(), QAccessible::EditableText);

    // The same box again (the window resized): no new object, nothing heard.
    const QAccessible::Id onMark = QAccessible::uniqueId(Accessible(editor()));
    listening.Events.clear();
    frm->resize(frm->width() + 40, frm->height());
    QTRY_COMPARE(frm->layout().ScaleNum, frm->width() - 1);
    QCOMPARE(QAccessible::uniqueId(Accessible(editor())), onMark);
    QVERIFY(listening.Of(QAccessible::Focus).empty());
}

// Any key on a mark cell: the check box's new state is heard, its text not.
void TestScreenReader::markToggleHeardAsState()
{
    click(24);
    Listening listening;
    QTest::keyClick(editor(), Qt::Key_Space, {}, 0);
    const std::vector<Heard> changed = listening.Of(QAccessible::StateChanged);
    QCOMPARE(changed.size(), std::size_t(1));
    QCOMPARE(changed.front().Object, QAccessible::uniqueId(Accessible(editor())));
    QVERIFY(Accessible(editor())->state().checked);
    QVERIFY(!listening.AnyText());
}

void TestScreenReader::clearIsAnnounced()
{
    frm->ShowButtonPanel(true);
    Listening listening;
    frm->findChild<QToolButton *>("BitBtnClear")->click();
    QCOMPARE(Notified(listening), QStringList{QStringLiteral("源泉徴収票のすべての項目を消去しました")});
}

// Back from a dialog or another program: the control that kept the focus is
// announced again.
void TestScreenReader::windowActivatedAnnouncesFocus()
{
    Listening listening;
    QEvent activated(QEvent::WindowActivate);
    QApplication::sendEvent(frm.get(), &activated);
    const std::vector<Heard> focused = listening.Of(QAccessible::Focus);
    QCOMPARE(focused.size(), std::size_t(1));
    QCOMPARE(focused.front().Object, QAccessible::uniqueId(Accessible(QApplication::focusWidget())));
}

// A salary typed in the trial: its new results are heard, each with its
// caption; results that stay the same are not.
void TestScreenReader::trialResultsAnnounced()
{
    TdlgTrial trial;
    trial.InitFromSlip(SampleSlip());
    trial.show();
    QVERIFY(QTest::qWaitForWindowExposed(&trial));
    auto *salary = trial.findChild<QLineEdit *>("medKyuyoSyunyu");
    salary->selectAll();
    Listening listening;
    TypeText(salary, QStringLiteral("5000000"));
    const QStringList said = Notified(listening);
    QVERIFY(!said.isEmpty());
    QCOMPARE(said.back(), QStringLiteral("給与所得 3,460,000、課税所得金額 1,075,000、所得税額 19,900、特別減税額 3,525"));
}

// A finding that wraps over several lines of its box is read as one line.
void TestScreenReader::findingIsOneLine()
{
    TKyuho slip = SampleSlip();
    SetCellText(slip, 29, QStringLiteral("90000"));  // 配偶者特別控除の額, not what the table gives
    TdlgKojoCheck inspection;
    RunKojoCheck(inspection, slip);
    inspection.show();
    QVERIFY(QTest::qWaitForWindowExposed(&inspection));
    auto *findings = inspection.findChild<QPlainTextEdit *>("memHaiguMsg");
    findings->parentWidget()->show();
    findings->show();
    QCoreApplication::processEvents();
    const QString first = findings->document()->firstBlock().text();
    QVERIFY(first.contains(QStringLiteral("配偶者特別控除が計算値と入力値で異なります")));
    QVERIFY2(findings->document()->firstBlock().layout()->lineCount() > 1, "the finding wraps");

    QAccessibleTextInterface *text = Accessible(findings)->textInterface();
    for (int offset : {0, int(first.size()) / 2, int(first.size()) - 1}) {
        int start = -1, end = -1;
        QCOMPARE(text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end).trimmed(), first.trimmed());
        QCOMPARE(start, 0);
    }
}

// The verification as a screen reader reviews it: every value said with its
// caption, the caption not again on its own, the frames silent.
void TestScreenReader::verificationSaysEachCaptionOnce()
{
    TdlgVerifyTax verify;
    FillVerifyTax(verify, SampleSlip());
    QStringList named;
    QAccessibleInterface *dialog = Accessible(&verify);
    for (int i = 0; i < dialog->childCount(); ++i) {
        QAccessibleInterface *child = dialog->child(i);
        const QString name = child->text(QAccessible::Name);
        if (qobject_cast<QFrame *>(child->object()) && !qobject_cast<QLabel *>(child->object()))
            QVERIFY2(name.isEmpty(), "a frame that only draws lines says nothing");
        if (!name.isEmpty())
            named << name;
    }
    QCOMPARE(named.filter(QStringLiteral("配偶者控除")), QStringList{QStringLiteral("配偶者控除 380,000")});
    QCOMPARE(named.filter(QStringLiteral("住宅取得等特別控除")),
             QStringList{QStringLiteral("住宅取得等特別控除 84,000")});
    QCOMPARE(named.filter(QStringLiteral("老人配偶者加算")), QStringList{QStringLiteral("老人配偶者加算")});
}

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
