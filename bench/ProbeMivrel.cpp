// The program's start-up exactly as main.cpp runs it, reporting the end of the
// first frame that shows the whole slip, then (dialogs-ms, dialogs-vmhwm-kb)
// the moment the four dialogs the commands open exist.
// Usage: probe-mivrel <launch ns>.

#include "ProbeApplication.h"

#include "Aboutbox/Aboutbox.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"

#include <memory>

int main(int argc, char *argv[])
{
    const std::int64_t launched = LaunchTimestamp(argc, argv);
    if (launched < 0)
        return 2;
    ProbeApplication app(argc, argv, launched);
    const std::unique_ptr<mivrel::TfrmMain> frmMain(mivrel::CreateForms().frmMain);

    const mivrel::TfrmMain &window = *frmMain;
    app.ReportFirstPaint(*frmMain, [&window] { return window.fullRedrawCount() > 0; });
    // The about box is the last of the four to be built.
    app.ReportWhenReady("dialogs", [&window] { return window.findChild<mivrel::TdlgAboutBox *>() != nullptr; });
    frmMain->show();
    frmMain->activateWindow();
    return QApplication::exec();
}
