#include "slip/CanvasPixels.h"

#include <QColor>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

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

// One channel of `ink` over `base` with `coverage` of 255.
quint32 MixChannel(quint32 ink, quint32 base, quint32 coverage)
{
    return (ink * coverage + base * (255 - coverage) + 127) / 255;
}

quint32 Mix(quint32 base, quint32 ink, quint32 coverage)
{
    quint32 mixed = 0;
    for (int shift = 0; shift < 32; shift += 8)
        mixed |= MixChannel((ink >> shift) & 0xFF, (base >> shift) & 0xFF, coverage) << shift;
    return mixed;
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
    CanvasPixels pixels = OfImage(*image);
    pixels.Ratio = transform.m11();
    pixels.Dx = static_cast<int>(dx);
    pixels.Dy = static_cast<int>(dy);
    return pixels;
}

CanvasPixels CanvasPixels::OfImage(QImage &image)
{
    CanvasPixels pixels;
    pixels.Bits = reinterpret_cast<quint32 *>(image.bits());
    pixels.Stride = image.bytesPerLine() / qsizetype(sizeof(quint32));
    pixels.Bounds = image.rect();
    pixels.PixelFormat = image.format();
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

QPointF CanvasPixels::Map(const QPointF &point) const
{
    return {Ratio * point.x() + Dx, Ratio * point.y() + Dy};
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

bool CanvasPixels::IsUniform(const QRect &area, const quint32 *row) const
{
    if (!Bounds.contains(area))
        return false;
    const std::size_t bytes = std::size_t(area.width()) * sizeof(quint32);
    for (int y = area.top(); y <= area.bottom(); ++y)
        if (std::memcmp(Bits + y * Stride + area.left(), row, bytes) != 0)
            return false;
    return true;
}

void CanvasPixels::Copy(const QImage &stamp, const QPoint &at) const
{
    const std::size_t bytes = std::size_t(stamp.width()) * sizeof(quint32);
    for (int y = 0; y < stamp.height(); ++y)
        std::memcpy(Bits + (at.y() + y) * Stride + at.x(), stamp.constScanLine(y), bytes);
}

QImage CanvasPixels::Extract(const QRect &area) const
{
    QImage part(area.size(), PixelFormat);
    const std::size_t bytes = std::size_t(area.width()) * sizeof(quint32);
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(part.scanLine(y), Bits + (area.top() + y) * Stride + area.left(), bytes);
    return part;
}

void CanvasPixels::Blend(const QImage &coverage, const QPoint &at, quint32 ink) const
{
    const QRect part = QRect(at, coverage.size()) & Bounds;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const uchar *source = coverage.constScanLine(y - at.y()) + (part.left() - at.x());
        quint32 *target = Bits + y * Stride + part.left();
        for (int x = 0; x < part.width(); ++x) {
            if (source[x] == 255)
                target[x] = ink;
            else if (source[x] != 0)
                target[x] = Mix(target[x], ink, source[x]);
        }
    }
}

void MovePicture(QImage &store, QSize from, QSize to, QPoint by, quint32 paper)
{
    Q_ASSERT(QRect(QPoint(), store.size()).contains(QRect(QPoint(), from.expandedTo(to))));
    const qsizetype stride = store.bytesPerLine() / qsizetype(sizeof(quint32));
    quint32 *bits = reinterpret_cast<quint32 *>(store.bits());
    // The columns of a row of `to` that come from the picture.
    const int left = std::clamp(by.x(), 0, to.width());
    const int right = std::clamp(from.width() + by.x(), left, to.width());
    const auto moveRow = [&](int y) {
        quint32 *row = bits + y * stride;
        const int source = y - by.y();
        if (source < 0 || source >= from.height() || left == right) {
            FillRow(row, to.width(), paper);
            return;
        }
        std::memmove(row + left, bits + source * stride + (left - by.x()),
                     std::size_t(right - left) * sizeof(quint32));
        FillRow(row, left, paper);
        FillRow(row + right, to.width() - right, paper);
    };
    // Rows are written in the order that reads every source row before it is
    // overwritten.
    if (by.y() > 0) {
        for (int y = to.height() - 1; y >= 0; --y)
            moveRow(y);
    } else {
        for (int y = 0; y < to.height(); ++y)
            moveRow(y);
    }
}

std::optional<quint32> OpaquePixel(const QColor &colour)
{
    if (!colour.isValid() || colour.alpha() != 255)
        return std::nullopt;
    return colour.rgba();
}

} // namespace mivrel
