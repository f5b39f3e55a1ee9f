#pragma once

// A day cell of the month panel as assistive technology sees it: a table cell named with
// its full date, selected while it is sunken. It never takes the keyboard focus.

#include <QAccessibleWidget>

namespace pelidora {

class DayCell;
class MonthPanel;

class DayCellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface
{
public:
    explicit DayCellAccessible(DayCell *cell);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    DayCell *cell() const;
    MonthPanel *panel() const;
};

} // namespace pelidora
