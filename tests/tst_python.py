# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""The module pelidora as a PyQt6 program uses it: a box among Qt's widgets, its date and
signals, a Python form host's site, property bags and form files. With --pip-install WORK
BUILD VERSION: the same, with the module pip installs into a venv against the library built
in BUILD."""

import ast
import io
import os
import shutil
import subprocess
import sys
import sysconfig
import tempfile
import unittest

from PyQt6 import sip
from PyQt6.QtCore import QDate, QLocale, QModelIndex, Qt
from PyQt6.QtTest import QSignalSpy
from PyQt6.QtWidgets import QApplication, QHBoxLayout, QLineEdit, QStyleOptionViewItem, QTableView, QWidget
try:
    from PyQt6 import uic
except ImportError:
    uic = None

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)


def pip_install(work, build, version):
    """Installs python/ with pip, offline, into a fresh venv in work, after pip's refusals
    without a library; then runs these tests with the installed module. 77: no venv or pip."""
    shutil.rmtree(work, ignore_errors=True)
    python, other = os.path.join(work, "venv", "bin", "python"), os.path.join(work, "other")
    made = subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", os.path.dirname(os.path.dirname(python))],
                          capture_output=True, text=True, timeout=120)
    if made.returncode or subprocess.run([python, "-m", "pip", "--version"], capture_output=True, timeout=60).returncode:
        print("skipped: no venv with pip (python3-venv)", made.stderr)
        return 77
    os.makedirs(other)
    with open(os.path.join(other, "CMakeCache.txt"), "w") as cache:
        cache.write("CMAKE_PROJECT_NAME:STATIC=Other\n")
    # No LD_LIBRARY_PATH: the module finds the library through its rpath. No pip settings
    # but these, no pelidora.pc that pkg-config could find.
    env = {k: v for k, v in os.environ.items()
           if k not in ("PYTHONPATH", "LD_LIBRARY_PATH", "PKG_CONFIG_PATH") and not k.startswith("PIP_")}
    env.update(PIP_CONFIG_FILE=os.devnull, PIP_NO_CACHE_DIR="1", PIP_DISABLE_PIP_VERSION_CHECK="1",
               PYTHONDONTWRITEBYTECODE="1", PKG_CONFIG_LIBDIR=work, PELIDORA_INSTALLED=version)
    for prefix, told in [(None, "pelidora: libpelidora was not found"), (os.path.join(work, "none"), "does not exist"),
                         (other, "not one of Pelidora"), (TOP, "no libpelidora.so under"), (build, "")]:
        run = subprocess.run([python, "-m", "pip", "install", "--no-build-isolation", "--no-index", os.path.join(TOP, "python")],
                             env=dict(env, PELIDORA_PREFIX=prefix or ""), capture_output=True, text=True, timeout=500)
        if (run.returncode == 0) != (not told) or told not in run.stdout + run.stderr:
            print(f"pip with PELIDORA_PREFIX={prefix}:", run.stdout, run.stderr)
            return 1
    return subprocess.run([python, "-B", os.path.abspath(__file__)], env=env, timeout=300).returncode


if __name__ == "__main__" and sys.argv[1:2] == ["--pip-install"]:
    sys.exit(pip_install(*sys.argv[2:5]))

import pelidora
from pelidora import Site, StdFont, ucvPelidora

DEMO = os.path.join(TOP, "examples", "demo.json")


def setUpModule():
    global app
    app = QApplication.instance() or QApplication(sys.argv)
    # Taken by each box when made: day, month, year in this order.
    QLocale.setDefault(QLocale("en_GB"))


class RecordingSite(Site):
    """A form host's site: hears the notices, and raises the errors or only records them."""

    def __init__(self, user_mode, raises=None):
        super().__init__(user_mode)
        self.raises, self.notices, self.errors = raises, [], []
        self.propertyChanged.connect(self.notices.append)
        # A write Qt made is refused without raiseError, which could not raise through Qt.
        self.writeRefused.connect(lambda name, number, description: self.errors.append(number))

    def raiseError(self, error):
        self.errors.append(error.number)
        if self.raises is RuntimeError:
            raise error
        if self.raises:
            raise self.raises("raised by the site")


class RecordingSink(pelidora.MessageSink):
    def __init__(self):
        super().__init__()
        self.messages = []

    def showMessage(self, text, icon, title):
        self.messages.append((text, icon, title))

    def beep(self):
        self.messages.append("beep")


class TheBox(unittest.TestCase):
    def test_is_a_qwidget_among_qts_widgets(self):
        form = QWidget()
        QHBoxLayout(form).addWidget(ucvPelidora())
        box = form.layout().itemAt(0).widget()
        self.assertIsInstance(box, ucvPelidora)  # handed out by Qt as itself
        self.assertIs(box.parentWidget(), form)
        self.assertIsInstance(form.findChild(QLineEdit, "txtDay"), QLineEdit)
        self.assertIsInstance(box.site(), Site)
        self.assertEqual(("RuntimeError" in pelidora.__all__, "ucvPelidora" in pelidora.__all__,
                          ucvPelidora(None).date().isValid()), (False, True, True))  # None: no parent, not no site
        with open(os.path.join(os.path.dirname(pelidora.__file__), "pelidora.pyi")) as stubs:
            declared = {f.name: [a.arg for a in f.args.args] for f in ast.parse(stubs.read()).body
                        if isinstance(f, ast.FunctionDef)}
        self.assertEqual((declared["writeForm"], declared["today"]), (["path", "form"], []))
        self.assertTrue(pelidora.writeForm.__doc__.startswith("writeForm(path: str, form: Form)\nSaves form"))
        # An item view's delegate, making boxes told that they are editors; how they end an
        # edit is tst_ucvpelidora_entry's business.
        view = QTableView()
        view.setItemDelegate(pelidora.DateItemDelegate(view))
        self.assertIsInstance(view.itemDelegate(), pelidora.DateItemDelegate)
        box = view.itemDelegate().createEditor(view.viewport(), QStyleOptionViewItem(), QModelIndex())
        self.assertEqual((type(box), box.isItemEditor(), ucvPelidora().property("itemEditor")), (ucvPelidora, True, False))

    def test_date_and_range_reach_python(self):
        # What the box does with a date and a range is the C++ suites' business; here, that
        # QDate, the serial and the text cross the binding, and the signals arrive.
        box = ucvPelidora()
        changed, ranges = QSignalSpy(box.dateChanged), QSignalSpy(box.dateRangeChanged)
        box.setDateSet("36526")
        self.assertEqual((box.date(), pelidora.daySerial(box.date())), (QDate(2000, 1, 1), 36526))
        self.assertEqual(box.DateSet(), pelidora.shortDateText(QDate(2000, 1, 1)))
        box.setDateRange(QDate(2025, 1, 1), QDate(2025, 12, 31))  # moves the held date to the minimum
        self.assertEqual(list(changed), [[QDate(2000, 1, 1)], [QDate(2025, 1, 1)]])
        self.assertEqual(list(ranges), [[QDate(2025, 1, 1), QDate(2025, 12, 31)]])
        self.assertEqual((box.minimumDate(), box.maximumDate()), (QDate(2025, 1, 1), QDate(2025, 12, 31)))
        # A Python rule: asked with a QDate; an exception in it counts as available.
        box.setUnavailableWeekdays([Qt.DayOfWeek.Sunday])
        self.assertEqual(box.unavailableWeekdays(), [Qt.DayOfWeek.Sunday])
        box.setAvailabilityRule(lambda d: d.day() > 2)
        self.assertEqual(list(changed)[2:], [[QDate(2025, 1, 3)]])  # 1 and 2 January ruled out
        box.setAvailabilityRule(lambda d: 1 / 0)
        self.assertTrue(box.isDateAvailable(QDate(2025, 1, 2)))
        box.setAvailabilityRule(None)
        box.setDateNote(QDate(2025, 12, 25), "Christmas Day")
        self.assertEqual(box.dateNote(QDate(2025, 12, 25)), "Christmas Day")
        # One that deletes the box ends the action that asked it, here its own setting.
        box.setAvailabilityRule(lambda d: sip.delete(box))
        self.assertTrue(sip.isdeleted(box))

    def test_signals_reach_python(self):
        # When the box raises them (typing, the panel) is the C++ suites' business; here, that
        # each is bound and its arguments cross.
        box = ucvPelidora()
        for signal, arguments in [(box.Click, []), (box.DayMouseMove, [10, 2, 2024, 0.5, 0.0]),
                                  (box.dateEdited, [QDate(2024, 2, 11)]), (box.editingFinished, [])]:
            spy = QSignalSpy(signal)
            signal.emit(*arguments)
            self.assertEqual(list(spy), [arguments])

    @unittest.skipUnless(uic, "PyQt6.uic comes with pyqt6-dev-tools")
    def test_a_designer_ui_file(self):
        # Designer's trip.ui, which tst_uiform builds with uic, through the plugin for PyQt6's uic.
        uic.objcreator.widgetPluginPath.append(os.path.join(TOP, "python", "pyuic"))
        trip, code, namespace = os.path.join(TOP, "examples", "trip.ui"), io.StringIO(), {}
        uic.compileUi(trip, code)  # what pyuic6 writes
        exec(code.getvalue(), namespace)
        for name, load in [("loadUi", lambda form: uic.loadUi(trip, form)),
                           ("pyuic6", lambda form: namespace["Ui_TripForm"]().setupUi(form))]:
            with self.subTest(name):
                form = QWidget()
                load(form)
                box = form.findChild(ucvPelidora, "dtReturn")
                self.assertEqual((box.Appearance(), box.date()), (ucvPelidora.AppearStyle.ThreeD, QDate(2024, 3, 29)))


@unittest.skipUnless(os.environ.get("PELIDORA_INSTALLED"), "for the module pip installed")
class InstalledByPip(unittest.TestCase):
    def test_metadata_and_place(self):
        from importlib import metadata
        about = metadata.metadata("pelidora")
        self.assertEqual((about["Version"], about["License"], os.path.dirname(pelidora.__file__)),
                         (os.environ["PELIDORA_INSTALLED"], "MIT", sysconfig.get_path("platlib")))
        self.assertIn("Qt 6", about["Summary"])


class APythonHost(unittest.TestCase):
    def test_site_hears_notices_and_decides_about_errors(self):
        rows = [  # user mode, what raiseError raises, the write, what the caller sees, errors
            ("run mode, site raises", True, RuntimeError, lambda box: box.setAppearance(1), 393, [393]),
            ("run mode, site tells the user", True, None, lambda box: box.setAppearance(1), None, [393]),
            ("run mode, site raises its own", True, ValueError, lambda box: box.setAppearance(1), ValueError, [393]),
            ("overflow", False, RuntimeError, lambda box: box.setMousePointer(1 << 16), 6, [6]),
            ("through Qt, site raises", True, RuntimeError, lambda box: box.setProperty("Appearance", 1), None, [393]),
            ("through Qt, site raises its own", False, ValueError,
             lambda box: box.setProperty("MousePointer", 70000), None, [6]),
        ]
        for name, user_mode, raises, write, seen, errors in rows:
            with self.subTest(name):
                site = RecordingSite(user_mode, raises)
                box = ucvPelidora(site)
                box.InitProperties()
                box.setDateSet("36526")
                if seen is None:
                    write(box)
                elif seen is ValueError:
                    self.assertRaises(ValueError, write, box)
                else:
                    with self.assertRaises(pelidora.RuntimeError) as caught:
                        write(box)
                    self.assertEqual(caught.exception.number, seen)
                    self.assertIn(caught.exception.description, str(caught.exception))
                self.assertEqual(site.errors, errors)
                self.assertEqual(site.notices, ["DateSet"] + (["Appearance"] if not errors else []))
                self.assertEqual(box.Appearance(), ucvPelidora.AppearStyle.ThreeD if not errors else 0)
        # examples/demo.py's plain site: a write Qt makes is warned of, never thrown through Qt.
        form = QWidget()
        box = ucvPelidora(Site(True), form)
        self.assertTrue(box.setProperty("Appearance", 1) and box.Appearance() == 0)

    def test_errors_thrown_by_the_library(self):
        # Every bound call raises the library's errors alike; Site.raiseError is written by hand.
        for name, call, number in [
            ("a site's own raiseError", lambda: Site(True).raiseError(pelidora.RuntimeError(393)), 393),
            ("a value no bag holds", lambda: pelidora.PropertyBag().WriteProperty("Name", "text"), 13),
            ("a text UTF-8 cannot carry", lambda: Site(True).raiseError(pelidora.RuntimeError(393, "\ud800")), 393),
        ]:
            with self.subTest(name):
                with self.assertRaises(pelidora.RuntimeError) as caught:
                    call()
                self.assertEqual(caught.exception.number, number)

    def test_property_bag_kinds(self):
        bag = pelidora.PropertyBag()
        font = StdFont()
        for key, value, kind in [("Long", 70000, pelidora.ValueKind.Long), ("Bool", True, pelidora.ValueKind.Boolean),
                                 ("Font", font, pelidora.ValueKind.Font)]:
            bag.WriteProperty(key, value)
            self.assertEqual(pelidora.PropertyBag.kindOf(bag.ReadProperty(key)), kind)
        self.assertTrue(bag.readFont("font", StdFont()) == font)  # the rest is tst_propertybag's
        self.assertEqual(repr(bag), "<pelidora.PropertyBag Long, Bool, Font>")

    def test_form_read_changed_and_written(self):
        form = pelidora.readForm(DEMO)
        self.assertEqual((repr(form), repr(form.controls[0])), ('<pelidora.Form "Pelidora demo" 460x290, 3 controls>',
                                                                 '<pelidora.FormControl ucvPelidora "dtDeparture" at (16, 24)>'))
        site = RecordingSite(True)
        controls = form.controls
        first = ucvPelidora(site)
        first.ReadProperties(controls[0].properties)
        first.setDate(QDate(2030, 1, 2))
        controls[0].properties = pelidora.PropertyBag()
        first.WriteProperties(controls[0].properties)
        form.controls = controls
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "saved.json")
            pelidora.writeForm(path, form)
            saved = pelidora.readForm(path)
        # The new bag reached the file; that the rest reads back is tst_formfile's.
        self.assertEqual(saved.controls[0].properties.readLong("DateSet", -1), pelidora.daySerial(QDate(2030, 1, 2)))
        with self.assertRaises(pelidora.FormFileError) as caught:  # raised where the GIL was let go
            pelidora.readForm("missing.json")
        self.assertTrue(caught.exception.message.startswith("missing.json: "))

    def test_a_control_class_of_the_programs_own(self):
        pelidora.registerControlClass("PyLabel", [("Caption", pelidora.ValueKind.Long)])
        own = pelidora.parseForm(b'{"format": "pelidora-form", "version": 1, "width": 9, "height": 9, "controls": '
                                 b'[{"class": "PyLabel", "name": "a", "left": 0, "top": 0, "properties": {"caption": 5}}]}',
                                 "own.json")
        self.assertEqual(own.controls[0].properties.readLong("Caption", 0), 5)
        for name, keys in (("PyLabel", [("Key", pelidora.ValueKind.Long), ("KEY", pelidora.ValueKind.Boolean)]),
                           ("ucvPelidora", []), ("Py Label", [])):
            with self.assertRaises(ValueError):
                pelidora.registerControlClass(name, keys)

    def test_messages_reach_a_python_sink(self):
        sink = RecordingSink()
        self.assertIsNone(pelidora.setMessageSink(sink))
        box = ucvPelidora()
        big = StdFont()
        big.setSize(14)
        box.setFontObject(big)
        self.assertIs(pelidora.setMessageSink(None), sink)
        self.assertEqual(sink.messages, [("Can't assign font size greater than 12.", pelidora.MessageSink.Icon.Critical,
                                          "Pelidora")])


if __name__ == "__main__":
    unittest.main()
