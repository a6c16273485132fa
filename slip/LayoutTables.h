#pragma once
// What a face's layout tables can do to horizontal text, read far enough to
// tell when shaping would leave a text exactly as the character map and the
// glyph advances lay it out: every glyph the one its character maps to, each
// at the pen position the advances before it make.

#include <QByteArray>
#include <QHash>
#include <QList>

#include <cstdint>

namespace mivrel {

// The tables of a face that a text shaper reads. Missing tables are empty.
struct LayoutTables {
    QByteArray Gsub;
    QByteArray Gpos;
    bool HasKern = false;       // a 'kern' table
    bool HasAatLayout = false;  // 'morx', 'mort', 'kerx' or 'trak'
};

class ShapingRules {
public:
    // Reads the feature and lookup lists of GSUB and GPOS. Lookups of the
    // vertical features are left out: horizontal text never uses them.
    // Malformed tables count as able to change anything.
    explicit ShapingRules(const LayoutTables &tables);

    // Whether shaping leaves the glyphs the character map gives for a text
    // unchanged and unmoved. A lone glyph only needs no substitution and no
    // single positioning; two or more also need no pair positioning or
    // kerning and no ligature among them.
    bool LeavesUnchanged(const QList<quint32> &glyphs) const;

private:
    bool FormsLigature(const QList<quint32> &glyphs) const;

    bool SubstitutesOnlyLigatures = false;  // GSUB forms the ligatures below and nothing else
    bool MovesNoLoneGlyph = false;          // GPOS positions pairs, joins or marks at most
    bool MovesNothing = false;              // no GPOS lookups, no kerning
    // By first glyph, the glyphs each ligature starting with it needs next;
    // an empty list matches whatever follows (a lookup that skips glyphs).
    QHash<quint32, QList<QList<quint32>>> Ligatures;
};

} // namespace mivrel
