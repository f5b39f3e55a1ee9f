#include "panelharness.h"
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

class tst_MonthPanelInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void navigationKeysStepDaysAndMonths_data();
    void navigationKeysStepDaysAndMonths();
    void enterThreeTimesChoosesTheFieldsDay_data();
    void enterThreeTimesChoosesTheFieldsDay();
    void escapeClosesWithoutChoosingAndTravelsOn_data();
    void escapeClosesWithoutChoosingAndTravelsOn();
    void pointerSinksTheCellAndClickChooses_data();
    void pointerSinksTheCellAndClickChooses();
    void listSelectionRedrawsUnlessSkippedOrLocked();
    void listsDropDownAFewRowsOnEveryStyle_data();
    void listsDropDownAFewRowsOnEveryStyle();
};

void tst_MonthPanelInput::navigationKeysStepDaysAndMonths_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("typed"); // null: the field keeps the start day
    QTest::addColumn<int>("key");
    QTest::addColumn<QDate>("expected");
    const int up = Qt::Key_Up, down = Qt::Key_Down, pgUp = Qt::Key_PageUp, pgDown = Qt::Key_PageDown;
    const QString kept;
    QTest::newRow("Down on 28 Feb 2001") << QDate(2001, 2, 28) << kept << down << QDate(2001, 3, 1);
    QTest::newRow("Down on 31 Dec 2100") << QDate(2100, 12, 31) << kept << down << QDate(1900, 1, 1);
    QTest::newRow("Up on 1 Mar 2000") << QDate(2000, 3, 1) << kept << up << QDate(2000, 2, 29);
    QTest::newRow("Up on 1 Jan 1900") << QDate(1900, 1, 1) << kept << up << QDate(2100, 12, 31);
    QTest::newRow("PageDown on 31 Jan 2001") << QDate(2001, 1, 31) << kept << pgDown << QDate(2001, 2, 28);
    QTest::newRow("PageUp on Jan 1900") << QDate(1900, 1, 20) << kept << pgUp << QDate(2100, 12, 20);
    for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End})
        QTest::addRow("key %x does nothing", key) << QDate(2026, 3, 15) << kept << key << QDate(2026, 3, 15);
    // Text that is no day of the shown month (April, 30 days) reads as the nearest day.
    QTest::newRow("45 Up") << QDate(2026, 4, 10) << "45" << up << QDate(2026, 4, 29);
    QTest::newRow("0 Up") << QDate(2026, 4, 10) << "0" << up << QDate(2026, 3, 31);
    QTest::newRow("empty Down") << QDate(2026, 4, 10) << "" << down << QDate(2026, 4, 2);
    QTest::newRow("3 Down") << QDate(2026, 4, 10) << "3" << down << QDate(2026, 4, 4);
    QTest::newRow("empty PageDown") << QDate(2026, 1, 10) << "" << pgDown << QDate(2026, 2, 28);
}

void tst_MonthPanelInput::navigationKeysStepDaysAndMonths()
{
    QFETCH(QDate, start);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QDate, expected);
    test::TodayPin today(2026, 12, 6);
    AccessibleEvents events;
    MonthPanel w;
    openPanel(w, start.year(), start.month(), start.day());
    if (!typed.isNull())
        w.lblDay()->setText(typed); // as pasted; code bypasses the field's validator
    events.clear();
    QTest::keyClick(w.lblDay(), Qt::Key(key));

    QCOMPARE(std::tuple(QDate(w.cboAnno()->currentIndex() + 1900, w.cboMese()->currentIndex() + 1, expected.day()),
                        w.lblDay()->text(), test::shownCells(w)),
             std::tuple(expected, QString::number(expected.day()), expected.daysInMonth()));
    const qint16 cell = qint16(expected.day() - 1);
    QVERIFY(isSunken(w.btnDay(cell)) && w.bDayOver(cell));
    int sunken = 0; // the start day's cell is raised, whatever the field held
    for (qint16 i = 0; i < 31; ++i)
        sunken += isSunken(w.btnDay(i));
    QCOMPARE(sunken, 1);
    if (start.day() != expected.day() && typed.isNull())
        QVERIFY(isRaised(w.btnDay(start.day() - 1)));
    if (key == Qt::Key_Up || key == Qt::Key_Down)
        QCOMPARE(QDate(w.SelYear(), w.SelMonth(), w.ButtonDay()), expected);
    QVERIFY(w.isVisible() && !w.FlagRaiseClick());

    // Assistive technology follows the day while the keyboard stays in the day field.
    const bool moves = QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}.contains(key);
    const QList<QObject *> atCell{w.btnDay(cell)};
    QCOMPARE(events.of(QAccessible::Focus), moves ? atCell : QList<QObject *>());
    QCOMPARE(events.of(QAccessible::Selection), start.day() != expected.day() ? atCell : QList<QObject *>());
    QCOMPARE(QAccessible::queryAccessibleInterface(w.btnDay(cell))->text(QAccessible::Name),
             expected.toString("dddd d MMMM yyyy"));
    QCOMPARE(QApplication::focusWidget(), w.lblDay());
}

void tst_MonthPanelInput::enterThreeTimesChoosesTheFieldsDay_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed"); // null: keep the shown 17
    QTest::addColumn<int>("day");       // of April 2026
    for (const char *locale : {"en_US", "it_IT"}) {
        const QString l = QString::fromLatin1(locale);
        QTest::addRow("%s shown day", locale) << l << QString() << 17;
        QTest::addRow("%s empty is 1", locale) << l << "" << 1;
        QTest::addRow("%s 31 is 30", locale) << l << "31" << 30;
    }
}

void tst_MonthPanelInput::enterThreeTimesChoosesTheFieldsDay()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(int, day);
    test::LocalePin pin(locale);
    test::TodayPin today(2026, 12, 6);
    MonthPanel w;
    openPanel(w, 2026, 4, 17);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(QApplication::focusWidget(), w.lblDay());
    if (!typed.isNull()) {
        w.lblDay()->clear();
        QTest::keyClicks(w.lblDay(), typed);
    }

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
    QCOMPARE(w.DateSet(), core::serialFromCivil({2026, 4, day}));
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
    MonthPanel w;
    openPanel(w, 2026, 4, 17);
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
    MonthPanel w;
    openPanel(w, 2026, 7, 4);
    // Shown under a resting pointer, the panel picks nothing.
    const QPoint overCell = w.btnDay(12)->mapToGlobal(QPoint(10, 10));
    w.HidePelidora();
    openPanel(w, 2026, 7, 4, false);
    QCursor::setPos(overCell);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
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
    QCOMPARE(QDate(w.SelYear(), w.SelMonth(), w.ButtonDay()), QDate(2026, 7, 11));
    QCOMPARE(w.lblDay()->text(), locked ? QStringLiteral("4") : QStringLiteral("11"));
    QTest::mouseMove(w.btnDay(10), QPoint(15, 16)); // within the cell: nothing changes
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(75, 105));
    QTest::mouseMove(w.btnDay(12), QPoint(3, 4));
    QTRY_VERIFY(w.bDayOver(12));
    QVERIFY(isRaised(w.btnDay(10)));
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(45, 60));
    QTest::keyClick(w.lblDay(), Qt::Key_Down); // keys leave the entry point alone
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(45, 60));

    QTest::mouseClick(w.btnDay(11), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(w.isVisible());
    QTest::mouseClick(w.btnDay(11), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!w.isVisible() && w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), locked ? 4242 : core::serialFromCivil({2026, 7, 12}));
}

void tst_MonthPanelInput::listSelectionRedrawsUnlessSkippedOrLocked()
{
    test::TodayPin today(2026, 12, 6);
    MonthPanel w;
    openPanel(w, 2024, 1, 31);
    QTest::keyClick(w.cboMese(), Qt::Key_Down); // the closed list steps to February
    QCOMPARE(test::shownCells(w), 29);
    QCOMPARE(w.lblDay()->text(), QStringLiteral("29"));
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
    MonthPanel w;
    openPanel(w, 2026, 4, 17);
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
