// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Host colours as a 32-bit value: 0x00BBGGRR for a fixed colour, or 0x80000000 | index for
// one of the desktop's system colours (index [0, 30], e.g. 15 button face, 5 window).

#include <QColor>
#include <QtGlobal>

namespace pelidora::platform {

constexpr quint32 kSystemColorFlag = 0x80000000u;

constexpr bool isSystemColor(quint32 ole) noexcept
{
    return (ole & kSystemColorFlag) != 0;
}

// The fixed colours the box, its panel and the About box are drawn with, as stored.
enum class FixedColor : quint32 {
    Black = 0x000000,
    White = 0xFFFFFF,
    LightGrey = 0xC0C0C0, // the panel's face and its day cells
    Grey = 0x808080,      // the panel's shadow, an unavailable day's number
    Red = 0x0000FF,       // Sunday's caption
    DarkBlue = 0x800000,  // Sunday's caption where the caption colour is red
    TodayBlue = 0xA00000, // the ring around today
    LinkBlue = 0xFF0000,  // the About box's links
    Strip = 0xE8E4E1,     // behind the fields and slashes
};

constexpr quint32 oleOf(FixedColor color) noexcept
{
    return quint32(color);
}

// The colour of a fixed value (the top byte is ignored).
inline QColor colorOfFixed(quint32 ole)
{
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}
inline QColor colorOf(FixedColor color)
{
    return colorOfFixed(oleOf(color));
}

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
