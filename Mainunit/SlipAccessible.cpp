#include "Mainunit/SlipAccessible.h"

#include "Mainunit/EditorAccessible.h"
#include "Mainunit/Mainunit.h"
#include "Verify/Announcer.h"
#include "Verify/Kyuho.h"
#include "Verify/TextBoundaries.h"
#include "slip/SlipDraw.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace mivrel {
namespace {

const QString EditorName = QStringLiteral("MemoGen");
// No ○ in what is spoken: a speech synthesiser names it as a shape.
const QString MarkEditorHint = QStringLiteral("キーを押すたびに印が付いたり消えたりします");

// The input cells in ascending order, which is also the keyboard order; a
// cell's child index among the slip's cells is its place in this list.
const std::vector<std::uint8_t> &InputCells()
{
    static const std::vector<std::uint8_t> cells = [] {
        std::vector<std::uint8_t> list;
        for (int cell = 0; cell < CellCount; ++cell)
            if (IsInputCell(static_cast<std::uint8_t>(cell)))
                list.push_back(static_cast<std::uint8_t>(cell));
        return list;
    }();
    return cells;
}

// A cell's value as the slip shows it, without the padding that right-aligns
// amounts and counts in their boxes.
QString ShownValue(const TfrmMain &frm, std::uint8_t cell)
{
    return CellValueText(frm.slip(), cell).trimmed();
}

// The cell's frame on screen.
QRect CellScreenRect(const TfrmMain &frm, std::uint8_t cell)
{
    const CellRect &r = frm.layout().Cells[cell];
    const SlipOrigin &origin = frm.paintContext().Origin;
    return {frm.mapToGlobal(QPoint(origin.X + r.Left, origin.Y + r.Top)),
            QSize(r.Right - r.Left + 1, r.Bottom - r.Top + 1)};
}

// The cell the focus frame has run ahead to while the editor keeps the
// keyboard focus on its own cell (Tab held down); NoCell otherwise.
std::uint8_t FramedAheadCell(const TfrmMain &frm)
{
    const QWidget *focus = frm.focusWidget();
    const bool editing = frm.isActiveWindow() && focus && focus->objectName() == EditorName;
    return editing && frm.highlightedCell() != frm.currentCell() ? frm.highlightedCell() : NoCell;
}

// The editor takes the name of the box it is on, and on a mark cell tells
// what its keys do.
void NameEditor(QWidget &editor, std::uint8_t cell)
{
    editor.setAccessibleName(CellName(cell));
    editor.setAccessibleDescription(LookupCell(cell).Kind == CellKind::Mark ? MarkEditorHint : QString());
}

void SendFocus(QAccessibleInterface *iface)
{
    QAccessibleEvent event(iface, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

// One input cell of the slip. Text, amount and count cells are text fields
// whose text is the shown value; mark cells are check boxes. The box can be
// filled through the editor, which moves onto it.
class CellAccessible : public QAccessibleInterface, public ReadOnlyTextInterface {
public:
    CellAccessible(TfrmMain *frm, std::uint8_t cell)
        : Window(frm), Cell(cell), Kind(LookupCell(cell).Kind), Reported(ShownValue(*frm, cell))
    {
    }

    bool isValid() const override { return !Window.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return Window ? Window->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(Window.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return CellName(Cell);
        case QAccessible::Value: return Value();
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return Window && Window->isVisible() ? CellScreenRect(*Window, Cell) : QRect(); }
    QAccessible::Role role() const override
    {
        return Kind == CellKind::Mark ? QAccessible::CheckBox : QAccessible::EditableText;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!Window)
            return s;
        s.focusable = true;
        // Typing into the box goes through the editor, which moves onto it:
        // the box itself is never read-only.
        s.editable = Kind != CellKind::Mark;
        s.invisible = !Window->isVisible();
        s.focused = FramedAheadCell(*Window) == Cell;
        s.checkable = Kind == CellKind::Mark;
        s.checked = s.checkable && !Value().isEmpty();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface && Kind != CellKind::Mark)
            return static_cast<QAccessibleTextInterface *>(this);
        return nullptr;
    }

    using ReadOnlyTextInterface::text;

    // Tells assistive technology how the shown value changed since it last
    // heard of it: a new text, or a mark set or cleared.
    void ReportValueChange()
    {
        const QString now = Value();
        if (now == Reported)
            return;
        if (Kind == CellKind::Mark) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(this, changed);
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleTextUpdateEvent event(this, 0, Reported, now);
            QAccessible::updateAccessibility(&event);
        }
        Reported = now;
    }

protected:
    // The text is the shown value.
    QString ReadText() const override { return Value(); }

private:
    QString Value() const { return Window ? ShownValue(*Window, Cell) : QString(); }

    QPointer<TfrmMain> Window;
    std::uint8_t Cell;
    CellKind Kind;
    QString Reported;  // the value assistive technology last heard of
};

// The main window: its controls (the button panel, the editor) come first,
// then one child per input cell. A cell's object is made when it is first
// asked for and lives as long as the window's.
class SlipWindowAccessible : public QAccessibleWidget {
public:
    explicit SlipWindowAccessible(TfrmMain *frm)
        : QAccessibleWidget(frm, QAccessible::Window), Cells(InputCells().size(), nullptr)
    {
    }
    ~SlipWindowAccessible() override
    {
        for (CellAccessible *cell : Cells)
            if (cell)
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
    }

    int childCount() const override { return QAccessibleWidget::childCount() + static_cast<int>(Cells.size()); }
    QAccessibleInterface *child(int index) const override
    {
        const int controls = QAccessibleWidget::childCount();
        return index < controls ? QAccessibleWidget::child(index) : CellAt(index - controls);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto found = std::find(Cells.begin(), Cells.end(), child);
        if (found != Cells.end())
            return QAccessibleWidget::childCount() + static_cast<int>(found - Cells.begin());
        return QAccessibleWidget::indexOfChild(child);
    }
    // The controls lie over the slip: the editor over its cell, the panel
    // over the top of the slip.
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface *control = QAccessibleWidget::child(i);
            if (control && !control->state().invisible && control->rect().contains(x, y))
                return control;
        }
        for (std::size_t i = 0; i < Cells.size(); ++i)
            if (CellScreenRect(frm(), InputCells()[i]).contains(x, y))
                return CellAt(static_cast<int>(i));
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const std::uint8_t framed = FramedAheadCell(frm());
        return framed == NoCell ? QAccessibleWidget::focusChild() : CellOf(framed);
    }

    CellAccessible *CellOf(std::uint8_t cell) const
    {
        const auto &cells = InputCells();
        const auto found = std::find(cells.begin(), cells.end(), cell);
        return found == cells.end() ? nullptr : CellAt(static_cast<int>(found - cells.begin()));
    }
    void ReportValueChanges()
    {
        for (CellAccessible *cell : Cells)
            if (cell)
                cell->ReportValueChange();
    }

private:
    TfrmMain &frm() const { return *static_cast<TfrmMain *>(widget()); }
    CellAccessible *CellAt(int index) const
    {
        if (index < 0 || index >= static_cast<int>(Cells.size()))
            return nullptr;
        CellAccessible *&cell = Cells[static_cast<std::size_t>(index)];
        if (!cell) {
            cell = new CellAccessible(&frm(), InputCells()[static_cast<std::size_t>(index)]);
            QAccessible::registerAccessibleInterface(cell);
        }
        return cell;
    }

    mutable std::vector<CellAccessible *> Cells;  // owned by Qt's cache once made
};

// The window the editor belongs to, when `object` is the main window's editor.
TfrmMain *EditorWindow(QObject *object)
{
    if (!object || object->objectName() != EditorName)
        return nullptr;
    return qobject_cast<TfrmMain *>(object->parent());
}

QAccessibleInterface *SlipAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(TfrmMain::staticMetaObject.className())) {
        auto *frm = qobject_cast<TfrmMain *>(object);
        return frm ? new SlipWindowAccessible(frm) : nullptr;
    }
    if (className == QLatin1StringView("QPlainTextEdit") && EditorWindow(object))
        return MakeEditorAccessible(static_cast<QPlainTextEdit *>(object));
    return nullptr;
}

// When the window becomes active again (a dialog closed, the user came back
// from another program) the control that has the focus is announced: it has
// kept the focus, so Qt tells nothing of it.
class ActivationAnnouncer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && QAccessible::isActive())
            if (QWidget *focus = static_cast<QWidget *>(watched)->focusWidget())
                SendFocus(QAccessible::queryAccessibleInterface(focus));
        return false;
    }
};

// The window's interface while assistive technology listens; else nullptr,
// so that nothing is made or sent for nobody.
SlipWindowAccessible *ListenedInterface(TfrmMain &frm)
{
    if (!QAccessible::isActive())
        return nullptr;
    return dynamic_cast<SlipWindowAccessible *>(QAccessible::queryAccessibleInterface(&frm));
}

} // namespace

void InstallSlipAccessibility(TfrmMain &frm)
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(SlipAccessibleFactory), true);
    frm.installEventFilter(new ActivationAnnouncer(&frm));
}

void AnnounceSlipValues(TfrmMain &frm)
{
    if (SlipWindowAccessible *iface = ListenedInterface(frm))
        iface->ReportValueChanges();
}

// The name is set whether or not anyone listens (it is only a shared string),
// so that the editor is named right when a screen reader starts later.
void AnnounceEditorCell(TfrmMain &frm, QWidget &editor)
{
    const std::uint8_t cell = frm.currentCell();
    if (editor.accessibleName() == CellName(cell))
        return;
    NameEditor(editor, cell);
    if (cell != NoCell && editor.hasFocus() && QAccessible::isActive())
        SendFocus(QAccessible::queryAccessibleInterface(&editor));
}

EditorMove::EditorMove(QPlainTextEdit &editor, std::uint8_t cell, bool newCell) : Editor(editor)
{
    if (!newCell)
        return;
    // The object the editor leaves keeps the name of the box it was on.
    if (QAccessible::isActive()) {
        RenewEditorObject(editor);
        Quiet.emplace();
    }
    NameEditor(editor, cell);
}

EditorMove::~EditorMove()
{
    if (!Quiet)
        return;
    Quiet.reset();
    if (Editor.hasFocus())
        SendFocus(QAccessible::queryAccessibleInterface(&Editor));
}

MarkToggle::MarkToggle(QWidget &editor) : Editor(editor)
{
    if (QAccessible::isActive())
        Quiet.emplace();
}

MarkToggle::~MarkToggle()
{
    if (!Quiet)
        return;
    Quiet.reset();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(&Editor, changed);
    QAccessible::updateAccessibility(&event);
}

void AnnounceSlipCleared(TfrmMain &frm)
{
    AnnounceSlipValues(frm);
    Announce(frm, QStringLiteral("源泉徴収票のすべての項目を消去しました"));
}

void AnnounceFramedCell(TfrmMain &frm, QWidget &editor)
{
    SlipWindowAccessible *iface = ListenedInterface(frm);
    if (!iface)
        return;
    const std::uint8_t framed = FramedAheadCell(frm);
    if (framed != NoCell)
        SendFocus(iface->CellOf(framed));
    else if (frm.currentCell() != NoCell && frm.highlightedCell() == frm.currentCell() && editor.hasFocus())
        SendFocus(QAccessible::queryAccessibleInterface(&editor));
}

} // namespace mivrel
