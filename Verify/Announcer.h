#pragma once
// Messages spoken by a screen reader that no control shows: the slip was
// cleared, a result of the trial changed. Each message is a notification
// that appears in the window, which screen readers speak as it appears.
// With no assistive technology listening nothing is made or sent.

class QString;
class QWidget;

namespace mivrel {

void Announce(QWidget &window, const QString &message);

} // namespace mivrel
