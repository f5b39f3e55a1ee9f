// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Twips to logical pixels for the panel's widgets, through the thread's TwipsX/TwipsY.
// Each edge is rounded on its own, so neighbours share edges and lines stay on whole
// pixels at any device pixel ratio.

#include "platform/core/twips.h"
#include "shared/mpelidora.h"

#include <QRect>

namespace pelidora::twips {

inline int toPxX(int twips)
{
    return core::pixelsFromTwips(twips, qMax<qint16>(1, module().TwipsX));
}

inline int toPxY(int twips)
{
    return core::pixelsFromTwips(twips, qMax<qint16>(1, module().TwipsY));
}

inline QRect rectPx(int left, int top, int width, int height)
{
    const int x0 = toPxX(left), y0 = toPxY(top);
    return QRect(x0, y0, toPxX(left + width) - x0, toPxY(top + height) - y0);
}

} // namespace pelidora::twips
