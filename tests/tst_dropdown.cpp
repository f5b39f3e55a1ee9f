// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The date box's drop-down: the drop button, opening and placing the month panel, the
// focus watch that closes it, takes a chosen day over and raises Click and DayMouseMove.

#include <pelidora/platform.h>
#include <pelidora/runtimeerror.h>

#include "about/bas_menuabout.h"
#include "panel/daycell.h"
#include "panel/framepicture.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"
#include "shared/mpelidora.h"
#include "support/boxhelpers.h"

#include <QAccessible>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace pelidora;
using namespace pelidora::test;
using Panel = pelidora::MonthPanel;

namespace {

QLabel *button(ucvPelidora &box) { return part<QLabel>(box, "imgCombo"); }
Panel *panelOf(ucvPelidora &box) { return box.findChild<Panel *>(); }
QTimer *watchOf(ucvPelidora &box) { return box.findChild<QTimer *>(QStringLiteral("TimerHide")); }

// The drop button pressed by assistive technology.
void press(ucvPelidora &box)
{
    QAccessible::queryAccessibleInterface(button(box))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// One tick of the focus watch, without waiting for the timer.
void tick(ucvPelidora &box) { QVERIFY(QMetaObject::invokeMethod(watchOf(box), "timeout")); }
// Keys as a user types them: to whatever has the focus.
void type(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(QApplication::focusWidget(), key, modifiers); }

// Clicks the drop button, or runs open, and runs inside() once the panel is up and active:
// a modal show returns from the click only after that, and *modal tells which it was; a
// modeless panel stays up. A panel still up after five seconds is hidden by force, and the
// result is false.
bool runOpened(ucvPelidora &box, const std::function<void(Panel &)> &inside, bool *modal = nullptr,
               const std::function<void()> &open = {})
{
    QPointer<ucvPelidora> guarded(&box);
    const LoopRun run = runInLoop(
        [&]() -> QWidget * {
            Panel *panel = panelOf(box);
            return panel && panel->isVisible() && panel->isActiveWindow() ? panel : nullptr;
        },
        [&](QWidget *panel) {
            if (inside)
                inside(*static_cast<Panel *>(panel));
        },
        [&] {
            if (open)
                open();
            else
                QTest::mouseClick(button(box), Qt::LeftButton);
        },
        [&] {
            Panel *panel = guarded ? panelOf(*guarded) : nullptr;
            const bool shown = panel && panel->isVisible();
            if (shown)
                panel->HidePelidora();
            return shown;
        },
        true);
    if (modal && run.ran)
        *modal = run.modal;
    return run.ran && !run.forced;
}

// How an opened panel is closed: a day clicked, keys typed into it, or another way out. A
// panel closed by an accessible press was opened by one.
struct CloseCase {
    QString how, windowClass; // windowClass empty: the parent's own, QWidget
    bool modal, locked;
    int held, after; // the date held before and after
    bool chosen;     // Click is raised once
};

// Where the panel opens: the box's Appearance; the form's place (null: where it first shows)
// and the box's in it; room, the pixels the screen reaches past the right and bottom edges of
// a panel put flush below the box (0 touches, negative falls short; QSize(): the real screen);
// the place expected, vertical and horizontal; placesWindows false: as on Wayland, a popup at
// the strip's bottom left that the compositor moves.
struct PlaceCase { int appearance; QPoint formAt, boxAt; QSize room; QString expected; bool placesWindows = true; };

// The panel opened on a box holding held, read from a stored form with its range (invalid:
// none), on today: the date shown, DateSet saved afterwards, beeps.
struct OpeningCase { QDate today; int held; QDate shown; int heldAfter; QDate min = {}, max = {}; int beeps = 0; };

} // namespace

Q_DECLARE_METATYPE(CloseCase)
Q_DECLARE_METATYPE(OpeningCase)
Q_DECLARE_METATYPE(PlaceCase)

class tst_Dropdown : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void panelIsMadeInRunModeOnly();
    void closingRaisesClickOnlyForAChoice_data();
    void closingRaisesClickOnlyForAChoice();
    void buttonOpensOnALeftClickInside_data();
    void buttonOpensOnALeftClickInside();
    void accessiblePressIsAClickOnTheButton();
    void placement_data();
    void placement();
    void dayMouseMoveCarriesTheHighlightedCell();
    void heldDateChoosesTheOpeningDay_data();
    void heldDateChoosesTheOpeningDay();
    void panelWaitsForTheWindowSystemToActivateIt();

private:
    FakeWindowSystem m_ws;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
    LocalePin m_locale{QStringLiteral("en_GB")};
};

void tst_Dropdown::panelIsMadeInRunModeOnly()
{
    PropertyBag bag;
    Site run(true);
    ucvPelidora stored(&run);
    stored.ReadProperties(bag);
    Panel *panel = panelOf(stored);
    QVERIFY(panel && panel->isWindow() && !panel->isVisible());
    QCOMPARE(panel->cboAnno()->count(), 201); // loaded
    stored.Terminate();
    QVERIFY(!panelOf(stored));

    // A box made in code is designed until it is first shown, as a .ui form's setupUi expects,
    // and gets its panel when it first opens, by Alt+Down as by the button.
    QWidget plain;
    ucvPelidora coded(&plain);
    coded.ReadProperties(bag);
    QVERIFY(!panelOf(coded) && !coded.site()->UserMode());
    BoxForm form;
    QVERIFY(!panelOf(*form.box));
    // A program may switch the profile record off; the panel opens all the same.
    setProfileRecordEnabled(false);
    const auto recordOn = qScopeGuard([] { setProfileRecordEnabled(true); });
    m_ws.profileWrites.clear();
    field(*form.box, "txtYear")->setFocus();
    type(Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(panelOf(*form.box) && panelOf(*form.box)->isActiveWindow());
    QCOMPARE(m_ws.profileWrites.size(), 0);
}

// Modal unless the parent's window class has "Thunder" in it.
void tst_Dropdown::closingRaisesClickOnlyForAChoice_data()
{
    QTest::addColumn<CloseCase>("c");
    const auto row = [](const char *name, CloseCase c) { QTest::newRow(name) << c; };
    const QString thunder = kThunderClass;
    const int march5 = serialOf(2014, 3, 5), march17 = serialOf(2014, 3, 17);
    row("click a day", {"17", thunder, false, false, march5, march17, true});
    row("locked click", {"17", thunder, false, true, march5, march5, true});
    row("modal click", {"17", "", true, false, march5, march17, true});
    row("locked, Thunder in other case", {"Escape", "PelidorathunderForm", true, true, march5, march5, false});
    // Without a choice; a modal show ends whatever ends it.
    for (const bool modal : {false, true}) {
        for (const char *how : {"Escape", "button", "press", "click elsewhere", "switch", "About", "Terminate", "delete"})
            QTest::addRow("%s, %s", how, modal ? "modal" : "modeless")
                << CloseCase{how, modal ? "" : thunder, modal, false, march5, march5, false};
    }
}

void tst_Dropdown::closingRaisesClickOnlyForAChoice()
{
    QFETCH(CloseCase, c);
    const auto &[how, windowClass, modal, locked, held, after, chosen] = c;
    auto form = std::make_unique<BoxForm>(windowClass);
    QPointer<ucvPelidora> box(form->box);
    QWidget other;
    other.show();
    box->setDateSet(QString::number(held));
    box->setLocked(locked);
    QSignalSpy clicks(box, &ucvPelidora::Click);
    QSignalSpy changes(box, &ucvPelidora::dateChanged), edits(box, &ucvPelidora::dateEdited);
    bool shownModal = false, inside = false, atOnce = how != "press";
    // The press returns before the panel opens: a modal panel would hold the caller, a screen
    // reader, until it closed.
    const auto pressToOpen = [&] {
        press(*box);
        atOnce = !inside && !(panelOf(*box) && panelOf(*box)->isVisible());
        QCoreApplication::sendPostedEvents();
    };
    QVERIFY(runOpened(*box, [&](Panel &panel) {
        inside = true;
        QCOMPARE(QApplication::focusWidget(), panel.lblDay());
        QCOMPARE(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint), !modal);
        if (!chosen)
            type(Qt::Key_Down); // a day highlighted, not chosen
        if (const int day = how.toInt()) {
            QTest::mouseClick(panel.btnDay(day - 1), Qt::LeftButton);
        } else if (how == "Escape") {
            type(Qt::Key_Escape);
        } else if (how == "button") {
            QTest::mousePress(button(*box), Qt::LeftButton);
            QVERIFY(!panel.isVisible());
            QTest::mouseRelease(button(*box), Qt::LeftButton);
        } else if (how == "press") {
            press(*box);
        } else if (how == "click elsewhere") {
            QTest::mouseClick(&other, Qt::LeftButton);
        } else if (how == "switch") {
            other.activateWindow();
        } else if (how == "About") {
            QTimer::singleShot(0, [] { UnloadAbout(); }); // the About box goes at once
            box->About();
            QVERIFY(!panel.isVisible());
        } else if (how == "Terminate") {
            box->Terminate();
        } else {
            form.reset();
        }
        QCOMPARE(clicks.count(), 0); // not from inside the panel's handlers
    }, &shownModal, how == "press" ? pressToOpen : std::function<void()>()));
    QVERIFY(atOnce);
    QCOMPARE(shownModal, modal);
    const auto record = m_ws.profileWrites.constLast();
    QCOMPARE(QStringList({record.section, record.key, record.value, record.fileName}),
             QStringList({"WndParent", "Class", windowClass.isEmpty() ? "QWidget" : windowClass, "pelidora.ini"}));
    if (!box)
        return;
    QTRY_VERIFY(!watchOf(*box)->isActive()); // the watch's own ticks close it
    tick(*box);                              // and a late one raises nothing more
    if (const Panel *panel = panelOf(*box))
        QVERIFY(!panel->isVisible() && !panel->FlagShowPelidora());
    QCOMPARE(clicks.count(), chosen ? 1 : 0);
    // A choice of another day is the user's change of the date, announced once.
    const QList<QVariantList> changed{{platform::dateOfSerial(after)}};
    QCOMPARE(changes, after == held ? QList<QVariantList>() : changed);
    QCOMPARE(edits, changes);
    QCOMPARE(dateSetSerial(*box), after);
    if (chosen) // the keyboard is back in the strip
        QTRY_COMPARE(QApplication::activeWindow(), &form->widget);
}

// Only a left press released inside the drop button opens the panel.
void tst_Dropdown::buttonOpensOnALeftClickInside_data()
{
    // press, release (left), right-release, right-click, disable, or a move to x,y (y -1: the height)
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("looks"); // after each step: d pressed, u released, . not checked
    QTest::addColumn<bool>("opens");
    QTest::newRow("drag staying inside") << "press 5,5 release" << "ddu" << true;
    QTest::newRow("drag onto the left edge") << "press 0,5 release" << "duu" << false;
    QTest::newRow("drag onto the top edge") << "press 5,0 release" << "duu" << false;
    QTest::newRow("drag to the width, 270 twips") << "press 18,5 release" << "duu" << false;
    QTest::newRow("drag to the height") << "press 5,-1 release" << "duu" << false;
    QTest::newRow("right click") << "right-click" << "u" << false;
    // A left press ends with the release of any button; a later left release ends nothing more.
    QTest::newRow("left press, right release") << "press right-release release" << "duu" << true;
    QTest::newRow("disabled during a press") << "press disable release" << "d.u" << false;
}

void tst_Dropdown::buttonOpensOnALeftClickInside()
{
    QFETCH(QString, steps);
    QFETCH(QString, looks);
    BoxForm form;
    QLabel *combo = button(*form.box);
    const qint64 up = part<QLabel>(*form.box, "imgCboUp")->pixmap().cacheKey();
    const qint64 down = part<QLabel>(*form.box, "imgCboDown")->pixmap().cacheKey();
    QPoint at(3, 3);
    const QStringList list = steps.split(u' ');
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString &step = list[i];
        if (step == "press") {
            QTest::mousePress(combo, Qt::LeftButton, {}, at);
        } else if (step == "release" || step == "right-release") {
            QTest::mouseRelease(combo, step == "release" ? Qt::LeftButton : Qt::RightButton, {}, at);
        } else if (step == "right-click") {
            QTest::mouseClick(combo, Qt::RightButton, {}, at);
        } else if (step == "disable") {
            form.box->setEnabledProperty(false);
            form.box->setEnabledProperty(true);
        } else {
            at = {step.section(u',', 0, 0).toInt(), step.section(u',', 1).toInt()};
            if (at.y() < 0)
                at.setY(combo->height());
            QTest::mouseMove(combo, at);
        }
        if (looks[i] != u'.')
            QVERIFY2(combo->pixmap().cacheKey() == (looks[i] == u'd' ? down : up), qPrintable(step));
    }
    QTEST(panelOf(*form.box) && panelOf(*form.box)->isVisible(), "opens");
}

// Assistive technology presses the button as the pointer would (the closing table opens and
// closes the panel so); the button still never takes the keyboard.
void tst_Dropdown::accessiblePressIsAClickOnTheButton()
{
    BoxForm form;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button(*form.box));
    QVERIFY(!iface->state().focusable);
    QCOMPARE(iface->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    form.box->setEnabledProperty(false);
    QVERIFY(iface->actionInterface()->actionNames().isEmpty());
    press(*form.box);
    QCoreApplication::sendPostedEvents();
    QVERIFY(!panelOf(*form.box));
}

void tst_Dropdown::placement_data()
{
    QTest::addColumn<PlaceCase>("c");
    const auto row = [](const char *name, PlaceCase c) { QTest::newRow(name) << c; };
    const QPoint first;
    row("touching the bottom", {0, first, {8, 8}, {500, 0}, "below aligned"});
    row("past the bottom", {0, {0, 300}, {8, 8}, {500, -1}, "above aligned"});
    row("past the bottom, near the top", {0, first, {8, 8}, {500, -1}, "top aligned"});
    row("beyond the left edge", {0, first, {-60, 8}, {500, 500}, "below left"});
    row("near the right edge", {0, first, {8, 8}, {-30, 500}, "below right"});
    // The first opening places the panel with its 3D size, not the size it was loaded with.
    row("Appearance 5 is 3D", {5, first, {8, 8}, {500, 0}, "below aligned"});
    row("compositor places it", {0, {0, 300}, {8, 8}, {-30, -1}, "below aligned", false});
    // tst_dropdown_screens: a second screen, 800 x 360 pixels, right of the first.
    if (QGuiApplication::screens().size() > 1) {
        const QPoint second = QGuiApplication::screens().constLast()->geometry().topLeft();
        row("second screen's right edge", {0, second + QPoint(400, 20), {260, 8}, {}, "below right"});
        row("too short for either side", {0, second + QPoint(100, 150), {8, 8}, {}, "top aligned"});
    }
    // Also run with the odd screens of tests/CMakeLists.txt (10, 1 and 0 dots per inch, a
    // screen 16777215 pixels wide, one at x = -2e9), where the sanitizers catch any overflow.
    // Expected "": below, above or at the top where the place fits in 32-bit twips; beyond,
    // the placement step fails and the panel stays where it stood.
    row("near the origin", {0, first, {8, 8}, {}, ""});
    row("lowest top", {0, first, {8, 16777215}, {}, ""});
    row("farthest left", {0, first, {-16777215, 8}, {}, ""});
}

void tst_Dropdown::placement()
{
    QFETCH(PlaceCase, c);
    const auto &[appearance, formAt, boxAt, room, expected, placesWindows] = c;
    PropertyBag bag;
    bag.WriteProperty("Appearance", QVariant::fromValue(qint16(appearance)));
    BoxForm form(kThunderClass, &bag, boxAt);
    ucvPelidora &box = *form.box;
    for (const char *name : {"txtDay", "txtMonth", "txtYear", "imgCombo"}) // a DPI of 0 draws them 0 high
        QVERIFY2(part(box, name)->x() >= 0 && part(box, name)->geometry().right() < box.width(), name);
    QVERIFY(platform::windowSystem().screenRectTwips(platform::windowSystem().handleOf(&box)).size().isValid());
    if (!formAt.isNull()) {
        form.widget.move(formAt);
        QTRY_VERIFY(box.screen()->geometry().contains(formAt));
    }
    const Panel *panel = panelOf(box);
    const QPoint before = panel->pos();
    const QSize size = (appearance ? panel->pic3D() : panel->pic1D())->size();
    const QRect strip(box.mapToGlobal(QPoint(0, 0)), box.size());
    QRect screen = box.screen()->geometry();
    if (room != QSize()) {
        screen = QRect(0, 0, strip.left() + size.width() + room.width(),
                       strip.bottom() + 1 + size.height() + room.height());
        m_ws.screenWidth = screen.width() * 15;
        m_ws.screenHeight = screen.height() * 15;
    }
    m_ws.placesWindows = placesWindows;
    QVERIFY(runOpened(box, {}));
    m_ws.screenWidth.reset();
    m_ws.screenHeight.reset();
    m_ws.placesWindows.reset();
    QCOMPARE(panel->isPopup(), !placesWindows);

    const QRect at = panel->geometry();
    QCOMPARE(at.size(), size);
    QVERIFY((appearance ? panel->pic3D() : panel->pic1D())->isVisible());
    QCOMPARE(int(box.Appearance()), appearance); // as stored
    const QString vertical = at.top() == strip.bottom() + 1 ? "below" : at.bottom() + 1 == strip.top() ? "above"
        : at.top() == screen.top() ? "top" : "?";
    const QString horizontal = at.left() == strip.left() ? "aligned" : at.left() == screen.left() ? "left"
        : at.right() == screen.right() ? "right" : "?";
    if (!expected.isEmpty()) {
        QCOMPARE(vertical + u' ' + horizontal, expected);
        return;
    }
    // Beyond 32-bit twips the placement step fails and the panel stays where it stood; the rows
    // keep clear of the band where the panel's own size decides.
    const qint64 far = qMax(qAbs(qint64(strip.left()) * module().TwipsX), qAbs(qint64(strip.top()) * module().TwipsY));
    QVERIFY(far > INT_MAX || far < INT_MAX / 2);
    QCOMPARE(at.topLeft() == before, far > INT_MAX);
    if (far > INT_MAX)
        return;
    // Else below where it fits above the screen's bottom, then above, then at its top; inside
    // its left and right edges, left on the strip's unless held there.
    QCOMPARE(vertical == u"below", strip.bottom() + size.height() <= screen.bottom());
    QCOMPARE(vertical == u"top", vertical != u"below" && strip.top() - size.height() < screen.top());
    QVERIFY(vertical != u"?" && horizontal != u"?" && at.left() >= screen.left() && at.right() <= screen.right());
}

void tst_Dropdown::dayMouseMoveCarriesTheHighlightedCell()
{
    BoxForm form;
    ucvPelidora &box = *form.box;
    box.setDateSet(QString::number(serialOf(2024, 2, 10)));
    QVERIFY(runOpened(box, {}));
    Panel *panel = panelOf(box);
    QSignalSpy moves(&box, &ucvPelidora::DayMouseMove);
    const auto move = [](short day, short month, short year, float x = 90, float y = 60) {
        return QVariantList{day, month, year, x, y};
    };
    tick(box); // before any move: the shown month, not none
    QCOMPARE(moves, QList<QVariantList>{move(10, 2, 2024, 0, 0)});
    QTest::mouseMove(panel->btnDay(20), QPoint(6, 4));
    tick(box);
    tick(box); // the pointer rests: raised again with the same values
    // A redraw names the month shown (the panel's lists set it as its keys do: see its suite).
    type(Qt::Key_PageDown);
    tick(box);
    QCOMPARE(moves.mid(1), QList<QVariantList>({move(21, 2, 2024), move(21, 2, 2024), move(21, 3, 2024)}));
    // The next opening starts afresh.
    type(Qt::Key_Escape);
    tick(box);
    QVERIFY(runOpened(box, {}));
    tick(box);
    QCOMPARE(moves.constLast(), move(10, 2, 2024, 0, 0));
    // A range set while the panel is open reaches it at once, and the pointer passes by the
    // days before it; the watch still raises the event at every tick.
    box.setDateRange({2024, 2, 12}, {2024, 3, 31});
    QTest::mouseMove(panel->btnDay(4), QPoint(6, 4));
    tick(box);
    QCOMPARE(moves.constLast(), move(12, 2, 2024, 0, 0));
}

void tst_Dropdown::heldDateChoosesTheOpeningDay_data()
{
    QTest::addColumn<OpeningCase>("c");
    const auto row = [](const char *name, OpeningCase c) { QTest::newRow(name) << c; };
    const QDate today(kTodayYear, kTodayMonth, kTodayDay);
    row("no date", {today, -1, today, -1});
    row("0 becomes 1", {today, 0, today, 1});
    // The year list has no 2150: that step fails, the others run and the panel stays modeless.
    row("today in 2150", {{2150, 4, 9}, -1, {2100, 4, 9}, -1});
    // A narrowed range opens on the date moved into it; a held date it moves beeps.
    const QDate july1(2025, 7, 1), july31(2025, 7, 31);
    row("no date, today before the range", {today, -1, july1, -1, july1, july31});
    row("held past the range", {today, serialOf(2025, 8, 15), july31, serialOf(2025, 7, 31), july1, july31, 1});
}

void tst_Dropdown::heldDateChoosesTheOpeningDay()
{
    QFETCH(OpeningCase, c);
    const auto &[today, held, shown, heldAfter, min, max, beeps] = c;
    platform::pinToday(serialOf(today.year(), today.month(), today.day()));
    const auto restore = qScopeGuard([this] { platform::pinToday(m_today.serial()); });
    // Held as a stored form brings it; opening commits the fields first.
    PropertyBag bag;
    bag.WriteProperty("DateSet", held);
    for (const auto &[key, bound] : {std::pair("minimumDate", min), std::pair("maximumDate", max)}) {
        if (bound.isValid())
            bag.WriteProperty(key, serialOf(bound.year(), bound.month(), bound.day()));
    }
    m_ws.beeps = 0;
    BoxForm form(kThunderClass, &bag);
    ucvPelidora &box = *form.box;
    bool modal = true;
    QVERIFY(runOpened(box, {}, &modal) && !modal);
    const Panel *panel = panelOf(box);
    QCOMPARE(QDate(panel->cboAnno()->currentIndex() + 1900, panel->cboMese()->currentIndex() + 1,
                   panel->lblDay()->text().toInt()), shown);
    PropertyBag saved;
    box.WriteProperties(saved);
    QCOMPARE(saved.readLong("DateSet", 12345), heldAfter);
    QCOMPARE(m_ws.beeps, beeps);
}

// Until the window system has activated a new panel, the focus is still in the strip; that
// does not count as leaving the panel, for a moment.
void tst_Dropdown::panelWaitsForTheWindowSystemToActivateIt()
{
    BoxForm form;
    ucvPelidora &box = *form.box;
    QTest::mouseClick(button(box), Qt::LeftButton); // no events processed: not active yet
    Panel *panel = panelOf(box);
    QVERIFY(!panel->isActiveWindow());
    for (int i = 0; i < 5; ++i)
        tick(box);
    QVERIFY(panel->isVisible());
    QTRY_VERIFY(panel->isActiveWindow());
    // Once it has been active, leaving closes at the next tick.
    m_ws.focus = platform::windowSystem().handleOf(&form.widget);
    tick(box);
    m_ws.focus.reset();
    QVERIFY(!panel->isVisible());
}

QTEST_MAIN(tst_Dropdown)
#include "tst_dropdown.moc"
