// The title bar a dialog draws itself where Qt would draw a frame with
// minimise and maximise buttons: the dialog grows by the bar alone, every
// control keeps its place relative to the others, and the bar's button
// closes the dialog as the frame's close button would.

#include "Aboutbox/Aboutbox.h"
#include "Kojochk/Kojochk.h"
#include "Mainunit/DialogTitleBar.h"
#include "Mainunit/Mainunit.h"
#include "Trial/Trial.h"
#include "Verify/Verify.h"

#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace mivrel;

using DialogMaker = std::function<std::unique_ptr<QDialog>()>;
Q_DECLARE_METATYPE(DialogMaker)

class TestTitleBar : public QObject {
    Q_OBJECT
private slots:
    void barAboveUnchangedControls_data();
    void barAboveUnchangedControls();
    void closeButtonRejects();
    void noOwnBarWhereTheWindowSystemFrames();
};

void TestTitleBar::barAboveUnchangedControls_data()
{
    QTest::addColumn<DialogMaker>("make");
    QTest::newRow("trial") << DialogMaker([] { return std::make_unique<TdlgTrial>(); });
    QTest::newRow("inspection") << DialogMaker([] { return std::make_unique<TdlgKojoCheck>(); });
    QTest::newRow("verification") << DialogMaker([] { return std::make_unique<TdlgVerifyTax>(); });
    QTest::newRow("about") << DialogMaker([] { return std::make_unique<TdlgAboutBox>(); });
}

void TestTitleBar::barAboveUnchangedControls()
{
    QFETCH(DialogMaker, make);
    const std::unique_ptr<QDialog> dialog = make();
    const QSize before = dialog->size();
    QList<QPair<QWidget *, QRect>> controls;
    for (QWidget *control : dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        controls.append({control, control->geometry()});
    QVERIFY(!controls.isEmpty());

    GiveOwnTitleBar(*dialog);

    const auto *bar = dialog->findChild<QWidget *>(QStringLiteral("TitleBar"));
    QVERIFY(bar);
    QCOMPARE(dialog->width(), before.width());
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());  // still of fixed size
    const int barHeight = dialog->height() - before.height();
    QCOMPARE(bar->geometry(), QRect(0, 0, before.width(), barHeight));
    QVERIFY(barHeight > 0);
    for (const auto &[control, was] : controls)
        QCOMPARE(control->geometry(), was.translated(0, barHeight));
}

void TestTitleBar::closeButtonRejects()
{
    TdlgAboutBox dialog;
    GiveOwnTitleBar(dialog);
    auto *close = dialog.findChild<QToolButton *>(QStringLiteral("TitleBarClose"));
    QVERIFY(close);
    QTimer::singleShot(0, close, &QToolButton::click);
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

// Offscreen, as on X11 and on compositors that frame windows themselves, the
// window system draws the frame: no bar of the program's own.
void TestTitleBar::noOwnBarWhereTheWindowSystemFrames()
{
    TfrmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!QtDrawsFrames(window));
    window.CreateDialogs();
    for (QDialog *dialog : window.findChildren<QDialog *>()) {
        QVERIFY2(!dialog->findChild<QWidget *>(QStringLiteral("TitleBar")), qPrintable(dialog->objectName()));
        QVERIFY(!(dialog->windowFlags() & Qt::FramelessWindowHint));
    }
}

QTEST_MAIN(TestTitleBar)
#include "tst_titlebar.moc"
