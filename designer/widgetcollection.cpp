// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "widgetcollection.h"

#include "dateboxinterface.h"

namespace pelidora::designer {

WidgetCollection::WidgetCollection(QObject *parent)
    : QObject(parent)
    , m_widgets{new DateBoxInterface(this)}
{
}

QList<QDesignerCustomWidgetInterface *> WidgetCollection::customWidgets() const
{
    return m_widgets;
}

} // namespace pelidora::designer
