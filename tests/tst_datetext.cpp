// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/datetext.h"
#include "platform/core/dayserial.h"

#include <QDate>
#include <QTest>

#include <climits>

using namespace pelidora::core;
Q_DECLARE_METATYPE(DateOrder)

namespace {
constexpr auto D = DateOrder::DayFirst;
constexpr auto M = DateOrder::MonthFirst;
const double kNoDate = qQNaN();

double serialOf(int year, int month, int day) { return double(QDate(1899, 12, 30).daysTo(QDate(year, month, day))); }
} // namespace

class tst_DateText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void roundsHalfToEvenAndSaturates_data();
    void roundsHalfToEvenAndSaturates();
    void everyDayIsWrittenLikeQDate();
    void padded_data();
    void padded();
    void numeric_data();
    void numeric();
};

void tst_DateText::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<DateOrder>("order");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<double>("expected"); // NaN: the text is no date
    auto row = [&](const char *name, const QByteArray &text, DateOrder order, double expected,
                   const QByteArray &extra = {}) {
        QTest::newRow(name) << text << order << extra << expected;
    };
    // Every day of 1900-2100 is written like QDate below and read back in both orders in
    // tst_localedates, and dayserial's calendar matches QDate's in every month of 100-9999.
    // (Exchanged in month-first order: tst_localedates, in each such locale.)
    row("exchanged, day first", "11/23/1998", D, serialOf(1998, 11, 23));
    row("31 Feb either way", "31/02/2001", D, kNoDate);
    row("dots and blanks", " 1 . 2. 1998. ", D, serialOf(1998, 2, 1));
    row("direction marks", "1\u200f/2\u200f/1998", D, serialOf(1998, 2, 1));
    row("extra separator", "1\u5e742\u5e741998", D, serialOf(1998, 2, 1), "\u5e74");
    row("extra separator missing", "1\u5e742\u5e741998", D, kNoDate);
    row("year first", "1998-11-23", M, serialOf(1998, 11, 23));
    row("year first not exchanged", "1998-23-11", D, kNoDate);
    row("two separators", "1//2/1998", D, kNoDate);
    row("trailing garbage", "01/02/1998x", D, kNoDate);
    row("hour alone", "01/02/1998 13", D, kNoDate);
    row("13:00:36", "23/11/1998 13:00:36", M, serialOf(1998, 11, 23) + 46836 / 86400.0);
    row("1:00 PM", "23/11/1998 1:00 PM", D, serialOf(1998, 11, 23) + 13 / 24.0);
    row("12 AM is midnight", "23/11/1998 12:00 am", D, serialOf(1998, 11, 23));
    row("12 PM is noon", "23/11/1998 12:00 PM", D, serialOf(1998, 11, 23) + 0.5);
    row("time after separator", "1998-11-23. 06:00", D, serialOf(1998, 11, 23) + 0.25);
    row("hour 24", "23/11/1998 24:00", D, kNoDate);
    row("13 PM", "23/11/1998 13:00 PM", D, kNoDate);
    row("minute 60", "23/11/1998 12:60", D, kNoDate);
    row("plus sign and fraction", "+2.5", D, 2.5);
    row("fraction only", "-.25", D, -0.25);
    row("int max", "2147483647", D, 2147483647.0);
    row("int min", "-2147483648", D, -2147483648.0);
    row("above int max", "2147483648", D, kNoDate);
    row("below int min", "-2147483648.5", D, kNoDate);
    row("huge", QByteArray(400, '9'), D, kNoDate);
    row("zeros then a serial", QByteArray(5000, '0') + "36526", D, 36526);
    row("exponent", "1e5", D, kNoDate);
    row("empty", "", D, kNoDate);
    row("Arabic digits", "\u0661/\u0662/\u0661\u0669\u0669\u0668", D, kNoDate);
    row("bad UTF-8 in front", "\xff" "01/02/1998", D, kNoDate);
    row("cut UTF-8 at the end", "01/02/1998\xe2\x80", D, kNoDate);
    row("bad UTF-8 separator", "1\xc0\xaf" "2\xc0\xaf" "1998", D, kNoDate, "\xc0\xaf");
}

void tst_DateText::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(DateOrder, order);
    QFETCH(QByteArray, extra);
    QFETCH(double, expected);
    // QCOMPARE takes two NaNs as equal, so a text read as a date shows the date it gave.
    QCOMPARE(parseDateValue(text.toStdString(), order, extra.toStdString()).value_or(kNoDate),
             expected);
}

void tst_DateText::roundsHalfToEvenAndSaturates_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("2.51") << 2.51 << 3;
    QTest::newRow("just below a half") << 0.49999999999999994 << 0;
    QTest::newRow("NaN") << qQNaN() << 0;
    QTest::newRow("half above int max") << 2147483647.5 << INT_MAX;
    QTest::newRow("half below int min") << -2147483648.5 << INT_MIN;
}

void tst_DateText::roundsHalfToEvenAndSaturates()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(roundHalfEven(value), expected);
}

// QDate writes the texts and counts the days. That what we write reads back, every day in
// both orders and at the first and last serial, is tst_localedates's.
void tst_DateText::everyDayIsWrittenLikeQDate()
{
    using F = ShortDatePattern::Fields;
    const ShortDatePattern dmy{F::DayMonthYear, "/", "/", "", true, true};
    const ShortDatePattern mdy{F::MonthDayYear, "/", "/", "", false, false};
    const ShortDatePattern ymd{F::YearMonthDay, "-", "-", "", true, true};
    for (QDate d(1900, 1, 1); d.year() <= 2100; d = d.addDays(1)) {
        const int serial = static_cast<int>(serialOf(d.year(), d.month(), d.day()));
        QCOMPARE(formatShortDate(serial, dmy), d.toString("dd/MM/yyyy").toStdString());
        QCOMPARE(formatShortDate(serial, mdy), d.toString("M/d/yyyy").toStdString());
        QCOMPARE(formatShortDate(serial, ymd), d.toString("yyyy-MM-dd").toStdString());
    }
}

void tst_DateText::padded_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("05") << 5 << 2 << QByteArray("05");
    QTest::newRow("wider than 00") << 123 << 2 << QByteArray("123");
    QTest::newRow("negative") << -5 << 2 << QByteArray("-05");
    QTest::newRow("int min") << INT_MIN << 0 << QByteArray("-2147483648");
    QTest::newRow("width capped") << 1 << 1000 << QByteArray(63, '0') + "1";
}

void tst_DateText::padded()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(formatPadded(value, width)), expected);
}

void tst_DateText::numeric_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("letters") << QByteArray("ab12") << 0;
    QTest::newRow("digits then letters") << QByteArray("12ab") << 12;
    QTest::newRow("above 16 bits") << QByteArray("32768") << 32767;
    QTest::newRow("10,000 nines") << QByteArray(10000, '9') << 32767;
}

void tst_DateText::numeric()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(numericValue(text.toStdString()), expected);
}

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_datetext.moc"
