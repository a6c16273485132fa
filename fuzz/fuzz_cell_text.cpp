// Cell text in and out of every cell: whatever the editor hands over, the
// text the cell then shows stores the same value again, and a cell writes
// its own slot only.

#include "FuzzSupport.h"

#include "Verify/Kyuho.h"

namespace {

using namespace mivrel;

TKyuho StartingSlip(bool sample)
{
    TKyuho slip;
    ClearSlip(slip);
    if (sample)
        FillSampleSlip(slip);
    return slip;
}

void CheckInputCell(const TKyuho &base, std::uint8_t cell, const QString &typed)
{
    TKyuho stored = base;
    SetCellText(stored, cell, typed);
    const QString shown = GetCellText(stored, cell);

    TKyuho again = stored;
    SetCellText(again, cell, shown);
    Require(again == stored, "storing the text a cell shows stores the same value");
    Require(GetCellText(again, cell) == shown, "the text a cell shows is stable");

    SetCellText(stored, cell, GetCellText(base, cell));
    Require(stored == base, "a cell writes its own slot only");
}

void CheckCaptionCell(const TKyuho &base, std::uint8_t cell, const QString &typed)
{
    TKyuho stored = base;
    SetCellText(stored, cell, typed);
    Require(stored == base, "a caption cell stores nothing");
    Require(GetCellText(stored, cell, typed) == typed, "a caption cell shows the editor's text unchanged");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const TKyuho base = StartingSlip(in.ConsumeBool());
    const QString typed = ConsumeText(in, 600);
    for (int cell = 0; cell <= NoCell; ++cell) {
        const auto number = static_cast<std::uint8_t>(cell);
        if (IsInputCell(number))
            CheckInputCell(base, number, typed);
        else
            CheckCaptionCell(base, number, typed);
    }
    return 0;
}
