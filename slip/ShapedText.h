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
// size, so each is rasterised once per size, and the pixels are those
// QPainter::drawText gives.
//
// For the GUI thread only. The kept faces are released when the application
// object goes away.

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
    // Draws `text` with the left end of its baseline at `baseline`, pixel for
    // pixel as QPainter::drawText(baseline, text) draws it in this face (the
    // painter's pen and transform apply). A text the painter must lay out
    // itself (breaks, tabs) is drawn by it, with this face set as its font.
    void Draw(QPainter &canvas, const QPointF &baseline, const QString &text);

private:
    const QList<QGlyphRun> &Runs(const QString &text);
    QList<QGlyphRun> Unshaped(const QString &text) const;
    QList<QGlyphRun> Shaped(const QString &text) const;

    QFont Font;
    Qt::LayoutDirection Direction;
    QRawFont Raw;  // the face at this size
    std::shared_ptr<const ShapingRules> Rules;  // null when every text needs shaping
    QHash<QString, QList<QGlyphRun>> Texts;  // glyph positions relative to the baseline origin
};

} // namespace mivrel
