#include "Mainunit/Forms.h"

#include "Mainunit/Mainunit.h"
#include "slip/SlipDraw.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace mivrel {

namespace {

// Watches the main window for its first paint and then queues the building
// of its dialogs: the queued call runs once that paint has been flushed to
// the screen.
class DialogsAfterFirstFrame : public QObject {
public:
    explicit DialogsAfterFirstFrame(TfrmMain *frmMain) : QObject(frmMain), Window(frmMain)
    {
        frmMain->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            Window->removeEventFilter(this);
            QTimer::singleShot(0, Window, &TfrmMain::CreateDialogs);
            deleteLater();
        }
        return false;
    }

private:
    TfrmMain *Window;
};

} // namespace

Forms CreateForms()
{
    QApplication::setApplicationName(QStringLiteral("Mivrel"));
    InstallFaceSubstitutions();

    Forms forms;
    forms.frmMain = new TfrmMain;
    // The program's icon, drawn once: the main window has drawn it for itself.
    QApplication::setWindowIcon(forms.frmMain->windowIcon());
    new DialogsAfterFirstFrame(forms.frmMain);
    return forms;
}

} // namespace mivrel
