// Slip drawing: exact text placements from the pure placement function,
// caption and value items, and pixels of frames, separators, the focus frame
// and single-cell redraw in a QImage; the hit test.
//
// With MIVREL_SHOT_DIR set, the sample slip is also saved there as PNGs.

#include "slip/CanvasPixels.h"
#include "slip/GlyphStamps.h"
#include "slip/LayoutTables.h"
#include "slip/SlipDraw.h"

#include <QtTest>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <functional>
#include <memory>
#include <utility>

using Pieces = std::vector<mivrel::TextPiece>;
Q_DECLARE_METATYPE(mivrel::TCharDraw)
Q_DECLARE_METATYPE(Pieces)

namespace mivrel {
char *toString(const TextPiece &piece)
{
    return QTest::toString(QStringLiteral("(\"%1\", %2, %3)").arg(piece.Text).arg(piece.X).arg(piece.Y));
}
} // namespace mivrel

using namespace mivrel;

namespace {

const QColor WindowColour(236, 233, 216);
const QRgb Untouched = qRgb(255, 0, 255);
const QRgb Black = qRgb(0, 0, 0);

// A slip laid out for a main window client width, as the main window does it.
struct Slip {
    SlipLayout Layout;
    TKyuho Record;
    TFontInfoSet Fonts;
    std::uint8_t Current = NoCell;
    SlipPaintContext Ctx;

    explicit Slip(std::int32_t clientWidth, SlipOrigin origin = {})
    {
        Layout.ScaleNum = clientWidth - 1;
        LayOutSlip(Layout);
        SetFontSizes(Fonts, Layout.XCoord[56]);
        ClearSlip(Record);
        Ctx = {origin, &Layout, &Record, &Fonts, &Current};
    }
    Slip(const Slip &) = delete;
    Slip &operator=(const Slip &) = delete;

    std::int32_t Fs(FontEntry e) const { return Fonts.size(e); }
    // A cell's frame lines in canvas pixels.
    QRect Frame(std::uint8_t cell) const
    {
        const CellRect &r = Layout.Cells[cell];
        return QRect(QPoint(Ctx.Origin.X + r.Left, Ctx.Origin.Y + r.Top),
                     QPoint(Ctx.Origin.X + r.Right, Ctx.Origin.Y + r.Bottom));
    }
    std::int32_t X(std::size_t i) const { return Ctx.Origin.X + Layout.XCoord[i]; }
    std::int32_t Y(std::size_t i) const { return Ctx.Origin.Y + Layout.YCoord[i]; }
};

// The sample slip at a client width, origin leaving room for the title.
std::unique_ptr<Slip> SampleSlip(std::int32_t clientWidth)
{
    const std::int32_t medium = (clientWidth - 1) / 60;
    auto slip = std::make_unique<Slip>(clientWidth, SlipOrigin{0, 2 * medium + 2});
    FillSampleSlip(slip->Record);
    return slip;
}

QImage Canvas(const Slip &slip)
{
    QImage image(slip.Layout.XCoord[56] + 1, slip.Y(18) + 1, QImage::Format_RGB32);
    image.fill(Untouched);
    return image;
}

void Paint(QImage &image, const std::function<void(QPainter &)> &draw)
{
    QPainter painter(&image);
    painter.setBackground(WindowColour);
    draw(painter);
}

QImage RenderSlip(const Slip &slip)
{
    QImage image = Canvas(slip);
    image.fill(WindowColour);
    Paint(image, [&](QPainter &p) { DrawSlip(p, slip.Ctx); });
    return image;
}

bool IsInk(QRgb pixel) { return qGray(pixel) < 128; }

// Bounding box of the dark pixels inside `area`.
QRect InkBounds(const QImage &image, const QRect &area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Whether two rectangles differ by at most a pixel at each edge.
bool WithinPixel(const QRect &a, const QRect &b)
{
    return !a.isEmpty() && std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1
           && std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
}

// The largest difference of any colour channel between two images of the
// same size.
int LargestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

// A box at (100, 200).
TCharDraw Item(std::int32_t w, std::int32_t h, std::int32_t s, std::uint8_t placement,
               std::uint8_t margin, const QString &text, std::uint8_t charsPerLine = 0)
{
    return {100, 200, w, h, s, placement, charsPerLine, margin, text};
}

// Units spread along one line at y, each further line `lineStep` lower.
Pieces Spread(const QStringList &units, const QList<int> &xs, int y, int lineStep = 0)
{
    Pieces pieces;
    for (qsizetype k = 0; k < units.size(); ++k)
        pieces.push_back({units[k], xs[k % xs.size()], int(y + k / xs.size() * lineStep)});
    return pieces;
}

Pieces Join(Pieces a, const Pieces &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const QString FullSpace = QStringLiteral("　");

QByteArray U16(quint16 v)
{
    const char bytes[2] = {char(v >> 8), char(v & 0xFF)};
    return QByteArray(bytes, 2);
}

// A GSUB or GPOS table whose one feature `tag` uses one lookup of `type` and
// `flags` with the one subtable given; `variations` > 0 adds a feature
// variations offset (table version 1.1).
QByteArray LayoutTable(const char *tag, quint16 type, quint16 flags, const QByteArray &subtable,
                       quint32 variations = 0)
{
    const quint16 header = variations ? 14 : 10;
    QByteArray table = U16(1) + U16(variations ? 1 : 0) + U16(0) + U16(header) + U16(header + 14);
    if (variations)
        table += U16(variations >> 16) + U16(variations & 0xFFFF);
    table += U16(1) + QByteArray(tag, 4) + U16(8) + U16(0) + U16(1) + U16(0);  // feature list
    table += U16(1) + U16(4) + U16(type) + U16(flags) + U16(1) + U16(8);       // lookup list
    return table + subtable;
}

// A ligature substitution subtable: `first` followed by `rest` forms glyph 999.
QByteArray Ligature(quint16 first, const QList<quint16> &rest)
{
    QByteArray ligature = U16(999) + U16(quint16(rest.size() + 1));
    for (const quint16 glyph : rest)
        ligature += U16(glyph);
    return U16(1) + U16(8) + U16(1) + U16(14) + U16(1) + U16(1) + U16(first) + U16(1) + U16(4) + ligature;
}

// An extension subtable standing for a subtable of `type`.
QByteArray Extension(quint16 type, const QByteArray &subtable)
{
    return U16(1) + U16(type) + U16(0) + U16(8) + subtable;
}

using Glyphs = QList<quint32>;

} // namespace

class TestSlip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void placement_data();
    void placement();
    void valuePlacement_data();
    void valuePlacement();
    void addressLines_data();
    void addressLines();
    void textTopLeftIsTheCharacterCell();
    void shapingRules_data();
    void shapingRules();
    void textDrawsAsQPainterDoes_data();
    void textDrawsAsQPainterDoes();
    void denseScreenDrawsDeviceSizeGlyphs_data();
    void denseScreenDrawsDeviceSizeGlyphs();
    void frameOutline_data();
    void frameOutline();
    void directAccess_data();
    void directAccess();
    void pictureMoves_data();
    void pictureMoves();
    void framesDrawAsThePainterDoes_data();
    void framesDrawAsThePainterDoes();
    void slipFromStampsDrawsAsThePainterDoes_data();
    void slipFromStampsDrawsAsThePainterDoes();
    void stampsStayWithinTheirMemory();
    void slipOnPaperDrawsAsOverAnything_data();
    void slipOnPaperDrawsAsOverAnything();
    void redrawRestoresSeparator_data();
    void redrawRestoresSeparator();
    void focusThenRedraw_data();
    void focusThenRedraw();
    void hitTest_data();
    void hitTest();
    void sampleSlip_data();
    void sampleSlip();
};

void TestSlip::initTestCase()
{
    InstallFaceSubstitutions();
    QCOMPARE(QFontInfo(QFont(MinchoFace)).family(), QStringLiteral("IPAMincho"));
    QCOMPARE(QFontInfo(QFont(GothicFace)).family(), QStringLiteral("IPAGothic"));
    QCOMPARE(QFontInfo(QFont(SystemFace)).family(), QStringLiteral("IPAGothic"));
}

void TestSlip::placement_data()
{
    QTest::addColumn<TCharDraw>("item");
    QTest::addColumn<Pieces>("pieces");
    const QString shiharai = QStringLiteral("支払金額");
    const QStringList shiharaiUnits = {"支", "払", "金", "額"};

    // SpreadH (codes 0 and 1): one unit centred, smaller half left, larger half above.
    QTest::newRow("H one unit, odd space") << Item(61, 31, 26, SpreadH, 0, "明") << Pieces{{"明", 117, 203}};
    QTest::newRow("H code 0") << Item(60, 30, 26, 0, 0, "明") << Pieces{{"明", 117, 202}};
    QTest::newRow("H four units") << Item(279, 39, 26, SpreadH, 10, shiharai)
                                  << Spread(shiharaiUnits, {126, 193, 260, 327}, 207);
    QTest::newRow("H narrow box") << Item(40, 39, 26, SpreadH, 10, shiharai)
                                  << Spread(shiharaiUnits, {126, 126, 126, 126}, 207);
    QTest::newRow("H half-width pairs") << Item(100, 10, 10, SpreadH, 0, "( 配 )")
                                        << Spread({"( ", "配", " )"}, {100, 145, 190}, 200);
    QTest::newRow("H boundary inside a character") << Item(100, 10, 10, SpreadH, 0, "a漢字")
                                                   << Spread({"a漢", "字"}, {100, 190}, 200);
    QTest::newRow("H odd last byte") << Item(100, 10, 10, SpreadH, 0, "漢字A")
                                     << Spread({"漢", "字A"}, {100, 190}, 200);
    QTest::newRow("H one half-width char") << Item(100, 10, 10, SpreadH, 0, "A") << Pieces{{"A", 145, 200}};
    QTest::newRow("H half-width kana") << Item(100, 10, 10, SpreadH, 0, "ｱｲ") << Pieces{{"ｱｲ", 145, 200}};
    QTest::newRow("H full-width kana") << Item(100, 10, 10, SpreadH, 0, "アイ")
                                       << Spread({"ア", "イ"}, {100, 190}, 200);

    // Two and three lines (cell 17 below has the trailing spaces).
    QTest::newRow("H2 cut inside a character") << Item(100, 20, 10, SpreadH2, 0, "a漢字", 1)
                                               << Pieces{{"a漢", 145, 200}, {"字", 145, 210}};
    QTest::newRow("H3 drops the rest")
        << Item(90, 90, 10, SpreadH3, 0, "一二三四五六七八九十", 3)
        << Spread({"一", "二", "三", "四", "五", "六", "七", "八", "九"}, {100, 140, 180}, 210, 30);

    // Corners: m = trunc(margin x s / 10); right alignment counts n x s.
    QTest::newRow("top left") << Item(50, 30, 19, TopLeft, 1, "内") << Pieces{{"内", 101, 201}};
    QTest::newRow("bottom left") << Item(416, 79, 44, BottomLeft, 1, "見本") << Pieces{{"見本", 104, 231}};
    QTest::newRow("top right") << Item(279, 30, 19, TopRight, 1, "円") << Pieces{{"円", 359, 201}};
    QTest::newRow("bottom right, n x s") << Item(279, 89, 52, BottomRight, 1, " 6,898,700")
                                         << Pieces{{" 6,898,700", 114, 232}};
    QTest::newRow("bottom right, narrow box") << Item(100, 89, 52, BottomRight, 1, " 6,898,700")
                                              << Pieces{{" 6,898,700", 100, 232}};

    // Vertical rules: SpreadV centres across with the larger half left.
    QTest::newRow("V two units") << Item(49, 179, 26, SpreadV, 10, "氏名")
                                 << Pieces{{"氏", 112, 226}, {"名", 112, 327}};
    QTest::newRow("V one unit") << Item(39, 44, 19, SpreadV, 0, "有") << Pieces{{"有", 110, 212}};
    QTest::newRow("stack") << Item(49, 179, 26, StackV, 0, "住所又")
                           << Pieces{{"住", 111, 250}, {"所", 111, 276}, {"又", 111, 302}};

    for (const std::uint8_t code : {4, 5, 11, 13, 255})
        QTest::addRow("code %d draws nothing", code) << Item(279, 39, 26, code, 1, shiharai) << Pieces{};

    // Captions of the slip at client width 1350.
    const Slip slip(1350);
    QTest::newRow("caption 17: trailing full-width spaces")
        << CaptionDraw(slip.Ctx, 17)
        << Spread({"控", "除", "対", "象", "配", "偶", "者", "の", "有", "無", "等", FullSpace, FullSpace,
                   FullSpace},
                  {14, 38, 62, 87, 111, 135, 160}, 318, 42);
    QTest::newRow("caption 30: half-width pairs")
        << CaptionDraw(slip.Ctx, 30)
        << Join(Spread({"扶", "養", "親", "族", "の", "数"}, {362, 411, 461, 510, 560, 610}, 313),
                Spread({FullSpace, "( ", "配", "偶", "者", "を", "除", "く", " )", FullSpace},
                       {362, 389, 417, 444, 472, 499, 527, 554, 582, 610}, 340));
    QTest::newRow("caption 102: one unit centred") << CaptionDraw(slip.Ctx, 102) << Pieces{{"明", 946, 647}};
}

void TestSlip::placement()
{
    QFETCH(TCharDraw, item);
    QTEST(PlaceCharDraw(item), "pieces");
}

void TestSlip::valuePlacement_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("originY");
    QTest::addColumn<int>("size");  // 0: nothing drawn
    QTest::addColumn<Pieces>("pieces");
    // Amounts and counts show the last 10, 6, 8 or 2 characters of ten
    // spaces followed by the figure, right-aligned.
    QTest::newRow("13 grouped, 2 x large") << 13 << "6898700" << 0 << 52 << Pieces{{" 6,898,700", 244, 252}};
    QTest::newRow("13 cut, below origin") << 13 << "123456789" << 46 << 52 << Pieces{{"23,456,789", 244, 298}};
    QTest::newRow("13 zero") << 13 << "0" << 0 << 52 << Pieces{{"         0", 244, 252}};
    QTest::newRow("13 blank") << 13 << "" << 0 << 0 << Pieces{};
    QTest::newRow("51 plain, cut to 6") << 51 << "1234567" << 0 << 44 << Pieces{{"234567", 793, 431}};
    QTest::newRow("61 cut to 8, clear of 円") << 61 << "123456789" << 0 << 44 << Pieces{{",456,789", 1147, 570}};
    QTest::newRow("count cut to 2") << 37 << "123" << 0 << 44 << Pieces{{"23", 475, 431}};
    QTest::newRow("count 2") << 39 << "2" << 0 << 44 << Pieces{{" 2", 565, 431}};
    QTest::newRow("count blank") << 37 << "255" << 0 << 0 << Pieces{};
    QTest::newRow("4 right of its caption") << 4 << "0000-1234" << 0 << 44 << Pieces{{"0000-1234", 937, 1}};
    QTest::newRow("23 mark centred") << 23 << "○" << 0 << 26 << Pieces{{"○", 7, 444}};
    QTest::newRow("no kind") << 35 << "5" << 0 << 0 << Pieces{};
}

void TestSlip::valuePlacement()
{
    QFETCH(int, cell);
    QFETCH(QString, typed);
    QFETCH(int, originY);
    QFETCH(int, size);
    Slip slip(1350, {0, originY});
    SetCellText(slip.Record, std::uint8_t(cell), typed);
    const std::vector<TCharDraw> items = ValueDraws(slip.Ctx, std::uint8_t(cell));
    QCOMPARE(items.size(), std::size_t(size == 0 ? 0 : 1));
    if (items.empty())
        return;
    QCOMPARE(items.front().Size, size);
    QTEST(PlaceCharDraw(items.front()), "pieces");
}

void TestSlip::addressLines_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one line") << "東京" << QStringList{"東京"};
    QTest::newRow("CR LF") << "東京\r\n見本" << QStringList{"東京", "見本"};
    QTest::newRow("lone CR") << "東京\r見本" << QStringList{"東京", "見本"};
    QTest::newRow("trailing break") << "東京\r\n" << QStringList{"東京", ""};
}

// Each line of the address starts `s` pixels below the previous one.
void TestSlip::addressLines()
{
    QFETCH(QString, address);
    QFETCH(QStringList, lines);
    Slip slip(1350);
    SetCellText(slip.Record, 2, address);
    const std::vector<TCharDraw> items = ValueDraws(slip.Ctx, 2);
    QCOMPARE(qsizetype(items.size()), lines.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        QCOMPARE(items[k].Text, lines[qsizetype(k)]);
        QCOMPARE(items[k].Placement, std::uint8_t(TopLeft));
        QCOMPARE(items[k].Y, 1 + 44 * int(k));
    }
    QCOMPARE(PlaceCharDraw(items.front()), (Pieces{{lines.front(), 134, 5}}));
}

// A full-width square drawn at (x, y) with size s fills the s x s cell below
// and right of the point; a size <= 0 draws nothing.
void TestSlip::textTopLeftIsTheCharacterCell()
{
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCharDraw item{30, 20, 0, 0, 40, TopLeft, 0, 0, QStringLiteral("■")};
    Paint(image, [&](QPainter &p) {
        p.setFont(QFont(GothicFace));
        DrawCharDraw(p, item);
    });
    const QRect ink = InkBounds(image, image.rect());
    QVERIFY(QRect(30, 20, 40, 40).contains(ink));
    QVERIFY(ink.width() >= 24 && ink.height() >= 24);
    QVERIFY(qAbs(ink.center().x() - 50) <= 1 && qAbs(ink.center().y() - 40) <= 1);

    const QImage drawn = image;
    for (const std::int32_t size : {0, -3}) {
        item.Size = size;
        Paint(image, [&](QPainter &p) { DrawCharDraw(p, item); });
        QCOMPARE(image, drawn);
    }
}

void TestSlip::shapingRules_data()
{
    QTest::addColumn<QByteArray>("gsub");
    QTest::addColumn<QByteArray>("gpos");
    QTest::addColumn<bool>("kern");
    QTest::addColumn<Glyphs>("glyphs");
    QTest::addColumn<bool>("unchanged");
    const QByteArray fi = LayoutTable("liga", 4, 0, Ligature(10, {20}));
    const QByteArray pairs = LayoutTable("kern", 2, 0, QByteArray(8, 0));
    QTest::newRow("no tables, pair") << QByteArray() << QByteArray() << false << Glyphs{10, 20} << true;
    QTest::newRow("ligature, its glyphs") << fi << QByteArray() << false << Glyphs{5, 10, 20} << false;
    QTest::newRow("ligature, first alone") << fi << QByteArray() << false << Glyphs{10} << true;
    QTest::newRow("ligature, other order") << fi << QByteArray() << false << Glyphs{20, 10} << true;
    QTest::newRow("ligature, apart") << fi << QByteArray() << false << Glyphs{10, 5, 20} << true;
    QTest::newRow("ligature of one glyph")
        << LayoutTable("ccmp", 4, 0, Ligature(10, {})) << QByteArray() << false << Glyphs{10} << false;
    QTest::newRow("ligature skipping marks")
        << LayoutTable("ccmp", 4, 0x0008, Ligature(10, {20})) << QByteArray() << false << Glyphs{10, 30} << false;
    QTest::newRow("ligature through an extension")
        << LayoutTable("ccmp", 7, 0, Extension(4, Ligature(10, {20}))) << QByteArray() << false << Glyphs{10, 20}
        << false;
    QTest::newRow("single substitution") << LayoutTable("locl", 1, 0, QByteArray(6, 0)) << QByteArray() << false
                                         << Glyphs{10} << false;
    QTest::newRow("single substitution, vertical only")
        << LayoutTable("vert", 1, 0, QByteArray(6, 0)) << QByteArray() << false << Glyphs{10, 20} << true;
    QTest::newRow("feature variations") << LayoutTable("liga", 4, 0, Ligature(10, {20}), 30) << QByteArray()
                                        << false << Glyphs{5} << false;
    QTest::newRow("truncated") << fi.left(30) << QByteArray() << false << Glyphs{5} << false;
    QTest::newRow("pair positioning, alone") << QByteArray() << pairs << false << Glyphs{10} << true;
    QTest::newRow("pair positioning, pair") << QByteArray() << pairs << false << Glyphs{10, 20} << false;
    QTest::newRow("single positioning") << QByteArray() << LayoutTable("palt", 1, 0, QByteArray(6, 0)) << false
                                        << Glyphs{10} << false;
    QTest::newRow("kern table, alone") << QByteArray() << QByteArray() << true << Glyphs{10} << true;
    QTest::newRow("kern table, pair") << QByteArray() << QByteArray() << true << Glyphs{10, 20} << false;
}

// A text is drawn from its character map only where the face's tables
// cannot substitute, move or join its glyphs.
void TestSlip::shapingRules()
{
    QFETCH(QByteArray, gsub);
    QFETCH(QByteArray, gpos);
    QFETCH(bool, kern);
    QFETCH(Glyphs, glyphs);
    QTEST(ShapingRules({gsub, gpos, kern, false}).LeavesUnchanged(glyphs), "unchanged");
    QVERIFY(!ShapingRules({gsub, gpos, kern, true}).LeavesUnchanged(glyphs));
}

void TestSlip::textDrawsAsQPainterDoes_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("sizes");
    // The sizes of the slip at client widths 476 and 1350, and beyond 64
    // pixels, where glyphs are filled as outlines instead of cached.
    const QList<int> captions = {6, 7, 9, 19, 22, 26};
    const QList<int> values = {9, 14, 18, 44, 52, 70};
    QTest::newRow("caption character") << MinchoFace << false << "控" << captions;
    QTest::newRow("caption in brackets") << MinchoFace << false << "（受給者番号）" << captions;
    QTest::newRow("half-width pair") << MinchoFace << false << " )" << captions;
    QTest::newRow("title, bold") << MinchoFace << true << "  給与所得の源泉徴収票" << QList<int>{14, 44, 66};
    QTest::newRow("amount") << GothicFace << false << "  6,898,700" << values;
    QTest::newRow("address") << GothicFace << false << "東京都架空区見本町１－２" << values;
    QTest::newRow("mark") << GothicFace << false << "○" << values;
    QTest::newRow("Latin with kerning pairs") << GothicFace << false << "AVATAR To, Wa." << values;
    QTest::newRow("kana with a combining mark") << GothicFace << false << "か\u3099キ\u309A" << values;
    QTest::newRow("outside the face: fallback") << GothicFace << false << "Ωאב€" << values;
    QTest::newRow("tab and line separator") << GothicFace << false << "1\t2\u2028" << values;
}

// Every text draws the pixels QPainter::drawText gives it in the same font,
// whichever way it is laid out (from the character map, shaped, or by the
// painter), at every size the face is asked for; again from the kept glyph
// runs, and once more, in a later drawing of the slip, from glyph stamps
// (the canvas is the paper: the painter's background colour).
void TestSlip::textDrawsAsQPainterDoes()
{
    QFETCH(QString, face);
    QFETCH(bool, bold);
    QFETCH(QString, text);
    QFETCH(QList<int>, sizes);
    for (const int size : sizes) {
        QFont font(InstalledFamily(face));
        font.setBold(bold);
        font.setPixelSize(size);
        QImage blank(40 + size * int(text.size()), 3 * size, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QImage expected = blank;
        {
            QPainter p(&expected);
            p.setFont(font);
            p.drawText(QPoint(7, size + QFontMetrics(font).ascent()), text);
        }
        const TCharDraw item{7, size, 0, 0, size, TopLeft, 0, 0, text};
        for (int pass = 0; pass < 3; ++pass) {
            QImage drawn = blank;
            {
                QPainter p(&drawn);
                p.setBackground(Qt::white);
                p.setFont(font);
                DrawCharDraw(p, item);
            }
            QVERIFY2(drawn == expected, qPrintable(QStringLiteral("size %1, pass %2").arg(size).arg(pass)));
            BeginSlipDrawing();
        }
    }
}

void TestSlip::denseScreenDrawsDeviceSizeGlyphs_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("same");  // the same glyphs, not only the same extent
    // Sizes of the slip at client widths 476 and 1350 (values at 44 and 52
    // pixels are 88 and 104 on the device). The title's synthetic bold is
    // the one the face was given at its own size, a little narrower than a
    // face of the device size gets; from 64 pixels up a face gets none.
    QTest::newRow("captions") << MinchoFace << false << "支払金額（円）" << QList<int>{6, 7, 9, 19, 22, 26} << 2.0
                              << true;
    QTest::newRow("title, bold") << MinchoFace << true << "平成８年分 給与所得" << QList<int>{12, 14, 22, 26}
                                 << 2.0 << false;
    QTest::newRow("amount") << GothicFace << false << "  6,898,700" << QList<int>{9, 14, 18, 44, 52} << 2.0 << true;
    QTest::newRow("scale 3") << GothicFace << false << "○ 84,000" << QList<int>{10, 20, 26} << 3.0 << true;
}

// On a dense screen the glyphs are those of the face at the device size,
// each at the whole device pixel nearest to its scaled position: the pixels
// QPainter::drawText gives for a font of that size at the scaled position
// on an unscaled image, but for the rounding of the blend. Up to 64 device
// pixels the painter takes them from its glyph cache and they match to a
// level or two; beyond that it fills the outlines, which cover the same
// extent to a pixel. Drawn again, and from stamps in a later drawing of the
// slip, nothing changes.
void TestSlip::denseScreenDrawsDeviceSizeGlyphs()
{
    QFETCH(QString, face);
    QFETCH(bool, bold);
    QFETCH(QString, text);
    QFETCH(QList<int>, sizes);
    QFETCH(qreal, ratio);
    QFETCH(bool, same);
    for (const int size : sizes) {
        QFont font(InstalledFamily(face));
        font.setBold(bold);
        font.setPixelSize(size);
        QFont deviceFont = font;
        deviceFont.setPixelSize(qRound(size * ratio));
        const QSize area(40 + size * int(text.size()), 3 * size);
        QImage expected(area * ratio, QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            QPainter p(&expected);
            p.setFont(deviceFont);
            p.drawText(QPointF(7, size + QFontMetrics(font).ascent()) * ratio, text);
        }
        const TCharDraw item{7, size, 0, 0, size, TopLeft, 0, 0, text};
        QImage first;
        for (int pass = 0; pass < 3; ++pass) {
            QImage drawn(area * ratio, QImage::Format_RGB32);
            drawn.setDevicePixelRatio(ratio);
            drawn.fill(Qt::white);
            {
                QPainter p(&drawn);
                p.setBackground(Qt::white);
                p.setFont(font);
                DrawCharDraw(p, item);
            }
            drawn.setDevicePixelRatio(1);
            const QString where = QStringLiteral("size %1, pass %2").arg(size).arg(pass);
            if (pass == 0) {
                first = drawn;
                QVERIFY2(WithinPixel(InkBounds(drawn, drawn.rect()), InkBounds(expected, expected.rect())),
                         qPrintable(where));
                if (same && size * ratio <= 64)
                    QVERIFY2(LargestDifference(drawn, expected) <= 2, qPrintable(where));
            } else {
                QVERIFY2(drawn == first, qPrintable(where));
            }
            BeginSlipDrawing();
        }
    }
}

void TestSlip::frameOutline_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("originX");
    QTest::addColumn<int>("originY");
    QTest::newRow("13") << 13 << 0 << 46;
    QTest::newRow("18 inside 17") << 18 << 3 << 46;
    QTest::newRow("0 at the corner") << 0 << 0 << 0;
    QTest::newRow("89 last status column") << 89 << 5 << 7;
}

// One frame: lines through columns L, R and rows T, B inclusive, interior in
// the background colour, nothing outside touched.
void TestSlip::frameOutline()
{
    QFETCH(int, cell);
    QFETCH(int, originX);
    QFETCH(int, originY);
    const Slip slip(1350, {originX, originY});
    QImage image(slip.X(56) + 3, slip.Y(18) + 3, QImage::Format_RGB32);
    image.fill(Untouched);
    Paint(image, [&](QPainter &p) { DrawCellFrame(p, slip.Ctx, std::uint8_t(cell)); });

    const QRect f = slip.Frame(std::uint8_t(cell));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = f.contains(x, y);
            const bool onLine = inside && (x == f.left() || x == f.right() || y == f.top() || y == f.bottom());
            const QRgb expected = onLine ? Black : inside ? WindowColour.rgb() : Untouched;
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

using PainterSetup = std::function<void(QPainter &)>;
Q_DECLARE_METATYPE(PainterSetup)

void TestSlip::directAccess_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<PainterSetup>("setup");
    QTest::addColumn<bool>("direct");
    const PainterSetup none = [](QPainter &) {};
    QTest::newRow("RGB32") << QImage::Format_RGB32 << 1.0 << none << true;
    QTest::newRow("premultiplied ARGB32") << QImage::Format_ARGB32_Premultiplied << 1.0 << none << true;
    QTest::newRow("dense screen") << QImage::Format_RGB32 << 2.0 << none << true;
    QTest::newRow("moved by whole pixels")
        << QImage::Format_RGB32 << 1.0 << PainterSetup([](QPainter &p) { p.translate(3, -2); }) << true;
    QTest::newRow("moved by half a pixel")
        << QImage::Format_RGB32 << 1.0 << PainterSetup([](QPainter &p) { p.translate(0.5, 0); }) << false;
    QTest::newRow("scaled unequally")
        << QImage::Format_RGB32 << 1.0 << PainterSetup([](QPainter &p) { p.scale(2, 1); }) << false;
    QTest::newRow("rotated") << QImage::Format_RGB32 << 1.0 << PainterSetup([](QPainter &p) { p.rotate(90); })
                             << false;
    QTest::newRow("clipped")
        << QImage::Format_RGB32 << 1.0 << PainterSetup([](QPainter &p) { p.setClipRect(0, 0, 50, 50); }) << false;
    QTest::newRow("half opaque") << QImage::Format_RGB32 << 1.0
                                 << PainterSetup([](QPainter &p) { p.setOpacity(0.5); }) << false;
    QTest::newRow("composition mode")
        << QImage::Format_RGB32 << 1.0
        << PainterSetup([](QPainter &p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }) << false;
    QTest::newRow("ARGB32, not premultiplied") << QImage::Format_ARGB32 << 1.0 << none << false;
    QTest::newRow("16 bits") << QImage::Format_RGB16 << 1.0 << none << false;
}

// Which painters the drawing writes through directly; any other draws the
// same slip through the painter.
void TestSlip::directAccess()
{
    QFETCH(QImage::Format, format);
    QFETCH(qreal, ratio);
    QFETCH(PainterSetup, setup);
    QImage image(QSize(200, 100) * ratio, format);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    setup(painter);
    QTEST(CanvasPixels::Of(painter).has_value(), "direct");
}

void TestSlip::pictureMoves_data()
{
    QTest::addColumn<QSize>("from");
    QTest::addColumn<QSize>("to");
    QTest::addColumn<QPoint>("by");
    for (const QPoint by : {QPoint(3, 2), QPoint(-3, -2), QPoint(3, -2), QPoint(-3, 2), QPoint(0, 0), QPoint(40, 0)})
        for (const auto &[from, to] : {std::pair(QSize(10, 8), QSize(12, 9)), std::pair(QSize(12, 9), QSize(7, 5)),
                                       std::pair(QSize(45, 6), QSize(37, 7))})
            QTest::addRow("%dx%d to %dx%d by %d,%d", from.width(), from.height(), to.width(), to.height(), by.x(),
                          by.y())
                << from << to << by;
}

// A picture moved within its store lands where it is moved to, every pixel
// of it that the new size holds, with paper around it, whichever way rows
// and columns overlap.
void TestSlip::pictureMoves()
{
    QFETCH(QSize, from);
    QFETCH(QSize, to);
    QFETCH(QPoint, by);
    const QRgb paper = qRgb(1, 2, 3);
    const auto original = [](QPoint p) { return qRgb(p.x(), p.y(), 200); };
    QImage store(48, 12, QImage::Format_RGB32);
    store.fill(Untouched);
    for (int y = 0; y < from.height(); ++y)
        for (int x = 0; x < from.width(); ++x)
            store.setPixel(x, y, original({x, y}));
    MovePicture(store, from, to, by, paper);
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x) {
            const QPoint source = QPoint(x, y) - by;
            const QRgb expected = QRect(QPoint(), from).contains(source) ? original(source) : paper;
            QVERIFY2(store.pixel(x, y) == expected, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
}

void TestSlip::framesDrawAsThePainterDoes_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("476") << 476 << 1.0 << QImage::Format_RGB32;
    QTest::newRow("1350") << 1350 << 1.0 << QImage::Format_RGB32;
    QTest::newRow("frames collapsing into lines") << 45 << 1.0 << QImage::Format_RGB32;
    QTest::newRow("premultiplied ARGB32") << 476 << 1.0 << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("dense screen") << 1350 << 2.0 << QImage::Format_RGB32;
    QTest::newRow("scale 1.25") << 476 << 1.25 << QImage::Format_RGB32;
    QTest::newRow("scale 1.5") << 700 << 1.5 << QImage::Format_RGB32;
    QTest::newRow("scale 1.75") << 476 << 1.75 << QImage::Format_RGB32;
    QTest::newRow("scale 3") << 476 << 3.0 << QImage::Format_RGB32;
}

// Frames written straight into the pixels are exactly those the painter
// strokes (a clip keeps it from giving direct access), at every scale: the
// whole grid, then single frames redrawn over it.
void TestSlip::framesDrawAsThePainterDoes()
{
    QFETCH(int, clientWidth);
    QFETCH(qreal, ratio);
    QFETCH(QImage::Format, format);
    const auto slip = SampleSlip(clientWidth);
    slip->Ctx.Origin.X = 3;
    QImage blank(QSize(slip->X(56) + 5, slip->Y(18) + 3) * ratio, format);
    blank.setDevicePixelRatio(ratio);
    blank.fill(Untouched);
    const auto draw = [&](bool direct) {
        QImage image = blank;
        QPainter p(&image);
        p.setBackground(WindowColour);
        if (!direct)
            p.setClipRect(QRectF(QPointF(), image.deviceIndependentSize()));
        if (CanvasPixels::Of(p).has_value() != direct)
            return QImage();
        DrawCellFrames(p, slip->Ctx);
        for (const std::uint8_t cell : {17, 18, 36, 44, 120})
            DrawCellFrame(p, slip->Ctx, cell);
        return image;
    };
    const QImage direct = draw(true);
    QVERIFY(!direct.isNull());
    QCOMPARE(direct, draw(false));
}

void TestSlip::slipFromStampsDrawsAsThePainterDoes_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<QColor>("paper");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<bool>("overrun");  // values running over frames and captions
    const QColor black(Qt::black);
    QTest::newRow("476") << 476 << black << WindowColour << QImage::Format_RGB32 << false;
    QTest::newRow("1350") << 1350 << black << WindowColour << QImage::Format_RGB32 << false;
    QTest::newRow("1919, values over 64 pixels") << 1919 << black << WindowColour << QImage::Format_RGB32 << false;
    QTest::newRow("blue on white") << 1350 << QColor(20, 40, 160) << QColor(Qt::white) << QImage::Format_RGB32
                                   << false;
    QTest::newRow("premultiplied ARGB32") << 700 << black << WindowColour << QImage::Format_ARGB32_Premultiplied
                                          << false;
    QTest::newRow("overrunning values") << 1350 << black << WindowColour << QImage::Format_RGB32 << true;
}

// The whole slip drawn again and again at one size, the later drawings from
// glyph stamps where the canvas under a glyph is still paper, gives exactly
// the pixels the painter gives drawing every glyph itself.
void TestSlip::slipFromStampsDrawsAsThePainterDoes()
{
    QFETCH(int, clientWidth);
    QFETCH(QColor, ink);
    QFETCH(QColor, paper);
    QFETCH(QImage::Format, format);
    QFETCH(bool, overrun);
    const auto slip = SampleSlip(clientWidth);
    if (overrun) {
        SetCellText(slip->Record, 4, QStringLiteral("0000-1234-5678-9012-3456-7890"));
        SetCellText(slip->Record, 13, QStringLiteral("1888888888"));
        SetCellText(slip->Record, 2, QStringLiteral("東京都架空区\n見本町\n１\n２\n３\n４\n５"));
        SetCellText(slip->Record, 119, QStringLiteral("東京都架空区例示町９－８－７東京都架空区例示町９－８－７"));
    }
    QImage blank(slip->X(56) + 1, slip->Y(18) + 1, format);
    blank.fill(paper);
    const auto draw = [&](bool direct) {
        QImage image = blank;
        QPainter p(&image);
        p.setBackground(paper);
        p.setPen(ink);
        if (!direct)
            p.setClipRect(image.rect());
        DrawSlip(p, slip->Ctx);
        return image;
    };
    const QImage expected = draw(false);
    for (int drawing = 0; drawing < 3; ++drawing)
        QVERIFY2(draw(true) == expected, qPrintable(QStringLiteral("drawing %1").arg(drawing)));
    QVERIFY(GlyphStampBytes() > 0);
}

void TestSlip::slipOnPaperDrawsAsOverAnything_data()
{
    QTest::addColumn<QList<int>>("clientWidths");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("overrun");  // values running over frames and captions
    QList<int> widths;
    for (int width = 1; width <= 2000; width += width < 500 ? 1 : 13)
        widths << width;
    QTest::newRow("every width to 500, then every 13th") << widths << qreal(1) << false;
    QTest::newRow("wide and overrunning") << QList<int>{476, 1350, 2500} << qreal(1) << true;
    QTest::newRow("dense screen") << QList<int>{100, 476, 733, 1343, 1357} << qreal(2) << false;
}

// The slip drawn onto paper, without erasing the cells first, gives the
// pixels of the slip drawn over anything: no cell's interior covers what
// the title or another cell's frame put there.
void TestSlip::slipOnPaperDrawsAsOverAnything()
{
    QFETCH(QList<int>, clientWidths);
    QFETCH(qreal, ratio);
    QFETCH(bool, overrun);
    for (const int clientWidth : clientWidths) {
        const auto slip = SampleSlip(clientWidth);
        if (overrun) {
            SetCellText(slip->Record, 13, QStringLiteral("1888888888"));
            SetCellText(slip->Record, 2, QStringLiteral("東京都架空区\n見本町\n１\n２\n３\n４\n５"));
        }
        QImage blank(QSize(slip->X(56) + 1, slip->Y(18) + 1) * ratio, QImage::Format_RGB32);
        blank.setDevicePixelRatio(ratio);
        blank.fill(WindowColour);
        const auto draw = [&](void (*drawSlip)(QPainter &, const SlipPaintContext &)) {
            QImage image = blank;
            QPainter p(&image);
            p.setBackground(WindowColour);
            drawSlip(p, slip->Ctx);
            return image;
        };
        QVERIFY2(draw(DrawSlipOnPaper) == draw(DrawSlip), qPrintable(QStringLiteral("width %1").arg(clientWidth)));
    }
}

// Stamps of large glyphs at size after size (long typed texts on a dense
// screen) are dropped once they hold more than 32 MB, and made afresh; the
// text looks the same from them as before.
void TestSlip::stampsStayWithinTheirMemory()
{
    constexpr qsizetype Budget = 32 * 1024 * 1024;
    const QFont face(InstalledFamily(GothicFace));
    const QRawFont raw = QRawFont::fromFont(face);
    QStringList lines(10);
    for (char16_t c = 0x4E00; lines.back().size() < 20; ++c)
        if (raw.supportsCharacter(QChar(c)))
            std::find_if(lines.begin(), lines.end(), [](const QString &line) { return line.size() < 20; })
                ->append(QChar(c));
    qsizetype most = 0;
    for (int size = 50; size <= 60; ++size) {
        QImage blank(QSize(size * 21, size * 11) * 2, QImage::Format_RGB32);
        blank.setDevicePixelRatio(2);
        blank.fill(Qt::white);
        QImage first;
        for (int drawing = 0; drawing < 3; ++drawing) {
            BeginSlipDrawing();
            QImage image = blank;
            QPainter p(&image);
            p.setBackground(Qt::white);
            p.setFont(face);
            for (qsizetype k = 0; k < lines.size(); ++k) {
                DrawCharDraw(p, {0, int(k) * size, 0, 0, size, TopLeft, 0, 0, lines[k]});
                most = std::max(most, GlyphStampBytes());
            }
            p.end();
            if (drawing == 0)
                first = image;
            else
                QVERIFY2(image == first, qPrintable(QStringLiteral("size %1, drawing %2").arg(size).arg(drawing)));
        }
    }
    // The budget is looked at before each text: one line's glyphs beyond it at most.
    QVERIFY2(most > Budget && most <= Budget + Budget / 16, qPrintable(QString::number(most)));
}

void TestSlip::redrawRestoresSeparator_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("xEntry");
    QTest::addColumn<bool>("restores");
    QTest::newRow("36") << 36 << 17 << true;
    QTest::newRow("37") << 37 << 17 << true;
    QTest::newRow("44") << 44 << 22 << true;
    QTest::newRow("45") << 45 << 22 << true;
    QTest::newRow("35 leaves x 475 alone") << 35 << 17 << false;
    QTest::newRow("46 leaves x 700 alone") << 46 << 22 << false;
}

// In the slip, dots and background-coloured gaps replace the solid line from
// y 395 down to y 480, whose row is solid frame again. The separator is then
// drawn over solid (as a neighbour's plain frame would) and one cell redrawn.
void TestSlip::redrawRestoresSeparator()
{
    QFETCH(int, cell);
    QFETCH(int, xEntry);
    QFETCH(bool, restores);
    const auto slip = SampleSlip(1350);
    const QImage drawn = RenderSlip(*slip);
    const int x = slip->X(std::size_t(xEntry));
    int dots = 0, gaps = 0;
    for (int y = slip->Y(7); y < slip->Y(9); ++y) {
        const QRgb pixel = drawn.pixel(x, y);
        QVERIFY(pixel == Black || pixel == WindowColour.rgb());
        (pixel == Black ? dots : gaps) += 1;
    }
    QVERIFY(dots > 0 && gaps > 0);
    QCOMPARE(drawn.pixel(x, slip->Y(9)), Black);

    QImage image = drawn;
    Paint(image, [&](QPainter &p) {
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(x, slip->Y(7), x, slip->Y(9));
        DrawCell(p, slip->Ctx, std::uint8_t(cell));
    });
    if (restores) {
        QCOMPARE(image, drawn);
        return;
    }
    for (int y = slip->Y(7); y <= slip->Y(9); ++y)
        QCOMPARE(image.pixel(x, y), Black);
}

void TestSlip::focusThenRedraw_data()
{
    QTest::addColumn<int>("cell");
    for (const int cell : {2, 4, 13, 23, 36, 39, 45, 59, 89, 113})
        QTest::addRow("%d", cell) << cell;
}

// The focus frame is dotted, one pixel inside the border, with nothing
// filled and its gaps left as they were; drawing it twice and redrawing the
// cell once gives back the slip.
void TestSlip::focusThenRedraw()
{
    QFETCH(int, cell);
    const auto slip = SampleSlip(1350);
    SetCellText(slip->Record, 2, QStringLiteral("東京都架空区\n見本町"));  // stays inside its box

    QImage bare = Canvas(*slip);
    Paint(bare, [&](QPainter &p) { DrawCellFocus(p, slip->Ctx, std::uint8_t(cell)); });
    const QRect ring = slip->Frame(std::uint8_t(cell)).adjusted(1, 1, -1, -1);
    int dots = 0, gaps = 0;
    for (int y = 0; y < bare.height(); ++y) {
        for (int x = 0; x < bare.width(); ++x) {
            const bool onRing = ring.contains(x, y)
                                && (x == ring.left() || x == ring.right() || y == ring.top() || y == ring.bottom());
            const QRgb pixel = bare.pixel(x, y);
            if (!onRing && pixel != Untouched)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            if (onRing)
                (pixel == Black ? dots : gaps) += 1;
        }
    }
    QVERIFY(dots > 0 && gaps > 0);

    const QImage drawn = RenderSlip(*slip);
    QImage image = drawn;
    Paint(image, [&](QPainter &p) {
        DrawCellFocus(p, slip->Ctx, std::uint8_t(cell));
        DrawCellFocus(p, slip->Ctx, std::uint8_t(cell));
    });
    QVERIFY(image != drawn);
    Paint(image, [&](QPainter &p) { DrawCell(p, slip->Ctx, std::uint8_t(cell)); });
    QCOMPARE(image, drawn);
}

void TestSlip::hitTest_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("cell");
    const int top = 46;  // origin y; at client width 1350 design k > 0 lies at k - 1
    QTest::newRow("inside 13") << 300 << top + 250 << 13;
    QTest::newRow("line between 13 and 14") << 509 << top + 250 << int(NoCell);
    QTest::newRow("first column of 14") << 510 << top + 250 << 14;
    QTest::newRow("top line of 13") << 300 << top + 219 << int(NoCell);
    QTest::newRow("inside 18 gives 17") << 180 << top + 380 << 17;
    QTest::newRow("inside 120") << 700 << top + 870 << 120;
    QTest::newRow("title") << 675 << 20 << int(NoCell);
    QTest::newRow("right edge line") << 1349 << top + 250 << int(NoCell);
    QTest::newRow("below the slip") << 700 << top + 905 << int(NoCell);
}

void TestSlip::hitTest()
{
    QFETCH(int, x);
    QFETCH(int, y);
    const Slip slip(1350, {0, 46});
    QTEST(int(HitTestCell(slip.Ctx, x, y)), "cell");
}

void TestSlip::sampleSlip_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<QList<int>>("fontSizes");  // large, medium, small
    QTest::newRow("1350") << 1350 << QList<int>{26, 22, 19};
    QTest::newRow("700") << 700 << QList<int>{13, 11, 9};
}

// Font sizes follow the width; the title sits centred in the room above the
// slip; captions, values and marks show in their cells. Saved as a PNG when MIVREL_SHOT_DIR is set.
void TestSlip::sampleSlip()
{
    QFETCH(int, clientWidth);
    const auto slip = SampleSlip(clientWidth);
    QTEST((QList<int>{slip->Fs(FontLarge), slip->Fs(FontMedium), slip->Fs(FontSmall)}), "fontSizes");
    const QImage image = RenderSlip(*slip);

    const std::int32_t originY = slip->Ctx.Origin.Y, medium = slip->Fs(FontMedium);
    const QRect title = InkBounds(image, QRect(0, 0, image.width(), originY));
    QVERIFY(!title.isEmpty());
    QVERIFY(title.top() >= originY - 2 * medium - 1 && title.bottom() < originY);
    QVERIFY(qAbs(title.center().x() - slip->X(56) / 2) <= medium);

    for (const std::uint8_t cell : {8, 13, 23, 111, 119})
        QVERIFY2(!InkBounds(image, slip->Frame(cell).adjusted(1, 1, -1, -1)).isEmpty(),
                 qPrintable(QString::number(cell)));
    const QRect box = slip->Frame(23).adjusted(1, 1, -1, -1);
    const QRect mark = InkBounds(image, box);
    QVERIFY(qAbs(mark.center().x() - box.center().x()) <= 2);
    QVERIFY(qAbs(mark.center().y() - box.center().y()) <= 2);

    if (const QString dir = qEnvironmentVariable("MIVREL_SHOT_DIR"); !dir.isEmpty()) {
        const QString file = QDir(dir).filePath(QStringLiteral("slip-%1.png").arg(clientWidth));
        QVERIFY2(image.save(file), qPrintable(file));
    }
}

QTEST_MAIN(TestSlip)
#include "tst_slip.moc"
