#pragma once
// A result of the trial as a keyboard user meets it: a read-only text field
// laid over the result's label. Tab reaches it and a focus frame shows round
// the result; otherwise it draws nothing, so the dialog looks as it did. For
// assistive technology it is named after the result's caption and holds the
// label's text; the label itself is left nameless (NamelessForReaders), so that
// the result is read once.

#include <QWidget>

class QLabel;

namespace mivrel {

class ResultField : public QWidget {
    Q_OBJECT

public:
    // Over `value`, a child of the same parent, named `caption`.
    ResultField(QLabel &value, const QString &caption);

    const QLabel &Value() const { return ValueLabel; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel &ValueLabel;
};

} // namespace mivrel
