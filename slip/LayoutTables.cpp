// Walks the feature list of GSUB and GPOS, the lookups each feature uses and,
// for GSUB ligature lookups, their coverage and ligature sets. Offsets follow
// the OpenType common table formats; every read is bounds-checked and a read
// outside the table condemns it.

#include "slip/LayoutTables.h"

#include <algorithm>
#include <array>
#include <functional>

namespace mivrel {

namespace {

enum class Table { Gsub, Gpos };

constexpr std::uint16_t LigatureLookup = 4;
constexpr std::uint16_t GsubExtension = 7;
constexpr std::uint16_t GposExtension = 9;
// Lookup flags under which a lookup skips some glyphs while matching.
constexpr std::uint16_t SkippingFlags = 0xFF1E;

// Big-endian fields of one table. A read past either end yields 0 and marks
// the table as malformed.
class TableReader {
public:
    explicit TableReader(const QByteArray &data) : Data(data) {}

    std::uint16_t U16(qsizetype at)
    {
        if (at < 0 || at > Data.size() - 2) {
            Malformed = true;
            return 0;
        }
        return static_cast<std::uint16_t>(Byte(at) << 8 | Byte(at + 1));
    }
    std::uint32_t U32(qsizetype at) { return std::uint32_t{U16(at)} << 16 | U16(at + 2); }
    QByteArray Tag(qsizetype at)
    {
        if (at < 0 || at > Data.size() - 4) {
            Malformed = true;
            return {};
        }
        return Data.mid(at, 4);
    }

    bool Malformed = false;

private:
    unsigned Byte(qsizetype at) const { return static_cast<unsigned char>(Data[at]); }

    const QByteArray &Data;
};

// Features that a shaper applies to vertical text only.
bool IsVerticalFeature(const QByteArray &tag)
{
    static const std::array<QByteArray, 7> vertical = {"vert", "vrt2", "vrtr", "vkna", "vhal", "vpal", "vkrn"};
    for (const QByteArray &v : vertical)
        if (tag == v)
            return true;
    return false;
}

// One subtable of a lookup, with the type it really has (an extension
// subtable stands for the subtable it points to).
struct Subtable {
    std::uint16_t Type;
    qsizetype Offset;  // in the table
};

// Calls `visit` for each subtable of each lookup that a horizontal feature
// uses, with the lookup's flags; false when the table is malformed or has
// feature variations (which swap lookups in under conditions).
bool VisitHorizontalLookups(TableReader &reader, Table table,
                            const std::function<void(const Subtable &, std::uint16_t)> &visit)
{
    const std::uint16_t major = reader.U16(0);
    const std::uint16_t minor = reader.U16(2);
    const qsizetype featureList = reader.U16(6);
    const qsizetype lookupList = reader.U16(8);
    if (major != 1 || (minor >= 1 && reader.U32(10) != 0))
        return false;
    const std::uint16_t extension = table == Table::Gsub ? GsubExtension : GposExtension;
    const std::uint16_t lookupCount = reader.U16(lookupList);
    const std::uint16_t features = reader.U16(featureList);
    for (std::uint16_t i = 0; i < features && !reader.Malformed; ++i) {
        const qsizetype record = featureList + 2 + 6 * qsizetype{i};
        if (IsVerticalFeature(reader.Tag(record)))
            continue;
        const qsizetype feature = featureList + reader.U16(record + 4);
        const std::uint16_t lookups = reader.U16(feature + 2);
        for (std::uint16_t j = 0; j < lookups && !reader.Malformed; ++j) {
            const std::uint16_t index = reader.U16(feature + 4 + 2 * qsizetype{j});
            if (index >= lookupCount)
                return false;
            const qsizetype lookup = lookupList + reader.U16(lookupList + 2 + 2 * qsizetype{index});
            const std::uint16_t type = reader.U16(lookup);
            const std::uint16_t flags = reader.U16(lookup + 2);
            const std::uint16_t subtables = reader.U16(lookup + 4);
            for (std::uint16_t k = 0; k < subtables && !reader.Malformed; ++k) {
                const qsizetype subtable = lookup + reader.U16(lookup + 6 + 2 * qsizetype{k});
                if (type == extension)
                    visit({reader.U16(subtable + 2), subtable + qsizetype{reader.U32(subtable + 4)}}, flags);
                else
                    visit({type, subtable}, flags);
            }
        }
    }
    return !reader.Malformed;
}

// The glyphs of a coverage table in coverage index order. A glyph id has 16
// bits, so a coverage listing more glyphs than that is malformed.
QList<quint32> CoveredGlyphs(TableReader &reader, qsizetype coverage)
{
    constexpr qsizetype MaxGlyphs = 0x10000;
    QList<quint32> glyphs;
    const std::uint16_t format = reader.U16(coverage);
    const std::uint16_t count = reader.U16(coverage + 2);
    if (format != 1 && format != 2) {
        reader.Malformed = true;
        return glyphs;
    }
    for (std::uint16_t i = 0; i < count && !reader.Malformed; ++i) {
        const qsizetype entry = coverage + 4 + (format == 1 ? 2 : 6) * qsizetype{i};
        const quint32 first = reader.U16(entry);
        const quint32 last = format == 1 ? first : reader.U16(entry + 2);
        if (last < first || glyphs.size() + qsizetype{last - first} >= MaxGlyphs) {
            reader.Malformed = true;
            break;
        }
        for (quint32 glyph = first; glyph <= last; ++glyph)
            glyphs.append(glyph);
    }
    return glyphs;
}

// Adds the ligatures of one ligature substitution subtable (format 1).
void AddLigatures(TableReader &reader, qsizetype subtable, bool skipsGlyphs,
                  QHash<quint32, QList<QList<quint32>>> &ligatures)
{
    if (reader.U16(subtable) != 1) {
        reader.Malformed = true;
        return;
    }
    const QList<quint32> firsts = CoveredGlyphs(reader, subtable + reader.U16(subtable + 2));
    const std::uint16_t sets = reader.U16(subtable + 4);
    for (std::uint16_t i = 0; i < sets && i < firsts.size() && !reader.Malformed; ++i) {
        QList<QList<quint32>> &tails = ligatures[firsts[i]];
        if (skipsGlyphs) {
            tails.append(QList<quint32>());
            continue;
        }
        const qsizetype set = subtable + reader.U16(subtable + 6 + 2 * qsizetype{i});
        const std::uint16_t count = reader.U16(set);
        for (std::uint16_t j = 0; j < count && !reader.Malformed; ++j) {
            const qsizetype ligature = set + reader.U16(set + 2 + 2 * qsizetype{j});
            const std::uint16_t components = reader.U16(ligature + 2);
            QList<quint32> tail;
            for (std::uint16_t c = 1; c < components && !reader.Malformed; ++c)
                tail.append(reader.U16(ligature + 2 + 2 * qsizetype{c}));
            tails.append(tail);
        }
    }
}

} // namespace

ShapingRules::ShapingRules(const LayoutTables &tables)
{
    if (tables.HasAatLayout)
        return;

    bool onlyLigatures = true;
    if (!tables.Gsub.isEmpty()) {
        TableReader reader(tables.Gsub);
        const bool wellFormed = VisitHorizontalLookups(reader, Table::Gsub, [&](const Subtable &sub, std::uint16_t flags) {
            if (sub.Type == LigatureLookup)
                AddLigatures(reader, sub.Offset, (flags & SkippingFlags) != 0, Ligatures);
            else
                onlyLigatures = false;
        });
        onlyLigatures = onlyLigatures && wellFormed && !reader.Malformed;
    }
    SubstitutesOnlyLigatures = onlyLigatures;

    bool anyLookup = false;
    bool loneGlyphsStay = true;
    bool wellFormed = true;
    if (!tables.Gpos.isEmpty()) {
        TableReader reader(tables.Gpos);
        // Pair, cursive and mark positioning (types 2 to 6) need a second glyph.
        wellFormed = VisitHorizontalLookups(reader, Table::Gpos, [&](const Subtable &sub, std::uint16_t) {
            anyLookup = true;
            loneGlyphsStay = loneGlyphsStay && sub.Type >= 2 && sub.Type <= 6;
        });
    }
    MovesNoLoneGlyph = wellFormed && loneGlyphsStay;
    MovesNothing = wellFormed && !anyLookup && !tables.HasKern;
}

bool ShapingRules::LeavesUnchanged(const QList<quint32> &glyphs) const
{
    if (!SubstitutesOnlyLigatures || !(glyphs.size() == 1 ? MovesNoLoneGlyph : MovesNothing))
        return false;
    return !FormsLigature(glyphs);
}

bool ShapingRules::FormsLigature(const QList<quint32> &glyphs) const
{
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const auto tails = Ligatures.constFind(glyphs[i]);
        if (tails == Ligatures.constEnd())
            continue;
        for (const QList<quint32> &tail : *tails)
            if (tail.size() < glyphs.size() - i && std::equal(tail.begin(), tail.end(), glyphs.begin() + i + 1))
                return true;
    }
    return false;
}

} // namespace mivrel
