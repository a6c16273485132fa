#include "Mainunit/HeldKeys.h"

#include <QGuiApplication>

// The XKB header names a structure field `explicit`, a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

namespace mivrel {

void ReportHeldKeysAsRepeatedPresses()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    constexpr std::uint32_t detectable = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    const xcb_xkb_per_client_flags_cookie_t cookie = xcb_xkb_per_client_flags_unchecked(
        connection, XCB_XKB_ID_USE_CORE_KBD, detectable, detectable, 0, 0, 0);
    xcb_discard_reply(connection, cookie.sequence);
    xcb_flush(connection);
}

} // namespace mivrel
