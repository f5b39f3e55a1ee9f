#include "panel/dayheading.h"

#include <QPainter>

namespace pelidora {

DayHeading::DayHeading(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DayHeading::setLook(const QString &text, const QColor &textColor, const QColor &backColor,
                         bool bold)
{
    if (m_text == text && m_textColor == textColor && m_backColor == backColor && m_bold == bold)
        return;
    m_text = text;
    m_textColor = textColor;
    m_backColor = backColor;
    m_bold = bold;
    update();
}

void DayHeading::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
    QFont f = font();
    f.setBold(m_bold);
    p.setFont(f);
    p.setPen(m_textColor);
    p.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace pelidora
