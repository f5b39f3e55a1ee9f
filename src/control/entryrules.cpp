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

std::optional<int> EntryRules::onLeave(Field field, int value, bool empty, core::DateOrder order,
                                       core::Civil today)
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

} // namespace pelidora
