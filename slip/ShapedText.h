#pragma once
// Text drawn as glyphs that are laid out once. The slip draws the same few
// hundred short texts, most of them single characters, at a handful of
// sizes. Each face is loaded once; its other sizes are the same face scaled
// (QRawFont::setPixelSize), with the hinting and antialiasing the font
// configuration gave the face. A text is laid out the first time a size
// draws it and its glyph runs are kept: from the character map and the glyph
// advances when the face's layout tables cannot change it (no substitution,
// no positioning, no ligature among its glyphs), otherwise by QTextLayout
// with the face as a QFont. The glyphs come from one font engine per face and
// size, so each is rasterised once per size, and on a canvas that is not
// scaled the pixels are those QPainter::drawText gives. Texts laid out from
// the character map are drawn through the face's glyph stamps
// (slip/GlyphStamps.h).
//
// For the GUI thread only. The kept faces are released when the application
// object goes away.

#include "slip/GlyphStamps.h"
#include "slip/LayoutTables.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QString>

#include <memory>

class QPainter;
class QPointF;

namespace mivrel {

class ShapedFace {
public:
    // The kept face for `font` (with a pixel size) drawn in `direction`;
    // made on first use. The reference holds until the next call.
    static ShapedFace &For(const QFont &font, Qt::LayoutDirection direction);

    ShapedFace(const QFont &font, Qt::LayoutDirection direction);

    // QFontMetrics(font).ascent(): the baseline's distance below the top of
    // the character cell.
    int Ascent() const;
    // Draws `text` with the left end of its baseline at `baseline` (the
    // painter's pen and transform apply). On a canvas that is not scaled the
    // pixels are those QPainter::drawText(baseline, text) gives in this face;
    // on a scaled one the glyphs are the face's at the device size. A text
    // the painter must lay out itself (breaks, tabs) is drawn by it, with
    // this face set as its font.
    void Draw(QPainter &canvas, const QPointF &baseline, const QString &text);
    // Forgets the glyph stamps (they are made again as glyphs are drawn).
    void ReleaseStamps() { Stamps.Release(); }

private:
    struct LaidOut {
        QList<QGlyphRun> Runs;  // glyph positions relative to the baseline origin
        bool FromCharacterMap = false;  // one run of this face
    };

    const LaidOut &Runs(const QString &text);
    QList<QGlyphRun> Unshaped(const QString &text) const;
    QList<QGlyphRun> Shaped(const QString &text) const;

    QFont Font;
    Qt::LayoutDirection Direction;
    QRawFont Raw;  // the face at this size
    std::shared_ptr<const ShapingRules> Rules;  // null when every text needs shaping
    QHash<QString, LaidOut> Texts;
    GlyphStamps Stamps;
};

} // namespace mivrel
