#include "Mainunit/CommandLine.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = mivrel::AnswerCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(MIVREL_APP_ID));
    const std::unique_ptr<mivrel::TfrmMain> frmMain(mivrel::CreateForms().frmMain);
    frmMain->show();
    frmMain->activateWindow();
    return QApplication::exec();
}
