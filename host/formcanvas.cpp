// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "formcanvas.h"

#include <QPainter>
#include <QPaintEvent>

namespace pelidora::host {

FormCanvas::FormCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("formCanvas"));
    setProperty("windowClass", QString::fromLatin1(kWindowClass));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

void FormCanvas::setGridVisible(bool visible)
{
    if (m_grid == visible)
        return;
    m_grid = visible;
    update();
}

void FormCanvas::paintEvent(QPaintEvent *event)
{
    if (!m_grid)
        return;
    QPainter painter(this);
    QColor dot = palette().color(QPalette::WindowText);
    dot.setAlpha(70);
    painter.setPen(QPen(dot, 1));
    const QRect area = event->rect();
    const int firstX = area.left() - area.left() % kGridPx;
    const int firstY = area.top() - area.top() % kGridPx;
    for (int y = firstY; y <= area.bottom(); y += kGridPx) {
        for (int x = firstX; x <= area.right(); x += kGridPx)
            painter.drawPoint(x, y);
    }
}

} // namespace pelidora::host
