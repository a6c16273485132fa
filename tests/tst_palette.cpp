// The slip, the inspection's excerpts and tables and the trial's frames stay
// readable in a high-contrast and in a dark palette: their lines and
// characters stand out from what they are drawn on.

#include "Kojochk/Kojochk.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"
#include "Trial/Trial.h"
#include "slip/SlipInk.h"
#include "tests/OffscreenQuiet.h"
#include "tests/SlipSamples.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace mivrel;

namespace {

// White on black, every bevel shade black too, as high-contrast schemes set it.
QPalette HighContrast()
{
    QPalette p(Qt::white, Qt::black);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::Light, QPalette::Midlight,
                      QPalette::Dark, QPalette::Mid, QPalette::Shadow, QPalette::AlternateBase})
        p.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        p.setColor(role, Qt::white);
    return p;
}

// A dark scheme: light grey text on dark grey, a darker base.
QPalette Dark()
{
    QPalette p(QColor(0xd3, 0xd3, 0xd3), QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::Text, QColor(0xd3, 0xd3, 0xd3));
    p.setColor(QPalette::WindowText, QColor(0xd3, 0xd3, 0xd3));
    return p;
}

// Pixels of `area` in `image` that stand out from `ground` (contrast >= 3,
// so antialiased edges of characters count only where they are strong).
int Standing(const QImage &image, const QRect &area, const QColor &ground)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += ContrastRatio(image.pixelColor(x, y), ground) >= 3.0;
    return count;
}

// The colour most pixels of the image have: what the drawing is drawn on.
QColor Ground(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return QColor::fromRgb(std::max_element(counts.begin(), counts.end()).key());
}

QRect Interior(const SlipPaintContext &ctx, std::uint8_t cell)
{
    const CellRect &r = ctx.Layout->Cells[cell];
    return QRect(QPoint(ctx.Origin.X + r.Left + 1, ctx.Origin.Y + r.Top + 1),
                 QPoint(ctx.Origin.X + r.Right - 1, ctx.Origin.Y + r.Bottom - 1));
}

} // namespace

class TestPalette : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void slip_data();
    void slip();
    void excerptsAndTables_data() { slip_data(); }
    void excerptsAndTables();
    void trialFrames_data() { slip_data(); }
    void trialFrames();
    void slipFollowsPaletteChange_data() { slip_data(); }
    void slipFollowsPaletteChange();

private:
    QPalette Original;
};

void TestPalette::initTestCase()
{
    SilenceOffscreenSizeHints();
    Original = QApplication::palette();
}

void TestPalette::cleanup()
{
    QApplication::setPalette(Original);
}

void TestPalette::slip_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("high contrast") << HighContrast();
    QTest::newRow("dark") << Dark();
}

// Every frame line and caption of the slip shows: the frame of 支払金額 in
// its full length, the caption's characters, a value's digits.
void TestPalette::slip()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    std::unique_ptr<TfrmMain> frm(CreateForms().frmMain);
    frm->resize(900, 600);
    frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    QCoreApplication::processEvents();
    const QImage canvas = frm->canvas();
    const SlipPaintContext &ctx = frm->paintContext();
    const QColor paper = Ground(canvas);

    QVERIFY2(ContrastRatio(paper, palette.color(QPalette::Window)) < 1.5, "the slip takes the window colour");
    const CellRect &salary = ctx.Layout->Cells[13];
    for (int y = salary.Top; y <= salary.Bottom; ++y)
        QVERIFY2(ContrastRatio(canvas.pixelColor(ctx.Origin.X + salary.Left, ctx.Origin.Y + y), paper) >= 4.5,
                 qPrintable(QStringLiteral("frame of 支払金額, row %1").arg(y)));
    QVERIFY2(Standing(canvas, Interior(ctx, 8), paper) > 30, "caption 支払金額");
    QVERIFY2(Standing(canvas, Interior(ctx, 13), paper) > 30, "value 6,898,700");
    const QRect title(0, 0, canvas.width(), ctx.Origin.Y);
    QVERIFY2(Standing(canvas, title.adjusted(0, 20, 0, 0), paper) > 100, "title above the slip");
}

// The excerpts show their frames and figures, the reference table its rows.
void TestPalette::excerptsAndTables()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    TdlgKojoCheck dlg;
    const TKyuho slip = SampleSlip();
    RunKojoCheck(dlg, slip);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    const QImage excerpt = dlg.findChild<QLabel *>("imgKyuyo")->pixmap().toImage();
    const QColor paper = Ground(excerpt);
    QVERIFY(ContrastRatio(excerpt.pixelColor(0, excerpt.height() / 2), paper) >= 4.5);  // left frame line
    QVERIFY2(Standing(excerpt, excerpt.rect(), paper) > excerpt.width() * 2 + 100, "frames and figures");

    auto *grid = dlg.findChild<QTableView *>("StringGrid1");
    grid->scrollTo(grid->model()->index(600, 0));
    const QImage rows = grid->viewport()->grab().toImage();
    const QColor base = grid->palette().color(QPalette::Base);
    QVERIFY2(Standing(rows, rows.rect(), base) > 500, "the table's rows");
}

// The sunken frames round the results stand out from the dialog.
void TestPalette::trialFrames()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    TdlgTrial dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QImage shot = dlg.grab().toImage();
    const QColor window = palette.color(QPalette::Window);
    for (const char *name : {"bevKyuyoSyotoku", "bevTakubetuGenzei"}) {
        const QRect frame = dlg.findChild<QFrame *>(name)->geometry();
        QVERIFY2(Standing(shot, QRect(frame.left(), frame.top(), frame.width(), 1), window) > frame.width() / 2,
                 name);
    }
    const QRect slider = dlg.findChild<QWidget *>("traKyuyoSyunyu")->geometry();
    QVERIFY2(Standing(shot, slider, window) > 50, "salary slider");
}

// The palette changes while the slip is shown (the desktop switched to a
// dark or high-contrast scheme): the slip is drawn again in the new colours,
// and back in the old ones when the palette returns.
void TestPalette::slipFollowsPaletteChange()
{
    QFETCH(QPalette, palette);
    std::unique_ptr<TfrmMain> frm(CreateForms().frmMain);
    frm->resize(900, 600);
    frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    QCoreApplication::processEvents();
    const QImage before = frm->canvas().copy();
    const SlipPaintContext &ctx = frm->paintContext();
    const QPoint frameLine(ctx.Origin.X + ctx.Layout->Cells[13].Left, ctx.Origin.Y + ctx.Layout->Cells[13].Top + 5);

    QApplication::setPalette(palette);
    QTRY_VERIFY(ContrastRatio(Ground(frm->canvas()), palette.color(QPalette::Window)) < 1.5);
    QVERIFY(ContrastRatio(frm->canvas().pixelColor(frameLine), Ground(frm->canvas())) >= 4.5);

    QApplication::setPalette(Original);
    QTRY_COMPARE(frm->canvas(), before);
}

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
