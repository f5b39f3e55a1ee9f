// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/dayavailability.h"

#include "platform/core/dayserial.h"

#include <algorithm>

namespace pelidora::core {

std::optional<int> nearestAvailable(int serial, const DateRange &range, const DayTest &available)
{
    const int start = range.clamp(serial);
    if (available(start))
        return start;
    for (int distance = 1; distance <= kSearchDays; ++distance) {
        const int later = start + distance, earlier = start - distance;
        const bool laterIn = range.contains(later), earlierIn = range.contains(earlier);
        if (!laterIn && !earlierIn)
            break;
        if (laterIn && available(later))
            return later;
        if (earlierIn && available(earlier))
            return earlier;
    }
    return std::nullopt;
}

std::optional<int> stepAvailable(int serial, int step, const DateRange &range, const DayTest &available)
{
    const bool wraps = range.isDefault();
    int day = range.clamp(serial);
    for (int asked = 0; asked < kSearchDays; ++asked) {
        day += step;
        if (!range.contains(day)) {
            if (!wraps)
                return std::nullopt;
            day = step > 0 ? kFirstBoxSerial : kLastBoxSerial;
        }
        if (day == serial)
            return std::nullopt; // once round the whole range
        if (available(day))
            return day;
    }
    return std::nullopt;
}

std::optional<int> nearestInMonth(int year, int month, int day, const DateRange &range, const DayTest &available)
{
    const std::optional<DayInterval> open = range.daysOf(year, month);
    if (!open)
        return std::nullopt;
    const int first = serialFromCivil({year, month, 1});
    const DateRange days = DateRange::between(first + open->first - 1, first + open->last - 1);
    const std::optional<int> found = nearestAvailable(first + std::clamp(day, 1, 31) - 1, days, available);
    if (!found)
        return std::nullopt;
    return *found - first + 1;
}

} // namespace pelidora::core
