// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Day serials: whole days counted from 30 December 1899, so 2 is 1 January 1900 and
// 36526 is 1 January 2000. Plain C++; no Qt here.

namespace pelidora::core {

struct Civil {
    int year;
    int month; // [1, 12]
    int day;   // [1, 31]
    friend constexpr bool operator==(const Civil &, const Civil &) = default;
};

constexpr bool isLeapYear(int year) noexcept
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// [28, 31]; month must be in [1, 12].
constexpr int daysInMonth(int year, int month) noexcept
{
    constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// Year in [kMinYear, kMaxYear], month in [1, 12], day in [1, daysInMonth].
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
constexpr bool isValidCivil(Civil c) noexcept
{
    return c.year >= kMinYear && c.year <= kMaxYear && c.month >= 1 && c.month <= 12 && c.day >= 1
        && c.day <= daysInMonth(c.year, c.month);
}

// Any valid civil date; defined for every proleptic Gregorian date in [kMinYear, kMaxYear].
int serialFromCivil(Civil c) noexcept;
// Any serial; years beyond the valid range come out as the arithmetic gives them.
Civil civilFromSerial(int serial) noexcept;
// 1 = Monday ... 7 = Sunday.
int isoWeekday(int serial) noexcept;

// Serials of 1 January 100 and 31 December 9999.
constexpr int kMinSerial = -657434;
constexpr int kMaxSerial = 2958465;

} // namespace pelidora::core
