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

// A date value: a day serial with the time of day as a fraction (noon = .5).
// Accepts:
//   - a plain decimal number, optionally signed and with a fraction ("36526", "-1", "2.5");
//   - day and month in `order`, then a four-digit year, separated by "/", "." or "-" (and
//     any character of extraSeparators), each optionally followed by blanks; a trailing
//     separator is allowed. When the numbers are no date in `order` but are one with day
//     and month exchanged, they are taken exchanged ("23/11/1998" in either order);
//   - a four-digit year first, then month and day ("1998-11-23");
//   - any of these dates followed by blanks and a time of day: "13:00", "13:00:00",
//     "1:00 PM", "1:00:30 am".
// Fails (nullopt) for anything else, for dates that do not exist, and for years outside
// [kMinYear, kMaxYear].
std::optional<double> parseDateValue(std::string_view text, DateOrder order,
                                     std::string_view extraSeparators = {});

// parseDateValue brought to whole days, halves to the even day.
std::optional<int> parseDateSerial(std::string_view text, DateOrder order,
                                   std::string_view extraSeparators = {});

// Nearest whole number, halves to the even one; saturates at the int range.
int roundHalfEven(double value) noexcept;

// The serial's date as the pattern writes it ("06.12.2026", "12/6/2026").
std::string formatShortDate(int serial, const ShortDatePattern &pattern);

// Decimal text of value padded with leading zeros to width digits ("00", "0000").
std::string formatPadded(int value, int width);

// The value of the leading decimal digits of text; empty or no leading digit is 0. Never
// above 32767, so it fits a signed 16-bit value.
int numericValue(std::string_view text) noexcept;

} // namespace pelidora::core
