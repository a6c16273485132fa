#pragma once
// The word, sentence, line or character of a text at, before or after an
// offset, as assistive technology asks for them. Qt 6.4's own answer,
// QAccessibleTextInterface::textAtOffset, never returns when the offset is the
// end of the text and the unit is a word or a sentence (it steps a
// QTextBoundaryFinder past the end and waits for a position it never
// reaches); a screen reader asking for the word at the caret of a field whose
// caret is at its end hangs the program. These functions answer at every
// offset, the ends included, and every text interface of the program uses
// them.

#include <QAccessible>
#include <QString>

#include <vector>

namespace mivrel {

// One piece of a text: characters [Start, End) and the text itself. An
// offset that lies outside the text gives Start = End = -1 and no text.
struct TextItem {
    int Start = -1;
    int End = -1;
    QString Text;
    bool operator==(const TextItem &) const = default;
};

// Offsets as the accessibility bridge passes them: -1 stands for the end of
// the text and -2 for the caret (`caret`), anything else for itself.
int ResolveTextOffset(int offset, int length, int caret);

// The unit of `text` that holds the character at `offset`; at the end of the
// text, the last unit (so that the word at a caret after the last word is
// that word). The units of a text follow each other without gaps: words and
// the spaces or punctuation between them, sentences, lines with their line
// break, characters as the user sees them, or the whole text.
TextItem TextAtOffset(const QString &text, int offset, QAccessible::TextBoundaryType unit);
// The unit that ends where the unit at `offset` starts; at the end of the
// text, the last unit. Empty at the start of the text.
TextItem TextBeforeOffset(const QString &text, int offset, QAccessible::TextBoundaryType unit);
// The unit that starts where the unit at `offset` ends; empty (at the end)
// when there is none.
TextItem TextAfterOffset(const QString &text, int offset, QAccessible::TextBoundaryType unit);

// Where the units of `text` start, then the text's length: unit k is
// [bounds[k], bounds[k + 1]). A text without characters has no unit.
std::vector<int> UnitBounds(const QString &text, QAccessible::TextBoundaryType unit);
// The same three questions for units given by their bounds: where each unit
// starts (the first at 0), then the text's length; unit k is [bounds[k],
// bounds[k + 1]). Lines as a text field wraps them, for example.
TextItem TextAtOffset(const QString &text, int offset, const std::vector<int> &bounds);
TextItem TextBeforeOffset(const QString &text, int offset, const std::vector<int> &bounds);
TextItem TextAfterOffset(const QString &text, int offset, const std::vector<int> &bounds);

// What a text interface answers for a unit: its text, with its bounds stored
// through the two pointers.
QString AnswerTextItem(const TextItem &item, int *startOffset, int *endOffset);

// The text interface of a text that assistive technology reads but does not
// edit: no caret (it stays at the start), no selection, no attributes, and
// the units of the text at every offset. A derived interface gives the text
// and, if it can tell, where each character lies on the screen.
class ReadOnlyTextInterface : public QAccessibleTextInterface {
public:
    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return static_cast<int>(ReadText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                         int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                            int *endOffset) const override;

protected:
    virtual QString ReadText() const = 0;
};

// Installs the program's own accessible interface for every QLineEdit: Qt's,
// whose word and sentence at the end of the text never return, is replaced
// by one that answers through the functions above. Call once before any line
// edit is asked for; later calls change nothing.
void InstallLineEditAccessibility();

} // namespace mivrel
