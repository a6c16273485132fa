#pragma once
// The glyphs of one face at one size, drawn into the pixels of the canvas.
//
// A glyph that a later drawing of the slip draws again gets a stamp: a copy
// of the glyph as it looks on the paper (the painter's background colour) in
// the pen's colour. Where the canvas under a stamp is still plain paper,
// which is where captions and values land once the frames have filled their
// cells, the stamp is copied; anywhere else the glyph is drawn as usual. A
// stamp holds exactly the pixels the glyph changes, so copying it gives the
// same pixels as drawing the glyph there.
//
// On a canvas whose transform only moves, the stamps and the glyphs drawn
// as usual come from the painter itself (from its glyph cache), so the
// pixels are the painter's own. On a dense screen the glyphs are rasterised
// at the device size, the face's size times the scale, with the face's
// hinting and antialiasing, and blended here: the painter would fill the
// outlines of the scaled face instead, and does so for every glyph over 64
// device pixels.
//
// For the GUI thread only.

#include <QHash>
#include <QImage>
#include <QRawFont>

#include <cstdint>
#include <memory>
#include <vector>

class QGlyphRun;
class QPainter;
class QPointF;

namespace mivrel {

class CanvasPixels;

// Marks the start of a drawing of the whole slip: glyphs drawn from now on
// that an earlier drawing already drew get stamps.
void BeginSlipDrawing();

// Bytes that the stamps and rasterised glyphs of all faces hold.
qsizetype GlyphStampBytes();

class GlyphStamps {
public:
    explicit GlyphStamps(const QRawFont &face);
    ~GlyphStamps();
    GlyphStamps(const GlyphStamps &) = delete;
    GlyphStamps &operator=(const GlyphStamps &) = delete;

    // Draws the glyphs of `run` (a run of this face) with their positions
    // relative to `baseline`, as QPainter::drawGlyphRun(baseline, run) draws
    // them. False, having drawn nothing, when the painter must draw them
    // itself: no direct access to its pixels, a pen or background that is
    // not one opaque colour, glyphs too large for the painter's glyph cache
    // on a canvas that is not scaled, or no text antialiasing on one that is.
    bool Draw(QPainter &canvas, const QPointF &baseline, const QGlyphRun &run);

    // Forgets every stamp and rasterised glyph.
    void Release();

private:
    struct Glyph;
    struct Palette;
    class Set;

    Set &SetFor(const Palette &palette);

    QRawFont Face;
    std::vector<std::unique_ptr<Set>> Sets;  // most recently used first
};

} // namespace mivrel
