"""Screenshot of an area of a running KWin's screen, through its ScreenShot2 D-Bus interface.

Usage: kwin_shot.py X Y WIDTH HEIGHT OUT.png   (KWin started with
KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1; the session bus from the environment)
"""
import os
import subprocess
import sys

from gi.repository import Gio, GLib


def main():
    x, y, width, height = (int(v) for v in sys.argv[1:5])
    out = sys.argv[5]
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    read_end, write_end = os.pipe()
    fds = Gio.UnixFDList.new()
    index = fds.append(write_end)
    os.close(write_end)
    options = {"native-resolution": GLib.Variant("b", True)}
    reply, _ = bus.call_with_unix_fd_list_sync(
        "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureArea",
        GLib.Variant("(iiuua{sv}h)", (x, y, width, height, options, index)),
        GLib.VariantType("(a{sv})"), Gio.DBusCallFlags.NONE, 10000, fds, None)
    del fds
    meta = reply.unpack()[0]
    data = b""
    with os.fdopen(read_end, "rb") as pipe:
        data = pipe.read()
    w, h, stride = meta["width"], meta["height"], meta["stride"]
    rows = b"".join(data[row * stride:row * stride + 4 * w] for row in range(h))
    # QImage's 32-bit formats lie in memory as B, G, R, A.
    subprocess.run(["convert", "-size", f"{w}x{h}", "-depth", "8", "bgra:-", "-alpha", "off", out],
                   input=rows, check=True)


if __name__ == "__main__":
    main()
