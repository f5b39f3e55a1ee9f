// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The locale's date services: every conversion between dates and texts goes through here.
// The locale is QLocale() (the environment's, or what QLocale::setDefault set), asked
// again at every call.

#include "platform/core/datetext.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

namespace pelidora::platform {

using core::DateOrder;

// 1 when "01/02/1998" reads as the 1st of a month, otherwise 2. That follows whether d
// comes before M in the locale's short format: year-first locales (yyyy-MM-dd) are 2.
DateOrder dateOrder();

// Text to date value (day serial plus time of day fraction); nullopt when the text is no
// date. Reads what core::parseDateValue reads, in the locale's order, with the locale's
// separators too; also the locale's own short date text, in any script's digits and with
// its text after the last field ("1.02.1998 г."). A number is a date only from 1 January
// 100 to 31 December 9999 (serials kMinSerial to kMaxSerial).
std::optional<double> dateValue(const QString &text);
// The same brought to whole days, halves to the even day; within the same days.
std::optional<int> dateSerial(const QString &text);

// The locale's short date text with a four-digit year and ASCII digits; reads back to the
// same serial. A separator we could not read back (none, or more than one visible
// character), or a month written as a name, becomes "/".
QString shortDateText(int serial);

int dayOf(int serial);   // [1, 31]
int monthOf(int serial); // [1, 12]
int yearOf(int serial);

QString format00(int value);   // "00"
QString format0000(int value); // "0000"
// "dd/mm/yyyy" when dayFirst, else "mm/dd/yyyy": what dateSerial reads as that day in a
// locale of that order, or as no date when the day does not exist.
QString orderedDateText(int day, int month, int year, bool dayFirst);
QString formatDdd(int serial, const QLocale &locale = QLocale());  // abbreviated weekday name
QString formatMmmm(int serial, const QLocale &locale = QLocale()); // full month name

// Leading decimal digits of text; empty is 0; never above 32767.
qint16 numericValue(const QString &text);

// The date of a serial in the years 100 to 9999; an invalid QDate for any other serial.
QDate dateOfSerial(int serial);
// The serial of a valid date in the years 100 to 9999; nullopt for any other.
std::optional<int> serialOfDate(const QDate &date);

// Today's day serial: the system date at each call, unless a test pinned it.
int today();
void pinToday(std::optional<int> serial);

} // namespace pelidora::platform
