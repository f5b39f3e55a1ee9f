// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Reading and writing date texts in a given day/month order. Plain C++ (UTF-8 text);
// no Qt here, so it can be tested and fuzzed alone.

#include <optional>
#include <string>
#include <string_view>

namespace pelidora::core {

enum class DateOrder : int {
    DayFirst = 1,   // d/m/yyyy
    MonthFirst = 2, // m/d/yyyy
};

// How a locale writes its short date, reduced to what we print: field order, the texts
// between and after the fields, and whether day and month get a leading zero. The year is
// always written with four digits.
struct ShortDatePattern {
    enum class Fields { DayMonthYear, MonthDayYear, YearMonthDay };
    Fields fields = Fields::DayMonthYear;
    std::string separator1 = "/";
    std::string separator2 = "/";
    std::string trailer;
    bool dayTwoDigits = true;
    bool monthTwoDigits = true;
};

// A date value: a day serial with the time of day as a fraction (noon = .5), on one linear
// timeline: 6:00 on serial -1 is -0.75.
// Accepts, with blanks around the whole text allowed:
//   - a plain decimal number, optionally signed and with a fraction ("36526", "-1", "2.5"),
//     taken as the value itself; fails outside [INT_MIN, INT_MAX];
//   - day and month in `order` (one or two digits each), then a four-digit year, separated
//     by "/", "." or "-" (or any character of extraSeparators), blanks allowed around each
//     separator; one trailing separator is allowed. When the numbers are no date in `order`
//     but are one with day and month exchanged, they are taken exchanged ("23/11/1998" in
//     either order);
//   - a four-digit year first, then month and day ("1998-11-23"), never exchanged;
//   - any of these dates followed by blanks and a time of day: "13:00", "13:00:00",
//     "1:00 PM", "1:00:30 am" (hours 0-23, or 1-12 with AM/PM; 12 AM is midnight).
// Blanks are space, tab, no-break spaces and the invisible direction marks (U+200E, U+200F,
// U+061C) that right-to-left locales put beside their separators; blanks and digits in
// extraSeparators are ignored. Only ASCII digits count. Any byte sequence is safe: malformed
// UTF-8 is simply no date.
// Fails (nullopt) for anything else, for dates that do not exist, and for years outside
// [kMinYear, kMaxYear].
std::optional<double> parseDateValue(std::string_view text, DateOrder order, std::string_view extraSeparators = {});

// parseDateValue brought to whole days, halves to the even day.
std::optional<int> parseDateSerial(std::string_view text, DateOrder order, std::string_view extraSeparators = {});

// Nearest whole number, halves to the even one; saturates at the int range; NaN is 0.
int roundHalfEven(double value) noexcept;

// The serial's date as the pattern writes it ("06.12.2026", "12/6/2026"), ASCII digits.
// Reads back through parseDateValue for serials in [kMinSerial, kMaxSerial] when the
// separators are "/", "." or "-" (or passed as extraSeparators) and the order matches.
std::string formatShortDate(int serial, const ShortDatePattern &pattern);

// Decimal text of value padded with leading zeros to width digits ("00", "0000"); a
// negative value gets its sign in front ("-05"). Width in [0, 64]; more counts as 64.
std::string formatPadded(int value, int width);

// The value of the leading decimal digits of text; empty or no leading digit is 0. Never
// above 32767, so it fits a signed 16-bit value.
int numericValue(std::string_view text) noexcept;

} // namespace pelidora::core
