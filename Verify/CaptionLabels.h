#pragma once
// Captions and the controls they name, as assistive technology sees them.
// A value label is announced with its caption ("配偶者控除 380,000" rather
// than a bare "380,000"); a field, slider or table is announced by the
// caption printed beside it. Nothing here changes what is drawn.

class QDialog;
class QLabel;
class QString;
class QWidget;

namespace mivrel {

// Makes `caption` the label of `control` (its buddy) and names the control
// after it.
void NameByCaption(QLabel &caption, QWidget &control);

// Makes `caption` the caption of the value label `value`, whose description
// becomes the caption's tooltip; ShowValue then sets the value's text. No
// label relation joins them: screen readers skip labels in relations. The
// caption itself, said with its value, is NamelessForReaders.
void CaptionValue(QLabel &caption, QLabel &value);
// Sets the text of a value label; its accessible name becomes the caption
// that labels it followed by the text (the caption alone while the text is
// empty).
void ShowValue(QLabel &value, const QString &text);

// The widget says nothing of its own: a label whose words another control
// says (the value it captions, a field that shows the same), a frame that
// only draws lines. Assistive technology finds it as a label without a name,
// which a screen reader's review of the screen leaves out.
void NamelessForReaders(QWidget &widget);

// Every time the dialog shows, assistive technology hears that each of its
// visible controls shows too.
void ReportControlsShown(QDialog &dialog);

} // namespace mivrel
