#include "Mainunit/Forms.h"

#include "Mainunit/Mainunit.h"
#include "slip/SlipDraw.h"

#include <QApplication>

namespace mivrel {

Forms CreateForms()
{
    QApplication::setApplicationName(QStringLiteral("Mivrel"));
    InstallFaceSubstitutions();

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
