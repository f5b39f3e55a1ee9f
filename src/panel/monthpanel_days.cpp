// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The days a date box rules out or notes, as the grid shows them and the keys pass them.

#include "panel/monthpanel.h"

#include "panel/daycell.h"
#include "panel/daymarks.h"
#include "panel/panelparts.h"
#include "platform/core/dayavailability.h"
#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace pelidora {

void MonthPanel::markDays(int year, int month, int last)
{
    m_dayOff.fill(false);
    const int first = core::serialFromCivil({year, month, 1});
    const bool ruled = m_marks && m_marks->anyUnavailable();
    const bool today = m_marks && m_marks->marksToday();
    const int todaySerial = today ? platform::today() : 0;
    for (int day = 1; day <= last; ++day) {
        DayCell *cell = m_btnDay[day - 1];
        const int serial = first + day - 1;
        // Asked once per shown day in the range, and only here. The box may go in the
        // asking, and its marks with it.
        if (ruled && m_marks && cell->isEnabledTo(this) && !m_marks->available(serial)) {
            m_dayOff[day - 1] = true;
            cell->setEnabled(false);
        }
        const DayMarks::Note note = m_marks ? m_marks->note(serial) : DayMarks::Note{};
        const bool isToday = today && serial == todaySerial;
        QColor mark;
        if (!note.text.isEmpty())
            mark = note.color.isValid() ? note.color : palette().color(QPalette::Highlight);
        cell->setMarks(mark, isToday);
        // Set only where there is something to say, so an unmarked cell keeps its texts.
        QString said = note.text;
        if (isToday) {
            const QString todayText = QCoreApplication::translate("pelidora::MonthPanel", "today");
            said = said.isEmpty() ? todayText : said + QStringLiteral(", ") + todayText;
        }
        if (cell->accessibleDescription() != said) {
            cell->setToolTip(note.text);
            cell->setAccessibleDescription(said);
        }
    }
}

bool MonthPanel::someDayOff() const
{
    for (const bool off : m_dayOff) {
        if (off)
            return true;
    }
    return false;
}

std::optional<int> MonthPanel::nearestOpen(int day) const
{
    for (int distance = 0; distance < 31; ++distance) {
        if (cellOpen(day + distance))
            return day + distance;
        if (cellOpen(day - distance))
            return day - distance;
    }
    return std::nullopt;
}

void MonthPanel::stepOverDays(bool forward)
{
    const int from = fieldDay();
    const std::optional<int> start = listedSerial(from);
    if (!start || !m_marks)
        return;
    const std::optional<int> to = core::stepAvailable(
        *start, forward ? 1 : -1, m_range, [this](int serial) { return m_marks && m_marks->available(serial); });
    if (!to)
        return; // none left before a bound: nothing moves
    const core::Civil civil = core::civilFromSerial(*to);
    if (civil.year != m_cboAnno->currentIndex() + 1900 || civil.month != m_cboMese->currentIndex() + 1) {
        // The field names the new day first, so that the redraw moves no selection of its own.
        setFieldDay(civil.day);
        showMonth(civil.year, civil.month);
    }
    raiseSelection(from - 1);
    setFieldDay(civil.day);
    SinkBoxDay(qint16(civil.day - 1));
}

} // namespace pelidora
