#pragma once
// The main window's sizes as plain arithmetic: the largest slip that fits a
// client area and where it sits, the client height that fits a width, the
// widest window the screen's room allows, and when the window asks the window
// system for the height that fits the user's width.

#include <QSize>

#include <cstdint>
#include <optional>

namespace mivrel {

// The slip in a client area: its width in pixels (the closing frame line
// included, so the layout's scale is Width - 1) and the client coordinates of
// its top-left corner.
struct SlipPlacement {
    int Width = 1;
    int X = 0;
    int Y = 0;
};

// Top of the slip's frame: below the strip of the retracted panel and a title
// band two medium font sizes high, for a slip whose scaled width is
// `scaledWidth` (the layout's XCoord 56).
int SlipTop(std::int32_t scaledWidth);

// Client height that holds the title and a slip `slipWidth` pixels wide.
int FittedClientHeight(int slipWidth);

// The widest slip, 1 at least, that fits `clientWidth` x `clientHeight`.
int LargestFittingWidth(int clientWidth, int clientHeight);

// The largest slip that fits the client area, centred both ways; an odd
// pixel left over goes to the right or bottom.
SlipPlacement PlaceSlip(QSize client);

// The widest client, at most `wantedWidth` and 1 at least, whose window fits
// the screen's room with its fitted height. `room` is the available area less
// the window's frame, in both directions.
int CappedWidth(int wantedWidth, QSize room);

// Decides when the main window asks for its own size. Only a free window (a
// normal, floating window whose size the user chooses) asks, and only once
// for each width the user gives it: for that width, capped to the room, and
// the height that fits it. Whatever the window system then gives is kept, so
// a window manager that answers with another size (a tile, a snap, a
// constraint of its own) is never asked again for the same width.
class SizeRequests {
public:
    // Takes the client size the window system gave; returns the size to ask
    // for, or nothing when the given size stays.
    std::optional<QSize> Given(QSize given, bool free, QSize room);

private:
    int LastWidth = -1;   // the width last given, by the user or the system
    QSize Asked;          // the size asked for and not yet answered
};

} // namespace mivrel
