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
    void dayFieldTextThatIsNoDayStaysInTheMonth_data();
    void dayFieldTextThatIsNoDayStaysInTheMonth();
    void enterThreeTimesChoosesTheFieldsDay_data();
    void enterThreeTimesChoosesTheFieldsDay();
    void escapeClosesWithoutChoosingAndTravelsOn_data();
    void escapeClosesWithoutChoosingAndTravelsOn();
    void clickOnCellChooses_data();
    void clickOnCellChooses();
    void pointerSinksTheCellItEnters_data();
    void pointerSinksTheCellItEnters();
    void restingPointerPicksNothing();
    void userSelectionInAListRedraws();
    void lockedListKeepsItsSelection();
    void yearChangeIsSilentWhileSkipFlagIsSet();
    void listIndexOutsideTheListKeepsSelection();
    void caretHiddenOnlyWhenLocked();
};

void tst_WindowInput::navigationKeysStepDaysAndMonths_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("Down on 31 Jan") << QDate(2026, 1, 31) << int(Qt::Key_Down) << QDate(2026, 2, 1);
    QTest::newRow("Down on 28 Feb 2001") << QDate(2001, 2, 28) << int(Qt::Key_Down) << QDate(2001, 3, 1);
    QTest::newRow("Down on 31 Dec 2100") << QDate(2100, 12, 31) << int(Qt::Key_Down) << QDate(1900, 1, 1);
    QTest::newRow("Down mid-month") << QDate(2026, 3, 15) << int(Qt::Key_Down) << QDate(2026, 3, 16);
    QTest::newRow("Up on 1 Mar 2000") << QDate(2000, 3, 1) << int(Qt::Key_Up) << QDate(2000, 2, 29);
    QTest::newRow("Up on 1 Jan 1900") << QDate(1900, 1, 1) << int(Qt::Key_Up) << QDate(2100, 12, 31);
    QTest::newRow("Up mid-month") << QDate(2026, 5, 10) << int(Qt::Key_Up) << QDate(2026, 5, 9);
    QTest::newRow("PageDown on 31 Jan 2001") << QDate(2001, 1, 31) << int(Qt::Key_PageDown) << QDate(2001, 2, 28);
    QTest::newRow("PageUp on 15 Mar") << QDate(2026, 3, 15) << int(Qt::Key_PageUp) << QDate(2026, 2, 15);
    QTest::newRow("PageUp on Jan 1900") << QDate(1900, 1, 20) << int(Qt::Key_PageUp) << QDate(2100, 12, 20);
    QTest::newRow("PageDown on Dec 2100") << QDate(2100, 12, 20) << int(Qt::Key_PageDown) << QDate(1900, 1, 20);
    QTest::newRow("Left") << QDate(2026, 3, 15) << int(Qt::Key_Left) << QDate(2026, 3, 15);
    QTest::newRow("Right") << QDate(2026, 3, 15) << int(Qt::Key_Right) << QDate(2026, 3, 15);
    QTest::newRow("Home") << QDate(2026, 3, 15) << int(Qt::Key_Home) << QDate(2026, 3, 15);
    QTest::newRow("End") << QDate(2026, 3, 15) << int(Qt::Key_End) << QDate(2026, 3, 15);
}

void tst_WindowInput::navigationKeysStepDaysAndMonths()
{
    QFETCH(QDate, start);
    QFETCH(int, key);
    QFETCH(QDate, expected);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, start.year(), start.month(), start.day());
    QTest::keyClick(w.lblDay(), Qt::Key(key));

    QCOMPARE(w.lblDay()->text(), QString::number(expected.day()));
    QCOMPARE(w.cboMese()->currentIndex() + 1, expected.month());
    QCOMPARE(w.cboAnno()->currentIndex() + 1900, expected.year());
    QCOMPARE(test::shownCells(w), expected.daysInMonth());
    const qint16 cell = qint16(expected.day() - 1);
    QVERIFY(isSunken(w.btnDay(cell)));
    QVERIFY(w.bDayOver(cell));
    QCOMPARE(w.DayOverIndex(), cell);
    if (start.day() != expected.day())
        QVERIFY(isRaised(w.btnDay(start.day() - 1)));
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        QCOMPARE(w.ButtonDay(), qint16(expected.day()));
        QCOMPARE(w.SelMonth(), qint16(expected.month()));
        QCOMPARE(w.SelYear(), qint16(expected.year()));
    }
    QVERIFY(w.isVisible());
    QVERIFY(!w.FlagRaiseClick());
}

void tst_WindowInput::dayFieldTextThatIsNoDayStaysInTheMonth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QDate>("expected");
    // The panel shows April 2026 (30 days) with day 10 selected.
    QTest::newRow("45 Up") << "45" << int(Qt::Key_Up) << QDate(2026, 4, 29);
    QTest::newRow("45 Down") << "45" << int(Qt::Key_Down) << QDate(2026, 5, 1);
    QTest::newRow("31 Down") << "31" << int(Qt::Key_Down) << QDate(2026, 5, 1);
    QTest::newRow("0 Up") << "0" << int(Qt::Key_Up) << QDate(2026, 3, 31);
    QTest::newRow("empty Down") << "" << int(Qt::Key_Down) << QDate(2026, 4, 2);
    QTest::newRow("letters Up") << "xy" << int(Qt::Key_Up) << QDate(2026, 3, 31);
    QTest::newRow("negative Down") << "-3" << int(Qt::Key_Down) << QDate(2026, 4, 2);
    QTest::newRow("99999 PageUp") << "99999" << int(Qt::Key_PageUp) << QDate(2026, 3, 31);
}

void tst_WindowInput::dayFieldTextThatIsNoDayStaysInTheMonth()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QDate, expected);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 4, 10);
    w.lblDay()->setText(text);
    QTest::keyClick(w.lblDay(), Qt::Key(key));
    QCOMPARE(w.lblDay()->text(), QString::number(expected.day()));
    QCOMPARE(w.cboMese()->currentIndex() + 1, expected.month());
    if (key != Qt::Key_PageUp)
        QVERIFY(isSunken(w.btnDay(expected.day() - 1)));
}

void tst_WindowInput::enterThreeTimesChoosesTheFieldsDay_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("day"); // of April 2026
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

    QVERIFY(!w.isVisible());
    QVERIFY(!w.FlagShowPelidora());
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
    QWidget *target = w.findChild<QWidget *>(field);
    QVERIFY(target);
    KeyRecorder behind(w.fraCombo());

    QTest::keyClick(target, Qt::Key_Return);
    QVERIFY(!behind.keys.contains(Qt::Key_Return)); // Enter is the panel's
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(behind.keys.contains(Qt::Key_Escape)); // Escape is not swallowed

    QVERIFY(!w.isVisible());
    QVERIFY(!w.FlagShowPelidora());
    QVERIFY(field == QLatin1String("cboAnno") || !w.FlagRaiseClick());
    if (field != QLatin1String("cboAnno"))
        QCOMPARE(w.DateSet(), 4242);
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
    QCOMPARE(w.X(), 0.0f);

    QTest::mouseMove(w.btnDay(10), QPoint(5, 7));
    QTRY_VERIFY(w.bDayOver(10));
    QVERIFY(isSunken(w.btnDay(10)));
    QVERIFY(isRaised(w.btnDay(3)));
    QCOMPARE(w.X(), 75.0f); // twips inside the cell
    QCOMPARE(w.Y(), 105.0f);
    QCOMPARE(w.ButtonDay(), qint16(11));
    QCOMPARE(w.SelMonth(), qint16(7));
    QCOMPARE(w.SelYear(), qint16(2026));
    QCOMPARE(w.lblDayTag(), QStringLiteral("11"));
    QCOMPARE(w.lblDay()->text(), locked ? QStringLiteral("4") : QStringLiteral("11"));

    // Within the cell nothing changes.
    QTest::mouseMove(w.btnDay(10), QPoint(15, 16));
    QTest::qWait(0);
    QCOMPARE(w.X(), 75.0f);
    QCOMPARE(w.Y(), 105.0f);

    QTest::mouseMove(w.btnDay(12), QPoint(3, 4));
    QTRY_VERIFY(w.bDayOver(12));
    QVERIFY(isRaised(w.btnDay(10)));
    QCOMPARE(w.X(), 45.0f);
    QCOMPARE(w.Y(), 60.0f);

    // Keyboard moves leave the entry point alone.
    QTest::keyClick(w.lblDay(), Qt::Key_Down);
    QCOMPARE(w.X(), 45.0f);
    QCOMPARE(w.Y(), 60.0f);
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
    QCOMPARE(w.X(), 0.0f);
}

void tst_WindowInput::userSelectionInAListRedraws()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2024, 1, 31);
    QTest::keyClick(w.cboMese(), Qt::Key_Down); // the closed list steps to February
    QCOMPARE(w.cboMese()->currentIndex(), 1);
    QCOMPARE(test::shownCells(w), 29);
    QCOMPARE(w.lblDay()->text(), QStringLiteral("29"));
    QTest::keyClick(w.cboAnno(), Qt::Key_Down); // 2025
    QCOMPARE(test::shownCells(w), 28);
    QCOMPARE(w.lblDay()->text(), QStringLiteral("28"));
}

void tst_WindowInput::lockedListKeepsItsSelection()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2024, 1, 31);
    w.cboMese()->setLocked(true);
    QTest::keyClick(w.cboMese(), Qt::Key_Down);
    QTest::mouseClick(w.cboMese(), Qt::LeftButton);
    QCOMPARE(w.cboMese()->currentIndex(), 0);
    QVERIFY(!w.cboMese()->view()->isVisible());
    // The Enter chain still runs through a locked list.
    QTest::keyClick(w.cboMese(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void tst_WindowInput::yearChangeIsSilentWhileSkipFlagIsSet()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2024, 2, 10);
    QCOMPARE(test::shownCells(w), 29);
    module().FlagSkipYearClick = true;
    w.setAnnoIndex(2025 - 1900);
    module().FlagSkipYearClick = false;
    QCOMPARE(test::shownCells(w), 29);
    w.setAnnoIndex(2025 - 1900); // same entry: the handler still runs
    QCOMPARE(test::shownCells(w), 28);
}

void tst_WindowInput::listIndexOutsideTheListKeepsSelection()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2024, 2, 10, false);
    for (int bad : {-2, 201, 5000}) {
        try {
            w.setAnnoIndex(bad);
            QFAIL("no error");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), int(RuntimeError::InvalidPropertyValue));
        }
    }
    QVERIFY_THROWS_EXCEPTION(RuntimeError, w.setMeseIndex(12));
    QCOMPARE(w.cboAnno()->currentIndex(), 124);
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
