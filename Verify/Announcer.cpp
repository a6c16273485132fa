#include "Verify/Announcer.h"

#include <QAccessible>
#include <QPointer>
#include <QWidget>

namespace mivrel {
namespace {

// The one notification of the program: it belongs to the window it was last
// announced in and carries the last message.
class NotificationAccessible : public QAccessibleInterface {
public:
    bool isValid() const override { return !Window.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return Window ? Window->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(Window.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? Message : QString(); }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return Window ? QRect(Window->mapToGlobal(QPoint(0, 0)), QSize(1, 1)) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

    void Show(QWidget &window, const QString &message)
    {
        Window = &window;
        Message = message;
        QAccessibleEvent event(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&event);
    }

private:
    QPointer<QWidget> Window;
    QString Message;
};

} // namespace

void Announce(QWidget &window, const QString &message)
{
    if (!QAccessible::isActive())
        return;
    static NotificationAccessible *const notification = [] {
        auto *made = new NotificationAccessible;
        QAccessible::registerAccessibleInterface(made);  // owned by Qt's cache from here on
        return made;
    }();
    notification->Show(window, message);
}

QuietAccessibility::QuietAccessibility() : Previous(QAccessible::installUpdateHandler([](QAccessibleEvent *) {}))
{
}

QuietAccessibility::~QuietAccessibility()
{
    QAccessible::installUpdateHandler(Previous);
}

} // namespace mivrel
