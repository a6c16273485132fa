#!/usr/bin/python3
"""Prints the text of the focused control of the running Mivrel, as a screen
reader reads it over AT-SPI. Exits 1 when Mivrel or a focused text is not found."""
import sys

import pyatspi


def focused_text(node):
    for child in node:
        if child is None:
            continue
        if child.getState().contains(pyatspi.STATE_FOCUSED):
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
