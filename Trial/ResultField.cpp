#include "Trial/ResultField.h"

#include "Verify/CaptionLabels.h"
#include "Verify/TextBoundaries.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace mivrel {
namespace {

// The field's text is the label's; it has no caret to move (it stays at the
// start) and no selection.
class ResultFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ResultFieldAccessible(ResultField *field) : QAccessibleWidget(field, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? Text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        return startOffset > endOffset ? QString() : Text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    // The label draws its text right-aligned and centred in height.
    QRect characterRect(int offset) const override
    {
        const QString all = Text();
        if (offset < 0 || offset >= all.size())
            return {};
        const QLabel &label = field().Value();
        const QFontMetrics metrics(label.font());
        const QRect inside = label.contentsRect();
        const int x = inside.right() + 1 - metrics.horizontalAdvance(all.mid(offset));
        const int y = inside.center().y() - metrics.height() / 2;
        return {label.mapToGlobal(QPoint(x, y)), QSize(metrics.horizontalAdvance(all.mid(offset, 1)), metrics.height())};
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                         int *endOffset) const override
    {
        return Answer(TextAtOffset(Text(), Resolve(offset), unit), startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                             int *endOffset) const override
    {
        return Answer(TextBeforeOffset(Text(), Resolve(offset), unit), startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int *startOffset,
                            int *endOffset) const override
    {
        return Answer(TextAfterOffset(Text(), Resolve(offset), unit), startOffset, endOffset);
    }

private:
    const ResultField &field() const { return *static_cast<const ResultField *>(widget()); }
    QString Text() const { return field().Value().text(); }
    int Resolve(int offset) const { return ResolveTextOffset(offset, characterCount(), 0); }
    static QString Answer(const TextItem &item, int *startOffset, int *endOffset)
    {
        *startOffset = item.Start;
        *endOffset = item.End;
        return item.Text;
    }
};

QAccessibleInterface *ResultFieldFactory(const QString &className, QObject *object)
{
    if (className != QLatin1StringView(ResultField::staticMetaObject.className()))
        return nullptr;
    return new ResultFieldAccessible(static_cast<ResultField *>(object));
}

} // namespace

ResultField::ResultField(QLabel &value, const QString &caption) : QWidget(value.parentWidget()), ValueLabel(value)
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(ResultFieldFactory), true);
    setGeometry(value.geometry());
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(caption);
    NamelessForReaders(value);
}

void ResultField::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

} // namespace mivrel
