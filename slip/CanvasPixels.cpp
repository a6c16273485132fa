#include "slip/CanvasPixels.h"

#include <QColor>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mivrel {

namespace {

bool IsDirectFormat(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

// Device coordinates far outside any image, kept clear of int overflow.
constexpr double DeviceLimit = 1 << 28;

int ToDevice(double scaled)
{
    return static_cast<int>(std::clamp(std::floor(scaled), -DeviceLimit, DeviceLimit));
}

// Sets `count` pixels, thirty-two at a time where it can: the interior of a
// frame is as wide as the slip.
void FillRow(quint32 *row, qsizetype count, quint32 pixel)
{
    qsizetype done = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; done + 32 <= count; done += 32) {
        auto *block = reinterpret_cast<__m128i *>(row + done);
        for (int k = 0; k < 8; ++k)
            _mm_storeu_si128(block + k, four);
    }
#endif
    std::fill_n(row + done, count - done, pixel);
}

} // namespace

std::optional<CanvasPixels> CanvasPixels::Of(QPainter &painter)
{
    QPaintDevice *device = painter.isActive() ? painter.device() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return std::nullopt;
    auto *image = static_cast<QImage *>(device);
    // A shared image would be copied by bits(), away from the painter.
    if (!IsDirectFormat(image->format()) || !image->isDetached())
        return std::nullopt;
    if (painter.hasClipping() || painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || painter.opacity() != 1.0)
        return std::nullopt;
    const QTransform transform = painter.deviceTransform();
    const qreal dx = transform.dx(), dy = transform.dy();
    if (transform.type() > QTransform::TxScale || transform.m11() != transform.m22() || transform.m11() <= 0
        || dx != std::floor(dx) || dy != std::floor(dy) || std::abs(dx) > DeviceLimit || std::abs(dy) > DeviceLimit)
        return std::nullopt;
    CanvasPixels pixels;
    pixels.Bits = reinterpret_cast<quint32 *>(image->bits());
    pixels.Stride = image->bytesPerLine() / qsizetype(sizeof(quint32));
    pixels.Bounds = image->rect();
    pixels.Ratio = transform.m11();
    pixels.Dx = static_cast<int>(dx);
    pixels.Dy = static_cast<int>(dy);
    return pixels;
}

int CanvasPixels::DeviceX(std::int64_t x) const
{
    return ToDevice(Ratio * double(x) + Dx);
}

int CanvasPixels::DeviceY(std::int64_t y) const
{
    return ToDevice(Ratio * double(y) + Dy);
}

void CanvasPixels::Fill(const QRect &area, quint32 pixel) const
{
    const QRect part = area & Bounds;
    if (part.isEmpty())
        return;
    quint32 *first = Bits + part.top() * Stride + part.left();
    if (part.width() == 1) {
        for (qsizetype y = 0; y < part.height(); ++y)
            first[y * Stride] = pixel;
        return;
    }
    for (qsizetype y = 0; y < part.height(); ++y)
        FillRow(first + y * Stride, part.width(), pixel);
}

std::optional<quint32> OpaquePixel(const QColor &colour)
{
    if (!colour.isValid() || colour.alpha() != 255)
        return std::nullopt;
    return colour.rgba();
}

} // namespace mivrel
