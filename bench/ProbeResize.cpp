// Live resize: the main window (or, for comparison, one plain QWidget of the
// same sizes) shown offscreen and resized back and forth by 7 pixels around a
// client width, as when the user drags the window's edge. Each frame is one
// size change and everything it brings up to the screen: the resize, the
// paint into the backing store and its flush, and the events they post.
//
//   probe-resize mivrel <client width>
//   probe-resize plain <width>x<height> <width>x<height>
//
// After two warm-up frames the probe counts four frames (under callgrind,
// started with --instr-atstart=no, only these are counted), then, when not
// under valgrind, times 30 more. It reports one line
//     frames=4 sizes=<w>x<h>,<w>x<h> [frame-ms=<median>]
// The screen and its density come from the environment (the offscreen
// platform's configuration file, QT_SCALE_FACTOR).

#include "Mainunit/Forms.h"
#include "Mainunit/Mainunit.h"

#include "Clock.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define PROBE_START_COUNTING() CALLGRIND_START_INSTRUMENTATION
#define PROBE_STOP_COUNTING() CALLGRIND_STOP_INSTRUMENTATION
#define PROBE_UNDER_VALGRIND() (RUNNING_ON_VALGRIND != 0)
#else
#define PROBE_START_COUNTING() ((void)0)
#define PROBE_STOP_COUNTING() ((void)0)
#define PROBE_UNDER_VALGRIND() false
#endif

namespace {

constexpr int WarmUpFrames = 2;
constexpr int CountedFrames = 4;
constexpr int TimedFrames = 30;
constexpr int Swing = 7;
constexpr int GiveUpMs = 120000;  // under callgrind too

// Counts the paint events of one window, its own and its children's.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget &window) : Window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    int Paints() const { return Count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == &Window)
            ++Count;
        return false;
    }

private:
    QWidget &Window;
    int Count = 0;
};

// Runs the event loop until nothing is left to do: posted events, deferred
// paints and flushes.
void Settle()
{
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// One frame: the new size, then the event loop until the window has painted
// and everything the paint posted is done.
void Frame(QWidget &window, const PaintCounter &counter, const QSize &size)
{
    const int before = counter.Paints();
    window.resize(size);
    while (counter.Paints() == before)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Settle();
}

bool ParseSize(const char *text, QSize &size)
{
    int width = 0, height = 0;
    if (std::sscanf(text, "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0)
        return false;
    size = QSize(width, height);
    return true;
}

int Usage(const char *program)
{
    std::fprintf(stderr, "usage: %s mivrel <client width> | plain <w>x<h> <w>x<h>\n", program);
    return 2;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool mivrel = argc == 3 && std::strcmp(argv[1], "mivrel") == 0;
    const bool plain = argc == 4 && std::strcmp(argv[1], "plain") == 0;
    int clientWidth = 0;
    QSize plainSizes[2];
    if (mivrel)
        clientWidth = std::atoi(argv[2]);
    if ((!mivrel && !plain) || (mivrel && clientWidth <= Swing)
        || (plain && (!ParseSize(argv[2], plainSizes[0]) || !ParseSize(argv[3], plainSizes[1]))))
        return Usage(argv[0]);

    QApplication app(argc, argv);
    QTimer::singleShot(GiveUpMs, &app, [] { QCoreApplication::exit(3); });
    std::unique_ptr<QWidget> window;
    if (mivrel)
        window.reset(mivrel::CreateForms().frmMain);
    else
        window = std::make_unique<QWidget>();
    const PaintCounter counter(*window);
    window->resize(mivrel ? QSize(clientWidth, 400) : plainSizes[1]);
    window->show();
    while (!window->windowHandle()->isExposed() || counter.Paints() == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Settle();

    // The main window fits its height to the width it is given.
    const auto sizeOfFrame = [&](int frame) {
        if (plain)
            return plainSizes[frame % 2];
        return QSize(clientWidth + (frame % 2 ? Swing : -Swing), window->height());
    };
    QSize shown[2];
    for (int frame = 0; frame < WarmUpFrames; ++frame) {
        Frame(*window, counter, sizeOfFrame(frame));
        shown[frame % 2] = window->size();
    }
    PROBE_START_COUNTING();
    for (int frame = 0; frame < CountedFrames; ++frame)
        Frame(*window, counter, sizeOfFrame(frame));
    PROBE_STOP_COUNTING();

    std::printf("frames=%d sizes=%dx%d,%dx%d", CountedFrames, shown[0].width(), shown[0].height(),
                shown[1].width(), shown[1].height());
    if (!PROBE_UNDER_VALGRIND()) {
        std::vector<double> ms;
        for (int frame = 0; frame < TimedFrames; ++frame) {
            const std::int64_t start = MonotonicNs();
            Frame(*window, counter, sizeOfFrame(frame));
            ms.push_back(static_cast<double>(MonotonicNs() - start) / 1e6);
        }
        std::printf(" frame-ms=%.3f", Median(ms));
    }
    std::printf("\n");
    return 0;
}
