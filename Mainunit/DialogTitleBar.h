#pragma once
// Dialog frames on a Wayland desktop whose compositor leaves window frames to
// the program (GNOME Shell). Qt 6.4 then draws every frame itself, and its
// frame offers minimise and maximise whatever the window's flags say: a
// minimised modal dialog would leave the main window blocked with nothing to
// answer. Such a dialog goes without Qt's frame and carries a title bar of
// its own instead: its caption, a close button, and a drag that moves it.

class QDialog;
class QWidget;

namespace mivrel {

// Whether Qt draws the frames of this program's windows itself (a Wayland
// compositor without server-side decorations). Known once `mainWindow` is
// shown: Qt's frame gives it frame margins.
bool QtDrawsFrames(const QWidget &mainWindow);

// A title bar drawn inside a frameless dialog (Qt::FramelessWindowHint, set
// with the dialog's other flags when it gets its parent: Qt 6.4's Wayland
// windows take no later change of frame): the dialog's fixed height grows by
// the bar, its controls move down under it, and a one-pixel outline marks its
// edge. Call once, before the dialog is first shown.
void GiveOwnTitleBar(QDialog &dialog);

} // namespace mivrel
