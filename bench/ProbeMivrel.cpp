// The program's start-up exactly as main.cpp runs it, reporting the end of the
// first paint that drew the whole slip. Usage: probe-mivrel <launch ns>.

#include "FirstPaintProbe.h"

#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    const std::int64_t launched = LaunchTimestamp(argc, argv);
    if (launched < 0) {
        std::fprintf(stderr, "usage: probe-mivrel <CLOCK_MONOTONIC ns at launch>\n");
        return 2;
    }
    QApplication app(argc, argv);
    const std::unique_ptr<mivrel::TfrmMain> frmMain(mivrel::CreateForms().frmMain);
    const mivrel::TfrmMain &window = *frmMain;
    FirstPaintProbe probe(*frmMain, launched, [&window] { return window.fullRedrawCount() > 0; });
    frmMain->show();
    frmMain->activateWindow();
    return QApplication::exec();
}
