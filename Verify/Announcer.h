#pragma once
// Messages spoken by a screen reader that no control shows: the slip was
// cleared, a result of the trial changed. Each message is a notification
// that appears in the window, which screen readers speak as it appears.
// With no assistive technology listening nothing is made or sent.

#include <QAccessible>

class QString;
class QWidget;

namespace mivrel {

void Announce(QWidget &window, const QString &message);

// While it lasts, Qt tells assistive technology nothing: around changes that
// are announced otherwise once they are done.
class QuietAccessibility {
public:
    QuietAccessibility();
    ~QuietAccessibility();
    QuietAccessibility(const QuietAccessibility &) = delete;
    QuietAccessibility &operator=(const QuietAccessibility &) = delete;

private:
    QAccessible::UpdateHandler Previous;
};

} // namespace mivrel
