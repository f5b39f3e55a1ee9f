// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The dates a date box holds: at most the years its lists and its year rule know, 1 January
// 1900 to 31 December 2100, narrowed as a program asks. Day serials throughout. Plain C++;
// no Qt here.

#include <optional>

namespace pelidora::core {

inline constexpr int kFirstBoxSerial = 2;    // 1 January 1900
inline constexpr int kLastBoxSerial = 73415; // 31 December 2100

// A held serial below 1 January 1900 (-1, 0 or 1) means the box holds no date.
constexpr bool holdsDate(int serial) noexcept
{
    return serial >= kFirstBoxSerial;
}

// Days of one month, [first, last] within [1, 31].
struct DayInterval {
    int first;
    int last;
};

class DateRange
{
public:
    constexpr DateRange() noexcept = default;
    // Each bound brought into 1900..2100; a maximum before the minimum becomes the minimum.
    static DateRange between(int minimum, int maximum) noexcept;

    constexpr int minimum() const noexcept { return m_min; }
    constexpr int maximum() const noexcept { return m_max; }
    // The bound brought into 1900..2100; the other one moves to it when they would cross.
    DateRange withMinimum(int minimum) const noexcept;
    DateRange withMaximum(int maximum) const noexcept;

    // Both bounds at the limits: the box behaves as one that never had a range.
    constexpr bool isDefault() const noexcept { return m_min == kFirstBoxSerial && m_max == kLastBoxSerial; }
    constexpr bool contains(int serial) const noexcept { return serial >= m_min && serial <= m_max; }
    constexpr int clamp(int serial) const noexcept { return serial < m_min ? m_min : serial > m_max ? m_max : serial; }

    // The days of a month (year 100..9999) that lie in the range; nullopt when none does.
    std::optional<DayInterval> daysOf(int year, int month) const noexcept;
    // For a month wholly outside the range, the bound nearest to it; nullopt for a month
    // with a day in the range.
    std::optional<int> boundNear(int year, int month) const noexcept;

    friend constexpr bool operator==(const DateRange &, const DateRange &) = default;

private:
    constexpr DateRange(int minimum, int maximum) noexcept
        : m_min(minimum)
        , m_max(maximum)
    {
    }

    int m_min = kFirstBoxSerial;
    int m_max = kLastBoxSerial;
};

} // namespace pelidora::core
