// Text placement without measuring: the character cell of size s is the unit,
// counted in code page 932 bytes (two bytes make one cell).

#include "slip/SlipDraw.h"

#include "slip/ShapedText.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace mivrel {

namespace {

std::int32_t Narrow(std::int64_t value) { return static_cast<std::int32_t>(value); }
std::int64_t AtLeast0(std::int64_t value) { return std::max<std::int64_t>(0, value); }

// Code page 932 takes one byte for ASCII and half-width katakana.
bool IsSingleByte(char32_t c) { return c <= 0x7F || (c >= 0xFF61 && c <= 0xFF9F); }

// A text seen as its code page 932 bytes. Each character belongs to the byte
// where it starts, so a unit boundary that falls inside a double-byte
// character keeps the whole character in the unit holding its first byte.
class Cp932Text {
public:
    explicit Cp932Text(const QString &text) : text_(text)
    {
        qsizetype i = 0;
        std::int64_t bytes = 0;
        while (i < text.size()) {
            charPos_.push_back(i);
            bytePos_.push_back(bytes);
            const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
                              && text.at(i + 1).isLowSurrogate();
            const char32_t c = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                    : text.at(i).unicode();
            i += pair ? 2 : 1;
            bytes += IsSingleByte(c) ? 1 : 2;
        }
        charPos_.push_back(text.size());
        bytePos_.push_back(bytes);
    }

    const QString &Text() const { return text_; }
    std::int64_t Bytes() const { return bytePos_.back(); }

    // Character cells to spread or stack: two bytes each. A lone half-width
    // character is one cell of its own rather than nothing.
    std::int64_t Units() const { return Bytes() == 1 ? 1 : Bytes() / 2; }

    // Unit k of `units`; the last one also takes a trailing odd byte, so
    // every character of the text is placed somewhere.
    QString Unit(std::int64_t k, std::int64_t units) const
    {
        return Slice(2 * k, k + 1 == units ? Bytes() : 2 * k + 2);
    }

    // The characters whose first byte lies in [from, to).
    QString Slice(std::int64_t from, std::int64_t to) const
    {
        const qsizetype first = CharStartingAtOrAfter(from);
        const qsizetype last = CharStartingAtOrAfter(to);
        return text_.mid(charPos_[first], charPos_[last] - charPos_[first]);
    }

private:
    qsizetype CharStartingAtOrAfter(std::int64_t byte) const
    {
        const std::int64_t clamped = std::clamp<std::int64_t>(byte, 0, Bytes());
        return std::lower_bound(bytePos_.begin(), bytePos_.end(), clamped) - bytePos_.begin();
    }

    QString text_;
    std::vector<qsizetype> charPos_;    // index in text_ of each character, then text_.size()
    std::vector<std::int64_t> bytePos_; // its first byte, then the total length
};

struct Box {
    std::int64_t X, Y, W, H;
};

void Add(std::vector<TextPiece> &pieces, const QString &text, std::int64_t x, std::int64_t y)
{
    pieces.push_back({text, Narrow(x), Narrow(y)});
}

// SpreadH: one line, the units spread from the left margin to the right one;
// a single unit is centred. Vertically the larger half of the free space
// goes above the text.
void SpreadAcross(std::vector<TextPiece> &pieces, const Cp932Text &text, const Box &box,
                  std::int64_t s, std::int64_t m)
{
    const std::int64_t n = text.Units();
    if (n == 0)
        return;
    const std::int64_t free = box.H - s;
    const std::int64_t y = box.Y + AtLeast0(free - AtLeast0(free / 2));
    if (n == 1) {
        Add(pieces, text.Text(), box.X + AtLeast0((box.W - s) / 2), y);
        return;
    }
    const std::int64_t span = AtLeast0(box.W - s - 2 * m);
    for (std::int64_t k = 0; k < n; ++k)
        Add(pieces, text.Unit(k, n), box.X + m + k * span / (n - 1), y);
}

// SpreadH2 / SpreadH3: the text cut into lines of 2 x charsPerLine bytes,
// each line spread in its own strip of h / lines. With two lines the second
// takes all the rest; with three, bytes past the third line are not drawn.
void SpreadLines(std::vector<TextPiece> &pieces, const Cp932Text &text, const Box &box,
                 std::int64_t s, std::int64_t m, std::int64_t charsPerLine, std::int64_t lines)
{
    const std::int64_t lineBytes = 2 * charsPerLine;
    const std::int64_t strip = box.H / lines;
    for (std::int64_t i = 0; i < lines; ++i) {
        const bool rest = lines == 2 && i == 1;
        const QString line = text.Slice(i * lineBytes, rest ? text.Bytes() : (i + 1) * lineBytes);
        SpreadAcross(pieces, Cp932Text(line), {box.X, box.Y + i * strip, box.W, strip}, s, m);
    }
}

// SpreadV: one column, the units spread from the top margin to the bottom
// one; a single unit is centred. Horizontally the larger half of the free
// space goes left of the text.
void SpreadDown(std::vector<TextPiece> &pieces, const Cp932Text &text, const Box &box,
                std::int64_t s, std::int64_t m)
{
    const std::int64_t n = text.Units();
    if (n == 0)
        return;
    const std::int64_t free = box.W - s;
    const std::int64_t x = box.X + AtLeast0(free - AtLeast0(free / 2));
    if (n == 1) {
        Add(pieces, text.Text(), x, box.Y + AtLeast0((box.H - s) / 2));
        return;
    }
    const std::int64_t span = AtLeast0(box.H - s - 2 * m);
    for (std::int64_t k = 0; k < n; ++k)
        Add(pieces, text.Unit(k, n), x, box.Y + m + k * span / (n - 1));
}

// StackV: the units one under the other without gaps, the block centred.
void StackDown(std::vector<TextPiece> &pieces, const Cp932Text &text, const Box &box,
               std::int64_t s)
{
    const std::int64_t n = text.Units();
    const std::int64_t x = box.X + AtLeast0((box.W - s) / 2);
    const std::int64_t y = box.Y + AtLeast0((box.H - n * s) / 2);
    for (std::int64_t k = 0; k < n; ++k)
        Add(pieces, text.Unit(k, n), x, y + k * s);
}

// The corner rules place the whole text; right alignment takes n x s as the
// text's width.
void PlaceInCorner(std::vector<TextPiece> &pieces, const Cp932Text &text, const Box &box,
                   std::int64_t s, std::int64_t m, std::uint8_t placement)
{
    if (text.Bytes() == 0)
        return;
    const bool right = placement == TopRight || placement == BottomRight;
    const bool bottom = placement == BottomLeft || placement == BottomRight;
    const std::int64_t x = right ? AtLeast0(box.W - text.Units() * s - m)
                                 : (bottom ? AtLeast0(m) : m);
    const std::int64_t y = bottom ? AtLeast0(box.H - s - m) : m;
    Add(pieces, text.Text(), box.X + x, box.Y + y);
}

} // namespace

namespace {

// The families InstalledFamily has answered, by face; cleared when the
// substitutions are installed.
QHash<QString, QString> &InstalledFamilies()
{
    static QHash<QString, QString> families;
    return families;
}

// Whether `families` (as QFontDatabase lists them, "Name" or "Name [Foundry]")
// holds `family`.
bool Lists(const QStringList &families, const QString &family)
{
    for (const QString &listed : families)
        if (listed.startsWith(family, Qt::CaseInsensitive)
            && (listed.size() == family.size() || listed.mid(family.size()).startsWith(QLatin1String(" ["))))
            return true;
    return false;
}

} // namespace

void InstallFaceSubstitutions()
{
    InstalledFamilies().clear();
    QFont::insertSubstitutions(MinchoFace, {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")});
    QFont::insertSubstitutions(GothicFace, {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    // The dialogs' fixed label positions expect a fixed-pitch UI face: half-width
    // digits exactly half a full-width character wide.
    QFont::insertSubstitutions(SystemFace, {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                                            QStringLiteral("Noto Sans CJK JP")});
}

QString InstalledFamily(const QString &face)
{
    auto it = InstalledFamilies().constFind(face);
    if (it == InstalledFamilies().constEnd()) {
        const QStringList installed = QFontDatabase::families();
        QString family = face;
        for (const QString &candidate : QStringList(face) + QFont::substitutes(face))
            if (Lists(installed, candidate)) {
                family = candidate;
                break;
            }
        it = InstalledFamilies().insert(face, family);
    }
    return *it;
}

void SetFontSizes(TFontInfoSet &fonts, std::int32_t slipWidth)
{
    fonts.Entries[FontLarge].Size = slipWidth / 50;
    fonts.Entries[FontMedium].Size = slipWidth / 60;
    fonts.Entries[FontSmall].Size = slipWidth / 70;
}

std::vector<TextPiece> PlaceCharDraw(const TCharDraw &item)
{
    const Cp932Text text(item.Text);
    const Box box{item.X, item.Y, item.Width, item.Height};
    const std::int64_t s = item.Size;
    const std::int64_t m = item.Margin * s / 10;

    std::vector<TextPiece> pieces;
    switch (item.Placement) {
    case 0:
    case SpreadH:
        SpreadAcross(pieces, text, box, s, m);
        break;
    case SpreadH2:
        SpreadLines(pieces, text, box, s, m, item.CharsPerLine, 2);
        break;
    case SpreadH3:
        SpreadLines(pieces, text, box, s, m, item.CharsPerLine, 3);
        break;
    case TopLeft:
    case BottomLeft:
    case TopRight:
    case BottomRight:
        PlaceInCorner(pieces, text, box, s, m, item.Placement);
        break;
    case SpreadV:
        SpreadDown(pieces, text, box, s, m);
        break;
    case StackV:
        StackDown(pieces, text, box, s);
        break;
    default:
        break;
    }
    return pieces;
}

void DrawCharDraw(QPainter &canvas, const TCharDraw &item)
{
    if (item.Size <= 0)
        return;
    const std::vector<TextPiece> pieces = PlaceCharDraw(item);
    if (pieces.empty())
        return;
    QFont font = canvas.font();
    font.setPixelSize(item.Size);
    canvas.setPen(canvas.pen().color());  // text needs a pen, whatever style the lines left
    canvas.setBackgroundMode(Qt::TransparentMode);
    ShapedFace &face = ShapedFace::For(font, canvas.layoutDirection());
    const std::int64_t ascent = face.Ascent();
    for (const TextPiece &piece : pieces)
        face.Draw(canvas, QPoint(piece.X, Narrow(piece.Y + ascent)), piece.Text);
}

} // namespace mivrel
