// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/dayavailability.h"
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
    void availableDaySearch_data();
    void availableDaySearch();
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

static int serialOf(const QDate &d) { return static_cast<int>(kSerialZero.daysTo(d)); }

enum class Search { Nearest, Later, Earlier, InMonth };
enum class Rule { NoWeekends, OddDaysOnly, NoDay, OnlyFirstOf2050 };
Q_DECLARE_METATYPE(Search)
Q_DECLARE_METATYPE(Rule)

void tst_DaySerial::availableDaySearch_data()
{
    QTest::addColumn<Search>("search");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("min");
    QTest::addColumn<QDate>("max");
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QDate>("expected"); // invalid: none
    const QDate first(1900, 1, 1), last(2100, 12, 31);
    // 6 July 2024 is a Saturday.
    QTest::newRow("even day: a tie, the later") << Search::Nearest << QDate(2024, 7, 6) << first << last
                                                       << Rule::OddDaysOnly << QDate(2024, 7, 7);
    QTest::newRow("Sunday: Monday nearest") << Search::Nearest << QDate(2024, 7, 7) << first << last
                                           << Rule::NoWeekends << QDate(2024, 7, 8);
    QTest::newRow("Saturday: Friday nearest") << Search::Nearest << QDate(2024, 7, 6) << first << last
                                             << Rule::NoWeekends << QDate(2024, 7, 5);
    QTest::newRow("nearest beyond the range: the bound's side") << Search::Nearest << QDate(2030, 1, 1) << first
                                                               << QDate(2024, 7, 7) << Rule::NoWeekends
                                                               << QDate(2024, 7, 5);
    QTest::newRow("no day at all") << Search::Nearest << QDate(2024, 7, 6) << first << last << Rule::NoDay << QDate();
    QTest::newRow("beyond the search") << Search::Nearest << QDate(2040, 1, 1) << first << last
                                       << Rule::OnlyFirstOf2050 << QDate();
    QTest::newRow("within the search") << Search::Nearest << QDate(2048, 1, 1) << first << last
                                       << Rule::OnlyFirstOf2050 << QDate(2050, 1, 1);
    QTest::newRow("later over a weekend") << Search::Later << QDate(2024, 7, 5) << first << last << Rule::NoWeekends
                                          << QDate(2024, 7, 8);
    QTest::newRow("earlier over a weekend") << Search::Earlier << QDate(2024, 7, 8) << first << last
                                            << Rule::NoWeekends << QDate(2024, 7, 5);
    QTest::newRow("later across a month") << Search::Later << QDate(2024, 5, 31) << first << last
                                          << Rule::OddDaysOnly << QDate(2024, 6, 1);
    QTest::newRow("later wraps to 1900") << Search::Later << last << first << last << Rule::OddDaysOnly << first;
    // 1 January 1900 is a Monday, 31 December 2100 a Friday.
    QTest::newRow("earlier wraps to 2100") << Search::Earlier << first << first << last << Rule::NoWeekends << last;
    QTest::newRow("a narrowed range does not wrap") << Search::Later << QDate(2024, 7, 5) << first
                                                    << QDate(2024, 7, 7) << Rule::NoWeekends << QDate();
    QTest::newRow("stepping when none is left") << Search::Earlier << QDate(2024, 7, 8) << first << last
                                                << Rule::NoDay << QDate();
    QTest::newRow("in the month, the later on a tie") << Search::InMonth << QDate(2024, 7, 6) << first << last
                                                      << Rule::OddDaysOnly << QDate(2024, 7, 7);
    QTest::newRow("in the month, not the next one") << Search::InMonth << QDate(2024, 8, 31) << first << last
                                                    << Rule::NoWeekends << QDate(2024, 8, 30);
    QTest::newRow("in the month, inside the range") << Search::InMonth << QDate(2024, 7, 1) << QDate(2024, 7, 20)
                                                    << last << Rule::NoWeekends << QDate(2024, 7, 22);
    QTest::newRow("a month with none") << Search::InMonth << QDate(2024, 7, 6) << QDate(2024, 7, 6)
                                       << QDate(2024, 7, 7) << Rule::NoWeekends << QDate();
}

void tst_DaySerial::availableDaySearch()
{
    QFETCH(Search, search);
    QFETCH(QDate, from);
    QFETCH(QDate, min);
    QFETCH(QDate, max);
    QFETCH(Rule, rule);
    QFETCH(QDate, expected);
    const DateRange range = DateRange::between(serialOf(min), serialOf(max));
    int asked = 0;
    const DayTest available = [&](int serial) {
        ++asked;
        [&] { QVERIFY2(range.contains(serial), "asked outside the range"); }();
        const QDate d = kSerialZero.addDays(serial);
        switch (rule) {
        case Rule::NoWeekends: return d.dayOfWeek() < 6;
        case Rule::OddDaysOnly: return d.day() % 2 == 1;
        case Rule::NoDay: return false;
        case Rule::OnlyFirstOf2050: return d == QDate(2050, 1, 1);
        }
        return true;
    };
    std::optional<int> found;
    switch (search) {
    case Search::Nearest: found = nearestAvailable(serialOf(from), range, available); break;
    case Search::Later: found = stepAvailable(serialOf(from), 1, range, available); break;
    case Search::Earlier: found = stepAvailable(serialOf(from), -1, range, available); break;
    case Search::InMonth:
        if (const auto day = nearestInMonth(from.year(), from.month(), from.day(), range, available))
            found = serialOf(QDate(from.year(), from.month(), *day));
        break;
    }
    QCOMPARE(found ? kSerialZero.addDays(*found) : QDate(), expected);
    QVERIFY(asked <= 2 * kSearchDays + 1);
}

QTEST_GUILESS_MAIN(tst_DaySerial)
#include "tst_dayserial.moc"
