#include "Verify/CaptionLabels.h"

#include <QLabel>

namespace mivrel {
namespace {

// The sibling label whose buddy `value` is.
const QLabel *CaptionOf(const QLabel &value)
{
    const QWidget *parent = value.parentWidget();
    if (!parent)
        return nullptr;
    for (const QObject *sibling : parent->children())
        if (const auto *label = qobject_cast<const QLabel *>(sibling); label && label->buddy() == &value)
            return label;
    return nullptr;
}

} // namespace

void NameByCaption(QLabel &caption, QWidget &control)
{
    caption.setBuddy(&control);
    control.setAccessibleName(caption.text());
}

void CaptionValue(QLabel &caption, QLabel &value)
{
    caption.setBuddy(&value);
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

} // namespace mivrel
