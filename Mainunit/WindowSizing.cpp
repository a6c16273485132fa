#include "Mainunit/WindowSizing.h"

#include <QColor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <cstdlib>

namespace mivrel {
namespace {

bool OnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

xcb_connection_t *X11Connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Whether a window manager manages the screen (it names its check window on
// the root window).
bool WindowManagerRuns(xcb_connection_t *connection, xcb_window_t root)
{
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    xcb_get_property_reply_t *property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = property && xcb_get_property_value_length(property) > 0;
    free(property);
    free(atom);
    return runs;
}

} // namespace

bool FreeToChooseSize(const QWidget &window)
{
    const Qt::WindowStates dictated = Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
    return !(window.windowState() & dictated) && !OnWayland();
}

QSize ScreenRoom(const QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QSize frame = window.frameGeometry().size() - window.size();
    return screen->availableGeometry().size() - frame;
}

// On X11 the request goes to the server (and so to the window manager)
// directly: Qt would take the size asked for as the window's own until the
// window manager answers, and a window manager that refuses need not answer
// at all, which would leave Qt painting a window of a size it does not have.
void AskClientSize(QWidget &window, QSize size)
{
    xcb_connection_t *connection = X11Connection();
    if (connection && window.isVisible() && window.windowHandle()) {
        const qreal ratio = window.devicePixelRatioF();
        const std::uint32_t native[] = {std::uint32_t(qRound(size.width() * ratio)),
                                        std::uint32_t(qRound(size.height() * ratio))};
        xcb_configure_window(connection, xcb_window_t(window.winId()),
                             XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, native);
        xcb_flush(connection);
    } else if (QWindow *handle = window.windowHandle(); handle && window.isVisible()) {
        handle->resize(size);
    } else {
        window.resize(size);
    }
}

void PaintUncoveredAreas(QWidget &window, const QColor &colour)
{
    xcb_connection_t *connection = X11Connection();
    if (!connection || !window.windowHandle())
        return;
    const std::uint32_t pixel = colour.rgb() & 0xffffffu;  // the server's 24-bit TrueColor visual
    xcb_change_window_attributes(connection, xcb_window_t(window.winId()), XCB_CW_BACK_PIXEL, &pixel);
    xcb_flush(connection);
}

void ReturnFocusAfterDialog(QWidget &window)
{
    xcb_connection_t *connection = X11Connection();
    if (!connection || !window.isVisible())
        return;
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(setup).data;
    if (screen && !WindowManagerRuns(connection, screen->root))
        window.activateWindow();
}

} // namespace mivrel
