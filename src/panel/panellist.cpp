#include "panel/panellist.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace pelidora {

PanelList::PanelList(QWidget *parent)
    : QComboBox(parent)
{
    // 201 years: drop down a scrolling list of a comfortable height.
    setMaxVisibleItems(12);
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

} // namespace pelidora
