#pragma once
// The in-place editor as assistive technology meets it: a multi-line text
// field named after the box it sits on, or, on a mark cell (where the editor
// is read-only and every key toggles the mark), a check box, checked while it
// shows the mark. Its lines are the lines it shows (PlainTextAccessible).
//
// A screen reader announces the object that takes the focus only when it is
// another object than the one before. The editor keeps the keyboard focus
// from box to box, so it is given a new object for each box. The object it
// had stays alive, keeping the name, role and place it had, until the next
// box: a screen reader that has just left it still asks about it, to tell the
// two apart and to say what changed between them.

class QAccessibleInterface;
class QPlainTextEdit;

namespace mivrel {

// The editor's interface, for the accessibility factory of its window.
QAccessibleInterface *MakeEditorAccessible(QPlainTextEdit *editor);

// Gives the editor a new accessible object (made when next asked for); the
// object it had keeps answering as it last did, and the one it had before
// that is deleted.
void RenewEditorObject(QPlainTextEdit &editor);

} // namespace mivrel
