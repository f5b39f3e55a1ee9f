#include "panel/daycellaccessible.h"

#include "panel/daycell.h"
#include "panel/daytableaccessible.h"
#include "panel/monthpanel.h"
#include "panel/monthpanelaccessible.h"

namespace pelidora {

DayCellAccessible::DayCellAccessible(DayCell *cell)
    : QAccessibleWidget(cell, QAccessible::Cell)
{
}

void *DayCellAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

DayCell *DayCellAccessible::cell() const
{
    return static_cast<DayCell *>(widget());
}

MonthPanel *DayCellAccessible::panel() const
{
    return qobject_cast<MonthPanel *>(widget()->window());
}

QString DayCellAccessible::text(QAccessible::Text t) const
{
    const MonthPanel *p = panel();
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty() || !p)
        return QAccessibleWidget::text(t);
    return monthpanelaccessible::cellName(*p, cell()->index());
}

QAccessible::State DayCellAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.selectable = true;
    s.selected = isSelected();
    return s;
}

bool DayCellAccessible::isSelected() const
{
    const MonthPanel *p = panel();
    return p && !cell()->isHidden() && p->bDayOver(qint16(cell()->index()));
}

int DayCellAccessible::columnIndex() const
{
    return cell()->index() % DayTableAccessible::kColumns;
}

int DayCellAccessible::rowIndex() const
{
    return cell()->index() / DayTableAccessible::kColumns;
}

} // namespace pelidora
