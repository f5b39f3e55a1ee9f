// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/daterange.h"

#include "platform/core/dayserial.h"

#include <algorithm>

namespace pelidora::core {

namespace {

int withinLimits(int serial) noexcept
{
    return std::clamp(serial, kFirstBoxSerial, kLastBoxSerial);
}

} // namespace

DateRange DateRange::between(int minimum, int maximum) noexcept
{
    const int min = withinLimits(minimum);
    return DateRange(min, std::max(min, withinLimits(maximum)));
}

DateRange DateRange::withMinimum(int minimum) const noexcept
{
    const int min = withinLimits(minimum);
    return DateRange(min, std::max(min, m_max));
}

DateRange DateRange::withMaximum(int maximum) const noexcept
{
    const int max = withinLimits(maximum);
    return DateRange(std::min(m_min, max), max);
}

std::optional<DayInterval> DateRange::daysOf(int year, int month) const noexcept
{
    const int first = serialFromCivil({year, month, 1});
    const int length = daysInMonth(year, month);
    const int from = std::max(first, m_min), to = std::min(first + length - 1, m_max);
    if (from > to)
        return std::nullopt;
    return DayInterval{from - first + 1, to - first + 1};
}

std::optional<int> DateRange::boundNear(int year, int month) const noexcept
{
    const int first = serialFromCivil({year, month, 1});
    if (first + daysInMonth(year, month) - 1 < m_min)
        return m_min;
    if (first > m_max)
        return m_max;
    return std::nullopt;
}

} // namespace pelidora::core
