// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/entryrules.h"

namespace pelidora {

int EntryRules::limit(Field field)
{
    return field == Field::Year ? 4 : 2;
}

EntryRules::Field EntryRules::nextField(Field field)
{
    switch (field) {
    case Field::First: return Field::Second;
    case Field::Second: return Field::Year;
    case Field::Year: break;
    }
    return Field::First;
}

EntryRules::Decision EntryRules::keyPress(Field field, int keyCode, const FieldState &state)
{
    if (keyCode == kBackspace)
        return Decision::Pass;
    if (keyCode == kEnter)
        return Decision::NextField;
    if (keyCode < '0' || keyCode > '9')
        return Decision::Beep;
    // A field never starts with 0; an empty field counts as wholly selected.
    const bool wholeSelected = state.selectionLength == state.length;
    if (keyCode == '0' && (state.selectionStart == 0 || wholeSelected))
        return Decision::Swallow;
    if (state.selectionLength == 0 && state.length >= limit(field))
        return Decision::Swallow;
    return Decision::Pass;
}

std::optional<int> EntryRules::onLeave(Field field, int value, bool empty, core::DateOrder order, core::Civil today)
{
    const bool dayFirst = order == core::DateOrder::DayFirst;
    switch (field) {
    case Field::First:
        if (value > (dayFirst ? 31 : 12))
            return dayFirst ? today.day : today.month;
        break;
    case Field::Second:
        if (value > (dayFirst ? 12 : 31))
            return dayFirst ? today.month : today.day;
        break;
    case Field::Year:
        if (!empty && (value < 1900 || value > 2100))
            return today.year;
        break;
    }
    return std::nullopt;
}

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// A run of 1 to maxDigits ASCII digits at text[at]; its value, and at moved past it.
std::optional<int> numberAt(std::u16string_view text, size_t &at, size_t minDigits, size_t maxDigits)
{
    size_t end = at;
    int value = 0;
    while (end < text.size() && isDigit(text[end]) && end - at < maxDigits)
        value = value * 10 + (text[end++] - u'0');
    if (end - at < minDigits || (end < text.size() && isDigit(text[end])))
        return std::nullopt;
    at = end;
    return value;
}

} // namespace

std::optional<core::Civil> EntryRules::pastedDate(std::u16string_view text, core::DateOrder order)
{
    size_t lead = 0;
    while (lead < text.size() && isDigit(text[lead]))
        ++lead;
    const bool yearFirst = lead == 4 && lead < text.size() && text[lead] == u'-';
    size_t at = 0;
    std::optional<int> parts[3];
    char16_t separator = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (at >= text.size() || (i == 2 && text[at] != separator)
                || (text[at] != u'/' && text[at] != u'.' && text[at] != u'-'))
                return std::nullopt;
            separator = text[at++];
        }
        const bool year = yearFirst ? i == 0 : i == 2;
        parts[i] = numberAt(text, at, year ? 4 : 1, year ? 4 : 2);
        if (!parts[i])
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    core::Civil date{};
    if (yearFirst)
        date = {*parts[0], *parts[1], *parts[2]};
    else if (order == core::DateOrder::DayFirst)
        date = {*parts[2], *parts[1], *parts[0]};
    else
        date = {*parts[2], *parts[0], *parts[1]};
    if (date.year < 1000 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31)
        return std::nullopt;
    return date;
}

EntryRules::Typed EntryRules::typeText(Field field, std::u16string_view text, FieldState state)
{
    Typed typed;
    for (const char16_t c : text) {
        // Only digits: a Backspace character inside the text is no key.
        if (!isDigit(c) || keyPress(field, c, state) != Decision::Pass) {
            typed.dropped = true;
            continue;
        }
        typed.digits += char(c);
        // The first accepted character replaces the selection; the caret follows each one.
        state.length += 1 - state.selectionLength;
        state.selectionStart += 1;
        state.selectionLength = 0;
    }
    return typed;
}

} // namespace pelidora
