#pragma once
// Program start-up: the five windows, created once each in a fixed order and
// kept for the whole run.

namespace mivrel {

class TfrmMain;
class TdlgTrial;
class TdlgKojoCheck;
class TdlgVerifyTax;
class TdlgAboutBox;

struct Forms {
    TfrmMain *frmMain = nullptr;
    TdlgTrial *dlgTrial = nullptr;
    TdlgKojoCheck *dlgKojoCheck = nullptr;
    TdlgVerifyTax *dlgVerifyTax = nullptr;
    TdlgAboutBox *dlgAboutBox = nullptr;
};

// Sets the application's name, icon and faces, then creates the main window
// and the four dialogs it opens (the dialogs belong to the main window).
// Needs a QApplication.
Forms CreateForms();

} // namespace mivrel
