#pragma once
// The trial's sliders for assistive technology: a slider's value is the
// amount its position sets in its field (5,000 yen a position for the
// salary, 500 for the deductions, the largest amount at the top), not the
// position itself. As designed, a slider keeps its own position whatever is
// typed into the field, and so does its value.

#include <cstdint>

class QSlider;

namespace mivrel {

// Lets every slider given amounts below present them; call once before the
// sliders are asked for. Later calls change nothing.
void InstallSliderAccessibility();
// Position p of `slider` sets (positions - p) * perPosition yen.
void SetSliderAmounts(QSlider &slider, int positions, std::int64_t perPosition);

} // namespace mivrel
