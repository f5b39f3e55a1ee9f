// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "support/testsupport.h"

#include <QDate>
#include <QtTest>

using namespace pelidora;
using platform::DateOrder;
Q_DECLARE_METATYPE(DateOrder)

namespace {
int serialOf(QDate date) { return static_cast<int>(QDate(1899, 12, 30).daysTo(date)); }
} // namespace

class tst_LocaleDates : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shortTextReadsBackEveryDay_data();
    void shortTextReadsBackEveryDay();
    void yearsAreWrittenWithFourDigits();
    void todayIsTheSystemsDate();
};

void tst_LocaleDates::shortTextReadsBackEveryDay_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<DateOrder>("order");
    QTest::addColumn<QString>("firstOfFebruary"); // 1 February 1998 as we write it
    const auto D = DateOrder::DayFirst, M = DateOrder::MonthFirst;
    QTest::newRow("en_US") << "en_US" << M << "2/1/1998";
    QTest::newRow("en_GB") << "en_GB" << D << "01/02/1998";
    QTest::newRow("de_DE") << "de_DE" << D << "01.02.1998";
    QTest::newRow("sv_SE year first") << "sv_SE" << M << "1998-02-01";
    QTest::newRow("hu_HU trailing dot") << "hu_HU" << M << "1998. 02. 01.";
    QTest::newRow("bg_BG trailing word") << "bg_BG" << D << "1.02.1998 \u0433.";
    QTest::newRow("ar_EG marks, Arabic digits") << "ar_EG" << D << "1\u200f/2\u200f/1998";
    QTest::newRow("fa_IR Persian digits") << "fa_IR" << M << "1998/2/1";
    QTest::newRow("C month name") << "C" << D << "01/02/1998";
}

// The probe and the text agree, what we write reads back, and so does the locale's own
// short text, with a four-digit year and in its own digits.
void tst_LocaleDates::shortTextReadsBackEveryDay()
{
    QFETCH(QString, locale);
    QFETCH(DateOrder, order);
    QFETCH(QString, firstOfFebruary);
    test::LocalePin pin(locale);
    QCOMPARE(platform::dateOrder(), order);
    QCOMPARE(platform::shortDateText(serialOf(QDate(1998, 2, 1))), firstOfFebruary);
    for (int serial = serialOf(QDate(1900, 1, 1)); serial <= serialOf(QDate(2100, 12, 31));
         ++serial) {
        const QString text = platform::shortDateText(serial);
        QCOMPARE(platform::dateSerial(text).value_or(-1), serial);
    }
    for (const int serial : {core::kMinSerial, core::kMaxSerial})
        QCOMPARE(platform::dateSerial(platform::shortDateText(serial)).value_or(-1), serial);
    // Day and month exchange when only that makes a date.
    QCOMPARE(platform::dateSerial("29/11/1998").value_or(-1), serialOf(QDate(1998, 11, 29)));
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1String("MMM"))) // the month written as a name: we read numbers only
        return;
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    for (QDate d(1999, 12, 25); d.year() < 2001; d = d.addDays(3))
        QCOMPARE(platform::dateSerial(QLocale().toString(d, format)).value_or(-1), serialOf(d));
}

// The month and weekday names reach the panel's lists and headings, and only ASCII digits
// count in a field: tst_monthpanel_grid and tst_ucvpelidora_entry show them.
void tst_LocaleDates::yearsAreWrittenWithFourDigits()
{
    QCOMPARE(platform::format0000(998), "0998");
}

// Unless a test pins it (as the widget tests do), today is the system's date.
void tst_LocaleDates::todayIsTheSystemsDate()
{
    QVERIFY(qAbs(platform::today() - serialOf(QDate::currentDate())) <= 1); // midnight may pass
}

QTEST_MAIN(tst_LocaleDates)
#include "tst_localedates.moc"
