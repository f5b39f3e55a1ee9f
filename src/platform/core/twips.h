// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Twips and pixels: a twip is 1/1440 inch, so a pixel is 15 twips at 96 dots per inch.
// Geometry stays in twips inside; these are the conversions at the edge, for a screen of
// twipsPerPixel twips in a pixel (> 0). Plain C++; no Qt here.

#include <algorithm>
#include <cmath>
#include <limits>

namespace pelidora::core {

// Twips in a pixel at a screen's logical dots per inch. None (0, negative or not finite)
// counts as the usual 96, and the rest is held to 1..1440, so that a pixel is 1 to 1440 twips.
inline double twipsPerPixelAt(double dpi) noexcept
{
    if (!(dpi > 0) || !std::isfinite(dpi))
        dpi = 96;
    return 1440.0 / std::clamp(dpi, 1.0, 1440.0);
}

// The nearest int, halves away from zero, as qRound rounds.
constexpr int roundedHalfAway(double value) noexcept
{
    return int(value + (value < 0 ? -0.5 : 0.5));
}

// The nearest whole pixel.
constexpr int pixelsFromTwips(double twips, double twipsPerPixel) noexcept
{
    return roundedHalfAway(twips / twipsPerPixel);
}
static_assert(pixelsFromTwips(2040, 15) == 136 && pixelsFromTwips(-22.5, 15) == -2);

// The whole pixels a length in twips holds, towards zero.
constexpr int wholePixelsIn(double twips, double twipsPerPixel) noexcept
{
    return int(twips / twipsPerPixel);
}

// Twips as an int: a screen of 16777215 pixels at 1440 twips each is beyond one, and so
// would be the sum of a far place and a size. Held to half the range either way.
constexpr int twipsFromPixels(double pixels, double twipsPerPixel) noexcept
{
    constexpr double kLimit = std::numeric_limits<int>::max() / 2;
    return roundedHalfAway(std::clamp(pixels * twipsPerPixel, -kLimit, kLimit));
}

} // namespace pelidora::core
