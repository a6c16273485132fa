#pragma once
// Direct access to the pixels of the image a painter draws on. The slip's
// frames and its glyph stamps are written straight into the image where the
// raster engine would put exactly the same pixels at a far higher cost (it
// strokes rectangles as vector paths and blends glyph after glyph).
//
// Only a painter that draws on an RGB32 or premultiplied ARGB32 QImage that
// no other QImage shares, without clipping, fully opaque and in source-over
// mode, through a transform that scales both ways alike and moves by whole
// device pixels, gives access; drawing on anything else goes through the
// painter as before.

#include <QImage>
#include <QPointF>
#include <QRect>

#include <cstdint>
#include <optional>

class QColor;
class QPainter;

namespace mivrel {

class CanvasPixels {
public:
    static std::optional<CanvasPixels> Of(QPainter &painter);
    // The pixels of `image` itself, one device pixel per canvas pixel; the
    // image must be RGB32 or premultiplied ARGB32 and stay alive.
    static CanvasPixels OfImage(QImage &image);

    // Device pixels per canvas pixel (the painter's scale, 2 on a dense
    // screen).
    qreal Scale() const { return Ratio; }
    QImage::Format Format() const { return PixelFormat; }
    // The device column or row that an aliased one-pixel cosmetic pen covers
    // for a canvas coordinate: the scaled coordinate rounded down.
    int DeviceX(std::int64_t x) const;
    int DeviceY(std::int64_t y) const;
    // The device position of a canvas point, unrounded.
    QPointF Map(const QPointF &point) const;

    // Fills the part of `area` (device pixels) inside the image.
    void Fill(const QRect &area, quint32 pixel) const;
    // Whether `area` lies inside the image and each of its rows equals the
    // start of `row` (one pixel value repeated at least area.width() times).
    bool IsUniform(const QRect &area, const quint32 *row) const;
    // Copies `stamp` (of this format) with its top-left corner at `at`; the
    // stamp must lie inside the image.
    void Copy(const QImage &stamp, const QPoint &at) const;
    // A copy of `area`, which must lie inside the image.
    QImage Extract(const QRect &area) const;
    // Blends the opaque pixel `ink` over the image where `coverage` (Alpha8)
    // covers it, with the coverage's top-left corner at `at`, clipped to the
    // image.
    void Blend(const QImage &coverage, const QPoint &at, quint32 ink) const;

private:
    CanvasPixels() = default;

    quint32 *Bits = nullptr;
    qsizetype Stride = 0;  // pixels per row
    QRect Bounds;
    QImage::Format PixelFormat = QImage::Format_Invalid;
    qreal Ratio = 1;
    int Dx = 0, Dy = 0;  // the device position of canvas point (0, 0)
};

// Moves a picture within the pixels of `store` (RGB32 or premultiplied
// ARGB32): before, its top-left `from` pixels show it; after, its top-left
// `to` pixels show it moved by `by`, with `paper` wherever the moved picture
// does not reach. Both sizes must lie inside the store.
void MovePicture(QImage &store, QSize from, QSize to, QPoint by, quint32 paper);

// The pixel an RGB32 or premultiplied ARGB32 image stores for `colour` when
// it is valid and opaque.
std::optional<quint32> OpaquePixel(const QColor &colour);

} // namespace mivrel
