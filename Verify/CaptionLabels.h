#pragma once
// Captions and the controls they name, as assistive technology sees them.
// A value label is announced with its caption ("配偶者控除 380,000" rather
// than a bare "380,000"); a field, slider or table is announced by the
// caption printed beside it. Nothing here changes what is drawn.

class QLabel;
class QString;
class QWidget;

namespace mivrel {

// Makes `caption` the label of `control` (its buddy) and names the control
// after it.
void NameByCaption(QLabel &caption, QWidget &control);

// Makes `caption` the label of the value label `value`, whose description
// becomes the caption's tooltip; ShowValue then sets the value's text.
void CaptionValue(QLabel &caption, QLabel &value);
// Sets the text of a value label; its accessible name becomes the caption
// that labels it followed by the text (the caption alone while the text is
// empty).
void ShowValue(QLabel &value, const QString &text);

} // namespace mivrel
