#!/usr/bin/python3
# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""Draws docs/days.png: a panel with the weekend unavailable, a noted holiday, a booked day and
today marked, at twice the pixel ratio so that it stays sharp on a high-density screen.

usage (from the build): QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 PYTHONPATH=build/python/module \
    LD_LIBRARY_PATH=build/src tools/days-screenshot.py docs/days.png"""

import os
import sys

from PyQt6.QtCore import QDate, QLocale, Qt, QTimer
from PyQt6.QtGui import QColor
from PyQt6.QtTest import QTest
from PyQt6.QtWidgets import QApplication, QLineEdit, QVBoxLayout, QWidget

app = QApplication(sys.argv)
QLocale.setDefault(QLocale("en_GB"))
import pelidora  # noqa: E402  (the box takes the default locale when made)

form = QWidget()
QVBoxLayout(form).addWidget(box := pelidora.ucvPelidora(form))
box.setUnavailableWeekdays([Qt.DayOfWeek.Saturday, Qt.DayOfWeek.Sunday])
box.setUnavailableDates([QDate(2026, 12, 24)])
box.setDateNote(QDate(2026, 12, 25), "Christmas Day", QColor(Qt.GlobalColor.red))
box.setDateNote(QDate(2026, 12, 14), "Fully booked", QColor(Qt.GlobalColor.darkYellow))
box.setMarkToday(True)
box.setDate(QDate(2026, 12, 10))
form.show()
day = box.findChild(QLineEdit, "txtDay")
day.setFocus()


def shoot():
    panels = [w for w in app.topLevelWidgets() if w.objectName() == "window" and w.isVisible()]
    ok = bool(panels) and panels[0].grab().save(sys.argv[1])
    print("saved" if ok else "no panel to draw", sys.argv[1], flush=True)
    # The panel may hold a modal loop: leave without unwinding it.
    os._exit(0 if ok else 1)


QTimer.singleShot(500, shoot)
QTest.keyClick(day, Qt.Key.Key_Down, Qt.KeyboardModifier.AltModifier)
shoot()
