// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/bas_handcursor.h"

#include <QBitmap>
#include <QImage>
#include <QLabel>

namespace pelidora {

QCursor handCursor()
{
    const QImage art = QImage(QStringLiteral(":/pelidora/cursor/101")).convertToFormat(QImage::Format_ARGB32);
    if (art.isNull())
        return QCursor(Qt::PointingHandCursor);
    // Bit set in shape and mask: black; mask only: white; neither: see-through.
    QImage shape(art.size(), QImage::Format_MonoLSB);
    QImage mask(art.size(), QImage::Format_MonoLSB);
    const QList<QRgb> colours{qRgb(255, 255, 255), qRgb(0, 0, 0)}; // index 1 is Qt::color1
    shape.setColorTable(colours);
    mask.setColorTable(colours);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QRgb pixel = art.pixel(x, y);
            const bool opaque = qAlpha(pixel) >= 128;
            mask.setPixel(x, y, opaque ? 1 : 0);
            shape.setPixel(x, y, opaque && qGray(pixel) < 128 ? 1 : 0);
        }
    }
    return QCursor(QBitmap::fromImage(shape), QBitmap::fromImage(mask), 8, 3);
}

void SetHandCursor(QLabel *label)
{
    // Hover sends a stream of moves; decode the artwork only once per label.
    if (label && !(label->testAttribute(Qt::WA_SetCursor) && label->cursor().shape() == Qt::BitmapCursor))
        label->setCursor(handCursor());
}

void SetDefaultCursor(QLabel *label)
{
    if (label)
        label->unsetCursor();
}

} // namespace pelidora
