#include "Mainunit/DialogTitleBar.h"

#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace mivrel {
namespace {

constexpr int BarHeight = 28;

// The caption centred on the bar and a close button at its right end; a
// press anywhere else on the bar hands the move to the compositor, which is
// how a Wayland window is dragged.
class TitleBar : public QWidget {
public:
    explicit TitleBar(QDialog &dialog) : QWidget(&dialog), CloseButton(new QToolButton(this))
    {
        setObjectName(QStringLiteral("TitleBar"));
        CloseButton->setObjectName(QStringLiteral("TitleBarClose"));
        CloseButton->setAutoRaise(true);
        CloseButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
        CloseButton->setToolTip(QStringLiteral("閉じる"));
        CloseButton->setAccessibleName(QStringLiteral("閉じる"));
        CloseButton->setFocusPolicy(Qt::NoFocus);  // the dialog's own tab order stays as it is
        connect(CloseButton, &QToolButton::clicked, &dialog, &QWidget::close);
        setGeometry(0, 0, dialog.width(), BarHeight);
    }

protected:
    void resizeEvent(QResizeEvent *) override
    {
        CloseButton->setGeometry(width() - BarHeight + 2, 2, BarHeight - 4, BarHeight - 4);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect().adjusted(BarHeight, 0, -BarHeight, -1), Qt::AlignCenter, window()->windowTitle());
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && window()->windowHandle())
            window()->windowHandle()->startSystemMove();
    }

private:
    QToolButton *CloseButton;
};

} // namespace

bool QtDrawsFrames(const QWidget &mainWindow)
{
    const QWindow *handle = mainWindow.windowHandle();
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && handle &&
           !handle->frameMargins().isNull();
}

void GiveOwnTitleBar(QDialog &dialog)
{
    const QList<QWidget *> controls = dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    dialog.setFixedSize(dialog.width(), dialog.height() + BarHeight);
    for (QWidget *control : controls)
        control->move(control->x(), control->y() + BarHeight);
    new TitleBar(dialog);

    // The outline drawn under the controls, so that the dialog stands out
    // from what lies behind it; it takes no pointer events.
    auto *outline = new QFrame(&dialog);
    outline->setFrameStyle(QFrame::Box | QFrame::Plain);
    outline->setGeometry(dialog.rect());
    outline->setAttribute(Qt::WA_TransparentForMouseEvents);
    outline->lower();
}

} // namespace mivrel
