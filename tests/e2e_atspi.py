"""Reads the running Mivrel through AT-SPI, as a screen reader does.

Run by e2e_atspi.sh with Debian's /usr/bin/python3 (which has pyatspi) once
the main window is up and focused. Checks that the editor is named after the
address box it opens on, that the box 支払金額 reads 6,898,700 and the spouse
mark is checked, and that holding Tab announces the framed box while the
editor stays, the editor following it on release (as a new object, which a
screen reader announces). Prints what it saw; exits non-zero with a FAIL line
on the first mismatch.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

ADDRESS = '支払を受ける者 住所又は居所'
NEXT_AFTER_ADDRESS = '支払を受ける者 受給者番号'
SALARY = '支払金額'
SPOUSE = '控除対象配偶者の有無等 有'
WAIT_SECONDS = float(os.environ.get('E2E_WAIT', '10'))

focus_events = []  # (object, its name) of each object that took the focus, in order


def on_focus(event):
    if event.detail1:
        focus_events.append((event.source, event.source.name))


def fail(message):
    print('FAIL:', message)
    sys.exit(1)


def wait_for(what, probe):
    """Polls probe, letting arrived events through, until it gives a true value."""
    deadline = time.monotonic() + WAIT_SECONDS
    context = GLib.MainContext.default()
    while True:
        while context.pending():
            context.iteration(False)
        try:
            result = probe()
        except GLib.Error:  # the object is not there (yet)
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            fail('timed out waiting for ' + what)
        time.sleep(0.05)


def main_window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == 'Mivrel':
            for window in app:
                if window is not None and window.getRole() == pyatspi.ROLE_FRAME and window.name == 'Mivrel':
                    return window
    return None


def child(window, matches):
    return next((c for c in window if c is not None and matches(c)), None)


def named(name):
    return lambda c: c.name == name


def focused_text(c):
    return c.getRole() == pyatspi.ROLE_TEXT and c.getState().contains(pyatspi.STATE_FOCUSED)


def xdotool(*args):
    subprocess.run(('xdotool',) + args, check=True)


def main():
    # Listen before the first question: the program sends events only while
    # someone listens, and it hears of the listener before it answers.
    pyatspi.Registry.registerEventListener(on_focus, 'object:state-changed:focused')

    window = wait_for('Mivrel on the accessibility bus', main_window)
    editor = wait_for('the editor with the keyboard focus', lambda: child(window, focused_text))
    wait_for('the editor named after the address box', lambda: editor.name == ADDRESS)
    print('saw: editor %r, text %r' % (editor.name, editor.queryText().getText(0, -1)))

    salary = wait_for('the box ' + SALARY, lambda: child(window, named(SALARY)))
    shown = salary.queryText().getText(0, -1)
    print('saw: %s (%s) shows %r at %s' % (salary.name, salary.getRoleName(), shown,
                                          salary.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)))
    if shown != '6,898,700':
        fail('%s shows %r' % (SALARY, shown))
    spouse = wait_for('the box ' + SPOUSE, lambda: child(window, named(SPOUSE)))
    checked = spouse.getState().contains(pyatspi.STATE_CHECKED)
    print('saw: %s (%s) checked %s' % (spouse.name, spouse.getRoleName(), checked))
    if spouse.getRole() != pyatspi.ROLE_CHECK_BOX or not checked:
        fail(SPOUSE + ' is no checked check box')

    # Tab held down: the frame moves on and the framed box takes the focus,
    # while the editor stays on the address.
    held = len(focus_events)
    xdotool('keydown', 'Tab')
    framed, name = wait_for('the focus on the framed box', lambda: focus_events[held:] and focus_events[held])
    print('saw: with Tab held, focus on %r (%s); editor still %r' % (name, framed.getRoleName(), editor.name))
    if framed == editor:
        fail('with Tab held the editor took the focus, not the framed box')
    if name != NEXT_AFTER_ADDRESS:
        fail('with Tab held the focus went to %r, not to the box %s' % (name, NEXT_AFTER_ADDRESS))
    if editor.name != ADDRESS:
        fail('the editor moved while Tab was held')

    # Released: the editor takes the framed box and the focus.
    released = len(focus_events)
    xdotool('keyup', 'Tab')

    # The editor meets a screen reader as a new object on each box, so that
    # the move is announced: the focused text field of the window, which is
    # not the framed box.
    def editor_followed():
        moved = child(window, focused_text)
        if moved and moved != framed and moved.name == NEXT_AFTER_ADDRESS \
                and any(o == moved for o, _ in focus_events[released:]):
            return moved
        return None

    moved = wait_for('the editor to follow the frame', editor_followed)
    print('saw: on release the editor took the focus as %r' % moved.name)


if __name__ == '__main__':
    main()
