// The program's start-up exactly as main.cpp runs it, reporting the end of the
// first frame that shows the whole slip, and (kojo-ms) how long the
// construction of the inspection dialog took inside it.
// Usage: probe-mivrel <launch ns>.

#include "Clock.h"
#include "ProbeApplication.h"

#include "Kojochk/Kojochk.h"
#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"
#include "Verify/Verify.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace {

template <typename Window>
bool BelongsTo(const QObject *object)
{
    for (; object; object = object->parent())
        if (qobject_cast<const Window *>(object))
            return true;
    return false;
}

// The inspection dialog is built between the first event its constructor
// sends (to the dialog or a child) and the first event of the verification
// dialog, which start-up creates next.
class KojoConstructionClock {
public:
    void See(QObject *receiver)
    {
        if (!Start && BelongsTo<mivrel::TdlgKojoCheck>(receiver))
            Start = MonotonicMs();
        else if (Start && !End && BelongsTo<mivrel::TdlgVerifyTax>(receiver))
            End = MonotonicMs();
    }
    std::optional<double> Ms() const
    {
        return Start && End ? std::optional<double>(*End - *Start) : std::nullopt;
    }

private:
    static double MonotonicMs() { return static_cast<double>(MonotonicNs()) / 1e6; }
    std::optional<double> Start;
    std::optional<double> End;
};

} // namespace

int main(int argc, char *argv[])
{
    const std::int64_t launched = LaunchTimestamp(argc, argv);
    if (launched < 0) {
        std::fprintf(stderr, "usage: probe-mivrel <CLOCK_MONOTONIC ns at launch>\n");
        return 2;
    }
    ProbeApplication app(argc, argv, launched);
    KojoConstructionClock kojo;
    app.ObserveEvents([&kojo](QObject *receiver, QEvent *) { kojo.See(receiver); });
    const std::unique_ptr<mivrel::TfrmMain> frmMain(mivrel::CreateForms().frmMain);
    app.ObserveEvents({});
    if (const std::optional<double> ms = kojo.Ms())
        app.AddFigure("kojo-ms", *ms);

    const mivrel::TfrmMain &window = *frmMain;
    app.ReportFirstPaint(*frmMain, [&window] { return window.fullRedrawCount() > 0; });
    frmMain->show();
    frmMain->activateWindow();
    return QApplication::exec();
}
