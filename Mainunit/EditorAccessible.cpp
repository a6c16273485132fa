#include "Mainunit/EditorAccessible.h"

#include "Verify/PlainTextAccessible.h"

#include <QAccessibleWidget>
#include <QPlainTextEdit>

namespace mivrel {
namespace {

// The object the editor had before its present one, kept for a screen reader
// that has just left it.
const char *const RetiredObjectProperty = "mivrelRetiredAccessible";

// What the object answers once the editor has moved on.
struct Remembered {
    QString Name;
    QString Description;
    QRect Rect;
    QAccessible::Role Role = QAccessible::EditableText;
};

// The editor: its shown lines are its lines; on a mark cell a check box.
class EditorAccessible : public PlainTextAccessible {
public:
    explicit EditorAccessible(QPlainTextEdit *editor) : PlainTextAccessible(editor, Lines::Shown) {}

    // Keeps what the object says now and lets go of the editor.
    void Retire()
    {
        Past = {text(QAccessible::Name), text(QAccessible::Description), rect(), role()};
        LetGo();
    }

    QString text(QAccessible::Text t) const override
    {
        if (!Edit())
            return t == QAccessible::Name ? Past.Name : t == QAccessible::Description ? Past.Description : QString();
        return t == QAccessible::Value && Mark() ? QString() : PlainTextAccessible::text(t);
    }
    QRect rect() const override { return Edit() ? PlainTextAccessible::rect() : Past.Rect; }
    QAccessible::Role role() const override
    {
        return !Edit() ? Past.Role : Mark() ? QAccessible::CheckBox : QAccessible::EditableText;
    }
    // The box is filled through the editor: never read-only but on a mark
    // cell, where every key toggles the check box.
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        if (!Edit())
            return s;
        s = PlainTextAccessible::state();
        if (Mark()) {
            s.readOnly = s.editable = s.multiLine = s.selectableText = false;
            s.checkable = true;
            s.checked = !Edit()->toPlainText().isEmpty();
        }
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return !Edit() || Mark() ? nullptr : PlainTextAccessible::interface_cast(type);
    }

private:
    bool Mark() const { return Edit()->isReadOnly(); }

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
