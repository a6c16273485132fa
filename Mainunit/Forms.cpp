#include "Mainunit/Forms.h"

#include "Aboutbox/Aboutbox.h"
#include "Kojochk/Kojochk.h"
#include "Mainunit/Mainunit.h"
#include "Pictures/Pictures.h"
#include "Trial/Trial.h"
#include "Verify/Verify.h"
#include "slip/SlipDraw.h"

#include <QApplication>

namespace mivrel {

Forms CreateForms()
{
    QApplication::setApplicationName(QStringLiteral("Mivrel"));
    QApplication::setWindowIcon(ProgramIcon());
    InstallFaceSubstitutions();

    Forms forms;
    forms.frmMain = new TfrmMain;
    forms.dlgTrial = new TdlgTrial;
    forms.dlgKojoCheck = new TdlgKojoCheck;
    forms.dlgVerifyTax = new TdlgVerifyTax;
    forms.dlgAboutBox = new TdlgAboutBox;
    forms.frmMain->AttachDialogs(forms.dlgTrial, forms.dlgKojoCheck, forms.dlgVerifyTax,
                                 forms.dlgAboutBox);
    return forms;
}

} // namespace mivrel
