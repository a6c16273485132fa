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
    // For the end-to-end checks of window states on compositors that a test
    // cannot drive from outside.
    if (qEnvironmentVariableIsSet("MIVREL_TEST_MAXIMIZE"))
        QObject::connect(frmMain.get(), &mivrel::TfrmMain::firstFramePainted, frmMain.get(),
                         &QWidget::showMaximized, Qt::QueuedConnection);
    frmMain->show();
    frmMain->activateWindow();
    return QApplication::exec();
}
