#!/usr/bin/python3
# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""Runs a form file's date boxes from Python: reads the form (examples/demo.json unless
another is named), shows its boxes where the form puts them, and prints every change of
a box's date.

    PYTHONPATH=build/python/module /usr/bin/python3 examples/demo.py [FORM.json]
"""

import os
import sys

from PyQt6.QtCore import Qt
from PyQt6.QtWidgets import QApplication, QWidget

import pelidora


def open_form(path):
    """The form's window, with one running date box per control."""
    form = pelidora.readForm(path)
    window = QWidget()
    window.setWindowTitle(form.caption)
    window.resize(form.size)
    for control in form.controls:
        box = pelidora.ucvPelidora(pelidora.Site(True), window)  # a site per box, the form running
        box.setObjectName(control.name)
        box.ReadProperties(control.properties)
        box.move(control.position)
        box.dateChanged.connect(lambda date, name=control.name: print(
            f"{name}: {date.toString(Qt.DateFormat.ISODate) if date.isValid() else 'no date'}", flush=True))
    return window


def main():
    app = QApplication(sys.argv)
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo.json")
    try:
        window = open_form(path)
    except pelidora.FormFileError as error:
        sys.exit(f"demo.py: {error}")  # the library has escaped what it quotes from the file
    window.show()
    return app.exec()


if __name__ == "__main__":
    sys.exit(main())
