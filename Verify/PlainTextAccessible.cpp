#include "Verify/PlainTextAccessible.h"

#include "Verify/TextBoundaries.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <vector>

namespace mivrel {
namespace {

const char *const ParagraphLinesProperty = "mivrelParagraphLines";

QAccessibleInterface *ParagraphLinesFactory(const QString &className, QObject *object)
{
    if (className != QLatin1StringView("QPlainTextEdit") || !object->property(ParagraphLinesProperty).toBool())
        return nullptr;
    return new PlainTextAccessible(static_cast<QPlainTextEdit *>(object), PlainTextAccessible::Lines::Paragraphs);
}

// Where the lines shown start, then the text's length: a paragraph wrapped at
// the widget's width is several lines.
std::vector<int> ShownLineBounds(const QPlainTextEdit &edit, int length)
{
    std::vector<int> bounds{0};
    const auto add = [&bounds, length](int at) {
        if (at > bounds.back() && at < length)
            bounds.push_back(at);
    };
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        add(block.position());
        const QTextLayout *layout = block.layout();
        for (int i = 1; layout && i < layout->lineCount(); ++i)
            add(block.position() + layout->lineAt(i).textStart());
    }
    if (length > 0)
        bounds.push_back(length);
    return bounds;
}

} // namespace

PlainTextAccessible::PlainTextAccessible(QPlainTextEdit *edit, Lines lines)
    : EditWidget(edit), ParentWidget(edit->parentWidget()), LineKind(lines)
{
}

bool PlainTextAccessible::isValid() const { return !ParentWidget.isNull(); }
QObject *PlainTextAccessible::object() const { return Edit(); }
QWindow *PlainTextAccessible::window() const
{
    return ParentWidget ? ParentWidget->window()->windowHandle() : nullptr;
}
QAccessibleInterface *PlainTextAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(ParentWidget.data());
}

QString PlainTextAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: return Edit()->accessibleName();
    case QAccessible::Description: return Edit()->accessibleDescription();
    case QAccessible::Value: return Edit()->toPlainText();
    default: return {};
    }
}

QRect PlainTextAccessible::rect() const
{
    return QRect(Edit()->mapToGlobal(QPoint(0, 0)), Edit()->size());
}

QAccessible::State PlainTextAccessible::state() const
{
    QAccessible::State s;
    s.focusable = true;
    s.focused = Edit()->hasFocus();
    s.invisible = !Edit()->isVisible();
    s.readOnly = Edit()->isReadOnly();
    s.editable = !s.readOnly;
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

void *PlainTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface && !Edit()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return nullptr;
}

void PlainTextAccessible::selection(int index, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = Edit()->textCursor();
    const bool selected = index == 0 && cursor.hasSelection();
    *startOffset = selected ? cursor.selectionStart() : 0;
    *endOffset = selected ? cursor.selectionEnd() : 0;
}

int PlainTextAccessible::selectionCount() const { return Edit()->textCursor().hasSelection() ? 1 : 0; }

void PlainTextAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void PlainTextAccessible::removeSelection(int index)
{
    if (index != 0)
        return;
    QTextCursor cursor = Edit()->textCursor();
    cursor.clearSelection();
    Edit()->setTextCursor(cursor);
}

void PlainTextAccessible::setSelection(int index, int startOffset, int endOffset)
{
    if (index != 0)
        return;
    QTextCursor cursor = CursorAt(startOffset);
    cursor.setPosition(CursorAt(endOffset).position(), QTextCursor::KeepAnchor);
    Edit()->setTextCursor(cursor);
}

int PlainTextAccessible::cursorPosition() const { return Edit()->textCursor().position(); }

void PlainTextAccessible::setCursorPosition(int position) { Edit()->setTextCursor(CursorAt(position)); }

QString PlainTextAccessible::text(int startOffset, int endOffset) const
{
    return startOffset > endOffset ? QString() : Edit()->toPlainText().mid(startOffset, endOffset - startOffset);
}

int PlainTextAccessible::characterCount() const { return static_cast<int>(Edit()->toPlainText().size()); }

QRect PlainTextAccessible::characterRect(int offset) const
{
    const QString all = Edit()->toPlainText();
    if (offset < 0 || offset >= all.size())
        return {};
    const QRect caret = Edit()->cursorRect(CursorAt(offset));
    const int width = QFontMetrics(Edit()->font()).horizontalAdvance(all.mid(offset, 1));
    return {Edit()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height())};
}

int PlainTextAccessible::offsetAtPoint(const QPoint &point) const
{
    return Edit()->cursorForPosition(Edit()->viewport()->mapFromGlobal(point)).position();
}

void PlainTextAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    Edit()->setTextCursor(CursorAt(endIndex));
    Edit()->setTextCursor(CursorAt(startIndex));
    Edit()->ensureCursorVisible();
}

// Plain text: one run without attributes, the whole text.
QString PlainTextAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

// One text unit around `offset`: lines as the widget shows them (or its
// paragraphs), other units by the text's own boundaries.
QString PlainTextAccessible::AnswerUnit(UnitFinder byUnit, BoundsFinder byBounds, int offset,
                                        QAccessible::TextBoundaryType unit, int *startOffset, int *endOffset) const
{
    const QString all = Edit()->toPlainText();
    return AnswerTextItem(unit == QAccessible::LineBoundary ? byBounds(all, Resolve(offset), LineBounds())
                                                            : byUnit(all, Resolve(offset), unit),
                          startOffset, endOffset);
}

QString PlainTextAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                                          int *endOffset) const
{
    return AnswerUnit(TextAtOffset, TextAtOffset, offset, unit, startOffset, endOffset);
}

QString PlainTextAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                                              int *endOffset) const
{
    return AnswerUnit(TextBeforeOffset, TextBeforeOffset, offset, unit, startOffset, endOffset);
}

QString PlainTextAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                                             int *endOffset) const
{
    return AnswerUnit(TextAfterOffset, TextAfterOffset, offset, unit, startOffset, endOffset);
}

void PlainTextAccessible::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, {}); }

void PlainTextAccessible::insertText(int offset, const QString &text) { replaceText(offset, offset, text); }

void PlainTextAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    QTextCursor cursor = CursorAt(startOffset);
    cursor.setPosition(CursorAt(endOffset).position(), QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

std::vector<int> PlainTextAccessible::LineBounds() const
{
    const QString all = Edit()->toPlainText();
    if (LineKind == Lines::Paragraphs)
        return UnitBounds(all, QAccessible::ParagraphBoundary);
    return ShownLineBounds(*Edit(), static_cast<int>(all.size()));
}

QTextCursor PlainTextAccessible::CursorAt(int offset) const
{
    QTextCursor cursor(Edit()->document());
    cursor.setPosition(std::clamp(offset, 0, characterCount()));
    return cursor;
}

int PlainTextAccessible::Resolve(int offset) const
{
    return ResolveTextOffset(offset, characterCount(), cursorPosition());
}

void ReadParagraphsAsLines(QPlainTextEdit &edit)
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(ParagraphLinesFactory), true);
    edit.setProperty(ParagraphLinesProperty, true);
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&edit)));
}

} // namespace mivrel
