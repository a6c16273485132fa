// Text placement on any text, size, box and placement code: the pieces are
// the text's own characters in order, none empty, never more pieces than
// characters; the spreading and corner rules leave no character out, and
// three-line spreading keeps a leading part.

#include "FuzzSupport.h"

#include "slip/SlipDraw.h"

namespace {

using namespace mivrel;

bool PlacesWholeText(std::uint8_t placement)
{
    switch (placement) {
    case 0:
    case SpreadH:
    case SpreadH2:
    case TopLeft:
    case BottomLeft:
    case TopRight:
    case BottomRight:
    case SpreadV:
    case StackV:
        return true;
    default:
        return false;
    }
}

// A slip-sized value or any 32-bit value.
std::int32_t ConsumeMeasure(FuzzedDataProvider &in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int32_t>(-64, 2000)
                            : in.ConsumeIntegral<std::int32_t>();
}

// Mostly the codes 0..13, sometimes any byte.
std::uint8_t ConsumePlacement(FuzzedDataProvider &in)
{
    const auto byte = in.ConsumeIntegral<std::uint8_t>();
    return byte < 0xE0 ? byte % 14 : byte;
}

TCharDraw ConsumeItem(FuzzedDataProvider &in)
{
    TCharDraw item;
    item.X = ConsumeMeasure(in);
    item.Y = ConsumeMeasure(in);
    item.Width = ConsumeMeasure(in);
    item.Height = ConsumeMeasure(in);
    item.Size = ConsumeMeasure(in);
    item.Placement = ConsumePlacement(in);
    item.CharsPerLine = in.ConsumeIntegral<std::uint8_t>();
    item.Margin = in.ConsumeIntegral<std::uint8_t>();
    item.Text = ConsumeText(in, 1200);
    return item;
}

// The length of the leading part of the text that the pieces spell out.
qsizetype CheckPiecesInOrder(const TCharDraw &item, const std::vector<TextPiece> &pieces)
{
    qsizetype used = 0;
    for (const TextPiece &piece : pieces) {
        Require(!piece.Text.isEmpty(), "no piece is empty");
        Require(QStringView(item.Text).mid(used, piece.Text.size()) == piece.Text,
                "each piece is the next part of the text");
        used += piece.Text.size();
    }
    return used;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const TCharDraw item = ConsumeItem(in);
    const std::vector<TextPiece> pieces = PlaceCharDraw(item);

    Require(pieces.size() <= static_cast<std::size_t>(item.Text.size()), "no more pieces than characters");
    const qsizetype used = CheckPiecesInOrder(item, pieces);
    if (PlacesWholeText(item.Placement))
        Require(used == item.Text.size(), "the placement leaves no character out");
    else if (item.Placement != SpreadH3)
        Require(pieces.empty(), "an unknown placement code places nothing");
    return 0;
}
