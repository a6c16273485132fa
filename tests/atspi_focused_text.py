#!/usr/bin/python3
"""Prints the text of the focused control of the running Mivrel, as a screen
reader reads it over AT-SPI; a focused check box (the editor on a mark cell)
reads as the mark it shows, ○ while checked. Exits 1 when Mivrel or a focused
text or check box is not found."""
import sys

import pyatspi


def focused_text(node):
    for child in node:
        if child is None:
            continue
        state = child.getState()
        if state.contains(pyatspi.STATE_FOCUSED) and child.getRole() == pyatspi.ROLE_CHECK_BOX:
            return '○' if state.contains(pyatspi.STATE_CHECKED) else ''
        if state.contains(pyatspi.STATE_FOCUSED):
            try:
                return child.queryText().getText(0, -1)
            except NotImplementedError:
                pass
        found = focused_text(child)
        if found is not None:
            return found
    return None


for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name.lower() == "mivrel":
        text = focused_text(app)
        if text is not None:
            print(text)
            sys.exit(0)
sys.exit(1)
