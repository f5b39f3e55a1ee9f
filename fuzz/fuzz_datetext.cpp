// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// libFuzzer target for the date text reader: any bytes must parse or fail cleanly, and any
// date that parses must write and read back to the same serial.

#include "platform/core/datetext.h"
#include "platform/core/dayserial.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace pelidora::core;

namespace {

void checkRoundTrip(int serial)
{
    if (serial < kMinSerial || serial > kMaxSerial)
        return;
    using F = ShortDatePattern::Fields;
    const ShortDatePattern patterns[] = {
        {F::DayMonthYear, "/", "/", "", true, true},
        {F::MonthDayYear, "/", "/", "", false, false},
        {F::YearMonthDay, ". ", ". ", ".", true, true},
        {F::DayMonthYear, "\u200f/", "\u200f/", "", false, false},
    };
    for (const ShortDatePattern &pattern : patterns) {
        const DateOrder order = pattern.fields == F::MonthDayYear ? DateOrder::MonthFirst : DateOrder::DayFirst;
        if (parseDateSerial(formatShortDate(serial, pattern), order) != serial)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    // The first byte, when it is below 8, says how many of the next bytes are extra
    // separators.
    std::string_view extra;
    std::string_view text = input;
    if (!input.empty() && static_cast<unsigned char>(input[0]) < 8) {
        const std::size_t n = std::min<std::size_t>(input[0], input.size() - 1);
        extra = input.substr(1, n);
        text = input.substr(1 + n);
    }

    const int value = numericValue(text);
    if (value < 0 || value > 32767)
        std::abort();

    for (const DateOrder order : {DateOrder::DayFirst, DateOrder::MonthFirst}) {
        const auto parsed = parseDateValue(text, order, extra);
        if (!parsed)
            continue;
        if (!(*parsed >= -2147483648.0 && *parsed <= 2147483647.0))
            std::abort();
        const int serial = roundHalfEven(*parsed);
        if (parseDateSerial(text, order, extra) != serial)
            std::abort();
        checkRoundTrip(serial);
        formatShortDate(serial, ShortDatePattern{});
    }
    return 0;
}
