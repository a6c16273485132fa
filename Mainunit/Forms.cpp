#include "Mainunit/Forms.h"

#include "Mainunit/Mainunit.h"
#include "slip/SlipDraw.h"

#include <QApplication>

namespace mivrel {

Forms CreateForms()
{
    QApplication::setApplicationName(QStringLiteral("Mivrel"));
    InstallFaceSubstitutions();
    // Every text of the program is Japanese: the application's own face (the
    // tooltips', and the one controls start from) is the Japanese UI face, by
    // its installed family so that no fallback face is looked for.
    QFont uiFont(InstalledFamily(SystemFace));
    uiFont.setPixelSize(13);
    QApplication::setFont(uiFont);

    Forms forms;
    forms.frmMain = new TfrmMain;
    // The program's icon, drawn once: the main window has drawn it for itself.
    QApplication::setWindowIcon(forms.frmMain->windowIcon());
    // Queued: the dialogs are built once the first frame is on the screen.
    QObject::connect(forms.frmMain, &TfrmMain::firstFramePainted, forms.frmMain, &TfrmMain::CreateDialogs,
                     Qt::QueuedConnection);
    return forms;
}

} // namespace mivrel
