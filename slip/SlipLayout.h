#pragma once
// The slip replica's geometry: 121 cell rectangles designed in a 1350 x 900
// unit space, scaled by integer arithmetic to a target width.

#include <array>
#include <cstdint>

namespace mivrel {

// One rectangle in canvas pixels, relative to the slip origin. The frame runs
// through all four edge coordinates inclusive; the interior is strictly inside.
struct CellRect {
    std::int32_t Left = 0, Right = 0, Top = 0, Bottom = 0;
    bool operator==(const CellRect &) const = default;
};

struct SlipLayout {
    std::array<CellRect, 121> Cells{};
    std::array<std::int32_t, 57> XCoord{};  // XCoord[56]: scaled slip width W
    std::array<std::int32_t, 19> YCoord{};  // YCoord[18]: scaled slip height H
    std::int32_t ScaleNum = 0;    // pixels that the design width stands for
    std::int32_t ScaleDen = 1350; // the design width those pixels stand for
};

// Overwrites Cells, XCoord and YCoord from ScaleNum / ScaleDen. A ScaleDen of
// 0 is taken as 1 (the field keeps its value).
void LayOutSlip(SlipLayout &layout);

// Design value of each XCoord / YCoord entry; the 13-column positions
// (XCoord 30..41) are fractions of 680 and have no integer design value.
inline constexpr std::int32_t SlipDesignWidth = 1350;
inline constexpr std::int32_t SlipDesignHeight = 900;

} // namespace mivrel
