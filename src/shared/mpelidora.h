// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Module mpelidora: the values shared by every date box and panel on one thread, and the
// small operations they share.

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>

class QWidget;

namespace pelidora {

struct mpelidora {
    // Size every date box on this thread keeps, in twips; set by the last font applied.
    qint16 gCtlHeight = 285;
    qint16 gCtlWidth = 2040;
    QString gAppTitle;   // shown by the About box
    QString gAboutYears; // years of the rights notice
    // Abbreviated weekday names, first letter upper case; 0 is Monday ... 6 Sunday.
    std::array<QString, 7> WeekDayNames;
    // The screen's twips per pixel.
    qint16 TwipsX = 15;
    qint16 TwipsY = 15;
    // While true, a change of a panel's year list does not redraw its grid.
    bool FlagSkipYearClick = false;
};

// This thread's values.
mpelidora &module();

// Key filter of the entry fields: digits pass; Enter (13) is swallowed silently; any other
// key beeps and is swallowed. Returns the key code to keep, 0 to swallow.
qint16 FilterDigit(qint16 keyCode);

// True when the text is no date for the locale's date conversion. Never throws.
bool IsBadDate(const QString &text);

// Sets TwipsX, TwipsY and WeekDayNames from the screen and the locale.
void BuildWeekDayNames();

// The twelve full month names of the locale, January first, first letter upper case.
QStringList MonthNames(const QLocale &locale);

// Keeps a top-level window above all others.
void MakeTopMost(qint32 hwnd);

// The control's About box, modal.
void ShowControlAbout(QWidget *owner);

// The text with its first character in upper case.
QString upperFirst(const QString &text);

} // namespace pelidora
