#pragma once
// Painting the slip replica on a QPainter: title, frames, captions, values,
// single-cell redraw, the dotted focus frame and the hit test.
//
// Every operation sets the pen, brush and font it needs. The background
// colour (the fill of frames, the gaps of dotted lines) is the painter's
// background() colour, which the owner sets to the window colour. Drawing is
// aliased with a cosmetic one-pixel pen.

#include "Verify/Kyuho.h"
#include "slip/SlipLayout.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QFont;
class QPainter;

namespace mivrel {

inline const QString MinchoFace = QStringLiteral("ＭＳ 明朝");
inline const QString GothicFace = QStringLiteral("ＭＳ ゴシック");
inline const QString SystemFace = QStringLiteral("System");

// Maps the face names the slip asks for onto installed Japanese faces.
// Called once at start-up and by every test that draws text.
void InstallFaceSubstitutions();
// The family a QFont of `face` ends up with when `face` itself or one of its
// substitutes is installed: the first of them in that order. A QFont of that
// family finds its face at once, where a QFont of `face` has fontconfig look
// for fallback faces first. `face` itself when none is installed.
QString InstalledFamily(const QString &face);
// Lets the slip draw every size of the face of `font` from the font engine
// that `font` has loaded (a window whose own face is one of the slip's faces
// spares the slip loading that face a second time).
void ShareLoadedFace(const QFont &font);

struct TFontInfo {
    std::int32_t Size = 0;  // pixels
    QString Name;
};
enum FontEntry : std::uint8_t { FontLarge = 0, FontMedium = 1, FontSmall = 2 };
struct TFontInfoSet {
    std::array<TFontInfo, 4> Entries{};
    std::int32_t size(FontEntry e) const { return Entries[e].Size; }
};
// Sizes from the scaled slip width W: W/50, W/60, W/70.
void SetFontSizes(TFontInfoSet &fonts, std::int32_t slipWidth);

struct SlipOrigin {
    std::int32_t X = 0, Y = 0;
};

// What every drawing operation reads. The pointers are not owned; they refer
// to the owner's layout, record, fonts and current cell for its whole life.
struct SlipPaintContext {
    SlipOrigin Origin;
    const SlipLayout *Layout = nullptr;
    const TKyuho *Slip = nullptr;
    const TFontInfoSet *Fonts = nullptr;
    const std::uint8_t *Current = nullptr;  // carried along, not read
};

enum Placement : std::uint8_t {
    SpreadH = 1, SpreadH2 = 2, SpreadH3 = 3, TopLeft = 6, BottomLeft = 7, TopRight = 8,
    BottomRight = 9, SpreadV = 10, StackV = 12
};

// One text to place in a box (codes 0 and 1 both spread horizontally;
// 4, 5, 11 and 13..255 place nothing).
struct TCharDraw {
    std::int32_t X = 0, Y = 0, Width = 0, Height = 0;
    std::int32_t Size = 0;
    std::uint8_t Placement = 0;
    std::uint8_t CharsPerLine = 0;
    std::uint8_t Margin = 0;  // tenths of Size
    QString Text;
};

// A piece of text and the top-left corner it is drawn at.
struct TextPiece {
    QString Text;
    std::int32_t X = 0, Y = 0;
    bool operator==(const TextPiece &) const = default;
};

// Where each piece of the item goes; pure, no drawing. Counts code page 932
// bytes: one per ASCII or half-width katakana character, two for the rest.
// A character belongs to the unit (or line) that holds its first byte; a
// trailing odd byte joins the last unit and a text of one half-width
// character is one unit, so the spreading rules leave no character out.
std::vector<TextPiece> PlaceCharDraw(const TCharDraw &item);
// Draws the pieces in the painter's current face and weight at the item's
// pixel size, with a transparent background. A size <= 0 draws nothing.
void DrawCharDraw(QPainter &canvas, const TCharDraw &item);

// The caption table entry of a cell.
struct CellCaption {
    std::uint8_t Placement = 0;
    std::uint8_t Font = 0;  // FontEntry
    std::uint8_t CharsPerLine = 0;
    std::uint8_t Margin = 0;
    QString Text;
};
// A cell's caption; placement 0 and no text for a cell without one and for a
// number past the last cell.
const CellCaption &CaptionOf(std::uint8_t cell);

// The interior of a cell as a placement box (X, Y, Width, Height; the other
// fields left at their defaults): one pixel inside the frame, offset by the
// origin, sizes raised to 0.
TCharDraw CellBox(const SlipPaintContext &ctx, std::uint8_t cell);
// The caption of a cell as the item DrawCellCaption places.
TCharDraw CaptionDraw(const SlipPaintContext &ctx, std::uint8_t cell);
// What the value of a cell shows: the cell text for text and mark cells;
// amounts and counts right-aligned in their fixed widths (the last 10, 6, 8
// or 2 characters of ten spaces followed by the figure). Empty for a blank
// value and for a cell without a kind.
QString CellValueText(const TKyuho &slip, std::uint8_t cell);
// The items DrawCellValue places, one per line of the address (cell 2), one
// for any other value, none for a blank value.
std::vector<TCharDraw> ValueDraws(const SlipPaintContext &ctx, std::uint8_t cell);

// The cell operations below draw nothing for a number past the last cell.
void DrawSlip(QPainter &canvas, const SlipPaintContext &ctx);
// DrawSlip onto a canvas that holds nothing but the painter's background
// colour: the same pixels, without erasing the cells' interiors first.
void DrawSlipOnPaper(QPainter &canvas, const SlipPaintContext &ctx);
void DrawCellFrames(QPainter &canvas, const SlipPaintContext &ctx);
void DrawCellCaption(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell);
void DrawCellValue(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell);

// One cell's frame with its interior erased (restores the dotted separator
// of cells 36/37 and 44/45).
void DrawCellFrame(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell);
// The cell exactly as DrawSlip paints it: frame, caption, value.
void DrawCell(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell);
// Dotted frame one pixel inside the cell's border; nothing filled.
void DrawCellFocus(QPainter &canvas, const SlipPaintContext &ctx, std::uint8_t cell);
// The first cell (ascending) that strictly contains the point, else NoCell.
std::uint8_t HitTestCell(const SlipPaintContext &ctx, std::int32_t x, std::int32_t y);

} // namespace mivrel
