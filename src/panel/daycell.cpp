// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/daycell.h"

#include <algorithm>

#include "panel/twips.h"
#include "platform/os/olecolor.h"

#include <QMouseEvent>
#include <QPainter>

namespace pelidora {

using twips::toPxX;
using twips::toPxY;

DayCell::DayCell(int index, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
{
    setObjectName(QStringLiteral("btnDay_%1").arg(index));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The keyboard stays in the day field while the pointer picks days.
    setFocusPolicy(Qt::NoFocus);
    m_number.setText(QString::number(index + 1));
    m_number.setTextFormat(Qt::PlainText);
    m_number.setPerformanceHint(QStaticText::AggressiveCaching);
    // Laid out now in the font the cell took from the panel, not at its first paint.
    m_number.prepare(QTransform(), font());
}

void DayCell::setBackColor(const QColor &color)
{
    if (m_back == color)
        return;
    m_back = color;
    update();
}

void DayCell::setLinL(const QColor &color)
{
    if (m_linL == color)
        return;
    m_linL = color;
    update();
}

void DayCell::setLinT(const QColor &color)
{
    if (m_linT == color)
        return;
    m_linT = color;
    update();
}

void DayCell::setLinR(const QColor &color)
{
    if (m_linR == color)
        return;
    m_linR = color;
    update();
}

void DayCell::setLinB(const QColor &color)
{
    if (m_linB == color)
        return;
    m_linB = color;
    update();
}

void DayCell::setLinLY2(int twips)
{
    if (m_linLY2 == twips)
        return;
    m_linLY2 = twips;
    update();
}

void DayCell::setLook(const QColor &leftTop, const QColor &rightBottom, const QColor &back)
{
    if (m_linL == leftTop && m_linT == leftTop && m_linR == rightBottom && m_linB == rightBottom && m_back == back)
        return;
    m_linL = m_linT = leftTop;
    m_linR = m_linB = rightBottom;
    m_back = back;
    update();
}

void DayCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QSizeF text = m_number.size();
    const QPointF at((width() - text.width()) / 2, (height() - text.height()) / 2);
    if (!isEnabled()) {
        // Not available: flat, whatever look it keeps, and its number greyed.
        p.fillRect(rect(), platform::colorOf(platform::FixedColor::LightGrey));
        p.setPen(platform::colorOf(platform::FixedColor::Grey));
        p.drawStaticText(at, m_number);
        paintMarks(p);
        return;
    }
    p.fillRect(rect(), m_back);

    // Lines run from their start up to, not including, their end point. By design:
    // linL (15,15)-(15,Y2), linT (30,15)-(375,15), linR (375,15)-(375,315),
    // linB (30,315)-(375,315).
    const int x15 = toPxX(15), x30 = toPxX(30), x375 = toPxX(375);
    const int y15 = toPxY(15), y315 = toPxY(315), y2 = toPxY(m_linLY2);
    if (y2 > y15)
        p.fillRect(QRect(x15, y15, 1, y2 - y15), m_linL);
    p.fillRect(QRect(x30, y15, x375 - x30, 1), m_linT);
    p.fillRect(QRect(x375, y15, 1, y315 - y15), m_linR);
    p.fillRect(QRect(x30, y315, x375 - x30, 1), m_linB);

    // Centred on the number's own box, as (cell - text) / 2 both ways.
    p.setPen(palette().color(QPalette::WindowText));
    p.drawStaticText(at, m_number);
    paintMarks(p);
}

void DayCell::setMarks(const QColor &noteColor, bool today)
{
    if (noteColor == m_noteMark && today == m_todayMark)
        return;
    m_noteMark = noteColor;
    m_todayMark = today;
    update();
}

void DayCell::paintMarks(QPainter &p) const
{
    // Logical pixels: the painter scales them to the device pixel ratio.
    const qreal w = width(), h = height();
    if (m_todayMark) {
        // A dotted ring just inside the border lines: neither raised, sunken nor greyed.
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        QPen ring(platform::colorOf(platform::FixedColor::TodayBlue), 1.5, Qt::DotLine);
        p.setPen(ring);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3.5, 3.5, w - 7, h - 7), 3, 3);
        p.restore();
    }
    if (m_noteMark.isValid()) {
        // A corner triangle with a dark and a light edge, seen on any background.
        const qreal side = std::max<qreal>(5, std::min(w, h) * 0.35);
        const QPointF corner[3] = {{w - side - 1, 1}, {w - 1, 1}, {w - 1, side + 1}};
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(m_noteMark);
        p.drawPolygon(corner, 3);
        p.setPen(QPen(Qt::black, 0.8));
        p.drawLine(corner[0], corner[2]);
        p.restore();
    }
}

void DayCell::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_number.prepare(QTransform(), font());
    QWidget::changeEvent(event);
}

void DayCell::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void DayCell::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && rect().contains(event->position().toPoint()))
        Q_EMIT clicked(m_index);
}

void DayCell::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT pointerMoved(m_index, event->buttons(), event->modifiers(), event->position(), event->globalPosition());
}

} // namespace pelidora
