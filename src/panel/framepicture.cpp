// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/framepicture.h"

#include "panel/twips.h"

#include <QPainter>

namespace pelidora {

namespace {

const QColor kFace(192, 192, 192);
const QColor kShadow(128, 128, 128);

// One-pixel edge: top and left in one colour, bottom and right in another.
void edge(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

} // namespace

FramePicture::FramePicture(Style style, QWidget *parent)
    : QWidget(parent)
    , m_style(style)
{
    setObjectName(style == Style::Flat ? QStringLiteral("pic1D") : QStringLiteral("pic3D"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int FramePicture::widthTwips() const
{
    return m_style == Style::Flat ? 3105 : 3165;
}

int FramePicture::heightTwips() const
{
    return m_style == Style::Flat ? 2910 : 2970;
}

void FramePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, kFace);
    if (m_style == Style::Flat) {
        edge(p, r, kShadow, kShadow);
        return;
    }
    // A raised window edge, two pixels deep.
    edge(p, r, kFace, Qt::black);
    edge(p, r.adjusted(1, 1, -1, -1), Qt::white, kShadow);
}

} // namespace pelidora
