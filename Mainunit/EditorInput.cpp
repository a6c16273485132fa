#include "Mainunit/EditorInput.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

namespace mivrel {

EditorInput::EditorInput(QPlainTextEdit &editor)
    : QObject(&editor), Editor(editor)
{
    editor.installEventFilter(this);
}

void EditorInput::TakeComposedText(bool take)
{
    TakesComposedText = take;
    Editor.setReadOnly(!take);
    Editor.setAttribute(Qt::WA_InputMethodEnabled, take);
    // The editor usually keeps the focus from cell to cell, so no change of
    // focus tells the input method: tell it here, or it goes on taking the
    // keys of a mark cell, or leaves the keys of the next cell alone.
    if (Editor.hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

QString EditorInput::ShownComposition() const
{
    const QTextLayout *layout = Editor.textCursor().block().layout();
    return layout ? layout->preeditAreaText() : QString();
}

bool EditorInput::Composing() const
{
    return !ShownComposition().isEmpty();
}

// Input methods answer a request to commit differently: IBus commits on
// QInputMethod::commit(), fcitx5 ignores that and commits on reset(). What an
// input method neither commits nor drops on request the editor takes as it
// is shown. Some also commit the composition again on their own once asked
// (IBus with Mozc does, a moment later): by then the editor is on another
// cell, which must not receive it.
void EditorInput::CommitComposition()
{
    const QString shown = ShownComposition();
    if (shown.isEmpty())
        return;
    if (QGuiApplication::focusObject() == &Editor) {
        QInputMethod *method = QGuiApplication::inputMethod();
        method->commit();
        if (Composing())
            method->reset();
    }
    if (Composing()) {
        QInputMethodEvent confirm;
        confirm.setCommitString(ShownComposition());
        QCoreApplication::sendEvent(&Editor, &confirm);
    }
    Committed = shown;
}

bool EditorInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &Editor)
        return false;
    switch (event->type()) {
    case QEvent::InputMethod:
        return IsRepeatOfCommitted(*static_cast<QInputMethodEvent *>(event)) || !TakesComposedText;
    case QEvent::InputMethodQuery:
        return !TakesComposedText && AnswerWithoutComposedText(*static_cast<QInputMethodQueryEvent *>(event));
    case QEvent::Drop:
        return !TakesComposedText;
    case QEvent::KeyPress:
        Committed.clear();
        return false;
    default:
        return false;
    }
}

// An event that neither composes nor commits (the input method hiding its
// composition) changes nothing; a commit of exactly the composition just
// committed here is that composition again; anything else is new input.
bool EditorInput::IsRepeatOfCommitted(const QInputMethodEvent &event)
{
    if (Committed.isEmpty() || (event.commitString().isEmpty() && event.preeditString().isEmpty()))
        return false;
    const bool repeat = event.commitString() == Committed && event.preeditString().isEmpty()
        && event.replacementLength() == 0;
    Committed.clear();
    return repeat;
}

// A read-only text box still tells an input method that it takes composed
// text. Whatever else the input method asks along with that, the editor
// answers as usual.
bool EditorInput::AnswerWithoutComposedText(QInputMethodQueryEvent &query)
{
    if (!(query.queries() & Qt::ImEnabled))
        return false;
    static_cast<QObject &>(Editor).event(&query);
    query.setValue(Qt::ImEnabled, false);
    return true;
}

} // namespace mivrel
