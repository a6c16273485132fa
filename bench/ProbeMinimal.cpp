// The smallest Qt Widgets program — one empty top-level QWidget — reporting
// the end of its first paint. Usage: probe-minimal <launch ns>.

#include "ProbeApplication.h"

#include <QWidget>

int main(int argc, char *argv[])
{
    const std::int64_t launched = LaunchTimestamp(argc, argv);
    if (launched < 0)
        return 2;
    ProbeApplication app(argc, argv, launched);
    QWidget window;
    app.ReportFirstPaint(window, [] { return true; });
    window.show();
    return QApplication::exec();
}
