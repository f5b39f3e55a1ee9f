// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/panelparts.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QWheelEvent>

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

PanelList::PanelList(QWidget *parent)
    : QComboBox(parent)
{
    // 201 years: drop down a scrolling list of a comfortable height. Some styles (Fusion)
    // would pop up every entry as a screen-tall menu instead.
    setMaxVisibleItems(12);
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

void PanelList::initStyleOption(QStyleOptionComboBox *option) const
{
    QComboBox::initStyleOption(option);
    // Enter moves the keyboard into the lists, which no style takes for a keyboard focus
    // change: the list shows its focus as it would after Tab.
    if (hasFocus())
        option->state |= QStyle::State_KeyboardFocusChange;
}

void PanelList::showPopup()
{
    if (m_locked)
        return;
    QComboBox::showPopup();
}

void PanelList::keyPressEvent(QKeyEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void PanelList::wheelEvent(QWheelEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

DayHeading::DayHeading(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DayHeading::setLook(const QString &text, const QColor &textColor, const QColor &backColor, bool bold)
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
