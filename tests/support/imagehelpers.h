// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Where a grabbed picture shows ink: text or lines drawn over a light ground.

#include <QImage>
#include <QRect>

namespace pelidora::test {

// The first column of rect with a pixel darker than a light grey; -1 for none.
inline int firstInkColumn(const QImage &image, const QRect &rect)
{
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 160)
                return x;
    return -1;
}

} // namespace pelidora::test
