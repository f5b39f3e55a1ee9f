// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>

namespace pelidora::host {

// The desktop's system colours as a date box stores them: 0x80000000 | n, n in [0, 30].
inline constexpr quint32 kSystemColorFlag = 0x80000000u;

// "Button Face" for 0x8000000F, "System colour 40" for an index without a name; an empty
// text for a fixed colour.
QString systemColorName(quint32 value);

// Every named system colour, by index.
QList<quint32> systemColors();

} // namespace pelidora::host
