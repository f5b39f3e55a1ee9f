// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/outsideclickwatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace pelidora {

OutsideClickWatch::OutsideClickWatch(QObject *parent)
    : QObject(parent)
{
}

OutsideClickWatch::~OutsideClickWatch()
{
    watch(nullptr);
}

void OutsideClickWatch::watch(QWidget *panel)
{
    if (panel == m_panel)
        return;
    if (!m_panel.isNull() && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_panel = panel;
    if (panel && QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

bool OutsideClickWatch::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        || !watched->isWidgetType() || !m_panel || !m_panel->isVisible())
        return false;
    QWidget *top = static_cast<QWidget *>(watched)->window();
    // A popup (a list dropped open, a menu) takes presses for itself and closes on its own.
    if (top->windowType() == Qt::Popup || belongsToPanel(top) || top->isActiveWindow())
        return false;
    top->activateWindow();
    return false;
}

// The panel, its children and the windows they own (the lists' popups).
bool OutsideClickWatch::belongsToPanel(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == m_panel)
            return true;
    }
    return false;
}

} // namespace pelidora
