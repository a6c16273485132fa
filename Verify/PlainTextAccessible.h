#pragma once
// A QPlainTextEdit as assistive technology meets it: a multi-line text field
// (read-only or editable) named as the widget is, whose words, sentences and
// characters come from TextBoundaries. Its lines are the lines it shows, or,
// for a list of findings, its paragraphs, so that a screen reader reads a
// finding whole wherever it wraps.

#include "Verify/TextBoundaries.h"

#include <QAccessible>
#include <QPointer>

class QPlainTextEdit;
class QTextCursor;

namespace mivrel {

class PlainTextAccessible : public QAccessibleInterface,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
public:
    enum class Lines { Shown, Paragraphs };
    PlainTextAccessible(QPlainTextEdit *edit, Lines lines);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // Text.
    void selection(int index, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int index) override;
    void setSelection(int index, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                         int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                            int *endOffset) const override;

    // Editable text (offered while the widget is not read-only).
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

protected:
    // The widget; a subclass may let go of it (then null), and answers for
    // itself from then on.
    QPlainTextEdit *Edit() const { return EditWidget.data(); }
    void LetGo() { EditWidget = nullptr; }

private:
    using UnitFinder = TextItem (*)(const QString &, int, QAccessible::TextBoundaryType);
    using BoundsFinder = TextItem (*)(const QString &, int, const std::vector<int> &);
    QString AnswerUnit(UnitFinder byUnit, BoundsFinder byBounds, int offset, QAccessible::TextBoundaryType unit,
                       int *startOffset, int *endOffset) const;
    std::vector<int> LineBounds() const;
    QTextCursor CursorAt(int offset) const;
    int Resolve(int offset) const;

    QPointer<QPlainTextEdit> EditWidget;
    QPointer<QWidget> ParentWidget;
    Lines LineKind;
};

// Every QPlainTextEdit given here reads its paragraphs as lines. Call before
// assistive technology asks for the widget (its object is made anew).
void ReadParagraphsAsLines(QPlainTextEdit &edit);

} // namespace mivrel
