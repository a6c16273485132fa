#pragma once
// What assistive technology (a screen reader, a magnifier) finds in the main
// window besides its controls: the slip's 53 input cells, each named as a
// reader of the paper slip names its box, valued as the slip shows it and
// placed where the slip draws it; mark cells are check boxes, checked while
// they show ○. The window calls the Announce functions when the editor or the
// focus frame moves and when values change. With no assistive technology
// listening they cost next to nothing and no cell object is ever made.

#include "Verify/Announcer.h"

#include <cstdint>
#include <optional>

class QPlainTextEdit;
class QWidget;

namespace mivrel {

class TfrmMain;

// Lets the main window present its cells and its editor (a text field, on a
// mark cell a check box), and announce the focused control when the window becomes active
// again; call once per window, before it is shown.
void InstallSlipAccessibility(TfrmMain &frm);

// The record may hold new values (the editor stored a cell, the slip was
// cleared): each cell whose shown value changed reports the change.
void AnnounceSlipValues(TfrmMain &frm);
// The editor sits on the window's current cell now, or is parked: it takes
// the cell's name, and when that changed a screen reader hears the new box.
void AnnounceEditorCell(TfrmMain &frm, QWidget &editor);
// Lasts while the editor moves onto another box (`newCell`: made before it
// moves, so that the object it leaves keeps its place and role) and takes its
// text: assistive technology meets the editor there as a new object, named
// after the box, a text field or, while the editor is read-only (on a mark
// cell), a check box, which holds the box's text from the start (the editor's
// own events meanwhile are not sent); once the move is done it hears of it,
// focused: name, role and text at once. For the same box nothing changes.
class EditorMove {
public:
    EditorMove(QPlainTextEdit &editor, std::uint8_t cell, bool newCell);
    ~EditorMove();
    EditorMove(const EditorMove &) = delete;
    EditorMove &operator=(const EditorMove &) = delete;

private:
    QWidget &Editor;
    std::optional<QuietAccessibility> Quiet;  // while a screen reader listens
};
// Lasts while the editor on a mark cell toggles the mark: the editor's own
// events meanwhile (its text) are not sent; once done, a screen reader hears
// the new state of the check box.
class MarkToggle {
public:
    explicit MarkToggle(QWidget &editor);
    ~MarkToggle();
    MarkToggle(const MarkToggle &) = delete;
    MarkToggle &operator=(const MarkToggle &) = delete;

private:
    QWidget &Editor;
    std::optional<QuietAccessibility> Quiet;
};
// Clear emptied every box of the slip: the boxes report their values, and a
// screen reader says that the slip was cleared.
void AnnounceSlipCleared(TfrmMain &frm);
// The focus frame moved while the editor stayed (Tab held down): a screen
// reader hears the framed box, or the editor again when the frame is back on
// the editor's cell.
void AnnounceFramedCell(TfrmMain &frm, QWidget &editor);

} // namespace mivrel
