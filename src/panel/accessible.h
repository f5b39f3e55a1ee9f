#pragma once

// What assistive technology sees of the month panel and of its day grid, day cells and
// lists.

#include <QAccessibleWidget>
#include <QDate>
#include <QString>

namespace pelidora {

class DayCell;
class MonthPanel;
class PanelFrame;
class PanelList;

// The month panel as assistive technology sees it: the day field and the two lists named,
// the day cells a table of the shown month's days, and the events that follow the
// keyboard through the grid while the keyboard stays in the day field.
namespace monthpanelaccessible {

// Makes a new panel known to assistive technology: the factory for the grid and its
// cells, and the names of its parts.
void attach(MonthPanel &panel);
// Names the day field and the lists; again when the language changes.
void nameParts(MonthPanel &panel);
// Cell index (0..30) got the sunken look: it is the grid's selected day.
void cellSunk(MonthPanel &panel, int index);
// A key moved the day or the month: the sunken cell is where the keyboard stands.
void keyMoved(MonthPanel &panel);
// The date cell index (0..30) shows in the listed month and year; an invalid QDate while
// the lists choose no month, or for a day the month lacks.
QDate cellDate(const MonthPanel &panel, int index);
// The full date of cell index in the listed month and year: "Saturday 15 June 2024" in
// English, the locale's long form with its weekday elsewhere; the day number alone while
// the lists choose no month.
QString cellName(const MonthPanel &panel, int index);

} // namespace monthpanelaccessible

// A day cell of the month panel as assistive technology sees it: a table cell named with
// its full date, selected while it is sunken. It never takes the keyboard focus.
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

// The month panel's day grid (fraDay) as assistive technology sees it: a table of 7
// columns whose cells are the days the month has, day d in row (d - 1) / 7 and column
// (d - 1) % 7, as the grid shows them. The sunken day is the one selected.
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

// The panel's month and year lists as assistive technology sees them: combo boxes named
// for what they list, whose value is the entry shown. Qt's own combo box takes its name
// from its entry where a label beside it would name it; the panel has no labels.
class PanelListAccessible : public QAccessibleWidget
{
public:
    explicit PanelListAccessible(PanelList *list);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    // The drop-down list of entries.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    // Show menu and press open the entries, or close them when open; a locked list has none.
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    PanelList *list() const;
};

} // namespace pelidora
