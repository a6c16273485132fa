#pragma once
// Direct access to the pixels of the image a painter draws on. The slip's
// frames are written straight into the image where the raster engine would
// put exactly the same pixels at a far higher cost (it strokes rectangles as
// vector paths).
//
// Only a painter that draws on an RGB32 or premultiplied ARGB32 QImage that
// no other QImage shares, without clipping, fully opaque and in source-over
// mode, through a transform that scales both ways alike and moves by whole
// device pixels, gives access; drawing on anything else goes through the
// painter as before.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <optional>

class QColor;
class QPainter;

namespace mivrel {

class CanvasPixels {
public:
    static std::optional<CanvasPixels> Of(QPainter &painter);

    // Device pixels per canvas pixel (the painter's scale, 2 on a dense
    // screen).
    qreal Scale() const { return Ratio; }
    // The device column or row that an aliased one-pixel cosmetic pen covers
    // for a canvas coordinate: the scaled coordinate rounded down.
    int DeviceX(std::int64_t x) const;
    int DeviceY(std::int64_t y) const;
    // Fills the part of `area` (device pixels) inside the image.
    void Fill(const QRect &area, quint32 pixel) const;

private:
    CanvasPixels() = default;

    quint32 *Bits = nullptr;
    qsizetype Stride = 0;  // pixels per row
    QRect Bounds;
    qreal Ratio = 1;
    int Dx = 0, Dy = 0;  // the device position of canvas point (0, 0)
};

// The pixel an RGB32 or premultiplied ARGB32 image stores for `colour` when
// it is valid and opaque.
std::optional<quint32> OpaquePixel(const QColor &colour);

} // namespace mivrel
