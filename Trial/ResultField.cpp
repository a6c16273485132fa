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

// The field's text is the label's, read only.
class ResultFieldAccessible : public QAccessibleWidget, public ReadOnlyTextInterface {
public:
    explicit ResultFieldAccessible(ResultField *field) : QAccessibleWidget(field, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? ReadText() : QAccessibleWidget::text(t);
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
    using ReadOnlyTextInterface::text;

    // The label draws its text right-aligned and centred in height.
    QRect characterRect(int offset) const override
    {
        const QString all = ReadText();
        if (offset < 0 || offset >= all.size())
            return {};
        const QLabel &label = field().Value();
        const QFontMetrics metrics(label.font());
        const QRect inside = label.contentsRect();
        const int x = inside.right() + 1 - metrics.horizontalAdvance(all.mid(offset));
        const int y = inside.center().y() - metrics.height() / 2;
        return {label.mapToGlobal(QPoint(x, y)), QSize(metrics.horizontalAdvance(all.mid(offset, 1)), metrics.height())};
    }

protected:
    QString ReadText() const override { return field().Value().text(); }

private:
    const ResultField &field() const { return *static_cast<const ResultField *>(widget()); }
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
