// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Searches for a day that can be chosen, when a program rules some days out. The days are
// day serials; a test says whether one can be chosen and is asked only for days inside the
// range. Every search is bounded, so a test that refuses every day costs at most
// kSearchDays questions each way. Plain C++; no Qt here.

#include "platform/core/daterange.h"

#include <functional>
#include <optional>

namespace pelidora::core {

// True when the day (a serial inside the range) can be chosen.
using DayTest = std::function<bool(int serial)>;

// Days asked at most on each side of the start of one search: two years and a day, so a
// rule leaving a day free once a year is always found.
inline constexpr int kSearchDays = 732;

// The available day nearest to serial (first brought into the range), the later one on a
// tie; nullopt when none lies within kSearchDays of it in the range.
std::optional<int> nearestAvailable(int serial, const DateRange &range, const DayTest &available);

// The next available day after serial (step 1) or before it (step -1), in the range. Only a
// range at the limits passes from 31 December 2100 to 1 January 1900 and back; nullopt when
// none is left before a bound or within kSearchDays.
std::optional<int> stepAvailable(int serial, int step, const DateRange &range, const DayTest &available);

// The available day of a month (year 1900..2100) nearest to day, the later one on a tie, as
// a day of that month; nullopt when the month has none in the range.
std::optional<int> nearestInMonth(int year, int month, int day, const DateRange &range, const DayTest &available);

} // namespace pelidora::core
