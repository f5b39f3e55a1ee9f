// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Host colours as a 32-bit value: 0x00BBGGRR for a fixed colour, or 0x80000000 | index for
// one of the desktop's system colours (index [0, 30], e.g. 15 button face, 5 window).

#include <QColor>
#include <QtGlobal>

namespace pelidora::platform {

constexpr quint32 kSystemColorFlag = 0x80000000u;

constexpr bool isSystemColor(quint32 ole) noexcept { return (ole & kSystemColorFlag) != 0; }

// The colour to paint with. A system colour is looked up in the current palette at each
// call; an unknown system index gives the window colour. The top byte of a fixed colour
// is ignored.
QColor colorFromOle(quint32 ole);

// 0x00BBGGRR of the colour's red, green and blue (alpha is dropped); an invalid colour
// gives black.
quint32 oleFromColor(const QColor &color);

// The value to store when color is written over stored: stored itself while it paints
// with that colour (so a system colour read and written back stays one), else color's.
quint32 oleKeeping(quint32 stored, const QColor &color);

} // namespace pelidora::platform
