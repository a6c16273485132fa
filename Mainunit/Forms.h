#pragma once
// Program start-up: the main window, and the four dialogs it opens, each
// created once in a fixed order and kept for the whole run.

namespace mivrel {

class TfrmMain;

struct Forms {
    TfrmMain *frmMain = nullptr;
};

// Sets the application's name, icon and faces and creates the main window.
// Its four dialogs (they belong to the main window) are built right after
// the window's first frame, so that they cost the first frame nothing; a
// command that needs them earlier builds them first (TfrmMain::CreateDialogs).
// Needs a QApplication.
Forms CreateForms();

} // namespace mivrel
