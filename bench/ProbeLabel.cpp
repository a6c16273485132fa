// The smallest Qt Widgets program that shows one line of Japanese text in the
// slip's Mincho face: one QLabel with the slip's title, the face found through
// the program's own substitutions. Reports the end of its first paint.
// Usage: probe-label <launch ns>.

#include "ProbeApplication.h"

#include "slip/SlipDraw.h"

#include <QFont>
#include <QLabel>

int main(int argc, char *argv[])
{
    const std::int64_t launched = LaunchTimestamp(argc, argv);
    if (launched < 0)
        return 2;
    ProbeApplication app(argc, argv, launched);
    mivrel::InstallFaceSubstitutions();
    QLabel label(QStringLiteral("平成８年分 給与所得の源泉徴収票"));
    label.setFont(QFont(mivrel::MinchoFace));
    app.ReportFirstPaint(label, [] { return true; });
    label.show();
    return QApplication::exec();
}
