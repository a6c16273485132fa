// Slip geometry and drawing, on the sample slip, into an image of the main
// window's client size with the painter set up as the main window sets it.

#include "Benchmarks.h"

#include "Mainunit/Mainunit.h"
#include "Verify/Kyuho.h"
#include "slip/SlipDraw.h"
#include "slip/SlipLayout.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <string>
#include <vector>

using namespace mivrel;

namespace {

constexpr std::uint8_t SalaryPaidCell = 13;

// The sample slip laid out for a client width, at the main window's origin,
// with a canvas of the window's size.
struct SlipCanvas {
    SlipLayout Layout;
    TKyuho Record;
    TFontInfoSet Fonts;
    std::uint8_t Current = NoCell;
    SlipPaintContext Ctx;
    QImage Image;

    explicit SlipCanvas(std::int32_t clientWidth)
    {
        Layout.ScaleNum = clientWidth - 1;
        LayOutSlip(Layout);
        SetFontSizes(Fonts, Layout.XCoord[56]);
        ClearSlip(Record);
        FillSampleSlip(Record);
        const std::int32_t originY =
            TfrmMain::PanelHeight + TfrmMain::PanelRetractedTop + 2 * Fonts.size(FontMedium) + 2;
        Ctx = {{0, originY}, &Layout, &Record, &Fonts, &Current};
        Image = QImage(clientWidth, originY + Layout.YCoord[18] + 1, QImage::Format_RGB32);
        Image.fill(WindowColour());
    }
    SlipCanvas(const SlipCanvas &) = delete;
    SlipCanvas &operator=(const SlipCanvas &) = delete;

    static QColor WindowColour() { return QGuiApplication::palette().color(QPalette::Window); }
};

// A painter on the canvas, prepared like the main window's.
void PrepareLikeMainWindow(QPainter &painter)
{
    painter.setBackground(SlipCanvas::WindowColour());
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void LayOutSlipBench(benchmark::State &state)
{
    SlipLayout layout;
    layout.ScaleNum = 1349;
    for (auto _ : state) {
        LayOutSlip(layout);
        benchmark::DoNotOptimize(layout);
    }
}

void DrawSlipBench(benchmark::State &state, std::int32_t clientWidth)
{
    SlipCanvas canvas(clientWidth);
    QPainter painter(&canvas.Image);
    PrepareLikeMainWindow(painter);
    for (auto _ : state)
        DrawSlip(painter, canvas.Ctx);
}

void DrawCellBench(benchmark::State &state)
{
    SlipCanvas canvas(1350);
    QPainter painter(&canvas.Image);
    PrepareLikeMainWindow(painter);
    for (auto _ : state)
        DrawCell(painter, canvas.Ctx, SalaryPaidCell);
}

void DrawCellFocusBench(benchmark::State &state)
{
    SlipCanvas canvas(1350);
    QPainter painter(&canvas.Image);
    PrepareLikeMainWindow(painter);
    for (auto _ : state)
        DrawCellFocus(painter, canvas.Ctx, SalaryPaidCell);
}

// A 24 x 16 grid of points over the whole canvas, edges and gaps included.
std::vector<QPoint> SpreadOfPoints(const QImage &image)
{
    std::vector<QPoint> points;
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 24; ++column)
            points.emplace_back(column * (image.width() - 1) / 23, row * (image.height() - 1) / 15);
    return points;
}

void HitTestCellBench(benchmark::State &state)
{
    const SlipCanvas canvas(1350);
    const std::vector<QPoint> points = SpreadOfPoints(canvas.Image);
    std::size_t next = 0;
    for (auto _ : state) {
        const QPoint &p = points[next];
        benchmark::DoNotOptimize(HitTestCell(canvas.Ctx, p.x(), p.y()));
        next = next + 1 == points.size() ? 0 : next + 1;
    }
}

} // namespace

void MedianOfRepetitions(benchmark::internal::Benchmark *bench)
{
    bench->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
}

void RegisterSlipBenchmarks()
{
    benchmark::RegisterBenchmark("LayOutSlip", LayOutSlipBench)->Apply(MedianOfRepetitions);
    for (const int width : {476, 1350})
        benchmark::RegisterBenchmark(("DrawSlip/" + std::to_string(width)).c_str(), DrawSlipBench, width)
            ->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("DrawCell/1350", DrawCellBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("DrawCellFocus/1350", DrawCellFocusBench)->Apply(MedianOfRepetitions);
    benchmark::RegisterBenchmark("HitTestCell/1350", HitTestCellBench)->Apply(MedianOfRepetitions);
}
