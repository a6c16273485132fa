// Frames, captions and values of the slip, the single-cell redraw, the focus
// frame and the hit test.

#include "slip/SlipDraw.h"

#include "slip/CanvasPixels.h"
#include "slip/GlyphStamps.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QStringList>

#include <algorithm>

namespace mivrel {

namespace {

std::int32_t Narrow(std::int64_t value) { return static_cast<std::int32_t>(value); }

// XCoord entries of the two dotted separators (design x 475 and 700) and the
// YCoord entries they run between (design y 395 down to, not including, 480).
constexpr std::size_t ElderlySeparatorX = 17;
constexpr std::size_t DisabledSeparatorX = 22;
constexpr std::size_t SeparatorTopY = 7;
constexpr std::size_t SeparatorEndY = 9;
constexpr std::size_t SlipWidthX = 56;

// A cell's frame lines in canvas pixels.
struct PixelRect {
    std::int64_t Left, Right, Top, Bottom;
};

PixelRect CellPixels(const SlipPaintContext &ctx, std::uint8_t cell)
{
    const CellRect &r = ctx.Layout->Cells[cell];
    return {std::int64_t{ctx.Origin.X} + r.Left, std::int64_t{ctx.Origin.X} + r.Right,
            std::int64_t{ctx.Origin.Y} + r.Top, std::int64_t{ctx.Origin.Y} + r.Bottom};
}

// One-pixel aliased cosmetic pen of the painter's colour.
void UsePen(QPainter &canvas, Qt::PenStyle style)
{
    QPen pen(canvas.pen().color(), 1, style, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    canvas.setPen(pen);
    canvas.setRenderHint(QPainter::Antialiasing, false);
}

// Solid fill: the background colour inside rectangles and in the gaps of
// dotted lines.
void UseSolidFill(QPainter &canvas)
{
    canvas.setBrush(canvas.background().color());
    canvas.setBackgroundMode(Qt::OpaqueMode);
}

void UseTransparentFill(QPainter &canvas)
{
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::TransparentMode);
}

// The outline runs through columns Left and Right and rows Top and Bottom
// inclusive: a QRect of width Right - Left stroked with a one-pixel pen.
void DrawOutline(QPainter &canvas, const PixelRect &r)
{
    canvas.drawRect(QRect(Narrow(r.Left), Narrow(r.Top), Narrow(r.Right - r.Left),
                          Narrow(r.Bottom - r.Top)));
}

// Draws frames as an aliased cosmetic pen over a fill of the background
// colour draws them: the outline through the frame's columns and rows, every
// pixel inside in the background colour. Where the painter allows, the
// pixels are written directly (the painter would stroke each rectangle as a
// vector path); frames that collapse to a line or a point, and painters
// without direct access, go through the painter. The pen and fill must be
// set.
class FrameDrawer {
public:
    // With `onPaper` the interiors already hold nothing but the fill colour,
    // and only the lines are written where the pixels are at hand.
    explicit FrameDrawer(QPainter &canvas, bool onPaper = false)
        : Canvas(canvas), Pixels(CanvasPixels::Of(canvas)), Ink(OpaquePixel(canvas.pen().color())),
          Paper(OpaquePixel(canvas.brush().color())), OnPaper(onPaper)
    {
    }

    void Draw(const PixelRect &r) const
    {
        if (!(Pixels && Ink && Paper && Fill(*Pixels, r)))
            DrawOutline(Canvas, r);
    }

private:
    bool Fill(const CanvasPixels &pixels, const PixelRect &r) const
    {
        const int left = pixels.DeviceX(r.Left), right = pixels.DeviceX(r.Right);
        const int top = pixels.DeviceY(r.Top), bottom = pixels.DeviceY(r.Bottom);
        if (r.Right <= r.Left || r.Bottom <= r.Top || right <= left || bottom <= top)
            return false;
        if (!OnPaper)
            pixels.Fill(QRect(QPoint(left + 1, top + 1), QPoint(right - 1, bottom - 1)), *Paper);
        pixels.Fill(QRect(QPoint(left, top), QPoint(right, top)), *Ink);
        pixels.Fill(QRect(QPoint(left, bottom), QPoint(right, bottom)), *Ink);
        pixels.Fill(QRect(QPoint(left, top + 1), QPoint(left, bottom - 1)), *Ink);
        pixels.Fill(QRect(QPoint(right, top + 1), QPoint(right, bottom - 1)), *Ink);
        return true;
    }

    QPainter &Canvas;
    std::optional<CanvasPixels> Pixels;
    std::optional<quint32> Ink;
    std::optional<quint32> Paper;
    bool OnPaper;
};

// The dotted line that stands for the border at XCoord[xIndex] inside the
// count blocks; the pen and fill must be set.
void DrawSeparator(QPainter &canvas, const SlipPaintContext &ctx, std::size_t xIndex)
{
    const SlipLayout &layout = *ctx.Layout;
    const std::int64_t x = std::int64_t{ctx.Origin.X} + layout.XCoord[xIndex];
    const std::int64_t top = std::int64_t{ctx.Origin.Y} + layout.YCoord[SeparatorTopY];
    const std::int64_t last = std::int64_t{ctx.Origin.Y} + layout.YCoord[SeparatorEndY] - 1;
    if (last < top)
        return;
    canvas.drawLine(QPoint(Narrow(x), Narrow(top)), QPoint(Narrow(x), Narrow(last)));
}

// The separator that redrawing this cell's frame must restore, if any.
std::size_t SeparatorOf(std::uint8_t cell)
{
    switch (cell) {
    case 36:
    case 37:
        return ElderlySeparatorX;
    case 44:
    case 45:
        return DisabledSeparatorX;
    default:
        return 0;
    }
}

// The faces are asked for by their installed family, so that no fallback
// faces are looked up before a text needs one. The printed captions and the
// title are fixed texts that the Mincho face covers whole, so it is asked for
// without fallback faces altogether. Values are typed by the user and keep
// the fallbacks.
QFont Face(const QString &family, bool bold)
{
    // Made once per face and weight (for the family installed now): every
    // caption and value asks for one.
    static QHash<std::pair<QString, bool>, QFont> made;
    const QString installed = InstalledFamily(family);
    auto it = made.find({family, bold});
    if (it == made.end() || it->family() != installed) {
        QFont font(installed);
        font.setBold(bold);
        if (family == MinchoFace)
            font.setStyleStrategy(QFont::NoFontMerging);
        it = made.insert({family, bold}, font);
    }
    return *it;
}

// Twice a font size (values and the title), computed without overflow.
std::int32_t Doubled(std::int32_t size) { return Narrow(2 * std::int64_t{size}); }

// "The last `width` characters of ten spaces followed by the figure".
QString FixedWidth(const QString &figure, qsizetype width)
{
    return (QString(10, QLatin1Char(' ')) + figure).right(width);
}

bool IsMainAmount(std::uint8_t cell) { return cell >= 13 && cell <= 16; }
bool IsRemarkAmount(std::uint8_t cell) { return cell >= 59 && cell <= 61; }

QString AmountText(std::uint8_t cell, std::int32_t amount)
{
    if (IsMainAmount(cell))
        return FixedWidth(GroupedNumber(amount), 10);
    if (IsRemarkAmount(cell))
        return FixedWidth(GroupedNumber(amount), 8);
    return FixedWidth(QString::number(amount), 6);
}

// The address lines: a line break is "\n", "\r\n" or a lone "\r"; a
// trailing break leaves an empty last line.
QStringList AddressLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.split(QLatin1Char('\n'));
}

// Width of the caption at the top left of cells 4, 5 and 6, in FontSmall
// characters: the value box starts right of it.
std::int64_t CaptionIndent(std::uint8_t cell)
{
    switch (cell) {
    case 4:
        return 7;  // （受給者番号）
    case 5:
        return 6;  // （フリガナ）
    case 6:
        return 5;  // （役職名）
    default:
        return 0;
    }
}

std::vector<TCharDraw> TextDraws(const SlipPaintContext &ctx, std::uint8_t cell, TCharDraw item)
{
    item.Size = Doubled(ctx.Fonts->size(FontMedium));
    if (cell != 2) {
        const std::int64_t indent = CaptionIndent(cell) * ctx.Fonts->size(FontSmall);
        item.X = Narrow(item.X + indent);
        item.Width = Narrow(std::max<std::int64_t>(0, item.Width - indent));
        item.Placement = BottomLeft;
        return {item};
    }
    item.Placement = TopLeft;
    std::vector<TCharDraw> lines;
    const std::int64_t top = item.Y;
    std::int64_t row = 0;
    for (const QString &line : AddressLines(item.Text)) {
        item.Y = Narrow(top + row++ * item.Size);
        item.Text = line;
        lines.push_back(item);
    }
    return lines;
}

TCharDraw AmountDraw(const SlipPaintContext &ctx, std::uint8_t cell, TCharDraw item)
{
    item.Size = Doubled(ctx.Fonts->size(IsMainAmount(cell) ? FontLarge : FontMedium));
    item.Placement = BottomRight;
    if (IsRemarkAmount(cell)) {
        // Keeps the figure clear of the caption 円 in the top right corner.
        const std::int64_t clearance = std::int64_t{12} * ctx.Fonts->size(FontSmall) / 10;
        item.Width = Narrow(std::max<std::int64_t>(0, item.Width - clearance));
    }
    return item;
}

// The two-line title centred above the slip: the year small, the form's
// name bold; both lines share the vertical centre Origin.Y - FontMedium - 1.
void DrawTitle(QPainter &canvas, const SlipPaintContext &ctx)
{
    const std::int64_t small = ctx.Fonts->size(FontSmall);
    const std::int64_t medium = ctx.Fonts->size(FontMedium);
    const std::int64_t width = ctx.Layout->XCoord[SlipWidthX];
    const std::int64_t x0 = ctx.Origin.X + (width - (10 * small + 22 * medium)) / 2;

    TCharDraw year;
    year.Placement = TopLeft;
    year.X = Narrow(x0);
    year.Y = Narrow(ctx.Origin.Y - medium - small - 1);
    year.Size = Narrow(2 * small);
    year.Text = QStringLiteral("平成８年分");
    canvas.setFont(Face(MinchoFace, false));
    DrawCharDraw(canvas, year);

    TCharDraw name = year;
    name.X = Narrow(x0 + 10 * small);
    name.Y = Narrow(ctx.Origin.Y - 2 * medium - 1);
    name.Size = Narrow(2 * medium);
    name.Text = QStringLiteral("  給与所得の源泉徴収票");
    canvas.setFont(Face(MinchoFace, true));
    DrawCharDraw(canvas, name);
}

} // namespace

TCharDraw CellBox(const SlipPaintContext &ctx, std::uint8_t cell)
{
    TCharDraw box;
    if (cell >= CellCount)
        return box;
    const PixelRect r = CellPixels(ctx, cell);
    box.X = Narrow(r.Left + 1);
    box.Y = Narrow(r.Top + 1);
    box.Width = Narrow(std::max<std::int64_t>(0, r.Right - r.Left - 1));
    box.Height = Narrow(std::max<std::int64_t>(0, r.Bottom - r.Top - 1));
    return box;
}

TCharDraw CaptionDraw(const SlipPaintContext &ctx, std::uint8_t cell)
{
    const CellCaption &caption = CaptionOf(cell);
    TCharDraw item = CellBox(ctx, cell);
    item.Size = ctx.Fonts->size(static_cast<FontEntry>(caption.Font));
    item.Placement = caption.Placement;
    item.CharsPerLine = caption.CharsPerLine;
    item.Margin = caption.Margin;
    item.Text = caption.Text;
    return item;
}

QString CellValueText(const TKyuho &slip, std::uint8_t cell)
{
    const CellSlot slot = LookupCell(cell);
    switch (slot.Kind) {
    case CellKind::Text:
    case CellKind::Mark:
        return GetCellText(slip, cell);
    case CellKind::Amount: {
        const std::int32_t amount = slip.amounts[slot.Slot];
        return amount == BlankAmount ? QString() : AmountText(cell, amount);
    }
    case CellKind::Count: {
        const std::uint8_t count = slip.counts[slot.Slot];
        return count == BlankCount ? QString() : FixedWidth(QString::number(count), 2);
    }
    case CellKind::None:
        break;
    }
    return {};
}

std::vector<TCharDraw> ValueDraws(const SlipPaintContext &ctx, std::uint8_t cell)
{
    if (cell >= CellCount)
        return {};
    TCharDraw item = CellBox(ctx, cell);
    item.Text = CellValueText(*ctx.Slip, cell);
    if (item.Text.isEmpty())
        return {};
    item.Placement = SpreadH;
    item.Margin = 1;
    switch (LookupCell(cell).Kind) {
    case CellKind::Text:
        return TextDraws(ctx, cell, item);
    case CellKind::Amount:
        return {AmountDraw(ctx, cell, item)};
    case CellKind::Count:
        item.Size = Doubled(ctx.Fonts->size(FontMedium));
        item.Placement = BottomRight;
        return {item};
    case CellKind::Mark:
        item.Size = ctx.Fonts->size(FontLarge);  // the circle, centred
        return {item};
    case CellKind::None:
        break;
    }
    return {};
}

void DrawCellCaption(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell)
{
    UseTransparentFill(canvas);
    canvas.setFont(Face(MinchoFace, false));
    DrawCharDraw(canvas, CaptionDraw(ctx, cell));
}

void DrawCellValue(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell)
{
    UseTransparentFill(canvas);
    canvas.setFont(Face(GothicFace, false));
    for (const TCharDraw &item : ValueDraws(ctx, cell))
        DrawCharDraw(canvas, item);
}

namespace {

void DrawFrames(QPainter &canvas, const SlipPaintContext &ctx, bool onPaper)
{
    UsePen(canvas, Qt::SolidLine);
    UseSolidFill(canvas);
    const FrameDrawer frames(canvas, onPaper);
    for (std::uint8_t cell = 0; cell < CellCount; ++cell)
        frames.Draw(CellPixels(ctx, cell));
    UsePen(canvas, Qt::DotLine);
    DrawSeparator(canvas, ctx, ElderlySeparatorX);
    DrawSeparator(canvas, ctx, DisabledSeparatorX);
}

void DrawWholeSlip(QPainter &canvas, const SlipPaintContext &ctx, bool onPaper)
{
    BeginSlipDrawing();
    UsePen(canvas, Qt::SolidLine);
    UseTransparentFill(canvas);
    DrawTitle(canvas, ctx);
    DrawFrames(canvas, ctx, onPaper);
    for (std::uint8_t cell = 0; cell < CellCount; ++cell) {
        DrawCellCaption(canvas, ctx, cell);
        DrawCellValue(canvas, ctx, cell);
    }
}

} // namespace

void DrawCellFrames(QPainter &canvas, const SlipPaintContext &ctx)
{
    DrawFrames(canvas, ctx, false);
}

void DrawSlip(QPainter &canvas, const SlipPaintContext &ctx)
{
    DrawWholeSlip(canvas, ctx, false);
}

void DrawSlipOnPaper(QPainter &canvas, const SlipPaintContext &ctx)
{
    DrawWholeSlip(canvas, ctx, true);
}

void DrawCellFrame(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell)
{
    if (cell >= CellCount)
        return;
    UsePen(canvas, Qt::SolidLine);
    UseSolidFill(canvas);
    FrameDrawer(canvas).Draw(CellPixels(ctx, cell));
    if (const std::size_t separator = SeparatorOf(cell); separator != 0) {
        UsePen(canvas, Qt::DotLine);
        DrawSeparator(canvas, ctx, separator);
    }
}

void DrawCell(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell)
{
    DrawCellFrame(canvas, ctx, cell);
    DrawCellCaption(canvas, ctx, cell);
    DrawCellValue(canvas, ctx, cell);
}

void DrawCellFocus(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell)
{
    if (cell >= CellCount)
        return;
    const PixelRect r = CellPixels(ctx, cell);
    if (r.Right - r.Left < 2 || r.Bottom - r.Top < 2)
        return;  // no interior to frame
    UseTransparentFill(canvas);
    UsePen(canvas, Qt::DotLine);
    DrawOutline(canvas, {r.Left + 1, r.Right - 1, r.Top + 1, r.Bottom - 1});
}

std::uint8_t HitTestCell(const SlipPaintContext &ctx, std::int32_t x, std::int32_t y)
{
    for (std::uint8_t cell = 0; cell < CellCount; ++cell) {
        const PixelRect r = CellPixels(ctx, cell);
        if (r.Left < x && x < r.Right && r.Top < y && y < r.Bottom)
            return cell;
    }
    return NoCell;
}

} // namespace mivrel
