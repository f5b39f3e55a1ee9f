// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The forms the benchmarks read: count date boxes in a grid of columns, each cell cellPx
// large, with the properties a saved form usually carries.

#include <pelidora/formfile.h>
#include <pelidora/stdfont.h>

#include <QFont>

inline pelidora::Form boxForm(int count, int columns, QSize cellPx)
{
    pelidora::Form form;
    form.caption = QStringLiteral("%1 boxes").arg(count);
    form.size = QSize(columns * cellPx.width(), ((count + columns - 1) / columns) * cellPx.height());
    for (int i = 0; i < count; ++i) {
        pelidora::FormControl control;
        control.className = QStringLiteral("ucvPelidora");
        control.name = QStringLiteral("dtBox%1").arg(i);
        control.position = QPoint(cellPx.width() * (i % columns), cellPx.height() * (i / columns));
        control.properties.WriteProperty(QStringLiteral("DateSet"), QVariant::fromValue(qint32(45000 + i % 3000)));
        control.properties.WriteProperty(QStringLiteral("BackColor"), QVariant::fromValue(qint32(0xFFFFFF)));
        control.properties.WriteProperty(QStringLiteral("Locked"), QVariant::fromValue(i % 2 == 0));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(9.75);
        control.properties.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(pelidora::StdFont(font)));
        form.controls << control;
    }
    return form;
}
