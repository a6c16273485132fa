#include "slip/ShapedText.h"

#include "slip/SlipDraw.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace mivrel {

namespace {

// Faces and texts kept: a window resized through many widths asks for new
// sizes, and typed values are new texts; the face least recently drawn goes
// first, and a face that has kept too many texts starts afresh.
constexpr std::size_t MaxFaces = 24;
constexpr qsizetype MaxTextsPerFace = 4096;
// A face scaled to another size keeps what its engine decided for the first
// size, and Qt synthesises bold only below 64 pixels: faces from 64 pixels
// up are loaded for their own size.
constexpr int MaxScaledPixelSize = 63;
// Beyond this the glyph stamps of every face are dropped and made afresh.
constexpr qsizetype MaxStampBytes = 32 * 1024 * 1024;

// Whether the face of `font` can be scaled to its size or from it; fonts
// sized in points are loaded as they are.
bool Scalable(const QFont &font)
{
    return font.pixelSize() > 0 && font.pixelSize() <= MaxScaledPixelSize;
}

// A font's face without its size.
QString FaceKey(const QFont &font)
{
    QFont face = font;
    face.setPixelSize(1);
    return face.key();
}

class FaceCache {
public:
    ShapedFace &Find(const QFont &font, Qt::LayoutDirection direction)
    {
        if (GlyphStampBytes() > MaxStampBytes)
            for (auto &[key, entry] : Faces)
                entry.Face->ReleaseStamps();
        for (Recent &recent : RecentFaces)
            if (recent.Kept && recent.Direction == direction && recent.Font == font) {
                recent.Kept->LastUse = ++Clock;
                std::swap(recent, RecentFaces.front());
                return *RecentFaces.front().Kept->Face;
            }
        const QString key = font.key() + QLatin1Char(direction == Qt::RightToLeft ? 'r' : 'l');
        auto it = Faces.find(key);
        if (it == Faces.end()) {
            ReleaseWithApplication();
            if (Faces.size() >= MaxFaces)
                DropOldest();
            it = Faces.emplace(key, Entry{std::make_unique<ShapedFace>(font, direction), 0}).first;
        }
        it->second.LastUse = ++Clock;
        std::rotate(RecentFaces.begin(), RecentFaces.end() - 1, RecentFaces.end());
        RecentFaces.front() = {font, direction, &it->second};
        return *it->second.Face;
    }

    // The face of `font` at its size: scaled from the face loaded first, or
    // loaded now (and kept for the other sizes).
    QRawFont FaceAtSize(const QFont &font)
    {
        if (!Scalable(font))
            return QRawFont::fromFont(font);
        const QString key = FaceKey(font);
        auto it = Loaded.constFind(key);
        if (it == Loaded.constEnd()) {
            ReleaseWithApplication();
            return *Loaded.insert(key, QRawFont::fromFont(font));
        }
        QRawFont raw = *it;
        if (raw.pixelSize() != font.pixelSize())
            raw.setPixelSize(font.pixelSize());
        return raw;
    }

    void AddLoaded(const QFont &font)
    {
        if (!Scalable(font))
            return;
        ReleaseWithApplication();
        Loaded.insert(FaceKey(font), QRawFont::fromFont(font));
    }

    // The shaping rules of the face `raw`, read from its tables once per face.
    std::shared_ptr<const ShapingRules> RulesOf(const QRawFont &raw)
    {
        const QString face = raw.familyName() + QLatin1Char('\n') + raw.styleName();
        auto it = Rules.constFind(face);
        if (it == Rules.constEnd()) {
            LayoutTables tables{raw.fontTable("GSUB"), raw.fontTable("GPOS"), !raw.fontTable("kern").isEmpty(), false};
            for (const char *aat : {"morx", "mort", "kerx", "trak"})
                tables.HasAatLayout = tables.HasAatLayout || !raw.fontTable(aat).isEmpty();
            it = Rules.insert(face, std::make_shared<const ShapingRules>(tables));
        }
        return *it;
    }

private:
    struct Entry {
        std::unique_ptr<ShapedFace> Face;
        std::uint64_t LastUse;
    };

    void DropOldest()
    {
        auto oldest = Faces.begin();
        for (auto it = Faces.begin(); it != Faces.end(); ++it)
            if (it->second.LastUse < oldest->second.LastUse)
                oldest = it;
        for (Recent &recent : RecentFaces)
            if (recent.Kept == &oldest->second)
                recent = {};
        Faces.erase(oldest);
    }

    // The kept faces hold font engines, which must go before the font
    // database does: they are released with the application object.
    void ReleaseWithApplication()
    {
        if (!ReleaseArmed)
            qAddPostRoutine(ReleaseAll);
        ReleaseArmed = true;
    }
    static void ReleaseAll();

    std::unordered_map<QString, Entry> Faces;
    QHash<QString, QRawFont> Loaded;  // by face without size
    QHash<QString, std::shared_ptr<const ShapingRules>> Rules;
    std::uint64_t Clock = 0;
    // The faces Find returned last, most recent first: the slip alternates
    // between a few fonts, and comparing fonts costs less than their keys.
    struct Recent {
        QFont Font;
        Qt::LayoutDirection Direction = Qt::LeftToRight;
        Entry *Kept = nullptr;  // an element of Faces, which keeps its place
    };
    std::array<Recent, 8> RecentFaces;
    bool ReleaseArmed = false;
};

FaceCache &Cache()
{
    static FaceCache cache;
    return cache;
}

void FaceCache::ReleaseAll()
{
    FaceCache &cache = Cache();
    cache.Faces.clear();
    cache.Loaded.clear();
    cache.RecentFaces = {};
    cache.ReleaseArmed = false;
}

// Characters that QTextLayout would lay out differently from a single line
// of QPainter::drawText (breaks, tabs, objects): those texts are drawn by
// QPainter itself.
bool NeedsPainterLayout(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x2028 || u == 0x2029 || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1)
            return true;
    }
    return false;
}

// Scripts the shaper treats without script-specific rules (no reordering,
// joining, decomposition or composition).
bool IsPlainScript(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
        return true;
    default:
        return false;
    }
}

// Letters, digits, punctuation, symbols and spaces each print one glyph of
// their own at the pen; marks and format characters get special treatment.
bool IsPlainCategory(QChar::Category category)
{
    return (category >= QChar::Number_DecimalDigit && category <= QChar::Separator_Space)
           || (category >= QChar::Letter_Uppercase && category <= QChar::Symbol_Other);
}

bool IsPlainText(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (text[i].isSurrogate()) {
            return false;
        }
        if (!IsPlainScript(QChar::script(c)) || !IsPlainCategory(QChar::category(c)))
            return false;
    }
    return true;
}

// Fonts that lay text out as it stands: no letter or word spacing, no case
// change, left to right.
bool LaysOutAsItStands(const QFont &font, Qt::LayoutDirection direction)
{
    return direction != Qt::RightToLeft && font.capitalization() == QFont::MixedCase && font.letterSpacing() == 0
           && font.wordSpacing() == 0;
}

} // namespace

void ShareLoadedFace(const QFont &font)
{
    Cache().AddLoaded(font);
}

ShapedFace &ShapedFace::For(const QFont &font, Qt::LayoutDirection direction)
{
    return Cache().Find(font, direction);
}

ShapedFace::ShapedFace(const QFont &font, Qt::LayoutDirection direction)
    : Font(font), Direction(direction), Raw(Cache().FaceAtSize(font)), Stamps(Raw)
{
    if (Raw.isValid() && LaysOutAsItStands(font, direction))
        Rules = Cache().RulesOf(Raw);
}

int ShapedFace::Ascent() const
{
    return Raw.isValid() ? qRound(Raw.ascent()) : QFontMetrics(Font).ascent();
}

void ShapedFace::Draw(QPainter &canvas, const QPointF &baseline, const QString &text)
{
    if (NeedsPainterLayout(text)) {
        canvas.setFont(Font);
        canvas.drawText(baseline, text);
        return;
    }
    const LaidOut &laidOut = Runs(text);
    if (laidOut.FromCharacterMap && Stamps.Draw(canvas, baseline, laidOut.Runs.front()))
        return;
    for (const QGlyphRun &run : laidOut.Runs)
        canvas.drawGlyphRun(baseline, run);
}

const ShapedFace::LaidOut &ShapedFace::Runs(const QString &text)
{
    auto it = Texts.constFind(text);
    if (it == Texts.constEnd()) {
        if (Texts.size() >= MaxTextsPerFace)
            Texts.clear();
        QList<QGlyphRun> runs = Unshaped(text);
        const bool fromCharacterMap = !runs.isEmpty();
        it = Texts.insert(text, {fromCharacterMap ? runs : Shaped(text), fromCharacterMap});
    }
    return *it;
}

// The glyphs of the character map at the pen positions of the advances
// before them; nothing when the face lacks a glyph (a fallback face must
// draw it) or its tables would change the text.
QList<QGlyphRun> ShapedFace::Unshaped(const QString &text) const
{
    if (!Rules || text.isEmpty() || !IsPlainText(text))
        return {};
    const QList<quint32> glyphs = Raw.glyphIndexesForString(text);
    if (glyphs.contains(0) || !Rules->LeavesUnchanged(glyphs))
        return {};
    // The last glyph's advance moves no glyph: it is not asked for (asking
    // loads the glyph's outline).
    const QList<QPointF> advances = Raw.advancesForGlyphIndexes(glyphs.first(glyphs.size() - 1));
    QList<QPointF> positions{QPointF()};
    for (const QPointF &advance : advances)
        positions.append(positions.back() + advance);
    QGlyphRun run;
    run.setRawFont(Raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return {run};
}

// One line laid out as QPainter::drawText lays out a text at a point: in the
// painter's direction, starting at x 0, unwrapped.
QList<QGlyphRun> ShapedFace::Shaped(const QString &text) const
{
    QTextLayout layout(text, Font);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Direction);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(0);
    layout.endLayout();
    QList<QGlyphRun> runs = layout.glyphRuns();
    const qreal ascent = line.ascent();
    for (QGlyphRun &run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF &position : positions)
            position.ry() -= ascent;
        run.setPositions(positions);
    }
    return runs;
}

} // namespace mivrel
