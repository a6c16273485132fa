#pragma once
// The window system's side of the main window's size: whether the window may
// choose its own size, the room the screen leaves it, how it asks for a size,
// and what the window system paints before the program does.

#include <QSize>

class QColor;
class QWidget;

namespace mivrel {

// Whether the window may ask for its own size: a normal window on a window
// system that answers requests. A Wayland compositor's configured size is the
// window's size, floating or tiled alike (Qt does not tell them apart), so
// there the window never asks.
bool FreeToChooseSize(const QWidget &window);

// The screen's available area less the window's frame: the largest client
// area whose window stays wholly on the available area.
QSize ScreenRoom(const QWidget &window);

// Asks the window system for a client size. Qt's idea of the size changes
// only when the window system answers, so a refused request leaves it true.
// Before the window is shown the size is simply set.
void AskClientSize(QWidget &window, QSize size);

// Has the X server fill areas that a resize uncovers with `colour` at once,
// before the program paints them; without it they stay black or show what
// was behind until the next paint.
void PaintUncoveredAreas(QWidget &window, const QColor &colour);

// Gives the keyboard focus back to the window after a dialog of it closed.
// A window manager does that itself; on a bare X server the focus would stay
// with the root window.
void ReturnFocusAfterDialog(QWidget &window);

} // namespace mivrel
