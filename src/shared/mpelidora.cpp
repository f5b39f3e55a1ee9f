// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "shared/mpelidora.h"

#include "about/bas_menuabout.h"
#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "platform/os/windowsystem.h"

namespace pelidora {

mpelidora &module()
{
    thread_local mpelidora values;
    return values;
}

qint16 FilterDigit(qint16 keyCode)
{
    if (keyCode == 13)
        return 0;
    if (keyCode >= '0' && keyCode <= '9')
        return keyCode;
    platform::windowSystem().beep();
    return 0;
}

bool IsBadDate(const QString &text)
{
    return !platform::dateValue(text).has_value();
}

QString upperFirst(const QString &text)
{
    if (text.isEmpty())
        return text;
    return text.left(1).toUpper() + text.mid(1);
}

void BuildWeekDayNames()
{
    mpelidora &m = module();
    auto &ws = platform::windowSystem();
    m.TwipsX = qint16(qRound(ws.twipsPerPixelX()));
    m.TwipsY = qint16(qRound(ws.twipsPerPixelY()));
    // Every panel builds them; the names of a locale are looked up once per thread.
    thread_local QLocale namedLocale;
    thread_local std::array<QString, 7> names;
    const QLocale locale;
    if (names[0].isEmpty() || locale != namedLocale) {
        // 23 to 29 November 1998 run from Monday to Sunday.
        const int monday = core::serialFromCivil({1998, 11, 23});
        for (int k = 0; k < 7; ++k)
            names[k] = upperFirst(platform::formatDdd(monday + k, locale));
        namedLocale = locale;
    }
    m.WeekDayNames = names;
}

QStringList MonthNames(const QLocale &locale)
{
    // 1 January 1998 plus 31 days at a time reaches one day in each month.
    const int first = core::serialFromCivil({1998, 1, 1});
    QStringList names;
    for (int i = 0; i < 12; ++i)
        names << upperFirst(platform::formatMmmm(first + 31 * i, locale));
    return names;
}

void MakeTopMost(qint32 hwnd)
{
    platform::windowSystem().makeTopmost(hwnd);
}

void ShowControlAbout(QWidget *owner)
{
    ShowAbout(owner, QString(), 101, false, nullptr);
}

} // namespace pelidora
