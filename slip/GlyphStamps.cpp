#include "slip/GlyphStamps.h"

#include "slip/CanvasPixels.h"

#include <QGlyphRun>
#include <QtMath>
#include <QPainter>
#include <QRgba64>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace mivrel {

namespace {

std::uint32_t CurrentDrawing = 0;
qsizetype HeldBytes = 0;

// Palettes a face keeps stamps for (the main window's is usually the only
// one), and glyphs per palette before it starts afresh.
constexpr std::size_t MaxSets = 4;
constexpr qsizetype MaxGlyphsPerSet = 8192;
// Farther out than this (in device pixels) nothing is drawn anyway.
constexpr double PositionLimit = 1 << 24;

// The largest pixel size the painter draws from its glyph cache on a canvas
// that is not scaled; larger glyphs it fills as outlines.
qreal CachedGlyphLimit()
{
    static const int limit = [] {
        const int fromEnvironment = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
        return fromEnvironment > 0 ? fromEnvironment : 64;
    }();
    return limit;
}

// A device position as a whole pixel and 64ths of a pixel. The painter
// takes positions in 64ths; one that is a whole number of them places a
// glyph drawn a whole number of pixels away exactly that many pixels away.
struct DevicePosition {
    QPoint Whole;
    int FractionX = 0, FractionY = 0;  // 0 to 63
};

std::optional<DevicePosition> Split(const QPointF &position)
{
    const double x = position.x() * 64, y = position.y() * 64;
    if (std::abs(position.x()) > PositionLimit || std::abs(position.y()) > PositionLimit || x != std::floor(x)
        || y != std::floor(y))
        return std::nullopt;
    const auto wholeX = static_cast<int>(std::floor(position.x()));
    const auto wholeY = static_cast<int>(std::floor(position.y()));
    return DevicePosition{{wholeX, wholeY}, static_cast<int>(x) - wholeX * 64, static_cast<int>(y) - wholeY * 64};
}

// The device pixel nearest to a position near the canvas.
std::optional<QPoint> Nearest(const QPointF &position)
{
    if (std::abs(position.x()) > PositionLimit || std::abs(position.y()) > PositionLimit)
        return std::nullopt;
    return QPoint(static_cast<int>(std::floor(position.x() + 0.5)), static_cast<int>(std::floor(position.y() + 0.5)));
}

// Draws one glyph of `face` at `origin` on `image` with exactly `hints`.
void PaintGlyph(QImage &image, const QRawFont &face, quint32 index, const QPointF &origin,
                QPainter::RenderHints hints, const QColor &colour)
{
    QPainter painter(&image);
    painter.setRenderHints(painter.renderHints(), false);
    painter.setRenderHints(hints);
    painter.setPen(colour);
    QGlyphRun run;
    run.setRawFont(face);
    run.setGlyphIndexes({index});
    run.setPositions({origin});
    painter.drawGlyphRun(QPointF(), run);
}

// The bounding box of the pixels of a premultiplied ARGB32 image that are
// not fully transparent.
QRect Covered(const QImage &image)
{
    const std::vector<quint32> clear(std::size_t(image.width()), 0);
    const std::size_t bytes = clear.size() * sizeof(quint32);
    const auto inked = [](quint32 pixel) { return pixel >> 24 != 0; };
    QRect covered;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        if (std::memcmp(row, clear.data(), bytes) == 0)
            continue;
        const auto *end = row + image.width();
        const auto *first = std::find_if(row, end, inked);
        const auto last = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first), inked);
        if (first != end)
            covered |= QRect(QPoint(int(first - row), y), QPoint(int(last.base() - row) - 1, y));
    }
    return covered;
}

bool TouchesEdge(const QRect &area, const QSize &room)
{
    return !area.isEmpty() && (area.left() == 0 || area.top() == 0 || area.right() == room.width() - 1
           || area.bottom() == room.height() - 1);
}

} // namespace

void BeginSlipDrawing()
{
    ++CurrentDrawing;
}

qsizetype GlyphStampBytes()
{
    return HeldBytes;
}

struct GlyphStamps::Glyph {
    std::uint32_t FirstDrawing = 0;
    bool Stamped = false;      // Stamp is made; null when the glyph changes no pixel
    bool Unstampable = false;  // the glyph reaches beyond the room given to it
    bool Measured = false;     // Touched is known (unscaled canvas)
    QRect Touched;             // the pixels the glyph changes, from its whole device pixel
    bool Rasterised = false;   // Coverage is made (scaled canvas)
    QImage Stamp;
    QPoint StampOffset;  // of the stamp's corner from the glyph's whole device pixel
    QImage Coverage;     // Alpha8, at the device size
    QPoint CoverageOffset;
};

// What the pixels of a stamp depend on besides the glyph.
struct GlyphStamps::Palette {
    qreal Scale = 1;
    QImage::Format Format = QImage::Format_Invalid;
    QRgba64 Ink;
    quint32 Paper = 0;
    QPainter::RenderHints Hints;
    bool operator==(const Palette &) const = default;
};

// The glyphs of the face for one palette.
class GlyphStamps::Set {
public:
    Set(const QRawFont &face, const Palette &palette)
        : Key(palette), Face(face), Ink(QColor::fromRgba64(palette.Ink).rgba())
    {
        if (palette.Scale != 1) {
            DeviceFace = face;
            DeviceFace.setPixelSize(face.pixelSize() * palette.Scale);
        }
    }
    ~Set() { HeldBytes -= Bytes; }
    Set(const Set &) = delete;
    Set &operator=(const Set &) = delete;

    // The glyphs are drawn by the painter, from its glyph cache, in order;
    // a stamp is the painter's own drawing of the glyph on the paper, taken
    // from the canvas right after the painter drew it there.
    void DrawWithPainter(QPainter &canvas, const CanvasPixels &pixels, const QPointF &baseline,
                         const QGlyphRun &run)
    {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        QList<quint32> pendingIndexes;
        QList<QPointF> pendingPositions;
        const auto drawPending = [&] {
            if (pendingIndexes.isEmpty())
                return;
            QGlyphRun pending;
            pending.setRawFont(Face);
            pending.setGlyphIndexes(pendingIndexes);
            pending.setPositions(pendingPositions);
            canvas.drawGlyphRun(QPointF(), pending);
            pendingIndexes.clear();
            pendingPositions.clear();
        };
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            const QPointF position = baseline + positions[i];
            const std::optional<DevicePosition> device = Split(pixels.Map(position));
            Glyph *glyph = device ? &Find(indexes[i] | quint64(device->FractionX) << 32
                                          | quint64(device->FractionY) << 38)
                                  : nullptr;
            if (glyph && glyph->Stamped) {
                if (glyph->Stamp.isNull())
                    continue;  // the glyph changes no pixel
                drawPending();
                const QRect area(device->Whole + glyph->StampOffset, glyph->Stamp.size());
                if (pixels.IsUniform(area, PaperRow.data())) {
                    pixels.Copy(glyph->Stamp, area.topLeft());
                    continue;
                }
            } else if (glyph && DueForStamp(*glyph, indexes[i], *device)) {
                drawPending();
                const QRect area = glyph->Touched.translated(device->Whole);
                if (pixels.IsUniform(area, PaperRow.data())) {
                    pendingIndexes.append(indexes[i]);
                    pendingPositions.append(position);
                    drawPending();
                    KeepStamp(*glyph, pixels.Extract(area), glyph->Touched.topLeft());
                    continue;
                }
            }
            pendingIndexes.append(indexes[i]);
            pendingPositions.append(position);
        }
        drawPending();
    }

    // The glyphs are rasterised at the device size and blended here, each
    // at the device pixel nearest to its position.
    void DrawRasterised(const CanvasPixels &pixels, const QPointF &baseline, const QGlyphRun &run)
    {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            const std::optional<QPoint> origin = Nearest(pixels.Map(baseline + positions[i]));
            if (!origin)
                continue;
            Glyph &glyph = Find(indexes[i]);
            if (!glyph.Rasterised)
                Rasterise(glyph, indexes[i]);
            if (!glyph.Stamped && glyph.FirstDrawing != CurrentDrawing)
                MakeBlendedStamp(glyph);
            if (glyph.Stamped) {
                if (glyph.Stamp.isNull())
                    continue;
                const QRect area(*origin + glyph.StampOffset, glyph.Stamp.size());
                if (pixels.IsUniform(area, PaperRow.data())) {
                    pixels.Copy(glyph.Stamp, area.topLeft());
                    continue;
                }
            }
            if (!glyph.Coverage.isNull())
                pixels.Blend(glyph.Coverage, *origin + glyph.CoverageOffset, Ink);
        }
    }

    const Palette Key;

private:
    Glyph &Find(quint64 key)
    {
        auto it = Glyphs.find(key);
        if (it == Glyphs.end()) {
            if (Glyphs.size() >= MaxGlyphsPerSet)
                Clear();
            Glyph glyph;
            glyph.FirstDrawing = CurrentDrawing;
            it = Glyphs.insert(key, glyph);
        }
        return *it;
    }

    void Clear()
    {
        Glyphs.clear();
        HeldBytes -= Bytes;
        Bytes = 0;
    }

    void Hold(const QImage &image)
    {
        Bytes += image.sizeInBytes();
        HeldBytes += image.sizeInBytes();
    }

    void KeepStamp(Glyph &glyph, const QImage &stamp, const QPoint &offset)
    {
        glyph.Stamped = true;
        glyph.Stamp = stamp;
        glyph.StampOffset = offset;
        Hold(stamp);
        if (PaperRow.size() < std::size_t(stamp.width()))
            PaperRow.resize(std::size_t(stamp.width()), Key.Paper);
    }

    // Whether the glyph, drawn already by an earlier drawing of the slip,
    // is to be stamped where it lands on plain paper.
    bool DueForStamp(Glyph &glyph, quint32 index, const DevicePosition &device)
    {
        if (glyph.Unstampable || glyph.FirstDrawing == CurrentDrawing)
            return false;
        if (!glyph.Measured)
            Measure(glyph, index, device);
        if (!glyph.Unstampable && glyph.Touched.isEmpty())
            glyph.Stamped = true;
        return !glyph.Unstampable && !glyph.Stamped;
    }

    // Finds the pixels the glyph touches at this fraction of a pixel by
    // drawing it on transparent ground, in room enough for any glyph of the
    // face; one that reaches the edge of the room is never stamped.
    void Measure(Glyph &glyph, quint32 index, const DevicePosition &device)
    {
        glyph.Measured = true;
        const int size = qCeil(Face.pixelSize());
        const QRect room(-size / 4 - 2, -(5 * size) / 4 - 2, (3 * size) / 2 + 4, (3 * size) / 2 + 4);
        QImage ground(room.size(), QImage::Format_ARGB32_Premultiplied);
        ground.fill(Qt::transparent);
        const QPointF origin(device.FractionX / 64.0 - room.left(), device.FractionY / 64.0 - room.top());
        PaintGlyph(ground, Face, index, origin, Key.Hints, Qt::black);
        const QRect touched = Covered(ground);
        if (TouchesEdge(touched, room.size())) {
            glyph.Unstampable = true;
            return;
        }
        glyph.Touched = touched.translated(room.topLeft());
        if (PaperRow.size() < std::size_t(touched.width()))
            PaperRow.resize(std::size_t(touched.width()), Key.Paper);
    }

    void Rasterise(Glyph &glyph, quint32 index)
    {
        glyph.Rasterised = true;
        QImage coverage = DeviceFace.alphaMapForGlyph(index, QRawFont::PixelAntialiasing);
        if (coverage.isNull() || coverage.width() == 0 || coverage.height() == 0)
            return;
        if (coverage.format() != QImage::Format_Alpha8)
            coverage = coverage.convertToFormat(QImage::Format_Alpha8);
        glyph.Coverage = coverage;
        glyph.CoverageOffset = DeviceFace.boundingRect(index).topLeft().toPoint();
        Hold(coverage);
    }

    void MakeBlendedStamp(Glyph &glyph)
    {
        if (glyph.Coverage.isNull()) {
            glyph.Stamped = true;
            return;
        }
        QImage stamp(glyph.Coverage.size(), Key.Format);
        stamp.fill(Key.Paper);
        CanvasPixels::OfImage(stamp).Blend(glyph.Coverage, QPoint(), Ink);
        KeepStamp(glyph, stamp, glyph.CoverageOffset);
    }

    const QRawFont Face;
    const quint32 Ink;    // the pen's colour as the canvas stores it
    QRawFont DeviceFace;  // on a scaled canvas, the face at the device size
    QHash<quint64, Glyph> Glyphs;
    std::vector<quint32> PaperRow;  // the paper, as wide as the widest stamp
    qsizetype Bytes = 0;
};

GlyphStamps::GlyphStamps(const QRawFont &face) : Face(face) {}

GlyphStamps::~GlyphStamps() = default;

void GlyphStamps::Release()
{
    Sets.clear();
}

GlyphStamps::Set &GlyphStamps::SetFor(const Palette &palette)
{
    auto it = std::find_if(Sets.begin(), Sets.end(), [&](const auto &set) { return set->Key == palette; });
    if (it == Sets.end()) {
        if (Sets.size() >= MaxSets)
            Sets.pop_back();
        Sets.insert(Sets.begin(), std::make_unique<Set>(Face, palette));
    } else if (it != Sets.begin()) {
        std::rotate(Sets.begin(), it, it + 1);
    }
    return *Sets.front();
}

bool GlyphStamps::Draw(QPainter &canvas, const QPointF &baseline, const QGlyphRun &run)
{
    const std::optional<CanvasPixels> pixels = CanvasPixels::Of(canvas);
    if (!pixels || !Face.isValid())
        return false;
    const QPen &pen = canvas.pen();
    const std::optional<quint32> paper = OpaquePixel(canvas.background().color());
    if (pen.style() == Qt::NoPen || pen.brush().style() != Qt::SolidPattern || !OpaquePixel(pen.color()) || !paper)
        return false;
    const bool scaled = pixels->Scale() != 1;
    if (scaled ? !canvas.testRenderHint(QPainter::TextAntialiasing) : Face.pixelSize() > CachedGlyphLimit())
        return false;
    Set &set = SetFor({pixels->Scale(), pixels->Format(), pen.color().rgba64(), *paper, canvas.renderHints()});
    if (scaled)
        set.DrawRasterised(*pixels, baseline, run);
    else
        set.DrawWithPainter(canvas, *pixels, baseline, run);
    return true;
}

} // namespace mivrel
