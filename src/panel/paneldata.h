// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What every month panel shows alike, made once and shared: the panel's font (per process)
// and the contents of the month and year lists (per thread).

#include <QFont>

class QAbstractItemModel;
class QLocale;

namespace pelidora::paneldata {

// Tahoma 8.25 pt; where it is missing, the first installed of faces of about its width,
// so that "September" still fits the month list. The face is looked up once per process.
QFont font();
// Looks the face up and loads its regular and bold forms, so that the first panel's first
// paint loads nothing a later paint would not. Once per process; later calls do nothing.
void prepareFont();

// "1900" to "2100", read-only.
QAbstractItemModel *yearList();
// The twelve month names of the locale, January first, first letter upper case, read-only.
QAbstractItemModel *monthList(const QLocale &locale);

} // namespace pelidora::paneldata
