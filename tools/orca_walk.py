#!/usr/bin/python3
# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""What Orca speaks of pelidora-host through a keyboard walk: ./dev orca runs it.

usage: orca_walk.py HOST FORM.json [LOG]   (DISPLAY, the session bus and the AT-SPI bus set up)

Starts openbox, speech-dispatcher with its dummy output, Orca with its debug log and HOST
FORM.json, then types the walk below with xdotool, one key a step, and reads what Orca spoke
for it from the log ("SPEECH OUTPUT:" lines). Prints each step's speech; exits 1 when a
step's speech lacks what the user is on. The walk expects the demo form's first box
(15 March 2024) and British English; it never waits longer than its time-outs. LOG, if
given, keeps Orca's whole debug log there.
"""

import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

START = datetime.date(2024, 3, 15)  # the demo form's first box


def add_months(date, months):
    month = date.month - 1 + months
    year, month = date.year + month // 12, month % 12 + 1
    return date.replace(year=year, month=month)


def long_date(date):
    return "%d %s %d" % (date.day, date.strftime("%B"), date.year)


def before_selected(words):
    """The words heard before any "selected": a field entered is heard with its box and name
    before its selected text."""
    return r"^(?:(?!\bselected\b).)*?" + words


def walk():
    """(keys, what the step is, the words its speech must hold, each a regular expression)."""
    day = START
    steps = [("Tab", "into the first box",
              [r"\bDay\b", r"\b15\b", long_date(START), before_selected(long_date(START))]),
             ("Tab", "to the month", [r"\bMonth\b", r"\b03\b", before_selected(r"\bMonth\b")]),
             ("Tab", "to the year", [r"\bYear\b", r"\b2024\b", before_selected(r"\bYear\b")]),
             ("alt+Down", "open the panel", [r"\bDay\b", r"\b15\b", r"\bMarch\b", r"\b2024\b"])]
    for key, move in (("Next", lambda d: add_months(d, 1)), ("Down", lambda d: d + datetime.timedelta(1)),
                      ("Up", lambda d: d - datetime.timedelta(1)), ("Prior", lambda d: add_months(d, -1))):
        day = move(day)
        steps.append((key, key.replace("Next", "Page Down").replace("Prior", "Page Up"),
                      [day.strftime("%A") + " " + long_date(day)]))
    chosen = add_months(day, 1)
    steps += [("Return", "to the month list", [r"\bMonth\b", day.strftime("%B")]),
              ("Down", "next month", [chosen.strftime("%B")]),
              ("Return", "to the year list", [r"\bYear\b", str(day.year)]),
              ("Return", "choose the day", [long_date(chosen)]),
              ("Escape", "Escape in the strip", [])]
    return steps


def spoken_since(log, offset):
    """The speech Orca logged after offset, in whole lines, and the offset after them."""
    with open(log, "rb") as f:
        f.seek(offset)
        data = f.read()
    cut = data.rfind(b"\n") + 1  # a line being written is read with the next look
    text = data[:cut].decode("utf-8", "replace")
    return [s for s in re.findall(r"SPEECH OUTPUT: '(.*?)'", text) if s.strip()], offset + cut


def settle(log, offset, least=2.5, quiet=1.2, longest=15.0):
    """Orca's speech for a key: it lags the key by a second or two, as the toolkit waits on
    Orca's key listener, and more when Orca works through a queue of events (a panel opening
    sends dozens); so at least least seconds, then until Orca has logged nothing at all, speech
    or work, for quiet seconds."""
    said, started, last = [], time.monotonic(), time.monotonic()
    while time.monotonic() - started < longest:
        new, after = spoken_since(log, offset)
        said += new
        if after != offset:
            offset, last = after, time.monotonic()
        elif time.monotonic() - started >= least and time.monotonic() - last >= quiet:
            break
        time.sleep(0.1)
    return said, offset


# Orca opens its debug log with a plain open(), so lines reach the file kilobytes at a time and a
# step's speech would be read with a later step: run Orca with its text files line-buffered.
ORCA_LINE_BUFFERED = """
import builtins, runpy, sys
plain_open = builtins.open
def line_buffered(file, mode="r", *args, **kwargs):
    if "w" in mode and "b" not in mode and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return plain_open(file, mode, *args, **kwargs)
builtins.open = line_buffered
sys.argv = sys.argv[1:]
runpy.run_path(sys.argv[0], run_name="__main__")
"""


def wait_for_text(path, text, what, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if os.path.exists(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                if text in f.read():
                    return
        time.sleep(0.1)
    raise SystemExit("orca walk: FAILED: %s did not start" % what)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=10)


def press(key):
    """Types key. The host hands a key to its widgets only once the AT-SPI registry answers
    for it, which under Orca comes with the next key: a lone Shift follows it."""
    xdotool("key", "--clearmodifiers", key)
    time.sleep(0.3)
    xdotool("key", "Shift_R")


def wait_for_window(name, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                               capture_output=True, text=True, timeout=10).stdout.split()
        if found:
            return found[0]
        time.sleep(0.2)
    raise SystemExit("orca walk: FAILED: the host's window did not appear")


def main(host, form, keep_log=None):
    tmp = tempfile.mkdtemp(prefix="orca-walk-")
    log = os.path.join(tmp, "orca.log")
    env = dict(os.environ, LANG="en_GB.UTF-8", LANGUAGE="en_GB", LC_ALL="",
               XDG_CONFIG_HOME=os.path.join(tmp, "config"), XDG_DATA_HOME=os.path.join(tmp, "data"),
               HOME=tmp, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               GTK_MODULES="", NO_AT_BRIDGE="0")
    # Speech goes nowhere: Orca logs what it would have said.
    speechd = os.path.join(tmp, "speechd")
    os.makedirs(os.path.join(speechd, "modules"))
    with open(os.path.join(speechd, "speechd.conf"), "w") as conf:
        conf.write('AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\nAudioOutputMethod "libao"\n')
    children = []
    try:
        children.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL))
        children.append(subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", speechd],
                                         env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        orca_err = open(os.path.join(tmp, "orca.err"), "w")
        children.append(subprocess.Popen([sys.executable, "-c", ORCA_LINE_BUFFERED, shutil.which("orca"), "-u", os.path.join(tmp, "orca"), "--debug-file", log],
                                         env=env, stdout=orca_err, stderr=orca_err))
        try:
            wait_for_text(log, "registering listener for: object:value-changed", "Orca")
        except SystemExit:
            with open(os.path.join(tmp, "orca.err")) as err:
                sys.stderr.write(err.read()[-3000:])
            raise
        children.append(subprocess.Popen([host, form], env=env, stdout=subprocess.DEVNULL))
        wait_for_window("Pelidora demo")
        time.sleep(1.5)  # Orca meets the new window
        _, offset = spoken_since(log, 0)
        _, offset = settle(log, offset, longest=3)
        failures = []
        for number, (key, what, wanted) in enumerate(walk(), 1):
            press(key)
            said, offset = settle(log, offset)
            # The host's first focus may be elsewhere on the form: Tab on until the box.
            tries = 0
            while number == 1 and tries < 6 and not any(re.search(START.strftime("%B"), s) or
                                                         re.search(r"\b15\b", s) for s in said):
                press(key)
                said, offset = settle(log, offset)
                tries += 1
            heard = " | ".join(said)
            missing = [w for w in wanted if not re.search(w, heard)]
            print("%2d %-9s %-20s %s %s" % (number, key, what, "ok  " if not missing else "MISS",
                                             repr(heard)))
            if missing:
                failures.append("step %d (%s) lacks %s" % (number, what, ", ".join(missing)))
        if failures:
            raise SystemExit("orca walk: FAILED: " + "; ".join(failures))
        print("orca walk: OK")
    finally:
        for child in reversed(children):
            child.terminate()
        for child in reversed(children):
            try:
                child.wait(5)
            except subprocess.TimeoutExpired:
                child.kill()
        if keep_log and os.path.exists(log):
            shutil.copy(log, keep_log)
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    main(*sys.argv[1:])
