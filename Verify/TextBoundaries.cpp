#include "Verify/TextBoundaries.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace mivrel {
namespace {

TextItem Unit(const QString &text, const std::vector<int> &bounds, std::size_t index)
{
    const int start = bounds[index];
    const int end = bounds[index + 1];
    return {start, end, text.mid(start, end - start)};
}

TextItem EmptyAt(int offset)
{
    return {offset, offset, QString()};
}

// The index of the unit holding `offset` (0 <= offset < length); the last
// unit for the end of the text.
std::size_t UnitIndex(const std::vector<int> &bounds, int offset)
{
    const auto after = std::upper_bound(bounds.begin(), bounds.end(), offset);
    const auto index = static_cast<std::size_t>(after - bounds.begin()) - 1;
    return std::min(index, bounds.size() - 2);
}

bool InText(const QString &text, int offset)
{
    return offset >= 0 && offset <= text.size();
}

QLineEdit *LineEditOf(QWidget *widget)
{
    return static_cast<QLineEdit *>(widget);
}

// A QLineEdit for assistive technology: an editable text field whose name is
// its accessible name or its caption (buddy), whose value is its text, and
// whose text interface answers every offset. Typed characters reach assistive
// technology through the line edit's own text events, which Qt sends for it.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return edit()->text();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t == QAccessible::Value && !edit()->isReadOnly())
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.selectableText = true;
        s.selected = edit()->hasSelectedText();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Text.
    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index != 0 || !edit()->hasSelectedText())
            return;
        *startOffset = edit()->selectionStart();
        *endOffset = edit()->selectionEnd();
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset)
            return {};
        return edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    // Where the character stands while the text is not scrolled: after the
    // frame, the text margin and the characters before it.
    QRect characterRect(int offset) const override
    {
        const QString all = edit()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        const QFontMetrics metrics(edit()->font());
        const int frame = edit()->hasFrame() ? edit()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QRect inside = edit()->contentsRect().marginsRemoved(edit()->textMargins());
        const int x = inside.left() + frame + 2 + metrics.horizontalAdvance(all.left(offset));
        const int y = inside.center().y() - metrics.height() / 2;
        const QRect local(x, y, metrics.horizontalAdvance(all.mid(offset, 1)), metrics.height());
        return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        // Plain text: one run without attributes, the whole text.
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                         int *endOffset) const override
    {
        return AnswerTextItem(TextAtOffset(edit()->text(), Resolve(offset), unit), startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                             int *endOffset) const override
    {
        return AnswerTextItem(TextBeforeOffset(edit()->text(), Resolve(offset), unit), startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                            int *endOffset) const override
    {
        return AnswerTextItem(TextAfterOffset(edit()->text(), Resolve(offset), unit), startOffset, endOffset);
    }

    // Editable text.
    void deleteText(int startOffset, int endOffset) override
    {
        edit()->setText(edit()->text().remove(startOffset, endOffset - startOffset));
    }
    void insertText(int offset, const QString &text) override
    {
        edit()->setText(edit()->text().insert(offset, text));
    }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit *edit() const { return LineEditOf(widget()); }
    int Resolve(int offset) const
    {
        return ResolveTextOffset(offset, characterCount(), edit()->cursorPosition());
    }
};

QAccessibleInterface *LineEditFactory(const QString &className, QObject *object)
{
    if (className != QLatin1StringView("QLineEdit"))
        return nullptr;
    auto *edit = qobject_cast<QLineEdit *>(object);
    return edit ? new LineEditAccessible(edit) : nullptr;
}

} // namespace

std::vector<int> UnitBounds(const QString &text, QAccessible::TextBoundaryType unit)
{
    const int length = static_cast<int>(text.size());
    std::vector<int> bounds{0};
    const auto add = [&bounds, length](int at) {
        if (at > bounds.back() && at < length)
            bounds.push_back(at);
    };
    switch (unit) {
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        for (int i = 0; i < length; ++i)
            if (text[i] == u'\n')
                add(i + 1);
        break;
    case QAccessible::CharBoundary:
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary: {
        const auto type = unit == QAccessible::CharBoundary ? QTextBoundaryFinder::Grapheme
                        : unit == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                             : QTextBoundaryFinder::Sentence;
        // Words end where a word starts or ends; a boundary inside a run of
        // spaces or punctuation is no end of a word.
        const auto ends = QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
        QTextBoundaryFinder finder(type, text);
        // toNextBoundary() gives -1 once past the end: the positions only grow
        // until then, so the walk ends.
        for (qsizetype at = finder.toNextBoundary(); at > 0 && at < length; at = finder.toNextBoundary())
            if (unit != QAccessible::WordBoundary || (finder.boundaryReasons() & ends))
                add(static_cast<int>(at));
        break;
    }
    case QAccessible::NoBoundary:
        break;
    }
    if (length > 0)
        bounds.push_back(length);
    return bounds;
}

int ResolveTextOffset(int offset, int length, int caret)
{
    if (offset == -1)
        return length;
    if (offset == -2)
        return caret;
    return offset;
}

TextItem TextAtOffset(const QString &text, int offset, const std::vector<int> &bounds)
{
    if (!InText(text, offset))
        return {};
    if (bounds.size() < 2)
        return EmptyAt(offset);
    return Unit(text, bounds, UnitIndex(bounds, offset));
}

TextItem TextBeforeOffset(const QString &text, int offset, const std::vector<int> &bounds)
{
    if (!InText(text, offset))
        return {};
    if (bounds.size() < 2)
        return EmptyAt(offset);
    if (offset == text.size())
        return Unit(text, bounds, bounds.size() - 2);
    const std::size_t index = UnitIndex(bounds, offset);
    return index == 0 ? EmptyAt(0) : Unit(text, bounds, index - 1);
}

TextItem TextAfterOffset(const QString &text, int offset, const std::vector<int> &bounds)
{
    if (!InText(text, offset))
        return {};
    const int length = static_cast<int>(text.size());
    if (bounds.size() < 2 || offset == length)
        return EmptyAt(length);
    const std::size_t index = UnitIndex(bounds, offset);
    return index + 2 < bounds.size() ? Unit(text, bounds, index + 1) : EmptyAt(length);
}

TextItem TextAtOffset(const QString &text, int offset, QAccessible::TextBoundaryType unit)
{
    return TextAtOffset(text, offset, UnitBounds(text, unit));
}

TextItem TextBeforeOffset(const QString &text, int offset, QAccessible::TextBoundaryType unit)
{
    return TextBeforeOffset(text, offset, UnitBounds(text, unit));
}

TextItem TextAfterOffset(const QString &text, int offset, QAccessible::TextBoundaryType unit)
{
    return TextAfterOffset(text, offset, UnitBounds(text, unit));
}

QString AnswerTextItem(const TextItem &item, int *startOffset, int *endOffset)
{
    *startOffset = item.Start;
    *endOffset = item.End;
    return item.Text;
}

void ReadOnlyTextInterface::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString ReadOnlyTextInterface::text(int startOffset, int endOffset) const
{
    return startOffset > endOffset ? QString() : ReadText().mid(startOffset, endOffset - startOffset);
}

int ReadOnlyTextInterface::offsetAtPoint(const QPoint &point) const
{
    for (int offset = 0; offset < characterCount(); ++offset)
        if (characterRect(offset).contains(point))
            return offset;
    return -1;
}

// Plain text: one run without attributes, the whole text.
QString ReadOnlyTextInterface::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QString ReadOnlyTextInterface::textAtOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                                            int *endOffset) const
{
    const QString all = ReadText();
    return AnswerTextItem(TextAtOffset(all, ResolveTextOffset(offset, int(all.size()), 0), unit), startOffset,
                          endOffset);
}

QString ReadOnlyTextInterface::textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                                                int *endOffset) const
{
    const QString all = ReadText();
    return AnswerTextItem(TextBeforeOffset(all, ResolveTextOffset(offset, int(all.size()), 0), unit), startOffset,
                          endOffset);
}

QString ReadOnlyTextInterface::textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                                               int *endOffset) const
{
    const QString all = ReadText();
    return AnswerTextItem(TextAfterOffset(all, ResolveTextOffset(offset, int(all.size()), 0), unit), startOffset,
                          endOffset);
}

void InstallLineEditAccessibility()
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(LineEditFactory), true);
}

} // namespace mivrel
