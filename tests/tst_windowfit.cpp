// The main window's size rules as plain arithmetic: the slip placed in any
// client area, the cap on the screen's room, and when a window asks for the
// height that fits its width.

#include "Mainunit/WindowFit.h"

#include <QtTest>

using namespace mivrel;

namespace {

// One size the window system gives, and what the window then asks for
// (an invalid size: nothing).
struct Step {
    QSize Given;
    bool Free = true;
    QSize Asked;
};

const QSize Room(1600, 970);  // a 1600 x 1000 screen less a 30-pixel title bar

} // namespace

Q_DECLARE_METATYPE(Step)

class TestWindowFit : public QObject {
    Q_OBJECT
private slots:
    void slipFitsAndIsCentred_data();
    void slipFitsAndIsCentred();
    void placementOfKnownSizes_data();
    void placementOfKnownSizes();
    void cappedWidth_data();
    void cappedWidth();
    void sizeRequests_data();
    void sizeRequests();
};

void TestWindowFit::slipFitsAndIsCentred_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("fitted 476") << QSize(476, 350);
    QTest::newRow("i3 alone") << QSize(1596, 976);
    QTest::newRow("half tile") << QSize(796, 976);
    QTest::newRow("third tile") << QSize(530, 976);
    QTest::newRow("short wide tile") << QSize(1596, 310);
    QTest::newRow("vertically maximized") << QSize(476, 1175);
    QTest::newRow("4:3 full screen") << QSize(1600, 1200);
    QTest::newRow("quick tile top") << QSize(1600, 463);
    QTest::newRow("odd spare both ways") << QSize(1001, 1001);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("nothing") << QSize(0, 0);
    QTest::newRow("very wide") << QSize(32000, 300);
}

// The slip lies wholly in the client area, nothing wider would fit, and the
// spare room is shared out evenly on both sides, the odd pixel going right
// or down.
void TestWindowFit::slipFitsAndIsCentred()
{
    QFETCH(QSize, client);
    const SlipPlacement place = PlaceSlip(client);
    const int height = FittedClientHeight(place.Width);
    const int title = SlipTop(place.Width - 1);
    QVERIFY(place.Width >= 1);
    if (client.width() >= 1 && client.height() >= FittedClientHeight(1)) {
        QVERIFY(place.Width <= client.width());
        QVERIFY(height <= client.height());
        QVERIFY(place.Width == client.width() || FittedClientHeight(place.Width + 1) > client.height());
        const int left = place.X, right = client.width() - place.X - place.Width;
        const int top = place.Y - title, bottom = client.height() - (top + height);
        QVERIFY2(right - left >= 0 && right - left <= 1, qPrintable(QStringLiteral("%1 | %2").arg(left).arg(right)));
        QVERIFY2(bottom - top >= 0 && bottom - top <= 1, qPrintable(QStringLiteral("%1 / %2").arg(top).arg(bottom)));
    } else {
        QCOMPARE(place.X, 0);
        QCOMPARE(place.Y, title);
    }
}

void TestWindowFit::placementOfKnownSizes_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    // 1599 wide: title 17 + 2 * 26 + 2 = 71, frame 1066 + 1 high: 1138 in all.
    QTest::newRow("4:3 full screen") << QSize(1600, 1200) << 1600 << 0 << 71 + 31;
    // 20 + 2 * ((w - 1) / 60) + (w - 1) * 2 / 3: 976 at 1370, 977 at 1371.
    QTest::newRow("i3 alone") << QSize(1596, 976) << 1370 << 113 << 17 + 2 * 22 + 2;
    QTest::newRow("vertically maximized") << QSize(476, 1175) << 476 << 0 << 33 + (1175 - 350) / 2;
    QTest::newRow("fitted") << QSize(733, 532) << 733 << 0 << 43;
}

void TestWindowFit::placementOfKnownSizes()
{
    QFETCH(QSize, client);
    QFETCH(int, width);
    QFETCH(int, x);
    QFETCH(int, y);
    const SlipPlacement place = PlaceSlip(client);
    QCOMPARE(place.Width, width);
    QCOMPARE(place.X, x);
    QCOMPARE(place.Y, y);
}

void TestWindowFit::cappedWidth_data()
{
    QTest::addColumn<int>("wanted");
    QTest::addColumn<QSize>("room");
    QTest::addColumn<int>("capped");
    // 20 + 2 * ((w - 1) / 60) + (w - 1) * 2 / 3: 970 at 1361, 971 at 1362.
    QTest::newRow("the height limits") << 2000 << Room << 1361;
    QTest::newRow("the width limits on a 4:3 screen") << 2000 << QSize(1590, 1170) << 1590;
    QTest::newRow("already fits") << 800 << Room << 800;
    QTest::newRow("exactly the limit") << 1361 << Room << 1361;
    QTest::newRow("no room at all") << 800 << QSize(0, 0) << 1;
    QTest::newRow("nothing wanted") << 0 << Room << 1;
}

void TestWindowFit::cappedWidth()
{
    QFETCH(int, wanted);
    QFETCH(QSize, room);
    QFETCH(int, capped);
    QCOMPARE(CappedWidth(wanted, room), capped);
}

void TestWindowFit::sizeRequests_data()
{
    QTest::addColumn<QList<Step>>("steps");
    const QSize none;
    QTest::newRow("the user widens a floating window")
        << QList<Step>{{{476, 350}, true, none}, {{800, 350}, true, {800, 578}}, {{800, 578}, true, none}};
    QTest::newRow("the bottom edge alone: the height stays")
        << QList<Step>{{{800, 578}, true, none}, {{800, 700}, true, none}, {{800, 400}, true, none}};
    QTest::newRow("a tiling window manager refuses once and is not asked again")
        << QList<Step>{{{476, 350}, true, none}, {{1596, 976}, true, {1361, 970}}, {{1596, 976}, true, none},
                       {{1596, 976}, true, none}};
    QTest::newRow("another tile: asked once more")
        << QList<Step>{{{1596, 976}, true, {1361, 970}}, {{1596, 976}, true, none}, {{796, 976}, true, {796, 576}},
                       {{796, 976}, true, none}};
    QTest::newRow("answered with the width asked and another height")
        << QList<Step>{{{476, 350}, true, none}, {{900, 300}, true, {900, 647}}, {{900, 600}, true, none}};
    QTest::newRow("too wide for the screen")
        << QList<Step>{{{2000, 500}, true, {1361, 970}}, {{1361, 970}, true, none}};
    QTest::newRow("maximized and full screen are never asked")
        << QList<Step>{{{1600, 970}, false, none}, {{1600, 1000}, false, none}, {{1600, 500}, false, none}};
    QTest::newRow("restored from maximized")
        << QList<Step>{{{476, 350}, true, none}, {{1600, 970}, false, none}, {{476, 350}, true, none},
                       {{1600, 970}, false, none}, {{700, 350}, true, {700, 508}}};
    QTest::newRow("the width changes while the answer is on its way")
        << QList<Step>{{{800, 350}, true, {800, 578}}, {{820, 350}, true, {820, 592}}, {{820, 592}, true, none}};
}

void TestWindowFit::sizeRequests()
{
    QFETCH(QList<Step>, steps);
    SizeRequests requests;
    for (int i = 0; i < steps.size(); ++i) {
        const Step &step = steps[i];
        const std::optional<QSize> asked = requests.Given(step.Given, step.Free, Room);
        QVERIFY2(asked.value_or(QSize()) == step.Asked,
                 qPrintable(QStringLiteral("step %1: asked %2 x %3").arg(i).arg(asked.value_or(QSize()).width())
                                .arg(asked.value_or(QSize()).height())));
        if (asked)
            QCOMPARE(asked->height(), FittedClientHeight(asked->width()));
    }
}

QTEST_GUILESS_MAIN(TestWindowFit)
#include "tst_windowfit.moc"
