#include "Verify/CaptionLabels.h"

#include <QAccessible>
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

void CaptionValue(QLabel &caption, QLabel &value)
{
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
