#include "panel/panelframe.h"

#include <QPainter>

namespace pelidora {

PanelFrame::PanelFrame(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelFrame::setBackColor(const QColor &color)
{
    if (m_back == color)
        return;
    m_back = color;
    update();
}

void PanelFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
}

} // namespace pelidora
