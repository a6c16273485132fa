#!/usr/bin/python3
"""Reads one box of the running Mivrel's slip over AT-SPI, as a screen reader
reads it. Usage:
  atspi_box.py NAME            the value the box shows (a mark box: ○ or nothing)
  atspi_box.py --centre NAME   the box's centre on the screen, "X Y"
  atspi_box.py --origin NAME   the box's top-left corner on the screen, "X Y"
Exits 1 when Mivrel or the box is not found."""
import sys

import pyatspi


def box(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name.lower() != "mivrel":
            continue
        for window in app:
            # The editor takes the name of the box it is on. The window lists
            # its controls (the editor among them) first and the slip's boxes
            # after them, so the last child of that name is the box.
            for child in reversed(list(window or ())):
                if child is not None and child.name == name:
                    return child
    return None


mode = sys.argv[1] if len(sys.argv) == 3 else None
found = box(sys.argv[-1]) if len(sys.argv) > 1 else None
if found is None:
    sys.exit(1)
x, y, width, height = found.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
if mode == "--centre":
    print(x + width // 2, y + height // 2)
elif mode == "--origin":
    print(x, y)
elif found.getRole() == pyatspi.ROLE_CHECK_BOX:
    print("○" if found.getState().contains(pyatspi.STATE_CHECKED) else "")
else:
    print(found.queryText().getText(0, -1))
