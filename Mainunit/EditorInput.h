#pragma once
// The slip editor and the input method. In text, amount and count cells the
// editor takes composed text as any text box does; in mark cells it takes
// none and says so to the input method, whichever it is (IBus asks along with
// other queries, fcitx5 alone), so that every key reaches the mark's toggle.
// A composition still open when the editor leaves its cell is committed into
// that cell's text first, never carried over into the next cell: neither when
// the input method keeps it, nor when it commits it once more on its own.

#include <QObject>
#include <QString>

class QInputMethodEvent;
class QInputMethodQueryEvent;
class QPlainTextEdit;

namespace mivrel {

class EditorInput : public QObject {
public:
    // Watches `editor` through an event filter; lives as the editor's child.
    explicit EditorInput(QPlainTextEdit &editor);

    // Composed text on (text, amount and count cells) or off (mark cells,
    // where the editor is also read-only and refuses dropped text). The input
    // method hears of it at once while the editor has the focus.
    void TakeComposedText(bool take);

    // Puts an open composition into the editor's text, as the input method
    // would on confirmation, and has the input method drop it, so that it
    // cannot come back in another cell.
    void CommitComposition();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The composition the editor shows and has not committed yet.
    QString ShownComposition() const;
    bool Composing() const;
    bool AnswerWithoutComposedText(QInputMethodQueryEvent &query);
    bool IsRepeatOfCommitted(const QInputMethodEvent &event);

    QPlainTextEdit &Editor;
    bool TakesComposedText = true;
    // The composition last committed here, as long as an input method may
    // still commit it again: until the editor gets any other input.
    QString Committed;
};

} // namespace mivrel
