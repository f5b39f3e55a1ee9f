// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What a date box tells its panel about single days, asked by the panel as it draws a month:
// which can be chosen, which carry a note, whether today is marked. The panel keeps the
// answers of one drawing and asks again at the next.

#include <QColor>
#include <QString>

namespace pelidora {

class DayMarks
{
public:
    struct Note {
        QString text;
        QColor color;
    };

    virtual ~DayMarks() = default;
    // Some day may be unavailable: without that the panel asks nothing.
    virtual bool anyUnavailable() const = 0;
    // A day (serial) inside the range that can be chosen.
    virtual bool available(int serial) const = 0;
    // The note of a day; an empty text for none.
    virtual Note note(int serial) const = 0;
    virtual bool marksToday() const = 0;
};

} // namespace pelidora
