// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Designing a form in pelidora-host: the property browser, moving, adding and deleting
// boxes, undo, the unsaved-changes marker, and saving what a run then reads back.

#include "designoverlay.h"
#include "designwindow.h"
#include "formcanvas.h"
#include "formdump.h"
#include "formhost.h"
#include "hosttranslations.h"
#include "propertybrowser.h"
#include "runwindow.h"

#include "support/hosthelpers.h"

#include <pelidora/formfile.h>

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QtWidgets>

#include <functional>

using namespace pelidora;
using namespace pelidora::test;
using namespace pelidora::host;

namespace {

// A form of the size given with default boxes "a", "b" … at the places given.
QByteArray formWith(int width, int height, const QList<QPoint> &boxes)
{
    QByteArrayList controls;
    for (qsizetype i = 0; i < boxes.size(); ++i)
        controls << controlJson("ucvPelidora", QByteArray(1, char('a' + i)), {}, boxes[i]);
    return formJson(controls.join(','), {}, {width, height});
}

} // namespace

class tst_HostDesign : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void browserOffersTheDesignablePropertiesOnly();
    void browserSaysWhatTheBoxDidWithAValue_data();
    void browserSaysWhatTheBoxDidWithAValue();
    void savedDesignRunsWithAllNineValues();
    void modifiedMarkerFollowsSavesAndRuns();
    void designedFormIsInertAndKeptOnABrokenLoad();
    void everyChangeIsOneUndoStep_data();
    void everyChangeIsOneUndoStep();
    void addedBoxTakesTheFirstFreeSpot_data();
    void addedBoxTakesTheFirstFreeSpot();
    void menusAndStepsSpeakTheSystemLanguage();

private:
    QString copyOfDemo();

    FakeWindowSystem m_windowSystem;
    TodayPin m_today{2024, 3, 20};
    LocalePin m_locale{QStringLiteral("en_GB")};
    QTemporaryDir m_dir;
};

void tst_HostDesign::init()
{
    m_windowSystem.messages.clear();
}

QString tst_HostDesign::copyOfDemo()
{
    const QString path = m_dir.filePath(QStringLiteral("%1 %2.json").arg(QLatin1String(QTest::currentTestFunction()),
                                                                          QLatin1String(QTest::currentDataTag())));
    QFile::remove(path);
    if (!QFile::copy(demoPath(), path))
        qFatal("cannot copy the demo form");
    return path;
}

void tst_HostDesign::browserOffersTheDesignablePropertiesOnly()
{
    PropertyBrowser browser;
    const QMetaObject &meta = ucvPelidora::staticMetaObject;
    QStringList editors;
    for (const QString &name : browser.propertyNames()) {
        const QWidget *editor = browser.editor(name);
        editors << name + u' ' + QLatin1String(editor->metaObject()->className());
        // The control's own help string, as its class info holds it.
        const int help = meta.indexOfClassInfo(qPrintable("Help:" + name));
        QVERIFY2(help >= 0 && editor->toolTip() == QString::fromUtf8(meta.classInfo(help).value()), qPrintable(name));
    }
    QCOMPARE(editors, QStringList({"BackColor QToolButton", "ForeColor QToolButton", "Locked QCheckBox",
                                   "Appearance QComboBox", "Font QToolButton", "DateSet QLineEdit",
                                   "PelidoraBackColor QToolButton", "Enabled QCheckBox", "MousePointer QSpinBox",
                                   "minimumDate QDateEdit", "maximumDate QDateEdit"})); // no hwnd
    const auto *appearance = qobject_cast<QComboBox *>(browser.editor(QStringLiteral("Appearance")));
    QCOMPARE(QStringList({appearance->itemText(0), appearance->itemText(1)}), QStringList({"Flat", "3D"}));

    // A system colour is shown by its name and chosen from the colour's menu.
    Site site(false);
    ucvPelidora box(&site);
    box.InitProperties();
    box.setBackColorValue(0x8000000F);
    browser.setTarget(&box);
    const auto *back = qobject_cast<QToolButton *>(browser.editor(QStringLiteral("BackColor")));
    const auto *fore = qobject_cast<QToolButton *>(browser.editor(QStringLiteral("ForeColor")));
    const QList<QAction *> colours = fore->menu()->actions();
    const auto windowText = std::find_if(colours.begin(), colours.end(), [](QAction *a) { return a->text() == "Window Text"; });
    QVERIFY(windowText != colours.end());
    Q_EMIT fore->menu()->aboutToShow();
    (*windowText)->trigger();
    QCOMPARE(box.ForeColorValue(), 0x80000008u);
    // Beside each name, a swatch of the colour the box then takes.
    QCOMPARE((*windowText)->icon().pixmap(QSize(20, 14)).toImage().pixelColor(10, 7), box.ForeColor());
    QCOMPARE(QStringList({fore->text(), back->text()}), QStringList({"Window Text", "Button Face"}));
    browser.setTarget(nullptr);
}

void tst_HostDesign::browserSaysWhatTheBoxDidWithAValue_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown"); // by the editor afterwards
    QTest::addColumn<QString>("note");  // beside it
    QTest::newRow("393 while running") << true << "Appearance" << QVariant(1) << "Flat"
                                       << "Not set. Run-time error 393: Property can't be set at run time";
    QFont big(QStringLiteral("Liberation Sans"));
    big.setPointSizeF(14.5);
    QTest::newRow("font above 12 points") << false << "Font" << QVariant::fromValue(StdFont(big))
                                          << "Liberation Sans, 12 pt"
                                          << "Read back as Liberation Sans, 12 pt (entered: Liberation Sans, 14.5 pt).";
    QTest::newRow("kept as entered") << false << "DateSet" << QVariant("24/12/2025") << "24/12/2025" << "";
}

// Beside the property, not in a message box; the box's own message about the font stays.
void tst_HostDesign::browserSaysWhatTheBoxDidWithAValue()
{
    QFETCH(bool, userMode);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QFETCH(QString, note);
    PropertyBrowser browser;
    Site site(userMode);
    ucvPelidora box(&site);
    box.InitProperties();
    browser.setTarget(&box);
    QCOMPARE(browser.writeProperty(property, value), !note.startsWith(QLatin1String("Not set")));
    QCOMPARE(browser.note(property), note);
    const QWidget *editor = browser.editor(property);
    const auto *combo = qobject_cast<const QComboBox *>(editor);
    const auto *line = qobject_cast<const QLineEdit *>(editor);
    QCOMPARE(combo ? combo->currentText() : line ? line->text() : qobject_cast<const QToolButton *>(editor)->text(), shown);
    QCOMPARE(m_windowSystem.messages.size(), property == QLatin1String("Font") ? 1 : 0);
    // Said until the next write or another box.
    browser.writeProperty(QStringLiteral("Locked"), true);
    QCOMPARE(browser.note(property), QString());
}

void tst_HostDesign::savedDesignRunsWithAllNineValues()
{
    const QString path = copyOfDemo();
    const auto dumpInRunMode = [&] { return QJsonDocument::fromJson(runHost({path, "--dump"}).out.toUtf8()).array(); };
    const QJsonArray before = dumpInRunMode();
    DesignWindow window;
    window.load(path);
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtDeparture"));
    window.overlay()->select(box);
    PropertyBrowser *browser = window.browser();
    browser->setColorPicker([](const QColor &, const QString &p, QWidget *) {
        return std::optional(p == "BackColor" ? QColor(0x12, 0x34, 0x56) : p == "ForeColor" ? QColor(Qt::red) : QColor(0, 0x80, 0x40));
    });
    // Past 12 points (what the box and the browser say then is browserSaysWhatTheBoxDidWithAValue's).
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPointSizeF(14.5);
    chosen.setUnderline(true);
    const StdFont fontBefore = box->Font();
    browser->setFontPicker([chosen](const QFont &, QWidget *) { return std::optional<QFont>(chosen); });

    for (const char *name : {"BackColor", "ForeColor", "PelidoraBackColor", "Font", "Locked", "Enabled"})
        qobject_cast<QAbstractButton *>(browser->editor(QLatin1String(name)))->click();
    QTest::keyClick(browser->editor(QStringLiteral("Appearance")), Qt::Key_Down);
    auto *date = qobject_cast<QLineEdit *>(browser->editor(QStringLiteral("DateSet")));
    date->selectAll();
    QTest::keyClicks(date, QStringLiteral("24/12/2025"));
    QTest::keyClick(date, Qt::Key_Return);
    qobject_cast<QSpinBox *>(browser->editor(QStringLiteral("MousePointer")))->setValue(11);
    qobject_cast<QDateEdit *>(browser->editor(QStringLiteral("minimumDate")))->setDate(QDate(2025, 12, 1));
    qobject_cast<QDateEdit *>(browser->editor(QStringLiteral("maximumDate")))->setDate(QDate(2026, 1, 31));
    // And a drag, which the form file keeps as the position: (16, 24) + (37, 21), on the
    // 8-pixel grid.
    const QPoint centre = box->geometry().center();
    QTest::mousePress(window.overlay(), Qt::LeftButton, {}, centre);
    QTest::mouseMove(window.overlay(), centre + QPoint(37, 21));
    QTest::mouseRelease(window.overlay(), Qt::LeftButton, {}, centre);

    // A new font object: the one the box had may be shared with what was read.
    QVERIFY(!box->Font().isSameObject(fontBefore));
    QVERIFY(window.save());
    const QJsonArray after = dumpInRunMode();
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "name": "dtDeparture", "class": "ucvPelidora", "left": 56, "top": 48, "properties": {
        "BackColor": 5649426, "ForeColor": 255, "Enabled": false, "Locked": true, "Appearance": 1,
        "DateSet": {"serial": 46015, "text": "24/12/2025"},
        "Font": {"Name": "Liberation Sans", "Size": 12, "Bold": false, "Italic": false, "Underline": true,
                 "Strikethrough": false},
        "MousePointer": 11, "PelidoraBackColor": 4227072, "minimumDate": 45992, "maximumDate": 46053}})").object();
    QCOMPARE(after.at(0).toObject(), expected);
    QCOMPARE(after.toVariantList().mid(1), before.toVariantList().mid(1)); // the other boxes as they were
}

// Saving, a run (which saves first) and reading the saved form back leave no marker; a
// refused rename sets none; a failed save keeps it.
void tst_HostDesign::modifiedMarkerFollowsSavesAndRuns()
{
    DesignWindow window;
    const QString path = copyOfDemo();
    window.load(path);
    QVERIFY(window.windowTitle().contains(QLatin1String("[*]")));
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtReturn"));
    window.overlay()->select(box);
    auto *name = qobject_cast<QLineEdit *>(window.browser()->nameEditor());
    name->setText(QStringLiteral("DTISSUED")); // names ignore case
    Q_EMIT name->editingFinished();
    QCOMPARE(name->text(), QStringLiteral("dtReturn"));
    QVERIFY(!window.isWindowModified());
    QVERIFY(m_windowSystem.messages.value(0).text.contains(QLatin1String("already used")));

    box->setLocked(true); // the site's notice alone marks the form
    QVERIFY(window.isWindowModified());
    const RunWindow *run = window.runForm();
    QVERIFY(run && run->isVisible());
    const ucvPelidora *live = run->host()->boxNamed(QStringLiteral("dtReturn"));
    QVERIFY(live->site()->UserMode() && live->Locked());
    QVERIFY(!window.isWindowModified());
    window.load(path);
    QVERIFY(!window.isWindowModified());

    // A folder stands where the file was: the user is told, and the change stays marked.
    window.host()->boxNamed(QStringLiteral("dtReturn"))->setLocked(false);
    QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    QVERIFY(!window.save());
    QCOMPARE(m_windowSystem.messages.size(), 2);
    QVERIFY2(m_windowSystem.messages.value(1).text.startsWith(path), qPrintable(m_windowSystem.messages.value(1).text));
    QVERIFY(window.isWindowModified());
}

// A designed box takes neither pointer nor keys; a broken file read over the form leaves
// the form as it was, not half-loaded.
void tst_HostDesign::designedFormIsInertAndKeptOnABrokenLoad()
{
    DesignWindow window;
    const QString good = copyOfDemo();
    window.load(good);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtIssued"));
    QTest::mouseClick(window.overlay(), Qt::LeftButton, {}, box->geometry().center());
    QCOMPARE(window.overlay()->selected(), box); // which the browser edits: see the undo rows
    QCOMPARE(QApplication::focusWidget(), window.overlay());
    for (const QWidget *field : box->findChildren<QWidget *>())
        QVERIFY2(field->isWindow() || field->focusPolicy() == Qt::NoFocus, qPrintable(field->objectName()));
    QTest::mouseClick(window.overlay(), Qt::LeftButton, {}, QPoint(440, 150)); // on no box
    QCOMPARE(window.overlay()->selected(), nullptr);

    const QString broken = m_dir.filePath(QStringLiteral("broken.json"));
    QVERIFY(writeFile(broken, formJson(controlJson("ucvPelidora", "x") + "," + controlJson("Label", "y", {}, {0, 40}),
                                       {}, {200, 80})));
    QVERIFY_THROWS_EXCEPTION(FormFileError, window.load(broken));
    QCOMPARE(window.host()->boxes().size(), 3);
    QCOMPARE(window.canvas()->findChildren<ucvPelidora *>().size(), 3);
    QCOMPARE(window.host()->path(), good);
    QCOMPARE(window.canvas()->size(), QSize(460, 290));
}

void tst_HostDesign::everyChangeIsOneUndoStep_data()
{
    QTest::addColumn<QStringList>("actions"); // one the test names, or else a key on the form
    QTest::addColumn<QStringList>("steps");   // as the Edit menu names them, oldest first
    const auto row = [](const char *name, const QStringList &actions, const QStringList &steps) {
        QTest::newRow(name) << actions << steps;
    };
    row("add", {"add"}, {"Add ucvPelidora1"});
    row("delete key", {"Del"}, {"Delete dtReturn"});
    row("three nudges", {"Left", "Left", "Shift+Down", "at 254,32"}, {"Move dtReturn"});
    row("rename", {"rename"}, {"Rename dtReturn to dtBack"});
    row("a bigger font", {"bigger font"}, {"Set dtReturn.Font"});
    // With the date it moved: one step.
    row("a range past the date", {"range past the date"}, {"Set dtDeparture.maximumDate"});
    // Only a run of one change is merged (the height's two values here), and a run that ends
    // where it began is no step.
    row("nudges of two boxes", {"Left", "select dtIssued", "Left"}, {"Move dtReturn", "Move dtIssued"});
    row("a nudge, then a drag", {"Left", "drag"}, {"Move dtReturn", "Move dtReturn"});
    row("writes of two properties", {"date", "lock"}, {"Set dtReturn.DateSet", "Set dtReturn.Locked"});
    row("writes to two boxes", {"date", "date of dtIssued"}, {"Set dtReturn.DateSet", "Set dtIssued.DateSet"});
    row("form caption, then height", {"select the form", "caption", "heights 300 and 320"},
        {"Set the form's Caption", "Set the form's Height"});
    row("nudged back", {"Left", "Right"}, {});
    row("a write undone by the next", {"lock", "unlock"}, {});
}

// Ctrl+Z puts the form back as it was, with the frame on the box and no unsaved marker;
// Ctrl+Shift+Z does it again; the marker follows where the stack was saved.
void tst_HostDesign::everyChangeIsOneUndoStep()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, steps);
    DesignWindow window;
    window.load(copyOfDemo());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto state = [&] {
        const QSize canvas = window.canvas()->size();
        return QJsonDocument(QJsonObject{{"caption", window.host()->caption()},
                                         {"canvas", QStringLiteral("%1x%2").arg(canvas.width()).arg(canvas.height())},
                                         {"boxes", dumpBoxes(*window.host())}}).toJson();
    };
    DesignOverlay *overlay = window.overlay();
    const auto frameFollows = [&] {
        const ucvPelidora *box = overlay->selected();
        return overlay->selectionFrame() == (box ? box->geometry().adjusted(-3, -3, 2, 2) : QRect());
    };
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtReturn"));
    ucvPelidora *issued = window.host()->boxNamed(QStringLiteral("dtIssued"));
    PropertyBrowser *browser = window.browser();
    const auto type = [](QWidget *field, const QString &text) {
        qobject_cast<QLineEdit *>(field)->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    };
    const int heightBefore = box->height();
    // Those that could miss what the row needs check that they did not.
    const QHash<QString, std::function<void()>> named{
        {"add", [&] { window.addBox(); }},
        {"at 254,32", [&] { QCOMPARE(box->pos(), QPoint(254, 32)); }},
        {"select dtIssued", [&] { overlay->select(issued); }},
        {"drag", [&] {
             const QPoint centre = box->geometry().center();
             QTest::mousePress(overlay, Qt::LeftButton, {}, centre);
             QTest::mouseMove(overlay, centre + QPoint(-60, 50));
             QTest::mouseMove(overlay, centre + QPoint(-100, 90));
             QTest::mouseRelease(overlay, Qt::LeftButton, {}, centre + QPoint(-100, 90));
         }},
        {"date", [&] { box->setDateSet(QStringLiteral("24/12/2025")); }},
        {"date of dtIssued", [&] { issued->setDateSet(QStringLiteral("24/12/2025")); }},
        {"lock", [&] { box->setLocked(true); }},
        {"unlock", [&] { box->setLocked(false); }},
        {"rename", [&] {
             browser->nameEditor()->setFocus(); // and Ctrl+Z is pressed there
             type(browser->nameEditor(), QStringLiteral("dtBack"));
         }},
        {"bigger font", [&] {
             QFont bigger(QStringLiteral("DejaVu Sans"));
             bigger.setPointSize(12);
             bigger.setBold(true);
             browser->setFontPicker([bigger](const QFont &, QWidget *) { return std::optional<QFont>(bigger); });
             qobject_cast<QToolButton *>(browser->editor(QStringLiteral("Font")))->click();
             QVERIFY(box->height() > heightBefore);
         }},
        {"range past the date", [&] {
             overlay->select(window.host()->boxNamed(QStringLiteral("dtDeparture"))); // holds 15 March 2024
             qobject_cast<QDateEdit *>(browser->editor(QStringLiteral("maximumDate")))->setDate(QDate(2024, 1, 31));
             QCOMPARE(overlay->selected()->date(), QDate(2024, 1, 31));
         }},
        // By a click on no box.
        {"select the form", [&] {
             QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(150, 200));
             QVERIFY(!overlay->selected() && browser->editor(QStringLiteral("Caption"))->isVisible());
         }},
        {"caption", [&] {
             browser->editor(QStringLiteral("Caption"))->setFocus(); // Ctrl+Z is pressed there
             type(browser->editor(QStringLiteral("Caption")), QStringLiteral("Trip"));
             QVERIFY2(window.windowTitle().startsWith(QLatin1String("Trip")), qPrintable(window.windowTitle()));
         }},
        {"heights 300 and 320", [&] {
             auto *height = qobject_cast<QSpinBox *>(browser->editor(QStringLiteral("Height")));
             height->setValue(300);
             height->setValue(320);
             QCOMPARE(window.canvas()->height(), 320);
         }},
    };
    overlay->select(box);
    const QByteArray before = state();
    for (const QString &action : actions) {
        if (named.contains(action)) {
            named[action]();
        } else {
            overlay->setFocus();
            QTest::keySequence(overlay, QKeySequence(action));
        }
        if (QTest::currentTestFailed())
            return;
    }
    const QByteArray after = state();
    QCOMPARE(std::tuple(after != before, frameFollows(), window.isWindowModified(), window.undoStack()->count()),
             std::tuple(!steps.isEmpty(), true, !steps.isEmpty(), int(steps.size())));
    if (steps.isEmpty())
        return;
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("undo"))->text(), "&Undo " + steps.constLast());

    // Undo and redo reach the form wherever the keyboard is: a field that committed its
    // value (a new name) has nothing of its own to undo.
    const auto shortcut = [&](Qt::KeyboardModifiers modifiers) { // once for each step
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : overlay, Qt::Key_Z, modifiers);
        }
    };
    shortcut(Qt::ControlModifier);
    QCOMPARE(state(), before);
    QCOMPARE(std::pair(frameFollows(), window.isWindowModified()), std::pair(true, false));
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("redo"))->text(), "&Redo " + steps.constFirst());
    if (actions == QStringList{"Del"})
        QCOMPARE(overlay->selected(), window.host()->boxNamed(QStringLiteral("dtReturn")));
    shortcut(Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(state(), after);
    QCOMPARE(std::pair(frameFollows(), window.isWindowModified()), std::pair(true, true));

    QVERIFY(window.save() && !window.isWindowModified());
    shortcut(Qt::ControlModifier);
    QVERIFY(window.isWindowModified());
    window.undoStack()->setIndex(window.undoStack()->count());
    QVERIFY(!window.isWindowModified());
}

void tst_HostDesign::addedBoxTakesTheFirstFreeSpot_data()
{
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<QList<QPoint>>("placed"); // each added box in turn
    QTest::addColumn<QSize>("formSize");       // afterwards
    // A box here is 162 x 14; its name tab (16 high) goes above it, or below when it
    // would leave the form.
    QTest::newRow("beside a box") << formWith(400, 100, {{16, 16}}) << QList<QPoint>{{192, 16}} << QSize(400, 100);
    QTest::newRow("below a box and its tab") << formWith(300, 100, {{16, 16}}) << QList<QPoint>{{16, 72}} << QSize(300, 100);
    QTest::newRow("full: the form grows") << formWith(300, 100, {{16, 48}}) << QList<QPoint>{{16, 88}} << QSize(300, 120);
    QTest::newRow("empty, then clear of the one added") << formWith(300, 100, {}) << QList<QPoint>{{16, 16}, {16, 72}}
                                                   << QSize(300, 100);
}

// Each with a free name, selected, where the row says: clear of every box and its tab.
void tst_HostDesign::addedBoxTakesTheFirstFreeSpot()
{
    QFETCH(QByteArray, form);
    QFETCH(QList<QPoint>, placed);
    QFETCH(QSize, formSize);
    const QString path = m_dir.filePath(QStringLiteral("placed.json"));
    QVERIFY(writeFile(path, form));
    DesignWindow window;
    window.load(path);
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const ucvPelidora *box = window.addBox();
        QCOMPARE(box->objectName(), QStringLiteral("ucvPelidora%1").arg(i + 1));
        QCOMPARE(box->pos(), placed[i]);
        QCOMPARE(window.overlay()->selected(), box);
    }
    QCOMPARE(window.host()->formSize(), formSize);
    window.undoStack()->undo();
    QCOMPARE(window.host()->formSize(), QSize(formSize.width(), 100));
}

void tst_HostDesign::menusAndStepsSpeakTheSystemLanguage()
{
    const auto menusAfterAnAdd = [this] {
        DesignWindow window;
        window.load(copyOfDemo());
        window.addBox();
        QStringList texts;
        for (const QAction *menu : window.menuBar()->actions())
            texts << menu->text();
        return texts << window.findChild<QAction *>(QStringLiteral("undo"))->text();
    };
    QVERIFY(installHostTranslations(QLocale("it_IT")));
    QCOMPARE(menusAfterAnAdd(), QStringList({"&File", "&Modifica", "&Aiuto", "&Annulla Aggiungi ucvPelidora1"}));
    QVERIFY(!installHostTranslations(QLocale("en_US")));
    QCOMPARE(menusAfterAnAdd(), QStringList({"&File", "&Edit", "&Help", "&Undo Add ucvPelidora1"}));
}

QTEST_MAIN(tst_HostDesign)
#include "tst_hostdesign.moc"
