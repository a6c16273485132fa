#include "Verify/CaptionLabels.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPointer>

namespace mivrel {
namespace {

// The caption of a value label is kept as a property of the value, not as
// a label relation: screen readers leave out of their review, and of what
// they read when a dialog opens, every label that is in a relation.
const char *const CaptionProperty = "mivrelCaption";

const QLabel *CaptionOf(const QLabel &value)
{
    return qobject_cast<const QLabel *>(value.property(CaptionProperty).value<QObject *>());
}

// Set on a widget that says nothing of its own.
const char *const NamelessProperty = "mivrelNameless";

// Such a widget stays in the tree of objects, where it is, as a label without
// a name: screen readers leave those out of their review of the screen.
class NamelessAccessible : public QAccessibleWidget {
public:
    explicit NamelessAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? QString() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *NamelessFactory(const QString &, QObject *object)
{
    if (!object->isWidgetType() || !object->property(NamelessProperty).toBool())
        return nullptr;
    return new NamelessAccessible(static_cast<QWidget *>(object));
}

// Tells assistive technology that every control of a dialog shows once the
// dialog does. Qt reports only the dialog itself; a screen reader that looked
// at the controls while the dialog was hidden would go on taking them for
// hidden.
class ShownReporter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !QAccessible::isActive())
            return false;
        for (QWidget *control : watched->findChildren<QWidget *>())
            if (control->isVisible()) {
                QAccessibleEvent shown(control, QAccessible::ObjectShow);
                QAccessible::updateAccessibility(&shown);
            }
        return false;
    }
};

} // namespace

void NameByCaption(QLabel &caption, QWidget &control)
{
    caption.setBuddy(&control);
    control.setAccessibleName(caption.text());
}

void NamelessForReaders(QWidget &widget)
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(NamelessFactory), true);
    widget.setProperty(NamelessProperty, true);
    // Qt may have made the widget's interface already (a label makes it as it
    // takes its text); the next question makes it anew, by the factory above.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&widget)));
}

void CaptionValue(QLabel &caption, QLabel &value)
{
    NamelessForReaders(caption);
    value.setProperty(CaptionProperty, QVariant::fromValue<QObject *>(&caption));
    value.setAccessibleDescription(caption.toolTip());
    ShowValue(value, value.text());
}

void ShowValue(QLabel &value, const QString &text)
{
    value.setText(text);
    const QLabel *caption = CaptionOf(value);
    if (!caption)
        return;
    value.setAccessibleName(text.isEmpty() ? caption->text() : caption->text() + u' ' + text);
}

void ReportControlsShown(QDialog &dialog)
{
    dialog.installEventFilter(new ShownReporter(&dialog));
}

} // namespace mivrel
