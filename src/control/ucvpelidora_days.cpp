// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Unavailable and noted days, and today marked: the program's rules about single days.

#include "control/ucvpelidora_p.h"

#include "panel/monthpanel.h"
#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "shared/logging.h"

#include <QDebug>
#include <QPointer>

#include <algorithm>
#include <exception>

namespace pelidora {

bool ucvPelidoraPrivate::available(int serial) const
{
    if (m_offWeekdays & (1u << core::isoWeekday(serial)))
        return false;
    if (m_offSerials.contains(serial))
        return false;
    if (!m_rule || m_ruleDepth > 0)
        return true;
    // A copy: the rule may replace itself (refused) or delete the box, and the call must
    // survive the try.
    const ucvPelidora::AvailabilityRule rule = m_rule;
    const QPointer<ucvPelidora> alive(q);
    ++m_ruleDepth;
    bool answer = true;
    try {
        answer = rule(platform::dateOfSerial(serial));
    } catch (const std::exception &error) {
        qCWarning(lcControl).noquote() << QStringLiteral("Pelidora: the availability rule threw for %1 (%2); "
                                                         "the day counts as available")
                                              .arg(platform::dateOfSerial(serial).toString(Qt::ISODate),
                                                   QString::fromLocal8Bit(error.what()));
    } catch (...) {
        qCWarning(lcControl).noquote() << QStringLiteral("Pelidora: the availability rule threw for %1; "
                                                         "the day counts as available")
                                              .arg(platform::dateOfSerial(serial).toString(Qt::ISODate));
    }
    if (!alive)
        return true;
    --m_ruleDepth;
    return answer;
}

core::DayTest ucvPelidoraPrivate::dayTest() const
{
    return [this, alive = QPointer<ucvPelidora>(q)](int serial) {
        const bool answer = available(serial);
        if (!alive)
            throw BoxGone();
        return answer;
    };
}

int ucvPelidoraPrivate::nearestHeld(int serial) const
{
    if (!core::holdsDate(serial) || !anyUnavailable())
        return serial;
    const std::optional<int> found = core::nearestAvailable(serial, m_range, dayTest());
    return found.value_or(serial);
}

bool ucvPelidoraPrivate::holdAvailable()
{
    m_noneAvailable = false;
    if (!core::holdsDate(m_DateSet) || !anyUnavailable())
        return false;
    const std::optional<int> found = core::nearestAvailable(m_DateSet, m_range, dayTest());
    if (!found) {
        m_noneAvailable = true;
        return false;
    }
    if (*found == m_DateSet)
        return false;
    m_DateSet = *found;
    PrintDate(m_DateSet);
    return true;
}

bool ucvPelidoraPrivate::refusedInRule(const char *what) const
{
    if (m_ruleDepth == 0)
        return false;
    qCWarning(lcControl).noquote()
        << QStringLiteral("Pelidora: %1 refused: the availability rule is running").arg(QLatin1String(what));
    return true;
}

void ucvPelidoraPrivate::daysChanged()
{
    const QPointer<ucvPelidora> alive(q);
    changeDate(DateCause::Program, [&] {
        if (holdAvailable())
            notify(QStringLiteral("DateSet"));
    });
    if (alive && redrawOpenPanel())
        Q_EMIT q->availabilityChanged();
}

bool ucvPelidoraPrivate::redrawOpenPanel()
{
    if (!m_Panel || !m_Panel->FlagShowPelidora())
        return true;
    const QPointer<ucvPelidora> alive(q);
    m_Panel->cboMese_Click();
    return bool(alive);
}

// ---- The public face ----

QList<Qt::DayOfWeek> ucvPelidora::unavailableWeekdays() const
{
    QList<Qt::DayOfWeek> days;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        if (d->m_offWeekdays & (1u << day))
            days.append(Qt::DayOfWeek(day));
    }
    return days;
}

void ucvPelidora::setUnavailableWeekdays(const QList<Qt::DayOfWeek> &weekdays)
{
    if (d->refusedInRule("setUnavailableWeekdays"))
        return;
    quint8 bits = 0;
    for (const Qt::DayOfWeek day : weekdays) {
        if (day >= Qt::Monday && day <= Qt::Sunday)
            bits |= quint8(1u << day);
    }
    if (bits == d->m_offWeekdays)
        return;
    d->m_offWeekdays = bits;
    d->daysChanged();
}

QList<QDate> ucvPelidora::unavailableDates() const
{
    QList<int> serials(d->m_offSerials.cbegin(), d->m_offSerials.cend());
    std::sort(serials.begin(), serials.end());
    QList<QDate> dates;
    dates.reserve(serials.size());
    for (const int serial : serials)
        dates.append(platform::dateOfSerial(serial));
    return dates;
}

void ucvPelidora::setUnavailableDates(const QList<QDate> &dates)
{
    if (d->refusedInRule("setUnavailableDates"))
        return;
    QSet<int> serials;
    for (const QDate &date : dates) {
        if (const std::optional<int> serial = platform::serialOfDate(date))
            serials.insert(*serial);
    }
    if (serials == d->m_offSerials)
        return;
    d->m_offSerials = serials;
    d->daysChanged();
}

void ucvPelidora::setAvailabilityRule(const AvailabilityRule &rule)
{
    if (d->refusedInRule("setAvailabilityRule"))
        return;
    if (!rule && !d->m_rule)
        return;
    d->m_rule = rule;
    d->daysChanged();
}

bool ucvPelidora::hasAvailabilityRule() const
{
    return bool(d->m_rule);
}

bool ucvPelidora::isDateAvailable(const QDate &date) const
{
    const std::optional<int> serial = platform::serialOfDate(date);
    return serial && d->m_range.contains(*serial) && d->available(*serial);
}

void ucvPelidora::updateAvailability()
{
    if (!d->refusedInRule("updateAvailability"))
        d->daysChanged();
}

void ucvPelidora::setDateNote(const QDate &date, const QString &note, const QColor &color)
{
    const std::optional<int> serial = platform::serialOfDate(date);
    if (!serial || d->refusedInRule("setDateNote"))
        return;
    if (note.isEmpty()) {
        if (!d->m_notes.remove(*serial))
            return;
    } else {
        d->m_notes.insert(*serial, {note, color});
    }
    d->daysChanged();
}

QString ucvPelidora::dateNote(const QDate &date) const
{
    const std::optional<int> serial = platform::serialOfDate(date);
    return serial ? d->m_notes.value(*serial).text : QString();
}

QColor ucvPelidora::dateNoteColor(const QDate &date) const
{
    const std::optional<int> serial = platform::serialOfDate(date);
    return serial ? d->m_notes.value(*serial).color : QColor();
}

void ucvPelidora::clearDateNotes()
{
    if (d->m_notes.isEmpty() || d->refusedInRule("clearDateNotes"))
        return;
    d->m_notes.clear();
    d->daysChanged();
}

bool ucvPelidora::markToday() const
{
    return d->m_markToday;
}

void ucvPelidora::setMarkToday(bool mark)
{
    if (mark == d->m_markToday || d->refusedInRule("setMarkToday"))
        return;
    d->m_markToday = mark;
    if (d->redrawOpenPanel())
        Q_EMIT markTodayChanged(mark);
}

} // namespace pelidora
