// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "support/panelharness.h"
#include "support/testsupport.h"

#include "platform/core/dayserial.h"

#include <pelidora/runtimeerror.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

using namespace pelidora;
using namespace pelidora::test;

// A key pressed in the day field of a panel opened on start, after typed (null: the field
// keeps the start day); min and max invalid: the limits; noWeekends: Saturdays and Sundays
// unavailable.
struct KeyCase { QDate start; QString typed; int key; QDate expected, min, max; bool noWeekends; };
Q_DECLARE_METATYPE(KeyCase)

class tst_MonthPanelInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void navigationKeysStepDaysAndMonths_data();
    void navigationKeysStepDaysAndMonths();
    void enterThreeTimesChoosesTheFieldsDay();
    void escapeClosesWithoutChoosingAndTravelsOn_data();
    void escapeClosesWithoutChoosingAndTravelsOn();
    void pointerSinksTheCellAndClickChooses_data();
    void pointerSinksTheCellAndClickChooses();
    void listSelectionRedrawsUnlessSkippedOrLocked();
    void daysOutsideTheRangeCannotBeReached();
    void listsDropDownAFewRowsOnEveryStyle_data();
    void listsDropDownAFewRowsOnEveryStyle();
};

void tst_MonthPanelInput::navigationKeysStepDaysAndMonths_data()
{
    QTest::addColumn<KeyCase>("c");
    const int up = Qt::Key_Up, down = Qt::Key_Down, pgUp = Qt::Key_PageUp, pgDown = Qt::Key_PageDown;
    const QString kept;
    const QDate none, dec20(2024, 12, 20), jan10(2025, 1, 10);
    const auto row = [](const char *name, QDate start, const QString &typed, int key, QDate expected, QDate min = {},
                        QDate max = {}, bool noWeekends = false) {
        QTest::newRow(name) << KeyCase{start, typed, key, expected, min, max, noWeekends};
    };
    row("Down on 28 Feb 2001", {2001, 2, 28}, kept, down, {2001, 3, 1});
    row("Down on 30 Jan", {2026, 1, 30}, kept, down, {2026, 1, 31});
    row("Up on 2 Apr", {2026, 4, 2}, kept, up, {2026, 4, 1});
    row("Down on 31 Dec 2100", {2100, 12, 31}, kept, down, {1900, 1, 1});
    row("Up on 1 Mar 2000", {2000, 3, 1}, kept, up, {2000, 2, 29});
    row("Up on 1 Jan 1900", {1900, 1, 1}, kept, up, {2100, 12, 31});
    row("PageDown on 31 Jan 2001", {2001, 1, 31}, kept, pgDown, {2001, 2, 28});
    row("PageUp on Jan 1900", {1900, 1, 20}, kept, pgUp, {2100, 12, 20});
    row("PageDown on 30 Nov", {2026, 11, 30}, kept, pgDown, {2026, 12, 30});
    row("PageUp on Jan 1901", {1901, 1, 20}, kept, pgUp, {1900, 12, 20});
    row("PageUp on Feb", {2026, 2, 10}, kept, pgUp, {2026, 1, 10});
    for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End})
        row(qPrintable(QStringLiteral("key %1 does nothing").arg(key, 0, 16)), {2026, 3, 15}, kept, key, {2026, 3, 15});
    // Text that is no day of the shown month (April, 30 days) reads as the nearest day.
    row("45 Up", {2026, 4, 10}, "45", up, {2026, 4, 29});
    row("0 Up", {2026, 4, 10}, "0", up, {2026, 3, 31});
    row("empty Down", {2026, 4, 10}, "", down, {2026, 4, 2});
    // Outside the default range the keys stop at its bounds; paging into a month partly in
    // it selects the nearest day in it. Here across a year's end.
    const auto ranged = [&](const char *name, QDate start, int key, QDate expected) {
        row(name, start, kept, key, expected, dec20, jan10);
    };
    ranged("Up on the minimum", dec20, up, dec20);
    ranged("Down on the maximum", jan10, down, jan10);
    ranged("Down across the year's end", {2024, 12, 31}, down, {2025, 1, 1});
    ranged("Up across the year's end", {2025, 1, 1}, up, {2024, 12, 31});
    ranged("PageUp in the minimum's month", {2024, 12, 25}, pgUp, {2024, 12, 25});
    ranged("PageDown in the maximum's month", {2025, 1, 5}, pgDown, {2025, 1, 5});
    ranged("PageDown onto the maximum", {2024, 12, 25}, pgDown, jan10);
    ranged("PageUp onto the minimum", {2025, 1, 5}, pgUp, dec20);
    row("Up on 1 Jan 1900, maximum narrowed", {1900, 1, 1}, kept, up, {1900, 1, 1}, none, jan10);
    row("PageUp on Jan 1900, maximum narrowed", {1900, 1, 20}, kept, pgUp, {1900, 1, 20}, none, jan10);
    row("Down on 31 Dec 2100, minimum narrowed", {2100, 12, 31}, kept, down, {2100, 12, 31}, {1950, 1, 1});
    // Weekends unavailable: 5 July 2024 is a Friday, 1 January 1900 a Monday, 31 December
    // 2100 a Friday.
    const auto workdays = [&](const char *name, QDate start, int key, QDate expected, QDate max = {}) {
        row(name, start, kept, key, expected, none, max, true);
    };
    workdays("days: Down over a weekend", {2024, 7, 5}, down, {2024, 7, 8});
    workdays("days: Up over a weekend", {2024, 7, 8}, up, {2024, 7, 5});
    workdays("days: Down over a month's end", {2024, 5, 31}, down, {2024, 6, 3});
    workdays("days: Up from 1900 to 2100", {1900, 1, 1}, up, {2100, 12, 31});
    workdays("days: PageDown onto a Sunday, Monday nearest", {2024, 6, 7}, pgDown, {2024, 7, 8});
    workdays("days: PageUp onto a Saturday, Friday nearest", {2024, 8, 6}, pgUp, {2024, 7, 5});
    workdays("days: Down with none left before the maximum", {2024, 7, 5}, down, {2024, 7, 5}, {2024, 7, 7});
}

void tst_MonthPanelInput::navigationKeysStepDaysAndMonths()
{
    QFETCH(KeyCase, c);
    const auto &[start, typed, key, expected, min, max, noWeekends] = c;
    test::TodayPin today(2026, 12, 6);
    AccessibleEvents events;
    PanelBox box;
    MonthPanel &w = box.w;
    box.form.box->setMinimumDate(min); // an invalid bound is ignored: the limit stays
    box.form.box->setMaximumDate(max);
    if (noWeekends)
        box.form.box->setUnavailableWeekdays({Qt::Saturday, Qt::Sunday});
    box.open(start.year(), start.month(), start.day());
    if (!typed.isNull())
        w.lblDay()->setText(typed); // as pasted; code bypasses the field's validator
    const int shownBefore = test::shownCells(w);
    for (int i = 0; i < shownBefore; ++i) // read as a screen reader does, which keeps names
        QAccessible::queryAccessibleInterface(w.btnDay(i))->text(QAccessible::Name);
    const QAccessible::Id wasAt = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(w.btnDay(expected.day() - 1)));
    events.clear();
    QTest::keyClick(w.lblDay(), Qt::Key(key));

    QCOMPARE(std::tuple(QDate(w.cboAnno()->currentIndex() + 1900, w.cboMese()->currentIndex() + 1, expected.day()),
                        w.lblDay()->text(), test::shownCells(w)),
             std::tuple(expected, QString::number(expected.day()), expected.daysInMonth()));
    const qint16 cell = qint16(expected.day() - 1);
    QVERIFY(isSunken(w.btnDay(cell)) && w.bDayOver(cell));
    int sunken = 0; // one, whatever the field held
    for (qint16 i = 0; i < 31; ++i)
        sunken += isSunken(w.btnDay(i));
    QCOMPARE(sunken, 1);
    if (key == Qt::Key_Up || key == Qt::Key_Down)
        QCOMPARE(QDate(w.SelYear(), w.SelMonth(), w.ButtonDay()), expected);
    QVERIFY(w.isVisible() && !w.FlagRaiseClick());

    // Assistive technology follows the day while the keyboard stays in the day field: the
    // cells that came or went and every name read before that changed, then the old day
    // deselected, the new one selected and focused.
    const bool moves = QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}.contains(key);
    const QList<QObject *> atCell{w.btnDay(cell)};
    const bool otherMonth = std::pair(start.year(), start.month()) != std::pair(expected.year(), expected.month());
    const int shownAfter = expected.daysInMonth();
    QList<QObject *> renamed, came, went;
    for (int i = 0; i < 31; ++i) {
        if (otherMonth && i < std::min(shownBefore, shownAfter))
            renamed << w.btnDay(i);
        if (i >= shownBefore && i < shownAfter)
            came << w.btnDay(i);
        if (i >= shownAfter && i < shownBefore)
            went << w.btnDay(i);
    }
    if (otherMonth)
        renamed << w.fraDay(); // named with the month
    QCOMPARE(events.of(QAccessible::NameChanged), renamed);
    QCOMPARE(std::pair(events.of(QAccessible::ObjectCreated), events.of(QAccessible::ObjectDestroyed)), std::pair(came, went));
    QCOMPARE(events.of(QAccessible::Focus), moves ? atCell : QList<QObject *>());
    const bool otherDay = start.day() != expected.day();
    const QList<QObject *> atStart{w.btnDay(start.day() - 1)};
    QList<QObject *> deselected = events.of(QAccessible::SelectionRemove); // the lists' entries too
    deselected.removeIf([](QObject *o) { return !qobject_cast<DayCell *>(o); });
    QCOMPARE(deselected, otherDay ? atStart : QList<QObject *>());
    QCOMPARE(events.of(QAccessible::Selection), otherDay ? atCell : QList<QObject *>());
    if (otherDay)
        QVERIFY(events.indexOf(atStart[0], QAccessible::SelectionRemove) < events.indexOf(atCell[0], QAccessible::Selection));
    if (otherMonth)
        QVERIFY(events.indexOf(w.fraDay(), QAccessible::NameChanged) < events.indexOf(atCell[0], QAccessible::Focus));
    QAccessibleInterface *at = QAccessible::queryAccessibleInterface(w.btnDay(cell));
    QCOMPARE(at->text(QAccessible::Name), expected.toString("dddd d MMMM yyyy"));
    // A read cell that shows another date is another object, whose focus a reader announces.
    QCOMPARE(QAccessible::uniqueId(at) != wasAt, otherMonth && cell < shownBefore);
    // One object has the reader's focus, the keyboard's staying in the day field: the cell after
    // a move, else the day field.
    QCOMPARE(std::tuple(bool(at->state().focusable), bool(at->state().focused),
                        bool(QAccessible::queryAccessibleInterface(w.lblDay())->state().focused)),
             std::tuple(true, moves, !moves));
    // The days outside the range are unavailable, and the weekends when ruled out.
    for (int day = 1; day <= expected.daysInMonth(); ++day) {
        const QDate date(expected.year(), expected.month(), day);
        QCOMPARE(w.btnDay(day - 1)->isEnabled(), (!min.isValid() || date >= min) && (!max.isValid() || date <= max)
                                                     && !(noWeekends && date.dayOfWeek() >= Qt::Saturday));
    }
}

// The day chosen is the one the field names, read as the keys read it (the navigation table's
// typed rows hold both ends): 31 typed in April is the 30th.
void tst_MonthPanelInput::enterThreeTimesChoosesTheFieldsDay()
{
    test::TodayPin today(2026, 12, 6);
    PanelBox box;
    MonthPanel &w = box.w;
    box.open(2026, 4, 17);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(QApplication::focusWidget(), w.lblDay());
    w.lblDay()->clear();
    QTest::keyClicks(w.lblDay(), QStringLiteral("31"));

    // Each list the keyboard reaches shows it.
    const QImage monthUnfocused = w.cboMese()->grab().toImage(), yearUnfocused = w.cboAnno()->grab().toImage();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.cboMese());
    QVERIFY(w.cboMese()->grab().toImage() != monthUnfocused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), w.cboAnno());
    QVERIFY(w.cboAnno()->grab().toImage() != yearUnfocused);
    QVERIFY(!w.FlagRaiseClick());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QVERIFY(!w.isVisible() && !w.FlagShowPelidora() && w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), core::serialFromCivil({2026, 4, 30}));
}

void tst_MonthPanelInput::escapeClosesWithoutChoosingAndTravelsOn_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("day field") << "lblDay";
    QTest::newRow("month list") << "cboMese";
    QTest::newRow("year list") << "cboAnno";
}

void tst_MonthPanelInput::escapeClosesWithoutChoosingAndTravelsOn()
{
    QFETCH(QString, field);
    test::TodayPin today(2026, 12, 6);
    PanelBox box;
    MonthPanel &w = box.w;
    box.open(2026, 4, 17);
    w.setDateSet(4242);
    w.cboMese()->setLocked(true); // a locked list still passes Enter and Escape on
    QWidget *target = w.findChild<QWidget *>(field);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &escape);
    // Not swallowed: Escape travels on to whoever wants it.
    QCOMPARE(std::tuple(escape.isAccepted(), w.isVisible(), w.FlagShowPelidora(), w.FlagRaiseClick(), w.DateSet()),
             std::tuple(false, false, false, false, 4242));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted()); // Enter is the panel's
}

void tst_MonthPanelInput::pointerSinksTheCellAndClickChooses_data()
{
    QTest::addColumn<bool>("locked");
    QTest::newRow("free") << false;
    QTest::newRow("locked") << true;
}

// Locked, the pointer still sinks cells but the day field, its caret and DateSet stay.
void tst_MonthPanelInput::pointerSinksTheCellAndClickChooses()
{
    QFETCH(bool, locked);
    test::TodayPin today(2026, 12, 6);
    PanelBox box;
    MonthPanel &w = box.w;
    box.open(2026, 7, 4);
    // Shown under a resting pointer, the panel picks nothing.
    const QPoint overCell = w.btnDay(12)->mapToGlobal(QPoint(10, 10));
    w.HidePelidora();
    box.open(2026, 7, 4, overCell);
    QCoreApplication::processEvents();
    QVERIFY(!w.bDayOver(12) && w.lblDay()->text() == "4");

    w.setLocked(locked);
    w.setDateSet(4242);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(w.lblDay(), &focusIn);
    QCOMPARE(w.lblDay()->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, w.lblDay()) == 0, locked);

    QTest::mouseMove(w.btnDay(10), QPoint(5, 7));
    QTRY_VERIFY(w.bDayOver(10));
    QVERIFY(isSunken(w.btnDay(10)) && isRaised(w.btnDay(3)));
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(75, 105)); // twips inside the cell
    QCOMPARE(w.lblDay()->text(), locked ? QStringLiteral("4") : QStringLiteral("11"));
    QTest::mouseMove(w.btnDay(10), QPoint(15, 16)); // within the cell: nothing changes
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(75, 105));
    QTest::mouseMove(w.btnDay(12), QPoint(3, 4));
    QTRY_VERIFY(w.bDayOver(12));
    QVERIFY(isRaised(w.btnDay(10)));
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(45, 60));

    QTest::mouseClick(w.btnDay(11), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(w.isVisible());
    QTest::mouseClick(w.btnDay(11), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!w.isVisible() && w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), locked ? 4242 : core::serialFromCivil({2026, 7, 12}));
    // The next opening starts afresh: the cell sunk last takes the pointer again.
    const qint16 last = w.DayOverIndex();
    box.open(2026, 7, 4);
    QTest::mouseMove(w.btnDay(last), QPoint(5, 7));
    QTRY_VERIFY(isSunken(w.btnDay(last)));
}

void tst_MonthPanelInput::listSelectionRedrawsUnlessSkippedOrLocked()
{
    test::TodayPin today(2026, 12, 6);
    AccessibleEvents events;
    PanelBox box;
    MonthPanel &w = box.w;
    box.open(2024, 1, 31);
    events.clear();
    QTest::keyClick(w.cboMese(), Qt::Key_Down); // the closed list steps to February
    QCOMPARE(test::shownCells(w), 29);
    // A reader hears the entry shown as the list's value; the list keeps its name.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(w.cboMese());
    QAccessibleTextInterface *shown = list->textInterface();
    QCOMPARE(std::tuple(list->text(QAccessible::Name), shown ? shown->text(0, shown->characterCount()) : QString(),
                        events.of(QAccessible::ValueChanged)),
             std::tuple(QString("Month"), QString("February"), QList<QObject *>{w.cboMese()}));
    // Its entries report the one shown selected, closed as open.
    QAccessibleInterface *entries = list->child(0);
    QCOMPARE(std::pair(bool(entries->child(0)->state().selected), bool(entries->child(1)->state().selected)),
             std::pair(false, true));
    module().FlagSkipYearClick = true;
    w.setAnnoIndex(2025 - 1900);
    module().FlagSkipYearClick = false;
    QCOMPARE(test::shownCells(w), 29); // no redraw under the flag
    w.setAnnoIndex(2025 - 1900);       // the same entry still runs the handler
    QCOMPARE(test::shownCells(w), 28);
    // An entry outside the list is refused and the selection stays.
    QVERIFY_THROWS_EXCEPTION(RuntimeError, w.setAnnoIndex(201));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, w.setMeseIndex(-2));
    QCOMPARE(std::tuple(w.cboAnno()->currentIndex(), w.cboMese()->currentIndex()), std::tuple(125, 1));

    w.cboMese()->setLocked(true);
    QTest::keyClick(w.cboMese(), Qt::Key_Down);
    QTest::mouseClick(w.cboMese(), Qt::LeftButton);
    QCOMPARE(w.cboMese()->currentIndex(), 1);
    QVERIFY(!w.cboMese()->view()->isVisible());
}

// Pointer, clicks, lists and Enter from the year list never reach a day outside the range,
// here 10 March to 20 July 2026; the month lists show the nearest bound's month instead of
// one wholly outside it.
void tst_MonthPanelInput::daysOutsideTheRangeCannotBeReached()
{
    test::TodayPin today(2026, 12, 6);
    PanelBox box;
    MonthPanel &w = box.w;
    box.form.box->setDateRange({2026, 3, 10}, {2026, 7, 20});
    box.open(2026, 7, 15);
    const auto shown = [&] {
        return QDate(w.cboAnno()->currentIndex() + 1900, w.cboMese()->currentIndex() + 1, w.lblDay()->text().toInt());
    };
    QTest::mouseMove(w.btnDay(26), QPoint(5, 7)); // 27 July
    QTest::mouseMove(w.btnDay(27), QPoint(6, 7));
    QCoreApplication::processEvents();
    QCOMPARE(std::tuple(w.bDayOver(26), w.ButtonDay(), shown()), std::tuple(false, qint16(15), QDate(2026, 7, 15)));
    QTest::mouseClick(w.btnDay(26), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(w.isVisible() && !w.FlagRaiseClick());
    // Drawn flat: no border lines (at x 1 and 25) where 14 July, raised, has them.
    const QImage shot = w.grab().toImage();
    const auto at = [&](int cell, int x) { return QColor(shot.pixel(w.btnDay(cell)->mapTo(&w, QPoint(x, 10)))); };
    QCOMPARE(QList<QColor>({at(26, 1), at(26, 25), at(13, 1), at(13, 25)}),
             QList<QColor>({kLightGrey, kLightGrey, Qt::white, Qt::black}));

    QTest::keyClick(w.cboAnno(), Qt::Key_Down); // 2027: July 2026 instead, the maximum's month
    QCOMPARE(shown(), QDate(2026, 7, 15));
    QTest::keyClick(w.cboMese(), Qt::Key_Home); // January: March, the minimum's month
    QCOMPARE(shown(), QDate(2026, 3, 15));
    QCOMPARE(std::pair(w.SelMonth(), w.SelYear()), std::pair(qint16(3), qint16(2026)));
    // A day typed before the minimum is chosen as the minimum.
    w.lblDay()->setText(QStringLiteral("3"));
    QTest::keyClick(w.cboAnno(), Qt::Key_Return);
    QVERIFY(!w.isVisible() && w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), core::serialFromCivil({2026, 3, 10}));
    // Nor does a month that ends the day before the minimum.
    box.form.box->setMinimumDate({2026, 3, 1});
    box.open(2026, 3, 15);
    QTest::keyClick(w.cboMese(), Qt::Key_Up); // February
    QCOMPARE(shown(), QDate(2026, 3, 15));

    // Unavailable days are out of reach the same way; notes and today are said. Today, 6
    // December 2026, is a Sunday: the box holds the Monday, the later on a tie.
    ucvPelidora &b = *box.form.box;
    b.clearMinimumDate();
    b.clearMaximumDate();
    b.setUnavailableWeekdays({Qt::Sunday});
    b.setUnavailableDates({{2026, 12, 25}});
    b.setDateNote({2026, 12, 25}, "Christmas Day", Qt::red);
    b.setMarkToday(true);
    box.open(2026, 12, 6);
    w.setFlagRaiseClick(false); // the choice above, not taken over here
    QCOMPARE(shown(), QDate(2026, 12, 7));
    const auto said = [&](int cell) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w.btnDay(cell));
        return std::tuple(a->text(QAccessible::Name), a->text(QAccessible::Description), bool(a->state().disabled),
                          bool(a->state().selectable));
    };
    QCOMPARE(said(24), std::tuple(QString("Friday 25 December 2026"), QString("Christmas Day"), true, false));
    QCOMPARE(said(5), std::tuple(QString("Sunday 6 December 2026"), QString("today"), true, false));
    QCOMPARE(said(6), std::tuple(QString("Monday 7 December 2026"), QString(), false, true));
    QTest::mouseMove(w.btnDay(24), QPoint(5, 7));
    QTest::mouseClick(w.btnDay(24), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(std::tuple(w.isVisible(), w.FlagRaiseClick(), w.ButtonDay()), std::tuple(true, false, qint16(7)));
    w.lblDay()->setText(QStringLiteral("25"));
    QTest::keyClick(w.cboAnno(), Qt::Key_Return);
    QCOMPARE(std::tuple(w.isVisible(), w.FlagRaiseClick(), box.ws.beeps), std::tuple(true, false, 1));
    // Rules changed with the panel open redraw it; a rule refusing every day leaves
    // nothing selected and Enter chooses nothing.
    b.setUnavailableWeekdays({});
    QVERIFY(w.btnDay(5)->isEnabled() && !w.btnDay(24)->isEnabled());
    b.setAvailabilityRule([](const QDate &) { return false; });
    int sunken = 0;
    for (int i = 0; i < 31; ++i)
        sunken += w.btnDay(i)->isEnabled() + w.bDayOver(qint16(i));
    QCOMPARE(sunken, 0);
    QTest::keyClick(w.cboAnno(), Qt::Key_Return);
    QCOMPARE(std::tuple(w.isVisible(), w.FlagRaiseClick(), box.ws.beeps), std::tuple(true, false, 2));
}

void tst_MonthPanelInput::listsDropDownAFewRowsOnEveryStyle_data()
{
    QTest::addColumn<QString>("style");
    for (const QString &style : QStyleFactory::keys())
        QTest::newRow(qPrintable(style)) << style;
}

// 201 years scroll in a list of a few rows, never in a screen-tall one.
void tst_MonthPanelInput::listsDropDownAFewRowsOnEveryStyle()
{
    QFETCH(QString, style);
    const QString original = QApplication::style()->name();
    QApplication::setStyle(style);
    const auto restore = qScopeGuard([&] { QApplication::setStyle(original); });
    PanelBox box;
    MonthPanel &w = box.w;
    box.open(2026, 4, 17);
    for (QComboBox *list : {static_cast<QComboBox *>(w.cboMese()), static_cast<QComboBox *>(w.cboAnno())}) {
        list->showPopup();
        QAbstractItemView *rows = list->view();
        QTRY_VERIFY(rows->isVisible());
        QVERIFY2(rows->height() <= 13 * rows->sizeHintForRow(0), qPrintable(list->objectName()));
        QCOMPARE(rows->verticalScrollBar()->maximum() > 0, list == w.cboAnno());
        list->hidePopup();
    }
}

QTEST_MAIN(tst_MonthPanelInput)
#include "tst_monthpanel_input.moc"
