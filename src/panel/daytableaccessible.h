#pragma once

// The month panel's day grid (fraDay) as assistive technology sees it: a table of 7
// columns whose cells are the days the month has, day d in row (d - 1) / 7 and column
// (d - 1) % 7, as the grid shows them. The sunken day is the one selected.

#include <QAccessibleWidget>

namespace pelidora {

class DayCell;
class MonthPanel;
class PanelFrame;

class DayTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit DayTableAccessible(PanelFrame *grid);

    void *interface_cast(QAccessible::InterfaceType t) override;
    // The shown days, first to last; the weekday headings are in the cells' names.
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override; // the weekday of the column
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The day is chosen with the keyboard in the day field, never by rows or columns.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    static constexpr int kColumns = 7;

private:
    MonthPanel *panel() const;
    int shownDays() const; // [28, 31]; 0 without a panel
};

} // namespace pelidora
