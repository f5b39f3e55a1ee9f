#include "panelharness.h"
#include "support/testsupport.h"

#include "platform/dayserial.h"

#include <pelidora/runtimeerror.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QtTest>

using namespace pelidora;
using test::isRaised;
using test::isSunken;
using test::openPanel;

namespace {

// Records the keys that reach a widget after its children let them go.
class KeyRecorder : public QObject
{
public:
    explicit KeyRecorder(QObject *target) { target->installEventFilter(this); }
    QList<int> keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys << static_cast<QKeyEvent *>(event)->key();
        return false;
    }
};

class CaretSpy : public test::FakeWindowSystem
{
public:
    QList<qint32> hiddenCarets;
    bool HideCaret(qint32 handle) override
    {
        hiddenCarets << handle;
        return true;
    }
};

int serial(int year, int month, int day)
{
    return core::serialFromCivil({year, month, day});
}

} // namespace

class tst_WindowInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void navigationKeysStepDaysAndMonths_data();
    void navigationKeysStepDaysAndMonths();
    void enterThreeTimesChoosesTheFieldsDay_data();
    void enterThreeTimesChoosesTheFieldsDay();
    void escapeClosesWithoutChoosingAndTravelsOn_data();
    void escapeClosesWithoutChoosingAndTravelsOn();
    void clickOnCellChooses_data();
    void clickOnCellChooses();
    void pointerSinksTheCellItEnters_data();
    void pointerSinksTheCellItEnters();
    void restingPointerPicksNothing();
    void userSelectionInAListRedrawsUnlessLocked();
    void listSelectionFromCode();
    void caretHiddenOnlyWhenLocked();
};

void tst_WindowInput::navigationKeysStepDaysAndMonths_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("typed"); // null: the field keeps the start day
    QTest::addColumn<int>("key");
    QTest::addColumn<QDate>("expected");
    const int up = Qt::Key_Up, down = Qt::Key_Down, pgUp = Qt::Key_PageUp, pgDown = Qt::Key_PageDown;
    const QString kept;
    QTest::newRow("Down on 31 Jan") << QDate(2026, 1, 31) << kept << down << QDate(2026, 2, 1);
    QTest::newRow("Down on 28 Feb 2001") << QDate(2001, 2, 28) << kept << down << QDate(2001, 3, 1);
    QTest::newRow("Down on 31 Dec 2100") << QDate(2100, 12, 31) << kept << down << QDate(1900, 1, 1);
    QTest::newRow("Down mid-month") << QDate(2026, 3, 15) << kept << down << QDate(2026, 3, 16);
    QTest::newRow("Up on 1 Mar 2000") << QDate(2000, 3, 1) << kept << up << QDate(2000, 2, 29);
    QTest::newRow("Up on 1 Jan 1900") << QDate(1900, 1, 1) << kept << up << QDate(2100, 12, 31);
    QTest::newRow("Up mid-month") << QDate(2026, 5, 10) << kept << up << QDate(2026, 5, 9);
    QTest::newRow("PageDown on 31 Jan 2001") << QDate(2001, 1, 31) << kept << pgDown << QDate(2001, 2, 28);
    QTest::newRow("PageUp on 15 Mar") << QDate(2026, 3, 15) << kept << pgUp << QDate(2026, 2, 15);
    QTest::newRow("PageUp on Jan 1900") << QDate(1900, 1, 20) << kept << pgUp << QDate(2100, 12, 20);
    QTest::newRow("PageDown on Dec 2100") << QDate(2100, 12, 20) << kept << pgDown << QDate(1900, 1, 20);
    for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End})
        QTest::addRow("key %x does nothing", key) << QDate(2026, 3, 15) << kept << key << QDate(2026, 3, 15);
    // Text that is no day of the shown month (April, 30 days) reads as the nearest day.
    QTest::newRow("45 Up") << QDate(2026, 4, 10) << "45" << up << QDate(2026, 4, 29);
    QTest::newRow("45 Down") << QDate(2026, 4, 10) << "45" << down << QDate(2026, 5, 1);
    QTest::newRow("31 Down") << QDate(2026, 4, 10) << "31" << down << QDate(2026, 5, 1);
    QTest::newRow("0 Up") << QDate(2026, 4, 10) << "0" << up << QDate(2026, 3, 31);
    QTest::newRow("empty Down") << QDate(2026, 4, 10) << "" << down << QDate(2026, 4, 2);
    QTest::newRow("letters Up") << QDate(2026, 4, 10) << "xy" << up << QDate(2026, 3, 31);
    QTest::newRow("negative Down") << QDate(2026, 4, 10) << "-3" << down << QDate(2026, 4, 2);
}

void tst_WindowInput::navigationKeysStepDaysAndMonths()
{
    QFETCH(QDate, start);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QDate, expected);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, start.year(), start.month(), start.day());
    if (!typed.isNull())
        w.lblDay()->setText(typed); // as pasted; code bypasses the field's validator
    QTest::keyClick(w.lblDay(), Qt::Key(key));

    QCOMPARE(w.lblDay()->text(), QString::number(expected.day()));
    QCOMPARE(w.cboMese()->currentIndex() + 1, expected.month());
    QCOMPARE(w.cboAnno()->currentIndex() + 1900, expected.year());
    QCOMPARE(test::shownCells(w), expected.daysInMonth());
    const qint16 cell = qint16(expected.day() - 1);
    QVERIFY(isSunken(w.btnDay(cell)) && w.bDayOver(cell));
    QCOMPARE(w.DayOverIndex(), cell);
    if (start.day() != expected.day() && typed.isNull())
        QVERIFY(isRaised(w.btnDay(start.day() - 1)));
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        QCOMPARE(w.ButtonDay(), qint16(expected.day()));
        QCOMPARE(w.SelMonth(), qint16(expected.month()));
        QCOMPARE(w.SelYear(), qint16(expected.year()));
    }
    QVERIFY(w.isVisible() && !w.FlagRaiseClick());
}

void tst_WindowInput::enterThreeTimesChoosesTheFieldsDay_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed"); // null: keep the shown 17
    QTest::addColumn<int>("day");       // of April 2026
    for (const char *locale : {"en_US", "it_IT"}) {
        const QString l = QString::fromLatin1(locale);
        QTest::addRow("%s shown day", locale) << l << QString() << 17;
        QTest::addRow("%s typed 23", locale) << l << "23" << 23;
        QTest::addRow("%s empty is 1", locale) << l << "" << 1;
        QTest::addRow("%s 31 is 30", locale) << l << "31" << 30;
        QTest::addRow("%s 0 is 1", locale) << l << "0" << 1;
    }
}

void tst_WindowInput::enterThreeTimesChoosesTheFieldsDay()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(int, day);
    test::LocalePin pin(locale);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 4, 17);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(QApplication::focusWidget(), w.lblDay());
    if (!typed.isNull()) {
        w.lblDay()->selectAll();
        QTest::keyClick(w.lblDay(), Qt::Key_Backspace);
        QTest::keyClicks(w.lblDay(), typed);
    }

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.cboMese());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), w.cboAnno());
    QVERIFY(!w.FlagRaiseClick());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QVERIFY(!w.isVisible() && !w.FlagShowPelidora());
    QVERIFY(w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), serial(2026, 4, day));
}

void tst_WindowInput::escapeClosesWithoutChoosingAndTravelsOn_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("day field") << "lblDay";
    QTest::newRow("month list") << "cboMese";
    QTest::newRow("year list") << "cboAnno";
}

void tst_WindowInput::escapeClosesWithoutChoosingAndTravelsOn()
{
    QFETCH(QString, field);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 4, 17);
    w.setDateSet(4242);
    w.cboMese()->setLocked(true); // a locked list still passes Enter and Escape on
    QWidget *target = w.findChild<QWidget *>(field);
    KeyRecorder behind(w.fraCombo());
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(behind.keys.contains(Qt::Key_Escape)); // not swallowed
    QVERIFY(!w.isVisible() && !w.FlagShowPelidora());
    QVERIFY(!w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), 4242);
    QTest::keyClick(target, Qt::Key_Return);
    QVERIFY(!behind.keys.contains(Qt::Key_Return)); // Enter is the panel's
}

void tst_WindowInput::clickOnCellChooses_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("locked");
    QTest::newRow("en_US") << "en_US" << false;
    QTest::newRow("it_IT") << "it_IT" << false;
    QTest::newRow("locked") << "en_US" << true;
}

void tst_WindowInput::clickOnCellChooses()
{
    QFETCH(QString, locale);
    QFETCH(bool, locked);
    test::LocalePin pin(locale);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 2, 3);
    w.setLocked(locked);
    w.setDateSet(4242);
    QTest::mouseClick(w.btnDay(11), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(w.isVisible());
    QTest::mouseClick(w.btnDay(11), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!w.isVisible());
    QVERIFY(w.FlagRaiseClick());
    QCOMPARE(w.DateSet(), locked ? 4242 : serial(2026, 2, 12));
}

void tst_WindowInput::pointerSinksTheCellItEnters_data()
{
    QTest::addColumn<bool>("locked");
    QTest::newRow("free") << false;
    QTest::newRow("locked") << true;
}

void tst_WindowInput::pointerSinksTheCellItEnters()
{
    QFETCH(bool, locked);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 7, 4);
    w.setLocked(locked);

    QTest::mouseMove(w.btnDay(10), QPoint(5, 7));
    QTRY_VERIFY(w.bDayOver(10));
    QVERIFY(isSunken(w.btnDay(10)) && isRaised(w.btnDay(3)));
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(75, 105)); // twips inside the cell
    QCOMPARE(w.ButtonDay(), qint16(11));
    QCOMPARE(w.SelMonth(), qint16(7));
    QCOMPARE(w.SelYear(), qint16(2026));
    QCOMPARE(w.lblDayTag(), QStringLiteral("11"));
    QCOMPARE(w.lblDay()->text(), locked ? QStringLiteral("4") : QStringLiteral("11"));

    QTest::mouseMove(w.btnDay(10), QPoint(15, 16)); // within the cell: nothing changes
    QTest::mouseMove(w.btnDay(12), QPoint(3, 4));
    QTRY_VERIFY(w.bDayOver(12));
    QVERIFY(isRaised(w.btnDay(10)));
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(45, 60));

    QTest::keyClick(w.lblDay(), Qt::Key_Down); // keys leave the entry point alone
    QCOMPARE(QPointF(w.X(), w.Y()), QPointF(45, 60));
}

void tst_WindowInput::restingPointerPicksNothing()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 7, 4);
    const QPoint overCell = w.btnDay(12)->mapToGlobal(QPoint(10, 10));
    w.HidePelidora();
    openPanel(w, 2026, 7, 4, false);
    QCursor::setPos(overCell);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(20);
    QVERIFY(!w.bDayOver(12));
    QCOMPARE(w.lblDay()->text(), QStringLiteral("4"));
}

void tst_WindowInput::userSelectionInAListRedrawsUnlessLocked()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2024, 1, 31);
    QTest::keyClick(w.cboMese(), Qt::Key_Down); // the closed list steps to February
    QCOMPARE(test::shownCells(w), 29);
    QCOMPARE(w.lblDay()->text(), QStringLiteral("29"));
    QTest::keyClick(w.cboAnno(), Qt::Key_Down); // 2025
    QCOMPARE(test::shownCells(w), 28);

    w.cboMese()->setLocked(true);
    QTest::keyClick(w.cboMese(), Qt::Key_Down);
    QTest::mouseClick(w.cboMese(), Qt::LeftButton);
    QCOMPARE(w.cboMese()->currentIndex(), 1);
    QVERIFY(!w.cboMese()->view()->isVisible());
}

void tst_WindowInput::listSelectionFromCode()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2024, 2, 10, false);
    module().FlagSkipYearClick = true;
    w.setAnnoIndex(2025 - 1900);
    module().FlagSkipYearClick = false;
    QCOMPARE(test::shownCells(w), 29); // no redraw under the flag
    w.setAnnoIndex(2025 - 1900);       // the same entry still runs the handler
    QCOMPARE(test::shownCells(w), 28);
    // An entry outside the list is refused and the selection stays.
    QVERIFY_THROWS_EXCEPTION(RuntimeError, w.setAnnoIndex(201));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, w.setMeseIndex(-2));
    QCOMPARE(w.cboAnno()->currentIndex(), 125);
    QCOMPARE(w.cboMese()->currentIndex(), 1);
}

void tst_WindowInput::caretHiddenOnlyWhenLocked()
{
    test::TodayPin today(2026, 12, 6);
    CaretSpy ws;
    window w;
    openPanel(w, 2026, 3, 3, false);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(w.lblDay(), &focusIn);
    QVERIFY(ws.hiddenCarets.isEmpty());
    w.setLocked(true);
    QApplication::sendEvent(w.lblDay(), &focusIn);
    QCOMPARE(ws.hiddenCarets, QList<qint32>{ws.handleOf(w.lblDay())});
}

QTEST_MAIN(tst_WindowInput)
#include "tst_window_input.moc"
