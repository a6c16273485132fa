// Slip geometry: the scaled cells tile the slip exactly at any width, and the
// coordinate tables agree with the cells.

#include "slip/SlipLayout.h"

#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(mivrel::CellRect)

using namespace mivrel;

namespace {

SlipLayout LaidOut(std::int32_t scaleNum, std::int32_t scaleDen = SlipDesignWidth)
{
    SlipLayout layout;
    layout.ScaleNum = scaleNum;
    layout.ScaleDen = scaleDen;
    LayOutSlip(layout);
    return layout;
}

std::int64_t Area(const CellRect &r)
{
    return std::int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
}

bool InteriorsOverlap(const CellRect &a, const CellRect &b)
{
    return std::max(a.Left, b.Left) < std::min(a.Right, b.Right)
           && std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

constexpr std::size_t Cell17 = 17, Cell18 = 18;

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void tilesWithoutGapOrOverlap_data();
    void tilesWithoutGapOrOverlap();
    void slipSize_data();
    void slipSize();
    void cellsUseTheCoordinateTables_data();
    void cellsUseTheCoordinateTables();
    void designValuesAtFullScale_data();
    void designValuesAtFullScale();
    void statusColumnsAt1349();
    void zeroScaleDenIsTakenAsOne();
    void zeroScaleNumCollapsesEverything();
};

void TestLayout::tilesWithoutGapOrOverlap_data()
{
    QTest::addColumn<int>("scaleNum");
    QTest::addColumn<int>("scaleDen");
    QTest::newRow("1349") << 1349 << 1350;
    QTest::newRow("475") << 475 << 1350;
    QTest::newRow("511") << 511 << 1350;
    QTest::newRow("733") << 733 << 1350;
    QTest::newRow("inspection 1.2 x 700") << 840 << 1350;
    QTest::newRow("zoom step 10") << 19 << 100;
}

// Every cell lies inside the slip, no two interiors overlap (cell 18 inside
// 17 aside) and the areas add up to the slip: so neighbours share exact edges.
void TestLayout::tilesWithoutGapOrOverlap()
{
    QFETCH(int, scaleNum);
    QFETCH(int, scaleDen);
    const SlipLayout layout = LaidOut(scaleNum, scaleDen);
    const std::int32_t width = layout.XCoord[56], height = layout.YCoord[18];

    std::int64_t area = 0;
    for (std::size_t i = 0; i < layout.Cells.size(); ++i) {
        const CellRect &c = layout.Cells[i];
        QVERIFY2(0 <= c.Left && c.Left <= c.Right && c.Right <= width, qPrintable(QString::number(i)));
        QVERIFY2(0 <= c.Top && c.Top <= c.Bottom && c.Bottom <= height, qPrintable(QString::number(i)));
        if (i != Cell18)
            area += Area(c);
        for (std::size_t j = i + 1; j < layout.Cells.size(); ++j) {
            if (i == Cell17 && j == Cell18)
                continue;
            QVERIFY2(!InteriorsOverlap(c, layout.Cells[j]),
                     qPrintable(QStringLiteral("%1 overlaps %2").arg(i).arg(j)));
        }
    }
    QCOMPARE(area, std::int64_t{width} * height);

    const CellRect &outer = layout.Cells[Cell17], &inner = layout.Cells[Cell18];
    QVERIFY(outer.Left <= inner.Left && inner.Right <= outer.Right);
    QVERIFY(outer.Top <= inner.Top && inner.Bottom <= outer.Bottom);
}

void TestLayout::slipSize_data()
{
    QTest::addColumn<int>("scaleNum");
    QTest::addColumn<int>("scaleDen");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lastColumn");  // XCoord 41, the position c12
    QTest::newRow("design") << 1350 << 1350 << 1350 << 900 << 627;
    QTest::newRow("client 1350") << 1349 << 1350 << 1349 << 899 << 627;
    QTest::newRow("client 700") << 699 << 1350 << 699 << 466 << 325;
    QTest::newRow("zoom step 10") << 19 << 100 << 256 << 171 << 119;
    QTest::newRow("zoom step 50") << 99 << 100 << 1336 << 891 << 621;
    QTest::newRow("wide, no overflow") << 2000000000 << 1350 << 2000000000 << 1333333333 << 929914529;
}

void TestLayout::slipSize()
{
    QFETCH(int, scaleNum);
    QFETCH(int, scaleDen);
    const SlipLayout layout = LaidOut(scaleNum, scaleDen);
    QTEST(layout.XCoord[56], "width");
    QTEST(layout.YCoord[18], "height");
    QTEST(layout.XCoord[41], "lastColumn");
    QCOMPARE(layout.Cells[120].Right, layout.XCoord[56]);
    QCOMPARE(layout.Cells[120].Bottom, layout.YCoord[18]);
}

void TestLayout::cellsUseTheCoordinateTables_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("entry");
    const SlipLayout layout = LaidOut(733);
    const auto &c = layout.Cells;
    const auto row = [&](const char *name, std::int32_t value, int x) {
        QTest::newRow(name) << int(value) << int(layout.XCoord[std::size_t(x)]);
    };
    const auto rowY = [&](const char *name, std::int32_t value, int y) {
        QTest::newRow(name) << int(value) << int(layout.YCoord[std::size_t(y)]);
    };
    // Entries other code reads by index: the separators, their span, the
    // status columns, the slip's size; and entries sharing a design value.
    row("36 right = x 475", c[36].Right, 17);
    row("37 left = x 475", c[37].Left, 17);
    row("44 right = x 700", c[44].Right, 22);
    rowY("36 top = y 395", c[36].Top, 7);
    rowY("45 bottom = y 480", c[45].Bottom, 9);
    row("62 right = c1", c[62].Right, 30);
    row("76 right = x 680", c[76].Right, 42);
    row("x 930 twice", layout.XCoord[25], 28);
    row("x 80 twice", layout.XCoord[1], 10);
    row("x 40 twice", layout.XCoord[9], 54);
    row("117 right = x 190", c[117].Right, 55);
    rowY("119 bottom = y 825", c[119].Bottom, 17);
}

void TestLayout::cellsUseTheCoordinateTables()
{
    QFETCH(int, value);
    QFETCH(int, entry);
    QCOMPARE(value, entry);
}

void TestLayout::designValuesAtFullScale_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<CellRect>("rect");
    QTest::newRow("13") << 13 << CellRect{230, 510, 220, 310};
    QTest::newRow("18") << 18 << CellRect{160, 200, 365, 395};
    QTest::newRow("55") << 55 << CellRect{0, 930, 480, 615};
    QTest::newRow("120") << 120 << CellRect{190, 1350, 825, 900};
}

void TestLayout::designValuesAtFullScale()
{
    QFETCH(int, cell);
    QFETCH(CellRect, rect);
    QCOMPARE(LaidOut(1350).Cells[std::size_t(cell)], rect);
}

void TestLayout::statusColumnsAt1349()
{
    const SlipLayout layout = LaidOut(1349);
    const std::array<std::int32_t, 13> starts = {0, 52, 104, 156, 209, 261, 313, 365, 418, 470, 522, 574, 627};
    for (std::size_t j = 0; j < starts.size(); ++j)
        QCOMPARE(layout.Cells[77 + j].Left, starts[j]);
    QCOMPARE(layout.Cells[89].Right, 679);
    QCOMPARE(layout.Cells[65].Right, layout.Cells[81].Right);  // c5 spans two columns
}

void TestLayout::zeroScaleDenIsTakenAsOne()
{
    const SlipLayout layout = LaidOut(10, 0);
    QCOMPARE(layout.ScaleDen, 0);
    QCOMPARE(layout.XCoord[56], 13500);
    QCOMPARE(layout.YCoord[18], 9000);
    QCOMPARE(layout.XCoord[30], 523);
    QCOMPARE(layout.Cells[13], (CellRect{2300, 5100, 2200, 3100}));
}

void TestLayout::zeroScaleNumCollapsesEverything()
{
    SlipLayout layout = LaidOut(1349);
    layout.ScaleNum = 0;
    LayOutSlip(layout);
    for (const CellRect &c : layout.Cells)
        QCOMPARE(c, CellRect{});
    QVERIFY(std::all_of(layout.XCoord.begin(), layout.XCoord.end(), [](auto v) { return v == 0; }));
    QVERIFY(std::all_of(layout.YCoord.begin(), layout.YCoord.end(), [](auto v) { return v == 0; }));
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
