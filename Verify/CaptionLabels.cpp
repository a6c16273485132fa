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
    for (const QLabel *label : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == &value)
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
