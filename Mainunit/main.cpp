#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::unique_ptr<mivrel::TfrmMain> frmMain(mivrel::CreateForms().frmMain);
    frmMain->show();
    frmMain->activateWindow();
    return QApplication::exec();
}
