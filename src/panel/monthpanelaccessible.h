#pragma once

// The month panel as assistive technology sees it: the day field and the two lists named,
// the day cells a table of the shown month's days, and the events that follow the
// keyboard through the grid while the keyboard stays in the day field.

#include <QDate>
#include <QString>

namespace pelidora {

class MonthPanel;

namespace monthpanelaccessible {

// Makes a new panel known to assistive technology: the factory for the grid and its
// cells, and the names of its parts.
void attach(MonthPanel &panel);
// Names the day field and the lists; again when the language changes.
void nameParts(MonthPanel &panel);
// Cell index (0..30) got the sunken look: it is the grid's selected day.
void cellSunk(MonthPanel &panel, int index);
// A key moved the day or the month: the sunken cell is where the keyboard stands.
void keyMoved(MonthPanel &panel);
// The date cell index (0..30) shows in the listed month and year; an invalid QDate while
// the lists choose no month, or for a day the month lacks.
QDate cellDate(const MonthPanel &panel, int index);
// The full date of cell index in the listed month and year: "Saturday 15 June 2024" in
// English, the locale's long form with its weekday elsewhere; the day number alone while
// the lists choose no month.
QString cellName(const MonthPanel &panel, int index);

} // namespace monthpanelaccessible

} // namespace pelidora
