#include "Mainunit/EditorAccessible.h"

#include "Verify/TextBoundaries.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <vector>

namespace mivrel {
namespace {

// The object the editor had before its present one, kept for a screen reader
// that has just left it.
const char *const RetiredObjectProperty = "mivrelRetiredAccessible";

// Where the lines the editor shows start, then the text's length: a paragraph
// wrapped at the editor's width is several lines.
std::vector<int> ShownLineBounds(const QPlainTextEdit &editor)
{
    const int length = static_cast<int>(editor.toPlainText().size());
    std::vector<int> bounds{0};
    const auto add = [&bounds, length](int at) {
        if (at > bounds.back() && at < length)
            bounds.push_back(at);
    };
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
        add(block.position());
        const QTextLayout *layout = block.layout();
        for (int i = 1; layout && i < layout->lineCount(); ++i)
            add(block.position() + layout->lineAt(i).textStart());
    }
    if (length > 0)
        bounds.push_back(length);
    return bounds;
}

// What the object answers once the editor has moved on.
struct Remembered {
    QString Name;
    QString Description;
    QRect Rect;
    QAccessible::Role Role = QAccessible::EditableText;
};

class EditorAccessible : public QAccessibleInterface,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
public:
    explicit EditorAccessible(QPlainTextEdit *editor) : Editor(editor), Window(editor->parentWidget()) {}

    // Keeps what the object says now and lets go of the editor.
    void Retire()
    {
        Past = {text(QAccessible::Name), text(QAccessible::Description), rect(), role()};
        Editor = nullptr;
    }

    bool isValid() const override { return !Window.isNull(); }
    QObject *object() const override { return Editor.data(); }
    QWindow *window() const override { return Window ? Window->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(Window.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!Editor)
            return t == QAccessible::Name ? Past.Name : t == QAccessible::Description ? Past.Description : QString();
        switch (t) {
        case QAccessible::Name: return Editor->accessibleName();
        case QAccessible::Description: return Editor->accessibleDescription();
        case QAccessible::Value: return Mark() ? QString() : Editor->toPlainText();
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        return Editor ? QRect(Editor->mapToGlobal(QPoint(0, 0)), Editor->size()) : Past.Rect;
    }
    QAccessible::Role role() const override
    {
        return !Editor ? Past.Role : Mark() ? QAccessible::CheckBox : QAccessible::EditableText;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        if (!Editor)
            return s;
        s.focused = Editor->hasFocus();
        s.invisible = !Editor->isVisible();
        if (Mark()) {
            s.checkable = true;
            s.checked = !Editor->toPlainText().isEmpty();
        } else {
            s.editable = true;
            s.multiLine = true;
            s.selectableText = true;
        }
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (!Editor || Mark())
            return nullptr;
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return nullptr;
    }

    // Text.
    void selection(int index, int *startOffset, int *endOffset) const override
    {
        const QTextCursor cursor = Editor->textCursor();
        const bool selected = index == 0 && cursor.hasSelection();
        *startOffset = selected ? cursor.selectionStart() : 0;
        *endOffset = selected ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return Editor->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override
    {
        if (index != 0)
            return;
        QTextCursor cursor = Editor->textCursor();
        cursor.clearSelection();
        Editor->setTextCursor(cursor);
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index != 0)
            return;
        QTextCursor cursor = CursorAt(startOffset);
        cursor.setPosition(Clamped(endOffset), QTextCursor::KeepAnchor);
        Editor->setTextCursor(cursor);
    }
    int cursorPosition() const override { return Editor->textCursor().position(); }
    void setCursorPosition(int position) override { Editor->setTextCursor(CursorAt(position)); }
    QString text(int startOffset, int endOffset) const override
    {
        return startOffset > endOffset ? QString() : Editor->toPlainText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Editor->toPlainText().size()); }
    QRect characterRect(int offset) const override
    {
        const QString all = Editor->toPlainText();
        if (offset < 0 || offset >= all.size())
            return {};
        const QRect caret = Editor->cursorRect(CursorAt(offset));
        const int width = QFontMetrics(Editor->font()).horizontalAdvance(all.mid(offset, 1));
        return {Editor->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height())};
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return Editor->cursorForPosition(Editor->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        Editor->setTextCursor(CursorAt(endIndex));
        Editor->setTextCursor(CursorAt(startIndex));
        Editor->ensureCursorVisible();
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
        const QString all = Editor->toPlainText();
        const int at = Resolve(offset);
        return Answer(unit == QAccessible::LineBoundary ? TextAtOffset(all, at, ShownLineBounds(*Editor))
                                                        : TextAtOffset(all, at, unit),
                      startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                             int *endOffset) const override
    {
        const QString all = Editor->toPlainText();
        const int at = Resolve(offset);
        return Answer(unit == QAccessible::LineBoundary ? TextBeforeOffset(all, at, ShownLineBounds(*Editor))
                                                        : TextBeforeOffset(all, at, unit),
                      startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                            int *endOffset) const override
    {
        const QString all = Editor->toPlainText();
        const int at = Resolve(offset);
        return Answer(unit == QAccessible::LineBoundary ? TextAfterOffset(all, at, ShownLineBounds(*Editor))
                                                        : TextAfterOffset(all, at, unit),
                      startOffset, endOffset);
    }

    // Editable text.
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        QTextCursor cursor = CursorAt(startOffset);
        cursor.setPosition(Clamped(endOffset), QTextCursor::KeepAnchor);
        cursor.insertText(text);
    }

private:
    bool Mark() const { return Editor->isReadOnly(); }
    int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    QTextCursor CursorAt(int offset) const
    {
        QTextCursor cursor(Editor->document());
        cursor.setPosition(Clamped(offset));
        return cursor;
    }
    int Resolve(int offset) const { return ResolveTextOffset(offset, characterCount(), cursorPosition()); }
    static QString Answer(const TextItem &item, int *startOffset, int *endOffset)
    {
        *startOffset = item.Start;
        *endOffset = item.End;
        return item.Text;
    }

    QPointer<QPlainTextEdit> Editor;  // null once retired
    QPointer<QWidget> Window;
    Remembered Past;
};

} // namespace

QAccessibleInterface *MakeEditorAccessible(QPlainTextEdit *editor)
{
    return new EditorAccessible(editor);
}

// Qt keeps, besides its objects, a table from widgets to their objects. The
// retired object no longer names the editor, and a placeholder takes the
// editor's entry and is deleted with it, so that Qt makes a new object for
// the editor when next asked, while the retired one lives on.
void RenewEditorObject(QPlainTextEdit &editor)
{
    QAccessibleInterface *current = QAccessible::queryAccessibleInterface(&editor);
    auto *retiring = dynamic_cast<EditorAccessible *>(current);
    if (!retiring)
        return;
    retiring->Retire();
    QAccessible::deleteAccessibleInterface(
        QAccessible::registerAccessibleInterface(new QAccessibleWidget(&editor)));
    if (const QVariant before = editor.property(RetiredObjectProperty); before.isValid())
        QAccessible::deleteAccessibleInterface(before.value<QAccessible::Id>());
    editor.setProperty(RetiredObjectProperty, QVariant::fromValue(QAccessible::uniqueId(current)));
}

} // namespace mivrel
