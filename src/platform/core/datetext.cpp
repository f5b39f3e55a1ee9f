// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/core/datetext.h"

#include "platform/core/dayserial.h"

#include <climits>
#include <cmath>
#include <utility>

namespace pelidora::core {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// One UTF-8 code point at the front of s; kInvalid (consuming one byte) for a malformed
// sequence, so any byte string can be walked.
struct CodePoint {
    char32_t value;
    std::size_t length;
};

CodePoint decodeUtf8(std::string_view s) noexcept
{
    if (s.empty())
        return {kInvalid, 0};
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80)
        return {b0, 1};
    std::size_t length;
    char32_t value;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, value = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, value = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, value = b0 & 0x07, minimum = 0x10000;
    } else {
        return {kInvalid, 1};
    }
    if (s.size() < length)
        return {kInvalid, 1};
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return {kInvalid, 1};
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {kInvalid, 1};
    return {value, length};
}

// Spaces, and the invisible direction marks that right-to-left locales put around their
// separators.
constexpr bool isBlank(char32_t c) noexcept
{
    return c == U' ' || c == U'\t' || c == 0x00A0 || c == 0x202F || c == 0x200E || c == 0x200F || c == 0x061C;
}

constexpr bool isDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

class Reader
{
public:
    Reader(std::string_view text, std::string_view extraSeparators)
        : m_text(text)
        , m_extra(extraSeparators)
    {
    }

    bool atEnd() const { return m_pos == m_text.size(); }
    std::size_t pos() const { return m_pos; }
    void reset(std::size_t pos) { m_pos = pos; }

    // Number of blanks skipped.
    int skipBlanks()
    {
        int count = 0;
        while (!atEnd()) {
            const CodePoint cp = decodeUtf8(m_text.substr(m_pos));
            if (!isBlank(cp.value))
                break;
            m_pos += cp.length;
            ++count;
        }
        return count;
    }

    bool skipChar(char c)
    {
        if (atEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }

    bool skipSeparatorChar()
    {
        if (atEnd())
            return false;
        const CodePoint cp = decodeUtf8(m_text.substr(m_pos));
        if (cp.value == kInvalid || !isSeparator(cp.value))
            return false;
        m_pos += cp.length;
        return true;
    }

    // Blanks, one separator, blanks.
    bool skipSeparator()
    {
        skipBlanks();
        if (!skipSeparatorChar())
            return false;
        skipBlanks();
        return true;
    }

    // A run of digits of a length in [minDigits, maxDigits]; value in [0, 9999].
    std::optional<int> number(int minDigits, int maxDigits)
    {
        int digits = 0;
        int value = 0;
        while (!atEnd() && isDigit(m_text[m_pos])) {
            if (++digits > maxDigits)
                return std::nullopt;
            value = value * 10 + (m_text[m_pos] - '0');
            ++m_pos;
        }
        if (digits < minDigits)
            return std::nullopt;
        return value;
    }

    int digitsAhead() const
    {
        std::size_t i = m_pos;
        while (i < m_text.size() && isDigit(m_text[i]))
            ++i;
        return static_cast<int>(i - m_pos);
    }

    bool skipLetterPair(char upper1, char upper2)
    {
        if (m_text.size() - m_pos < 2)
            return false;
        const auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        if (up(m_text[m_pos]) != upper1 || up(m_text[m_pos + 1]) != upper2)
            return false;
        m_pos += 2;
        return true;
    }

private:
    bool isSeparator(char32_t c) const
    {
        if (c == U'/' || c == U'.' || c == U'-')
            return true;
        // Digits and blanks never separate: they already mean something here.
        if (isBlank(c) || (c >= U'0' && c <= U'9'))
            return false;
        std::string_view rest = m_extra;
        while (!rest.empty()) {
            const CodePoint cp = decodeUtf8(rest);
            if (cp.value == c)
                return true;
            rest.remove_prefix(cp.length);
        }
        return false;
    }

    std::string_view m_text;
    std::string_view m_extra;
    std::size_t m_pos = 0;
};

// [+|-] digits [. digits] or [+|-] . digits, the whole text. Fails beyond the int range.
std::optional<double> parseDecimal(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // The whole part, exact: anything above 2^31 is out of range anyway.
    long long whole = 0;
    int wholeDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (whole <= 2147483648LL)
            whole = whole * 10 + (text[i] - '0');
        ++wholeDigits, ++i;
    }
    // The fraction: 17 significant digits are all a double can hold.
    long long fractionDigitsValue = 0;
    double fractionScale = 1.0;
    int fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            if (fractionDigits < 17) {
                fractionDigitsValue = fractionDigitsValue * 10 + (text[i] - '0');
                fractionScale *= 10.0;
            }
            ++fractionDigits, ++i;
        }
    }
    if (i != text.size() || wholeDigits + fractionDigits == 0)
        return std::nullopt;
    const double fraction = static_cast<double>(fractionDigitsValue) / fractionScale;
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    if (whole > limit || (whole == limit && fraction > 0.0))
        return std::nullopt;
    const double value = static_cast<double>(whole) + fraction;
    if (value == 0.0)
        return 0.0;
    return negative ? -value : value;
}

// H:MM or H:MM:SS, then optionally AM or PM; the fraction of a day in [0, 1).
std::optional<double> parseTime(Reader &r)
{
    const auto hour = r.number(1, 2);
    if (!hour || !r.skipChar(':'))
        return std::nullopt;
    const auto minute = r.number(2, 2);
    if (!minute || *minute > 59)
        return std::nullopt;
    int second = 0;
    if (r.skipChar(':')) {
        const auto s = r.number(2, 2);
        if (!s || *s > 59)
            return std::nullopt;
        second = *s;
    }
    const std::size_t beforeMeridiem = r.pos();
    r.skipBlanks();
    int h = *hour;
    const bool am = r.skipLetterPair('A', 'M');
    const bool pm = !am && r.skipLetterPair('P', 'M');
    if (am || pm) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (pm ? 12 : 0); // 12 AM is midnight, 12 PM noon
    } else {
        r.reset(beforeMeridiem);
        if (h > 23)
            return std::nullopt;
    }
    return (h * 3600 + *minute * 60 + second) / 86400.0;
}

// A day serial from the three numbers in the reader, or nullopt.
std::optional<int> parseDate(Reader &r, DateOrder order)
{
    int year, month, day;
    if (r.digitsAhead() == 4) {
        year = *r.number(4, 4);
        const auto m = r.skipSeparator() ? r.number(1, 2) : std::nullopt;
        const auto d = m && r.skipSeparator() ? r.number(1, 2) : std::nullopt;
        if (!d)
            return std::nullopt;
        month = *m, day = *d;
    } else {
        const auto a = r.number(1, 2);
        const auto b = a && r.skipSeparator() ? r.number(1, 2) : std::nullopt;
        const auto y = b && r.skipSeparator() ? r.number(4, 4) : std::nullopt;
        if (!y)
            return std::nullopt;
        year = *y;
        day = order == DateOrder::MonthFirst ? *b : *a;
        month = order == DateOrder::MonthFirst ? *a : *b;
        if (!isValidCivil({year, month, day}) && isValidCivil({year, day, month}))
            std::swap(day, month);
    }
    if (!isValidCivil({year, month, day}))
        return std::nullopt;
    return serialFromCivil({year, month, day});
}

} // namespace

std::optional<double> parseDateValue(std::string_view text, DateOrder order, std::string_view extraSeparators)
{
    Reader r(text, extraSeparators);
    r.skipBlanks();
    // End of the last code point that is no blank.
    std::size_t end = r.pos();
    for (std::size_t i = r.pos(); i < text.size();) {
        const CodePoint cp = decodeUtf8(text.substr(i));
        i += cp.length;
        if (!isBlank(cp.value))
            end = i;
    }
    const std::size_t start = r.pos();
    if (start >= end)
        return std::nullopt;

    if (const auto number = parseDecimal(text.substr(start, end - start)))
        return number;

    Reader d(text.substr(0, end), extraSeparators);
    d.reset(start);
    const auto serial = parseDate(d, order);
    if (!serial)
        return std::nullopt;
    if (d.atEnd())
        return *serial;

    // A trailing separator, then perhaps blanks and a time of day.
    int blanks = d.skipBlanks();
    if (d.skipSeparatorChar())
        blanks = d.skipBlanks();
    if (d.atEnd())
        return *serial;
    if (blanks == 0)
        return std::nullopt;
    const auto time = parseTime(d);
    if (!time || !d.atEnd())
        return std::nullopt;
    return *serial + *time;
}

std::optional<int> parseDateSerial(std::string_view text, DateOrder order, std::string_view extraSeparators)
{
    const auto value = parseDateValue(text, order, extraSeparators);
    if (!value)
        return std::nullopt;
    return roundHalfEven(*value);
}

int roundHalfEven(double value) noexcept
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    const double below = std::floor(value);
    const double rest = value - below;
    // value < INT_MAX, so one step up from its floor still fits.
    int result = static_cast<int>(below);
    if (rest > 0.5 || (rest == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

std::string formatShortDate(int serial, const ShortDatePattern &pattern)
{
    const Civil c = civilFromSerial(serial);
    const std::string day = formatPadded(c.day, pattern.dayTwoDigits ? 2 : 1);
    const std::string month = formatPadded(c.month, pattern.monthTwoDigits ? 2 : 1);
    const std::string year = formatPadded(c.year, 4);
    const std::string *fields[3];
    switch (pattern.fields) {
    case ShortDatePattern::Fields::MonthDayYear: fields[0] = &month, fields[1] = &day, fields[2] = &year; break;
    case ShortDatePattern::Fields::YearMonthDay: fields[0] = &year, fields[1] = &month, fields[2] = &day; break;
    case ShortDatePattern::Fields::DayMonthYear:
    default: fields[0] = &day, fields[1] = &month, fields[2] = &year; break;
    }
    return *fields[0] + pattern.separator1 + *fields[1] + pattern.separator2 + *fields[2] + pattern.trailer;
}

std::string formatPadded(int value, int width)
{
    constexpr int kMaxWidth = 64;
    width = width < 0 ? 0 : width > kMaxWidth ? kMaxWidth : width;
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(value))
                                             : static_cast<unsigned long long>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

int numericValue(std::string_view text) noexcept
{
    int value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            break;
        value = value * 10 + (c - '0');
        if (value > 32767)
            value = 32767;
    }
    return value;
}

} // namespace pelidora::core
