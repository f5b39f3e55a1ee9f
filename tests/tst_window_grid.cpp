#include "panelharness.h"
#include "support/testsupport.h"

#include "panel/dayheading.h"
#include "platform/dayserial.h"

#include <pelidora/runtimeerror.h>

#include <QSignalSpy>
#include <QtTest>

using namespace pelidora;
using test::isRaised;
using test::isSunken;
using test::openPanel;

class tst_WindowGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadSelectsTodayOnceAndStaysHidden();
    void monthLengthShowsThatManyCells_data();
    void monthLengthShowsThatManyCells();
    void headingRowStartsWithTheFirstsWeekday_data();
    void headingRowStartsWithTheFirstsWeekday();
    void selectedDayFollowsTheMonthOnlyWhileVisible_data();
    void selectedDayFollowsTheMonthOnlyWhileVisible();
    void dayMouseOverSelectsEvenWhenLocked();
    void cellIndexOutsideTheGridIsError9_data();
    void cellIndexOutsideTheGridIsError9();
    void hidePelidoraHidesPicturesAndSaysSo();
    void grabShowsRaisedAndSunkenCells();
};

void tst_WindowGrid::loadSelectsTodayOnceAndStaysHidden()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    w.Pelidora_Form_Load();
    QCOMPARE(w.cboMese()->count(), 12);
    QCOMPARE(w.cboAnno()->itemText(0), QStringLiteral("1900"));
    QCOMPARE(w.cboAnno()->itemText(200), QStringLiteral("2100"));
    QCOMPARE(w.cboMese()->currentIndex(), 11);
    QCOMPARE(w.cboAnno()->currentText(), QStringLiteral("2026"));
    QCOMPARE(w.lblDay()->text(), QStringLiteral("6"));
    QCOMPARE(w.lblDayTag(), QStringLiteral("6"));
    QVERIFY(!w.isVisible() && !w.FlagShowPelidora());
    QCOMPARE(w.size(), QSize(431, 215)); // 6465 x 3225 twips at 15 twips per pixel

    w.setMeseIndex(1);
    w.lblDay()->setText(QStringLiteral("12"));
    test::TodayPin later(2031, 5, 20);
    w.Pelidora_Form_Load();
    QCOMPARE(w.cboMese()->count(), 12);
    QCOMPARE(w.cboAnno()->count(), 201);
    QCOMPARE(w.cboMese()->currentIndex(), 1);
    QCOMPARE(w.cboAnno()->currentText(), QStringLiteral("2026"));
    QCOMPARE(w.lblDay()->text(), QStringLiteral("12"));
}

void tst_WindowGrid::monthLengthShowsThatManyCells_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("days");
    for (const char *locale : {"en_US", "it_IT"}) {
        const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s %s", locale, name) << QString::fromLatin1(locale); };
        row("Feb 1900") << 1900 << 2 << 28;
        row("Feb 2000") << 2000 << 2 << 29;
        row("Feb 2100") << 2100 << 2 << 28;
        row("Feb 2024") << 2024 << 2 << 29;
        row("Apr 2026") << 2026 << 4 << 30;
        row("Jan 1900") << 1900 << 1 << 31;
        row("Dec 2100") << 2100 << 12 << 31;
    }
}

void tst_WindowGrid::monthLengthShowsThatManyCells()
{
    QFETCH(QString, locale);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, days);
    test::LocalePin pin(locale);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, year, month, 1, false);
    QCOMPARE(test::shownCells(w), days);
    QVERIFY(!w.btnDay(days - 1)->isHidden());
    if (days < 31)
        QVERIFY(w.btnDay(days)->isHidden());
}

void tst_WindowGrid::headingRowStartsWithTheFirstsWeekday_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("month"); // of 2026
    QTest::addColumn<QColor>("caption");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("sundayColumn");
    QTest::addColumn<QColor>("sundayBack");
    const QColor blue(10, 36, 106), red(255, 0, 0), nearlyRed(254, 0, 0), darkBlue(0, 0, 128);
    // 1 February 2026 is a Sunday, 1 June 2026 a Monday.
    QTest::newRow("en_US from Sunday") << "en_US" << 2 << blue << "Sun" << "Mon" << 0 << blue;
    QTest::newRow("en_US from Monday") << "en_US" << 6 << blue << "Mon" << "Tue" << 6 << blue;
    QTest::newRow("it_IT from Sunday") << "it_IT" << 2 << blue << "Dom" << "Lun" << 0 << blue;
    QTest::newRow("it_IT from Monday") << "it_IT" << 6 << blue << "Lun" << "Mar" << 6 << blue;
    QTest::newRow("red caption") << "en_US" << 2 << red << "Sun" << "Mon" << 0 << darkBlue;
    QTest::newRow("nearly red caption") << "en_US" << 2 << nearlyRed << "Sun" << "Mon" << 0 << nearlyRed;
}

void tst_WindowGrid::headingRowStartsWithTheFirstsWeekday()
{
    QFETCH(QString, locale);
    QFETCH(int, month);
    QFETCH(QColor, caption);
    QFETCH(int, sundayColumn);
    QFETCH(QColor, sundayBack);
    test::LocalePin pin(locale);
    test::TodayPin today(2026, 12, 6);
    test::FakeWindowSystem ws;
    ws.captionColor = caption;
    ws.captionTextColor = QColor(250, 250, 250);
    window w;
    openPanel(w, 2026, month, 1, false);
    QTEST(w.giorno(0)->text(), "first");
    QTEST(w.giorno(1)->text(), "second");
    for (int p = 0; p < 7; ++p) {
        const DayHeading *h = w.giorno(p);
        QCOMPARE(h->bold(), p == sundayColumn);
        QCOMPARE(h->backColor(), p == sundayColumn ? sundayBack : caption);
        QCOMPARE(h->textColor(), p == sundayColumn ? QColor(255, 0, 0) : QColor(250, 250, 250));
    }
}

void tst_WindowGrid::selectedDayFollowsTheMonthOnlyWhileVisible_data()
{
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("typed"); // day field before the move to February
    QTest::addColumn<QString>("field");  // after
    QTest::addColumn<int>("sunkenDay");  // 0: the January look is untouched
    QTest::newRow("31 to 28") << true << 2001 << "31" << "28" << 28;
    QTest::newRow("31 to 29 leap") << true << 2000 << "31" << "29" << 29;
    QTest::newRow("15 stays") << true << 2001 << "15" << "15" << 0;
    QTest::newRow("empty is last day") << true << 2001 << "" << "28" << 28;
    QTest::newRow("hidden keeps 31") << false << 2001 << "31" << "31" << 0;
    QTest::newRow("hidden empty becomes 31") << false << 2001 << "" << "31" << 0;
    QTest::newRow("45 is last day") << true << 2001 << "45" << "28" << 28;
    QTest::newRow("0 is day 1") << true << 2001 << "0" << "1" << 0;
    QTest::newRow("letters are day 1") << true << 2001 << "ab" << "1" << 0;
    QTest::newRow("negative is day 1") << true << 2001 << "-7" << "1" << 0;
}

void tst_WindowGrid::selectedDayFollowsTheMonthOnlyWhileVisible()
{
    QFETCH(bool, visible);
    QFETCH(int, year);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(int, sunkenDay);
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, year, 1, 31, visible);
    w.lblDay()->setText(typed); // typed or pasted; setText bypasses the field's validator
    w.setMeseIndex(1);
    QCOMPARE(w.lblDay()->text(), field);
    if (sunkenDay == 0) {
        QVERIFY(isSunken(w.btnDay(30))); // nobody touched the look of 31 January
        return;
    }
    QVERIFY(isRaised(w.btnDay(30)));
    QVERIFY(!w.bDayOver(30));
    QVERIFY(isSunken(w.btnDay(sunkenDay - 1)));
    QVERIFY(w.bDayOver(qint16(sunkenDay - 1)));
    QCOMPARE(w.DayOverIndex(), qint16(sunkenDay - 1));
    QCOMPARE(w.ButtonDay(), qint16(sunkenDay));
    QCOMPARE(w.SelMonth(), qint16(2));
    QCOMPARE(w.SelYear(), qint16(year));
}

void tst_WindowGrid::dayMouseOverSelectsEvenWhenLocked()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    w.Pelidora_Form_Load();
    w.setLocked(true);
    w.setPelidoraBackColor(QColor(255, 255, 192));
    w.DayMouseOver(19);
    QVERIFY(isSunken(w.btnDay(19)));
    QCOMPARE(w.btnDay(19)->backColor(), QColor(255, 255, 192));
    QCOMPARE(w.lblDay()->text(), QStringLiteral("20"));
    QCOMPARE(w.lblDayTag(), QStringLiteral("20"));
    QCOMPARE(w.DayOverIndex(), qint16(19));
    QVERIFY(w.bDayOver(19));
}

void tst_WindowGrid::cellIndexOutsideTheGridIsError9_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("31") << 31;
    QTest::newRow("16-bit low") << -32768;
    QTest::newRow("16-bit high") << 32767;
}

void tst_WindowGrid::cellIndexOutsideTheGridIsError9()
{
    QFETCH(int, index);
    window w;
    const auto number = [](auto &&call) {
        try {
            call();
        } catch (const RuntimeError &e) {
            return e.number();
        }
        return 0;
    };
    QCOMPARE(number([&] { w.setbDayOver(qint16(index), true); }), 9);
    QCOMPARE(number([&] { w.PrintBoxDay(qint16(index)); }), 9);
    QCOMPARE(number([&] { w.DayMouseOver(qint16(index)); }), 9);
    QCOMPARE(number([&] { w.btnDay(index); }), 9);
    for (qint16 i = 0; i < 31; ++i)
        QVERIFY(!w.bDayOver(i));
    QCOMPARE(w.DayOverIndex(), qint16(0));
}

void tst_WindowGrid::hidePelidoraHidesPicturesAndSaysSo()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    openPanel(w, 2026, 12, 6);
    QSignalSpy hidden(&w, &window::hidden);
    w.HidePelidora();
    QCOMPARE(hidden.count(), 1);
    // Already hidden: the pictures and the flag still go.
    w.pic1D()->show();
    w.picContainer()->show();
    w.setFlagShowPelidora(true);
    w.HidePelidora();
    QVERIFY(!w.isVisible() && !w.FlagShowPelidora());
    QVERIFY(w.pic1D()->isHidden() && w.pic3D()->isHidden() && w.picContainer()->isHidden());
    QCOMPARE(w.lblDay()->text(), QStringLiteral("6")); // kept for the next opening
}

void tst_WindowGrid::grabShowsRaisedAndSunkenCells()
{
    test::TodayPin today(2026, 12, 6);
    window w;
    w.setPelidoraBackColor(QColor(255, 255, 0));
    openPanel(w, 2026, 12, 6);
    const QImage shot = w.grab().toImage();
    const auto at = [&](const DayCell *cell, int x, int y) {
        return QColor(shot.pixel(cell->mapTo(&w, QPoint(x, y))));
    };
    const DayCell *raised = w.btnDay(0);
    const DayCell *sunken = w.btnDay(5);
    // Cell 27 x 23 pixels: lines at x 1 and 25, y 1 and 21.
    QCOMPARE(at(raised, 1, 10), QColor(Qt::white));
    QCOMPARE(at(raised, 12, 1), QColor(Qt::white));
    QCOMPARE(at(raised, 25, 10), QColor(Qt::black));
    QCOMPARE(at(raised, 12, 21), QColor(Qt::black));
    QCOMPARE(at(raised, 4, 4), test::kLightGrey);
    QCOMPARE(at(sunken, 1, 10), QColor(Qt::black));
    QCOMPARE(at(sunken, 25, 10), QColor(Qt::white));
    QCOMPARE(at(sunken, 4, 4), QColor(255, 255, 0));
    // The number is drawn: some dark pixels in the middle of the cell.
    bool ink = false;
    for (int x = 8; x < 19; ++x)
        for (int y = 6; y < 17; ++y)
            ink = ink || qGray(shot.pixel(sunken->mapTo(&w, QPoint(x, y)))) < 100;
    QVERIFY(ink);
}

QTEST_MAIN(tst_WindowGrid)
#include "tst_window_grid.moc"
