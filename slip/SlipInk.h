#pragma once
// The colours the slip is drawn in: its ink (lines, captions, values) and its
// paper (the fill of its boxes and the space around it). They follow the
// palette: the window's text on the window's colour, as every label of the
// program is drawn, so a dark or high-contrast palette gets a dark or
// high-contrast slip. In the default palette that is black on the window's
// grey, as the slip was always drawn.

#include <QColor>

class QPainter;
class QPalette;

namespace mivrel {

struct SlipColours {
    QColor Ink;
    QColor Paper;
    bool operator==(const SlipColours &) const = default;
};

// The contrast ratio of two colours (1 to 21) by their relative luminance.
double ContrastRatio(const QColor &a, const QColor &b);

// The window text on the window colour; where a palette gives those two too
// little contrast to read (below 4.5), its text on its base colour; failing
// that too, black on white.
SlipColours SlipColoursOf(const QPalette &palette);

// Sets the painter's pen to the slip's ink and its background (the gaps of
// dotted lines, opaque fills) to its paper, as the palette gives them.
void UseSlipColours(QPainter &painter, const QPalette &palette);

} // namespace mivrel
