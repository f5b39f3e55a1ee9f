// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/dayserial.h"

#include <QDate>
#include <QTest>

#include <climits>

using namespace pelidora::core;

class tst_DaySerial : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void yearEndsFrom100To9999MatchQDate();
    void extremeSerialsRoundTrip_data();
    void extremeSerialsRoundTrip();
};

static const QDate kSerialZero(1899, 12, 30);

// Every day of 1900 to 2100 is written as QDate writes it in tst_datetext, and read back
// in tst_localedates.
void tst_DaySerial::yearEndsFrom100To9999MatchQDate()
{
    for (int year = kMinYear; year <= kMaxYear; ++year) {
        QCOMPARE(isLeapYear(year), QDate::isLeapYear(year));
        for (const QDate d : {QDate(year, 1, 1), QDate(year, 2, 28).addDays(1),
                              QDate(year, 12, 31)}) {
            const int serial = static_cast<int>(kSerialZero.daysTo(d));
            QCOMPARE(serialFromCivil({d.year(), d.month(), d.day()}), serial);
            QVERIFY(civilFromSerial(serial) == (Civil{d.year(), d.month(), d.day()}));
            QCOMPARE(isoWeekday(serial), d.dayOfWeek());
        }
        for (int month = 1; month <= 12; ++month) {
            QCOMPARE(daysInMonth(year, month), QDate(year, month, 1).daysInMonth());
            QVERIFY(!isValidCivil({year, month, daysInMonth(year, month) + 1}));
        }
    }
    QVERIFY(!isValidCivil({kMinYear - 1, 12, 31}));
    QVERIFY(!isValidCivil({kMaxYear + 1, 1, 1}));
    QVERIFY(!isValidCivil({2000, 0, 1}) && !isValidCivil({2000, 13, 1}));
    QVERIFY(!isValidCivil({2000, 1, 0}));
}

void tst_DaySerial::extremeSerialsRoundTrip_data()
{
    QTest::addColumn<int>("serial");
    QTest::newRow("int min") << INT_MIN;
    QTest::newRow("int max") << INT_MAX;
}

// Far outside the valid years the arithmetic must still hold together, without overflow.
void tst_DaySerial::extremeSerialsRoundTrip()
{
    QFETCH(int, serial);
    const Civil civil = civilFromSerial(serial);
    QVERIFY(civil.month >= 1 && civil.month <= 12 && civil.day >= 1 && civil.day <= 31);
    QCOMPARE(serialFromCivil(civil), serial);
    const int weekday = isoWeekday(serial);
    QVERIFY(weekday >= 1 && weekday <= 7);
    if (serial < INT_MAX)
        QCOMPARE(isoWeekday(serial + 1), weekday % 7 + 1);
}

QTEST_GUILESS_MAIN(tst_DaySerial)
#include "tst_dayserial.moc"
