// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The month grid: redraw for the listed month, and the looks of a day cell.

#include "panel/monthpanel.h"

#include "panel/accessible.h"
#include "panel/daycell.h"
#include "panel/panelparts.h"
#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <QLineEdit>

#include <algorithm>

namespace pelidora {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kLightGrey(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kDarkBlue(0, 0, 128);

} // namespace

void MonthPanel::cboMese_Click()
{
    parts();
    const int monthIndex = m_cboMese->currentIndex();
    const int yearIndex = m_cboAnno->currentIndex();
    if (monthIndex < 0 || yearIndex < 0)
        return;
    const int month = monthIndex + 1;
    const int year = yearIndex + 1900;
    // The lists cannot land on a month wholly outside the range: the user's choice of one
    // shows the month of the nearest bound instead.
    if (m_listsFromCode == 0) {
        if (const std::optional<int> bound = m_range.boundNear(year, month)) {
            const core::Civil to = core::civilFromSerial(*bound);
            showMonth(to.year, to.month);
            return;
        }
    }
    // DayMouseMove names the month shown, also before the pointer or a key moves in it.
    m_SelMonth = qint16(month);
    m_SelYear = qint16(year);

    // The month's length is the highest day whose text the locale reads as a date.
    const auto dateText = [&](int day) -> QString {
        const QString d = platform::format00(day), m = platform::format00(month);
        return (DateOrder == 1 ? d + u'/' + m : m + u'/' + d) + u'/' + platform::format0000(year);
    };
    int last = 31;
    while (last > 28 && IsBadDate(dateText(last)))
        --last;
    const int shownBefore = m_monthLength;
    m_monthLength = last;

    for (int i = 0; i < last; ++i)
        m_btnDay[i]->setHidden(false);
    for (int i = 30; i >= last; --i)
        m_btnDay[i]->setHidden(true); // keeps its look for the next month that has it

    // Days outside the range are not available: disabled, the pointer passes them by.
    const std::optional<core::DayInterval> open = m_range.daysOf(year, month);
    m_firstOpen = open ? open->first : 1;
    m_lastOpen = open ? std::min(open->last, last) : last;
    for (int day = 1; day <= last; ++day)
        m_btnDay[day - 1]->setEnabled(open && day >= m_firstOpen && day <= m_lastOpen);
    markDays(year, month, last);
    // DayMouseMove never names a day outside the range, also with the pointer elsewhere.
    if (open && m_ButtonDay >= 1 && m_ButtonDay <= last)
        m_ButtonDay = qint16(std::clamp<int>(m_ButtonDay, m_firstOpen, m_lastOpen));
    if (someDayOff() && m_ButtonDay >= 1 && m_ButtonDay <= last && m_dayOff[m_ButtonDay - 1])
        m_ButtonDay = qint16(nearestOpen(m_ButtonDay).value_or(0));

    // The heading row starts with the weekday of the 1st.
    const QString firstName = platform::formatDdd(core::serialFromCivil({year, month, 1}));
    const auto &names = module().WeekDayNames;
    int first = 0;
    for (int k = 0; k < 7; ++k) {
        if (names[k].compare(firstName, Qt::CaseInsensitive) == 0) {
            first = k;
            break;
        }
    }
    auto &ws = platform::windowSystem();
    const QColor caption = ws.systemColor(platform::WindowSystem::ColorActiveCaption);
    const QColor captionText = ws.systemColor(platform::WindowSystem::ColorCaptionText);
    // Red on red would vanish.
    const QColor sundayBack = caption.rgb() == kRed.rgb() ? kDarkBlue : caption;
    for (int p = 0, w = first; p < 7; ++p, w = (w + 1) % 7) {
        if (w == 6)
            m_giorno[p]->setLook(names[w], kRed, sundayBack, true);
        else
            m_giorno[p]->setLook(names[w], captionText, caption, false);
    }
    monthpanelaccessible::monthDrawn(*this, shownBefore);

    if (m_lblDay->text().isEmpty())
        m_lblDay->setText(QStringLiteral("31"));
    const int typed = platform::numericValue(m_lblDay->text());
    if (!isVisible())
        return;

    // Text that is no day (0, 45, junk) is read as the nearest day 1..31.
    int day = std::clamp(typed, 1, 31);
    if (cellOpen(day)) {
        if (day != typed)
            setFieldDay(day);
        return;
    }
    if (someDayOff()) {
        // The nearest available day; a month with none shows nothing selected.
        const std::optional<int> near = nearestOpen(day);
        raiseSelection(typed - 1);
        if (near) {
            setFieldDay(*near);
            SinkBoxDay(qint16(*near - 1));
        }
        return;
    }
    // Lowered to the month's last day in the range, or raised to its first.
    day = std::clamp(day, m_firstOpen, m_lastOpen);
    setFieldDay(day);
    raiseSelection(typed - 1);
    SinkBoxDay(qint16(day - 1));
}

void MonthPanel::raiseSelection(int index)
{
    if (index >= 0 && index <= 30)
        RaiseBoxDay(qint16(index));
    // The field may no longer name the sunken cell: emptied, typed into, or left alone by
    // the pointer of a locked panel.
    if (const int sunk = platform::numericValue(m_lblDayTag) - 1; sunk >= 0 && sunk <= 30 && sunk != index)
        RaiseBoxDay(qint16(sunk));
}

void MonthPanel::PrintBoxDay(qint16 Index)
{
    btnDay(Index)->printNumber();
}

void MonthPanel::sinkLook(qint16 Index)
{
    btnDay(Index)->setLook(kBlack, kWhite, m_PelidoraBackColor);
    m_DayOverIndex = Index;
    m_bDayOver[Index] = true;
    m_lblDayTag = QString::number(Index + 1);
    monthpanelaccessible::cellSunk(*this, Index);
}

void MonthPanel::DayMouseOver(qint16 Index)
{
    sinkLook(Index);
    m_lblDay->setText(m_lblDayTag);
}

void MonthPanel::RaiseBoxDay(qint16 Index)
{
    DayCell *cell = btnDay(Index);
    const bool selected = m_bDayOver[Index];
    m_bDayOver[Index] = false;
    cell->setLook(kWhite, kBlack, kLightGrey);
    if (selected)
        monthpanelaccessible::cellRaised(*this, Index);
}

void MonthPanel::SinkBoxDay(qint16 Index)
{
    sinkLook(Index);
    if (!m_Locked)
        m_lblDay->setText(m_lblDayTag);
    m_ButtonDay = qint16(Index + 1);
    m_SelMonth = qint16(m_cboMese->currentIndex() + 1);
    m_SelYear = qint16(m_cboAnno->currentIndex() + 1900);
}

bool MonthPanel::cellShown(int day) const
{
    return day >= 1 && day <= 31 && !m_btnDay[day - 1]->isHidden();
}

bool MonthPanel::cellOpen(int day) const
{
    return cellShown(day) && day >= m_firstOpen && day <= m_lastOpen && !m_dayOff[day - 1];
}

int MonthPanel::fieldDay() const
{
    return std::clamp<int>(platform::numericValue(m_lblDay->text()), m_firstOpen, m_lastOpen);
}

std::optional<int> MonthPanel::listedSerial(int day) const
{
    const int month = m_cboMese->currentIndex(), year = m_cboAnno->currentIndex();
    if (month < 0 || year < 0)
        return std::nullopt;
    return core::serialFromCivil({year + 1900, month + 1, day});
}

void MonthPanel::setFieldDay(int day)
{
    m_lblDay->setText(QString::number(day));
}

} // namespace pelidora
