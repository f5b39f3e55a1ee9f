#include "panel/daytableaccessible.h"

#include "panel/daycell.h"
#include "panel/monthpanel.h"
#include "panel/monthpanelaccessible.h"
#include "panel/panelframe.h"

#include <QLocale>

namespace pelidora {

DayTableAccessible::DayTableAccessible(PanelFrame *grid)
    : QAccessibleWidget(grid, QAccessible::Table)
{
}

void *DayTableAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

MonthPanel *DayTableAccessible::panel() const
{
    return qobject_cast<MonthPanel *>(widget()->window());
}

int DayTableAccessible::shownDays() const
{
    // The month's days are the first cells; the rest are hidden.
    const MonthPanel *p = panel();
    int n = 0;
    while (p && n < 31 && !p->btnDay(n)->isHidden())
        ++n;
    return n;
}

int DayTableAccessible::childCount() const
{
    return shownDays();
}

QAccessibleInterface *DayTableAccessible::child(int index) const
{
    if (index < 0 || index >= shownDays())
        return nullptr;
    return QAccessible::queryAccessibleInterface(panel()->btnDay(index));
}

int DayTableAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = child ? qobject_cast<const DayCell *>(child->object()) : nullptr;
    if (!cell || cell->parentWidget() != widget() || cell->index() >= shownDays())
        return -1;
    return cell->index();
}

QAccessibleInterface *DayTableAccessible::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || column >= kColumns)
        return nullptr;
    return child(row * kColumns + column);
}

QList<QAccessibleInterface *> DayTableAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    const int shown = shownDays();
    for (int i = 0; i < shown; ++i) {
        if (panel()->bDayOver(qint16(i)))
            cells << child(i);
    }
    return cells;
}

int DayTableAccessible::selectedCellCount() const
{
    return int(selectedCells().size());
}

QString DayTableAccessible::columnDescription(int column) const
{
    const MonthPanel *p = panel();
    const QDate date = p && column >= 0 && column < kColumns ? monthpanelaccessible::cellDate(*p, column) : QDate();
    return date.isValid() ? QLocale().dayName(date.dayOfWeek()) : QString();
}

int DayTableAccessible::columnCount() const
{
    return kColumns;
}

int DayTableAccessible::rowCount() const
{
    return (shownDays() + kColumns - 1) / kColumns;
}

} // namespace pelidora
