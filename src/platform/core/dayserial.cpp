// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/dayserial.h"

// Howard Hinnant's days_from_civil / civil_from_days on the proleptic Gregorian calendar,
// carried out in 64 bits so that any int serial (and any int year) converts without
// overflow.

namespace pelidora::core {
namespace {

// 30 December 1899 counted from 1 January 1970.
constexpr long long kSerialZeroFromEpoch = -25569;

// Days from 1 January 1970.
constexpr long long daysFromCivil(long long y, long long m, long long d) noexcept
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;                                   // [0, 399]
    const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1; // [0, 365]
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // [0, 146096]
    return era * 146097 + doe - 719468;
}

constexpr Civil civilFromDays(long long z) noexcept
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;                                      // [0, 146096]
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // [0, 399]
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
    const long long mp = (5 * doy + 2) / 153;                                    // [0, 11]
    const long long d = doy - (153 * mp + 2) / 5 + 1;                            // [1, 31]
    const long long m = mp < 10 ? mp + 3 : mp - 9;                               // [1, 12]
    const long long y = yoe + era * 400 + (m <= 2);
    // An int serial is under 6 million years from 1900, so y fits an int.
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

constexpr int toSerial(Civil c) noexcept
{
    return static_cast<int>(daysFromCivil(c.year, c.month, c.day) - kSerialZeroFromEpoch);
}

constexpr Civil toCivil(int serial) noexcept
{
    return civilFromDays(static_cast<long long>(serial) + kSerialZeroFromEpoch);
}

constexpr int weekday(int serial) noexcept
{
    // Serial 2, 1 January 1900, was a Monday.
    long long r = (static_cast<long long>(serial) - 2) % 7;
    if (r < 0)
        r += 7;
    return static_cast<int>(r) + 1;
}

static_assert(toSerial({1899, 12, 30}) == 0);
static_assert(toSerial({1900, 1, 1}) == 2);
static_assert(toSerial({1900, 3, 1}) == 61); // 1900 has no 29 February
static_assert(toSerial({2000, 1, 1}) == 36526);
static_assert(toSerial({100, 1, 1}) == kMinSerial);
static_assert(toSerial({9999, 12, 31}) == kMaxSerial);
static_assert(toCivil(36526) == Civil{2000, 1, 1});
static_assert(toCivil(60) == Civil{1900, 2, 28});
static_assert(toCivil(-1) == Civil{1899, 12, 29});
static_assert(toCivil(kMinSerial) == Civil{100, 1, 1});
static_assert(toCivil(kMaxSerial) == Civil{9999, 12, 31});
static_assert(toCivil(2147483647).year > 5000000 && toCivil(-2147483647 - 1).year < -5000000);
static_assert(weekday(2) == 1 && weekday(36526) == 6 && weekday(-2147483647 - 1) >= 1);

} // namespace

int serialFromCivil(Civil c) noexcept
{
    return toSerial(c);
}

Civil civilFromSerial(int serial) noexcept
{
    return toCivil(serial);
}

int isoWeekday(int serial) noexcept
{
    return weekday(serial);
}

} // namespace pelidora::core
