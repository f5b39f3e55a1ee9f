// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/framepicture.h"

#include "panel/twips.h"
#include "platform/os/olecolor.h"

#include <QPainter>

namespace pelidora {

namespace {

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
    const QColor face = platform::colorOf(platform::FixedColor::LightGrey);
    const QColor shadow = platform::colorOf(platform::FixedColor::Grey);
    p.fillRect(r, face);
    if (m_style == Style::Flat) {
        edge(p, r, shadow, shadow);
        return;
    }
    // A raised window edge, two pixels deep.
    edge(p, r, face, platform::colorOf(platform::FixedColor::Black));
    edge(p, r.adjusted(1, 1, -1, -1), platform::colorOf(platform::FixedColor::White), shadow);
}

} // namespace pelidora
