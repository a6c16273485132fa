#include "slip/SlipLayout.h"

#include <cstddef>

namespace mivrel {

namespace {

// A design x coordinate: whole design units, or the j-th of the thirteen
// equal columns that divide the span 0..680 of the personal status band.
struct XDesign {
    std::int32_t Units = 0;
    std::int32_t Column = 0;  // j > 0: the column position c_j; Units unused
    constexpr bool operator==(const XDesign &) const = default;
};
constexpr XDesign U(std::int32_t units) { return {units, 0}; }
constexpr XDesign C(std::int32_t column) { return {0, column}; }

constexpr std::int32_t StatusSpan = 680;
constexpr std::int32_t StatusColumns = 13;

// The design value behind each XCoord / YCoord entry.
constexpr std::array<XDesign, 57> XDesignValues = {
    U(0), U(80), U(130), U(750), U(800), U(230), U(510), U(790), U(1070),
    U(40), U(80), U(120), U(160), U(200), U(340), U(385), U(430), U(475), U(520), U(565), U(610),
    U(655), U(700), U(745), U(790), U(930), U(1070), U(1210), U(930), U(1140),
    C(1), C(2), C(3), C(4), C(5), C(6), C(7), C(8), C(9), C(10), C(11), C(12),
    U(680), U(730), U(780), U(830), U(880), U(930), U(990), U(1050), U(1110), U(1170), U(1230),
    U(1290), U(40), U(190), U(1350)};

constexpr std::array<std::int32_t, 19> YDesignValues = {
    0, 50, 100, 180, 220, 310, 365, 395, 435, 480, 525, 570, 615, 645, 675, 705, 750, 825, 900};

struct DesignRect {
    XDesign Left, Right;
    std::int32_t Top, Bottom;
};

// The 121 cells in design units.
constexpr std::array<DesignRect, 121> DesignCells = {{
    // 0-6: recipient
    {U(0), U(80), 0, 180}, {U(80), U(130), 0, 180}, {U(130), U(750), 0, 180},
    {U(750), U(800), 0, 180}, {U(800), U(1350), 0, 50}, {U(800), U(1350), 50, 100},
    {U(800), U(1350), 100, 180},
    // 7-16: the four main amounts
    {U(0), U(230), 180, 220}, {U(230), U(510), 180, 220}, {U(510), U(790), 180, 220},
    {U(790), U(1070), 180, 220}, {U(1070), U(1350), 180, 220},
    {U(0), U(230), 220, 310}, {U(230), U(510), 220, 310}, {U(510), U(790), 220, 310},
    {U(790), U(1070), 220, 310}, {U(1070), U(1350), 220, 310},
    // 17-29: spouse
    {U(0), U(200), 310, 395}, {U(160), U(200), 365, 395},
    {U(0), U(40), 395, 435}, {U(40), U(80), 395, 435}, {U(80), U(120), 395, 435},
    {U(120), U(160), 395, 435},
    {U(0), U(40), 435, 480}, {U(40), U(80), 435, 480}, {U(80), U(120), 435, 480},
    {U(120), U(160), 435, 480}, {U(160), U(200), 395, 480},
    {U(200), U(340), 310, 395}, {U(200), U(340), 395, 480},
    // 30-40: dependants
    {U(340), U(655), 310, 365}, {U(340), U(430), 365, 395}, {U(430), U(565), 365, 395},
    {U(565), U(655), 365, 395},
    {U(340), U(385), 395, 480}, {U(385), U(430), 395, 480}, {U(430), U(475), 395, 480},
    {U(475), U(520), 395, 480}, {U(520), U(565), 395, 480}, {U(565), U(610), 395, 480},
    {U(610), U(655), 395, 480},
    // 41-46: disabled
    {U(655), U(790), 310, 365}, {U(655), U(745), 365, 395}, {U(745), U(790), 365, 395},
    {U(655), U(700), 395, 480}, {U(700), U(745), 395, 480}, {U(745), U(790), 395, 480},
    // 47-54: insurance and housing
    {U(790), U(930), 310, 395}, {U(930), U(1070), 310, 395}, {U(1070), U(1210), 310, 395},
    {U(1210), U(1350), 310, 395},
    {U(790), U(930), 395, 480}, {U(930), U(1070), 395, 480}, {U(1070), U(1210), 395, 480},
    {U(1210), U(1350), 395, 480},
    // 55-61: remarks
    {U(0), U(930), 480, 615},
    {U(930), U(1140), 480, 525}, {U(930), U(1140), 525, 570}, {U(930), U(1140), 570, 615},
    {U(1140), U(1350), 480, 525}, {U(1140), U(1350), 525, 570}, {U(1140), U(1350), 570, 615},
    // 62-76: status captions in thirteen columns
    {U(0), C(1), 615, 705}, {C(1), C(2), 615, 705}, {C(2), C(3), 615, 705},
    {C(3), C(5), 615, 645}, {C(3), C(4), 645, 705}, {C(4), C(5), 645, 705},
    {C(5), C(6), 615, 705},
    {C(6), C(8), 615, 645}, {C(6), C(7), 645, 705}, {C(7), C(8), 645, 705},
    {C(8), C(9), 615, 705}, {C(9), C(10), 615, 705}, {C(10), C(11), 615, 705},
    {C(11), C(12), 615, 705}, {C(12), U(680), 615, 705},
    // 77-89: status marks
    {U(0), C(1), 705, 750}, {C(1), C(2), 705, 750}, {C(2), C(3), 705, 750},
    {C(3), C(4), 705, 750}, {C(4), C(5), 705, 750}, {C(5), C(6), 705, 750},
    {C(6), C(7), 705, 750}, {C(7), C(8), 705, 750}, {C(8), C(9), 705, 750},
    {C(9), C(10), 705, 750}, {C(10), C(11), 705, 750}, {C(11), C(12), 705, 750},
    {C(12), U(680), 705, 750},
    // 90-100: joining or leaving during the year
    {U(680), U(930), 615, 645},
    {U(680), U(730), 645, 675}, {U(730), U(780), 645, 675}, {U(780), U(830), 645, 675},
    {U(830), U(880), 645, 675}, {U(880), U(930), 645, 675},
    {U(680), U(730), 675, 750}, {U(730), U(780), 675, 750}, {U(780), U(830), 675, 750},
    {U(830), U(880), 675, 750}, {U(880), U(930), 675, 750},
    // 101-115: birth date
    {U(930), U(1350), 615, 645},
    {U(930), U(990), 645, 675}, {U(990), U(1050), 645, 675}, {U(1050), U(1110), 645, 675},
    {U(1110), U(1170), 645, 675}, {U(1170), U(1230), 645, 675}, {U(1230), U(1290), 645, 675},
    {U(1290), U(1350), 645, 675},
    {U(930), U(990), 675, 750}, {U(990), U(1050), 675, 750}, {U(1050), U(1110), 675, 750},
    {U(1110), U(1170), 675, 750}, {U(1170), U(1230), 675, 750}, {U(1230), U(1290), 675, 750},
    {U(1290), U(1350), 675, 750},
    // 116-120: payer
    {U(0), U(40), 750, 900}, {U(40), U(190), 750, 825}, {U(40), U(190), 825, 900},
    {U(190), U(1350), 750, 825}, {U(190), U(1350), 825, 900},
}};

constexpr std::uint8_t NotFound = 255;

template <typename T, std::size_t N>
constexpr std::uint8_t IndexOf(const std::array<T, N> &table, const T &value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i] == value)
            return static_cast<std::uint8_t>(i);
    }
    return NotFound;
}

// A cell as indices into XCoord / YCoord, so that every scaled cell edge is
// the very number held in the coordinate table.
struct CellIndex {
    std::uint8_t Left, Right, Top, Bottom;
};

constexpr std::array<CellIndex, 121> ToIndices(const std::array<DesignRect, 121> &cells)
{
    std::array<CellIndex, 121> result{};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        result[i] = {IndexOf(XDesignValues, cells[i].Left), IndexOf(XDesignValues, cells[i].Right),
                     IndexOf(YDesignValues, cells[i].Top), IndexOf(YDesignValues, cells[i].Bottom)};
    }
    return result;
}

constexpr std::array<CellIndex, 121> CellIndices = ToIndices(DesignCells);

constexpr bool AllIndicesFound()
{
    for (const CellIndex &c : CellIndices) {
        if (c.Left == NotFound || c.Right == NotFound || c.Top == NotFound || c.Bottom == NotFound)
            return false;
    }
    return true;
}
static_assert(AllIndicesFound(), "every cell edge must be an entry of the coordinate tables");

// trunc(a * k / b) and trunc(a * 680 * j / (b * 13)), with the products
// formed in 64 bits; b is never 0 here.
std::int32_t ScaleUnits(std::int64_t a, std::int64_t b, std::int32_t units)
{
    return static_cast<std::int32_t>(a * units / b);
}

std::int32_t ScaleColumn(std::int64_t a, std::int64_t b, std::int32_t column)
{
    return static_cast<std::int32_t>(a * StatusSpan * column / (b * StatusColumns));
}

std::int32_t ScaleX(std::int64_t a, std::int64_t b, const XDesign &x)
{
    return x.Column > 0 ? ScaleColumn(a, b, x.Column) : ScaleUnits(a, b, x.Units);
}

} // namespace

void LayOutSlip(SlipLayout &layout)
{
    const std::int64_t a = layout.ScaleNum;
    const std::int64_t b = layout.ScaleDen == 0 ? 1 : layout.ScaleDen;

    for (std::size_t i = 0; i < XDesignValues.size(); ++i)
        layout.XCoord[i] = ScaleX(a, b, XDesignValues[i]);
    for (std::size_t i = 0; i < YDesignValues.size(); ++i)
        layout.YCoord[i] = ScaleUnits(a, b, YDesignValues[i]);

    for (std::size_t i = 0; i < CellIndices.size(); ++i) {
        const CellIndex &c = CellIndices[i];
        layout.Cells[i] = {layout.XCoord[c.Left], layout.XCoord[c.Right], layout.YCoord[c.Top],
                           layout.YCoord[c.Bottom]};
    }
}

} // namespace mivrel
