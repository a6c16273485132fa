#pragma once
// What assistive technology (a screen reader, a magnifier) finds in the main
// window besides its controls: the slip's 53 input cells, each named as a
// reader of the paper slip names its box, valued as the slip shows it and
// placed where the slip draws it; mark cells are check boxes, checked while
// they show ○. The window calls the Announce functions when the editor or the
// focus frame moves and when values change. With no assistive technology
// listening they cost next to nothing and no cell object is ever made.

#include <cstdint>

class QWidget;

namespace mivrel {

class TfrmMain;

// Lets the main window present its cells and the editor on a mark cell as a
// check box, and announce the focused control when the window becomes active
// again; call once per window, before it is shown.
void InstallSlipAccessibility(TfrmMain &frm);

// The record may hold new values (the editor stored a cell, the slip was
// cleared): each cell whose shown value changed reports the change.
void AnnounceSlipValues(TfrmMain &frm);
// The editor sits on the window's current cell now, or is parked: it takes
// the cell's name, and when that changed a screen reader hears the new box.
void AnnounceEditorCell(TfrmMain &frm, QWidget &editor);
// The editor has moved onto `cell` and is about to take its text: assistive
// technology meets it there as a new object named after the box, a text
// field or, while the editor is read-only (on a mark cell), a check box.
void PresentEditorOn(QWidget &editor, std::uint8_t cell);
// The editor on a mark cell toggled the mark: a screen reader hears the new
// state of the check box.
void AnnounceMarkToggled(QWidget &editor);
// Clear emptied every box of the slip.
void AnnounceSlipCleared(TfrmMain &frm);
// The focus frame moved while the editor stayed (Tab held down): a screen
// reader hears the framed box, or the editor again when the frame is back on
// the editor's cell.
void AnnounceFramedCell(TfrmMain &frm, QWidget &editor);

} // namespace mivrel
