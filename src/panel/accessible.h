// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What assistive technology sees of the month panel and of its day grid, day cells and
// lists.

#include <QAccessibleWidget>
#include <QDate>
#include <QString>

#include <memory>

class QLineEdit;

namespace pelidora {

class DayCell;
class DayHeading;
class MonthPanel;
class PanelFrame;
class PanelList;

// The month panel as assistive technology sees it: the day field and the two lists named,
// the day cells a table of the shown month's days, and the events that follow the
// keyboard through the grid while the keyboard stays in the day field.
namespace monthpanelaccessible {

// Makes a new panel known to assistive technology: the factory for its parts, before the
// first of them is made.
void attach();
// Names the day field and the lists; again when the language changes, which renames the
// cells too.
void nameParts(MonthPanel &panel);
// The grid was drawn for the listed month, which had shownBefore days: the cells that came
// or went, and the names that changed since assistive technology last read them. Told before
// the selection and focus that follow, so that a reader that keeps names announces new ones.
void monthDrawn(MonthPanel &panel, int shownBefore);
// Cell index (0..30) got the sunken look: it is the grid's selected day.
void cellSunk(MonthPanel &panel, int index);
// Cell index (0..30) lost the sunken look: it is no longer selected.
void cellRaised(MonthPanel &panel, int index);
// A key moved the day or the month: assistive technology's focus goes to the sunken cell,
// where the keyboard stands, while the keyboard itself stays in the day field.
void keyMoved(MonthPanel &panel);
// The day field took or lost the keyboard: assistive technology's focus follows it again.
void fieldFocusChanged();
// The list that holds the keyboard shows another entry: assistive technology's focus comes to
// it again, as a new object, since a reader hears no change of the focused combo box itself.
void listMoved(PanelList &list);
// The date cell index (0..30) shows in the listed month and year; an invalid QDate while
// the lists choose no month, or for a day the month lacks.
QDate cellDate(const MonthPanel &panel, int index);
// The full date of cell index in the listed month and year: "Saturday 15 June 2024" in
// English, the locale's long form with its weekday elsewhere; the day number alone while
// the lists choose no month.
QString cellName(const MonthPanel &panel, int index);

} // namespace monthpanelaccessible

// A widget whose text assistive technology reads whole, as its value too, and cannot
// change: no selection, no caret of its own, no geometry per character.
class ReadOnlyTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    ReadOnlyTextAccessible(QWidget *widget, QAccessible::Role role);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(shownText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

protected:
    virtual QString shownText() const = 0;
};

// The panel's day field as assistive technology sees it: a spin box named "Day" whose value
// is the day number shown, 1 to the month's length, stepped by the keys that move through
// the grid. It holds the keyboard but reports the focus only while no cell has the reader's.
class DayFieldAccessible : public ReadOnlyTextAccessible, public QAccessibleValueInterface
{
public:
    explicit DayFieldAccessible(QLineEdit *field);

    void *interface_cast(QAccessible::InterfaceType t) override;
    // Description: the month and year listed, as the day grid is named, so that the day is
    // heard with them when the panel opens.
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int cursorPosition() const override;

    QVariant currentValue() const override;
    // The day moves only with the keys, which also move the grid's highlight.
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override { return 1; }
    QVariant minimumStepSize() const override { return 1; }

protected:
    QString shownText() const override;

private:
    QLineEdit *field() const;
};

// A day cell of the month panel as assistive technology sees it: a table cell named with
// its full date, selected while it is sunken, under the weekday heading of its column. The
// cell the keyboard stands on has the reader's focus, though the keyboard stays in the day
// field.
class DayCellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface
{
public:
    explicit DayCellAccessible(DayCell *cell);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    // The name differs from the one assistive technology last read.
    bool nameChanged() const;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    DayCell *cell() const;
    MonthPanel *panel() const;

    mutable QString m_read; // the name last handed out
};

// A weekday heading of the month panel: the column header of the days below it.
class DayHeadingAccessible : public QAccessibleWidget
{
public:
    explicit DayHeadingAccessible(DayHeading *heading);

    QString text(QAccessible::Text t) const override;
};

// The month panel's day grid (fraDay) as assistive technology sees it: a table named with
// the listed month and year, of 7 columns whose cells are the days the month has, day d in
// row (d - 1) / 7 and column (d - 1) % 7, as the grid shows them, under the weekday headings.
// The sunken day is the one selected.
class DayTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit DayTableAccessible(PanelFrame *grid);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    // The 7 headings, left to right, then the shown days, first to last.
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
};

// The panel's month and year lists as assistive technology sees them: combo boxes named
// for what they list, whose value and text are the entry shown. Qt's own combo box takes
// its name from its entry where a label beside it would name it; the panel has no labels.
class PanelListAccessible : public ReadOnlyTextAccessible
{
public:
    explicit PanelListAccessible(PanelList *list);

    QAccessible::State state() const override;
    // The drop-down list of entries.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    // Show menu and press open the entries, or close them when open; a locked list has none.
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

protected:
    QString shownText() const override;

private:
    PanelList *list() const;

    // The context of the connections this interface makes: they end with it.
    std::unique_ptr<QObject> m_watch;
};

} // namespace pelidora
