// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "support/panelharness.h"
#include "support/errorhelpers.h"
#include "support/imagehelpers.h"
#include "support/testsupport.h"

#include "panel/panelparts.h"

#include <pelidora/runtimeerror.h>

#include <QAccessible>
#include <QList>
#include <QtTest>

#include <optional>

using namespace pelidora;
using namespace pelidora::test;

class tst_MonthPanelGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadsOnceShowsTheCellsAndHides_data();
    void loadsOnceShowsTheCellsAndHides();
    void gridShowsTheMonthFromTheFirstsWeekday_data();
    void gridShowsTheMonthFromTheFirstsWeekday();
    void selectedDayFollowsTheMonthOnlyWhileVisible_data();
    void selectedDayFollowsTheMonthOnlyWhileVisible();
    void dayMouseOverSelectsEvenWhenLockedAndChecksTheIndex();
};

void tst_MonthPanelGrid::loadsOnceShowsTheCellsAndHides_data()
{
    QTest::addColumn<bool>("partsFirst"); // the parts made before the set-up runs
    QTest::newRow("parts made after the set-up") << false;
    QTest::newRow("parts made before the set-up") << true;
}

// The set-up takes today and the locale when it runs, whenever the parts are made; what it
// set in the panel's own state stays the date box's to change.
void tst_MonthPanelGrid::loadsOnceShowsTheCellsAndHides()
{
    QFETCH(bool, partsFirst);
    std::optional<TodayPin> today(std::in_place, 2026, 12, 6);
    MonthPanel w;
    if (partsFirst)
        QCOMPARE(w.cboMese()->count(), 0);
    {
        const LocalePin italian(QStringLiteral("it_IT"));
        w.Pelidora_Form_Load();
    }
    QCOMPARE(w.hasParts(), partsFirst);
    QCOMPARE(QList<qint16>({w.SelMonth(), w.SelYear()}), QList<qint16>({12, 2026}));
    QCOMPARE(w.lblDayTag(), QStringLiteral("6"));
    w.setSelMonth(3);
    today.emplace(2030, 1, 1);
    // Lists and day field as the set-up left them; the month stays the box's.
    QCOMPARE(QStringList({w.cboAnno()->itemText(0), w.cboMese()->currentText(), w.lblDay()->text()}),
             QStringList({"1900", "Dicembre", "6"}));
    QCOMPARE(std::pair(w.cboMese()->currentIndex(), w.SelMonth()), std::pair(11, qint16(3)));

    w.setMeseIndex(1);
    w.lblDay()->setText(QStringLiteral("12"));
    today.emplace(2031, 5, 20);
    w.Pelidora_Form_Load(); // changes nothing
    QCOMPARE(std::tuple(w.cboAnno()->count(), w.cboMese()->currentIndex(), w.cboAnno()->currentText(),
                        w.lblDay()->text()),
             std::tuple(201, 1, QString("2026"), QString("12")));

    // Opened by a box, the panel takes its PelidoraBackColor.
    PanelBox box;
    box.form.box->setPelidoraBackColor(QColor(255, 255, 0));
    box.open(2026, 12, 6);
    const QImage shot = box.w.grab().toImage();
    const auto at = [&](const DayCell *cell, int x, int y) {
        return QColor(shot.pixel(cell->mapTo(&box.w, QPoint(x, y))));
    };
    const DayCell *raised = box.w.btnDay(0);
    const DayCell *sunken = box.w.btnDay(5);
    // Cell 27 x 23 pixels: lines at x 1 and 25, y 1 and 21.
    QCOMPARE(QList<QColor>({at(raised, 1, 10), at(raised, 4, 4), at(sunken, 1, 10), at(sunken, 4, 4)}),
             QList<QColor>({Qt::white, kLightGrey, Qt::black, QColor(255, 255, 0)}));
    // The number is drawn: some ink in the middle of the cell, inside its lines.
    QVERIFY(firstInkColumn(shot, QRect(sunken->mapTo(&box.w, QPoint(8, 6)), QSize(11, 11))) >= 0);

    box.w.HidePelidora();
    // Already hidden: the pictures and the flag still go.
    box.w.pic1D()->show();
    box.w.picContainer()->show();
    box.w.setFlagShowPelidora(true);
    box.w.HidePelidora();
    QVERIFY(!box.w.isVisible() && !box.w.FlagShowPelidora() && box.w.pic1D()->isHidden() && box.w.pic3D()->isHidden()
            && box.w.picContainer()->isHidden());
}

// Each row a heading offset, a month length and a way of naming the days: English or C
// words, or the locale's long format.
void tst_MonthPanelGrid::gridShowsTheMonthFromTheFirstsWeekday_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("sunken"); // the day opened on
    QTest::addColumn<QColor>("caption");
    QTest::addColumn<QColor>("sundayBack");
    QTest::addColumn<QString>("week");    // the headings from Sunday
    QTest::addColumn<QString>("name");    // the sunken cell's
    QTest::addColumn<QString>("weekday"); // of the first column
    QTest::addColumn<QString>("table");   // the grid's name
    const QColor blue(10, 36, 106), red(255, 0, 0), nearlyRed(254, 0, 0);
    const QString english = "Sun Mon Tue Wed Thu Fri Sat";
    const auto row = [&](const char *name, const char *locale, QDate sunken, const QString &week, const char *cell,
                         const char *weekday, const char *table, QColor caption = {}, QColor sundayBack = {}) {
        QTest::newRow(name) << QString(locale) << sunken << (caption.isValid() ? caption : blue)
                            << (sundayBack.isValid() ? sundayBack : blue) << week << QString(cell) << QString(weekday)
                            << QString(table);
    };
    row("en_US Feb 2026 from Sunday, four rows", "en_US", {2026, 2, 28}, english, "Saturday 28 February 2026", "Sunday",
        "February 2026");
    row("en_US Dec 2025 from Monday", "en_US", {2025, 12, 31}, english, "Wednesday 31 December 2025", "Monday",
        "December 2025");
    // Red on red would vanish: a red caption gives Sunday a dark blue ground.
    row("it_IT Feb 2000 from Tuesday, red caption", "it_IT", {2000, 2, 29}, "Dom Lun Mar Mer Gio Ven Sab",
        "martedì 29 febbraio 2000", "martedì", "Febbraio 2000", red, QColor(0, 0, 128));
    row("C Jun 2024 from Saturday, nearly red caption", "C", {2024, 6, 15}, english, "Saturday 15 June 2024", "Saturday",
        "June 2024", nearlyRed, nearlyRed);
}

// The grid as drawn and as assistive technology reads it: a table of the month's days.
void tst_MonthPanelGrid::gridShowsTheMonthFromTheFirstsWeekday()
{
    QFETCH(QString, locale);
    QFETCH(QDate, sunken);
    QFETCH(QColor, caption);
    QFETCH(QColor, sundayBack);
    QFETCH(QString, week);
    QFETCH(QString, name);
    QFETCH(QString, weekday);
    LocalePin pin(locale);
    TodayPin today(2026, 12, 6);
    PanelBox box;
    box.ws.captionColor = caption;
    box.ws.captionTextColor = QColor(250, 250, 250);
    MonthPanel &w = box.w;
    box.open(sunken.year(), sunken.month(), sunken.day());
    const int days = sunken.daysInMonth();
    const QDate first(sunken.year(), sunken.month(), 1);
    QCOMPARE(shownCells(w), days);
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(w.fraDay());
    for (int p = 0; p < 7; ++p) {
        const int weekday = (first.dayOfWeek() - 1 + p) % 7 + 1; // 7 is Sunday
        const DayHeading *h = w.giorno(p);
        QCOMPARE(h->text(), week.section(u' ', weekday % 7, weekday % 7));
        const bool sunday = weekday == 7;
        QCOMPARE(std::tuple(h->bold(), h->backColor(), h->textColor()),
                 std::tuple(sunday, sunday ? sundayBack : caption, sunday ? QColor(255, 0, 0) : QColor(250, 250, 250)));
        // The weekday headings come first among the table's children, the days after them.
        QAccessibleInterface *heading = grid->child(p);
        QCOMPARE(std::tuple(heading->role(), heading->text(QAccessible::Name), grid->indexOfChild(heading)),
                 std::tuple(QAccessible::ColumnHeader, h->text(), p));
    }
    // The keys step the day field through the days: a spin box, not an editable text.
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(w.lblDay());
    QCOMPARE(std::tuple(field->role(), bool(field->state().editable), field->editableTextInterface() != nullptr),
             std::tuple(QAccessible::SpinBox, false, false));
    QCOMPARE(std::tuple(field->valueInterface()->currentValue(), field->valueInterface()->maximumValue(),
                        field->textInterface()->text(0, 2)),
             std::tuple(QVariant(sunken.day()), QVariant(days), QString::number(sunken.day())));

    QAccessibleTableInterface *table = grid->tableInterface();
    QCOMPARE(grid->role(), QAccessible::Table);
    QTEST(grid->text(QAccessible::Name), "table");
    // The day is heard with the month and year listed.
    QTEST(field->text(QAccessible::Description), "table");
    QCOMPARE(std::tuple(grid->childCount(), table->rowCount(), table->columnCount()),
             std::tuple(7 + days, days > 28 ? 5 : 4, 7));
    QCOMPARE(table->columnDescription(0), weekday);
    for (int day = 1; day <= 35; ++day) {
        QAccessibleInterface *cell = table->cellAt((day - 1) / 7, (day - 1) % 7);
        QCOMPARE(cell != nullptr, day <= days);
        if (day > 31)
            continue;
        QAccessibleInterface *own = QAccessible::queryAccessibleInterface(w.btnDay(day - 1));
        QCOMPARE(grid->indexOfChild(own), day <= days ? 7 + day - 1 : -1); // hidden days are no cells
        if (!cell)
            continue;
        QCOMPARE(cell, own);
        QAccessibleTableCellInterface *place = cell->tableCellInterface();
        QCOMPARE(std::tuple(cell->role(), place->rowIndex(), place->columnIndex(), place->table()),
                 std::tuple(QAccessible::Cell, (day - 1) / 7, (day - 1) % 7, grid));
        const bool chosen = day == sunken.day();
        QCOMPARE(std::pair(place->isSelected(), bool(cell->state().selected)), std::pair(chosen, chosen));
        QCOMPARE(place->columnHeaderCells(), QList<QAccessibleInterface *>{grid->child((day - 1) % 7)});
    }
    QAccessibleInterface *selected = table->cellAt((sunken.day() - 1) / 7, (sunken.day() - 1) % 7);
    QCOMPARE(table->selectedCells(), QList<QAccessibleInterface *>{selected});
    QCOMPARE(selected->text(QAccessible::Name), name);
}

void tst_MonthPanelGrid::selectedDayFollowsTheMonthOnlyWhileVisible_data()
{
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("typed"); // day field before the move to February
    QTest::addColumn<QString>("field");  // after
    QTest::addColumn<int>("sunkenDay");  // 0: the January look is untouched
    QTest::newRow("15 stays") << true << "15" << "15" << 0;
    QTest::newRow("empty is last day") << true << "" << "28" << 28;
    QTest::newRow("hidden keeps 31") << false << "31" << "31" << 0;
    QTest::newRow("45 is last day") << true << "45" << "28" << 28;
    QTest::newRow("letters are day 1") << true << "ab" << "1" << 0;
}

void tst_MonthPanelGrid::selectedDayFollowsTheMonthOnlyWhileVisible()
{
    QFETCH(bool, visible);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(int, sunkenDay);
    TodayPin today(2026, 12, 6);
    PanelBox box;
    MonthPanel &w = box.w;
    box.open(2001, 1, 31);
    if (!visible)
        w.HidePelidora(); // as when the box selects the month of the next opening
    w.lblDay()->setText(typed); // typed or pasted; setText bypasses the field's validator
    w.setMeseIndex(1);
    QCOMPARE(w.lblDay()->text(), field);
    const qint16 sunk = qint16(sunkenDay ? sunkenDay - 1 : 30); // 0: 31 January keeps its look
    QVERIFY(isSunken(w.btnDay(sunk)) && w.bDayOver(sunk) && w.DayOverIndex() == sunk);
    QCOMPARE(isRaised(w.btnDay(30)) && !w.bDayOver(30), sunkenDay != 0);
    if (sunkenDay != 0)
        QCOMPARE(QDate(w.SelYear(), w.SelMonth(), w.ButtonDay()), QDate(2001, 2, sunkenDay));
}

void tst_MonthPanelGrid::dayMouseOverSelectsEvenWhenLockedAndChecksTheIndex()
{
    MonthPanel w;
    // A cell outside 0..30 is error 9 and changes nothing.
    for (const qint16 index : {qint16(-1), qint16(31)}) {
        QCOMPARE(errorOf<RuntimeError>([&] { w.setbDayOver(index, true); }), 9);
        QCOMPARE(errorOf<RuntimeError>([&] { w.PrintBoxDay(index); }), 9);
        QCOMPARE(errorOf<RuntimeError>([&] { w.btnDay(index); }), 9);
        QCOMPARE(errorOf<RuntimeError>([&] { w.DayMouseOver(index); }), 9);
    }
    for (qint16 i = 0; i < 31; ++i)
        QVERIFY(!w.bDayOver(i));

    w.setLocked(true);
    w.DayMouseOver(19);
    QVERIFY(isSunken(w.btnDay(19)) && w.bDayOver(19) && w.DayOverIndex() == 19);
    QCOMPARE(w.lblDay()->text(), QStringLiteral("20"));
}

QTEST_MAIN(tst_MonthPanelGrid)
#include "tst_monthpanel_grid.moc"
