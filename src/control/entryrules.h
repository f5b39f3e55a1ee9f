// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What the three entry fields of a date box do with a typed key and when the focus leaves
// them. Plain rules: the widget translates its events, asks, and applies the answer.

#include "platform/core/datetext.h"
#include "platform/core/dayserial.h"

#include <optional>
#include <string>
#include <string_view>

namespace pelidora {

class EntryRules
{
public:
    enum class Field { First, Second, Year }; // txtDay, txtMonth, txtYear

    // The field as the key finds it.
    struct FieldState {
        int length = 0;         // characters in the field
        int selectionStart = 0; // the caret when nothing is selected
        int selectionLength = 0;
    };

    enum class Decision {
        Pass,      // the field takes the key
        Swallow,   // refused without a sound
        Beep,      // refused with the platform beep
        NextField, // refused; the focus moves to nextField()
    };

    static constexpr int kBackspace = 8;
    static constexpr int kEnter = 13;

    // Typed characters a field holds at most: 2, or 4 for the year.
    static int limit(Field field);
    // Where Enter sends the focus: first -> second -> year -> first.
    static Field nextField(Field field);

    // keyCode: 8 Backspace, 13 Enter, otherwise the character the key produces (control
    // characters included). Digits only; no leading 0; no more than limit() characters
    // unless some text is selected.
    static Decision keyPress(Field field, int keyCode, const FieldState &state);

    // The value to put into a field that the focus leaves while a date is held, or nullopt
    // to leave it as typed. value is the field's numeric value, empty whether it has no text.
    // Only values above the field's maximum are corrected (0 is left for CheckDate), and a
    // year outside [1900, 2100].
    static std::optional<int> onLeave(Field field, int value, bool empty, core::DateOrder order, core::Civil today);

    // Text that reaches a field other than by typed keys (pasted or dropped), blanks around
    // it removed.
    //
    // A whole date: day and month in `order`, then a four-digit year, with "/", "." or "-"
    // twice between them, or "yyyy-mm-dd"; day [1, 31], month [1, 12], year [1000, 9999].
    // Whether the day exists in that month is left to CheckDate, as for typed fields.
    static std::optional<core::Civil> pastedDate(std::u16string_view text, core::DateOrder order);

    // Any other text goes in as its characters would when typed one by one, starting from
    // state: `digits` replace the selection (or go in at the caret), and `dropped` tells
    // whether any character was refused.
    struct Typed {
        std::string digits;
        bool dropped = false;
    };
    static Typed typeText(Field field, std::u16string_view text, FieldState state);
};

} // namespace pelidora
