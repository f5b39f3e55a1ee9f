#!/usr/bin/python3
# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""What a screen reader hears of pelidora-host, over AT-SPI: ./dev a11y runs it.

usage: a11y_smoke.py HOST FORM.json   (DISPLAY and the session bus set, the AT-SPI bus running)

Starts HOST FORM.json, prints the first date box, presses its "Open calendar" button (the
press must return at once), prints the panel's day field and lists, then types Page Down and
checks that the cell the focus event names is announced with its new date, as a client that
keeps names (as screen readers do) has it after the events. Exits 1 on a failure; never waits
longer than its time-outs.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

XK_PAGE_DOWN = 0xFF56


def fail(message):
    raise SystemExit("a11y: FAILED: " + message)


def find(root, role, name=None):
    def match(o):
        return o.getRoleName() == role and (name is None or o.name == name)
    return pyatspi.findDescendant(root, match, breadth_first=True)


def wait_for(what, look, seconds=15):
    """Polls look() while the event loop runs, up to seconds."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = look()
        if found:
            return found
        pump(0.1)
    fail(what + " did not appear")


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def states(o):
    names = {pyatspi.STATE_FOCUSED: "focused", pyatspi.STATE_SELECTED: "selected",
             pyatspi.STATE_EDITABLE: "editable", pyatspi.STATE_FOCUSABLE: "focusable"}
    return ",".join(n for s, n in names.items() if o.getState().contains(s))


def value(o):
    try:
        return repr(o.queryText().getText(0, -1))
    except NotImplementedError:
        return "(none)"


def describe(o):
    return "%s %r [%s] value %s" % (o.getRoleName(), o.name, states(o), value(o))


def main(host, form):
    focused = []
    pyatspi.Registry.registerEventListener(
        lambda e: focused.append(e.source), "focus:")
    # The events a screen reader listens to; the bridge sends only what someone listens to.
    pyatspi.Registry.registerEventListener(
        lambda e: None, "object:property-change:accessible-name", "object:children-changed",
        "object:state-changed", "object:selection-changed", "object:text-changed")
    app_process = subprocess.Popen([host, form])
    try:
        app = wait_for("the host", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a and "pelidora" in a.name.lower()), None))
        button = wait_for("a date box", lambda: find(app, "push button", "Open calendar"))
        strip = button.parent
        print("strip:", describe(strip))
        for child in strip:
            print("  ", describe(child))

        actions = button.queryAction()
        started = time.monotonic()
        actions.doAction(next(i for i in range(actions.nActions) if actions.getName(i) == "Press"))
        if time.monotonic() - started > 2:
            fail("the Press action blocked its caller")
        table = wait_for("the panel", lambda: find(app, "table"))
        panel = table
        while panel.parent.getRoleName() != "application":
            panel = panel.parent
        day = find(panel, "spin button", "Day") or find(panel, "text", "Day")
        print("panel:")
        for part in (day, find(panel, "combo box", "Month"), find(panel, "combo box", "Year")):
            print("  ", describe(part))
        print("   table %r, %d rows" % (table.name, table.queryTable().nRows))
        read = {cell: cell.name for cell in table}  # kept from here on, as by a screen reader
        wait_for("the keyboard in the day field", lambda: "focused" in states(day))

        del focused[:]
        pyatspi.Registry.generateKeyboardEvent(XK_PAGE_DOWN, None, pyatspi.KEY_SYM)
        wait_for("a cell's focus after Page Down", lambda: focused and focused[-1].getRoleName() == "table cell")
        pump(0.5)
        cell = focused[-1]
        announced = cell.name
        cell.clearCache()
        print("after Page Down, announced %r:" % announced, describe(cell))
        if cell.name == read.get(cell):
            fail("Page Down left the cell at %r" % cell.name)
        if announced != cell.name:
            fail("the cell %r is announced as %r" % (cell.name, announced))
        print("a11y: OK")
    finally:
        app_process.terminate()
        try:
            app_process.wait(5)
        except subprocess.TimeoutExpired:
            app_process.kill()


def run_inside_event_loop(host, form):
    """A client caches names only while AT-SPI's event loop runs: the check runs inside it."""
    outcome = []

    def scenario():
        try:
            main(host, form)
            outcome.append(0)
        except SystemExit as end:
            outcome.append(end.code)
        except Exception as error:  # a broken walk is a failure too, never a hang
            outcome.append("a11y: FAILED: %r" % error)
        finally:
            pyatspi.Registry.stop()
        return False

    GLib.idle_add(scenario)
    pyatspi.Registry.start()
    sys.exit(outcome[0] if outcome else "a11y: FAILED: the event loop ended early")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    run_inside_event_loop(sys.argv[1], sys.argv[2])
