// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/accessible.h"

#include "panel/daycell.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>

namespace pelidora {

namespace {

// The cell that has assistive technology's focus while the keyboard stays in its panel's
// day field; none once the field takes or loses the keyboard. One application has one focus.
QPointer<DayCell> readerCell;

// A panel that shows nothing yet, or that assistive technology does not watch, has nothing
// to tell.
bool watched(const MonthPanel &panel)
{
    return QAccessible::isActive() && panel.isVisible();
}

// The month's days are the first cells; the rest are hidden. [28, 31]
int shownDays(const MonthPanel &panel)
{
    int n = 0;
    while (n < 31 && !panel.btnDay(n)->isHidden())
        ++n;
    return n;
}

} // namespace

} // namespace pelidora

namespace pelidora::monthpanelaccessible {

namespace {

// The cache of accessible interfaces owns what this returns.
QAccessibleInterface *panelFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String(DayCell::staticMetaObject.className())) {
        if (auto *cell = qobject_cast<DayCell *>(object))
            return new DayCellAccessible(cell);
    } else if (key == QLatin1String(PanelList::staticMetaObject.className())) {
        if (auto *list = qobject_cast<PanelList *>(object))
            return new PanelListAccessible(list);
    } else if (key == QLatin1String(DayHeading::staticMetaObject.className())) {
        if (auto *heading = qobject_cast<DayHeading *>(object))
            return new DayHeadingAccessible(heading);
    } else if (key == QLatin1String(QLineEdit::staticMetaObject.className())) {
        // Asked before Qt's own factory, which would make it an editable text, and already
        // while the field is being made: known by where it stands.
        auto *field = qobject_cast<QLineEdit *>(object);
        const auto *panel = field ? qobject_cast<MonthPanel *>(field->window()) : nullptr;
        if (panel && panel->hasParts() && field->parentWidget() == panel->fraCombo())
            return new DayFieldAccessible(field);
    } else if (key == QLatin1String(PanelFrame::staticMetaObject.className())) {
        auto *frame = qobject_cast<PanelFrame *>(object);
        const auto *panel = frame ? qobject_cast<MonthPanel *>(frame->window()) : nullptr;
        if (panel && frame == panel->fraDay())
            return new DayTableAccessible(frame);
    }
    return nullptr;
}

void send(QObject *object, QAccessible::Event type)
{
    QAccessibleEvent event(object, type);
    QAccessible::updateAccessibility(&event);
}

// Tells the cell names that changed, with the month or the language, since assistive
// technology read them; the table's name goes with them. With newDates, a renamed cell shows
// another date: it becomes a new accessible object, since a reader hears no rename of the
// object that holds its focus and the focus may come back to the same cell for the new date.
void tellNewNames(MonthPanel &panel, bool newDates)
{
    bool renamed = false;
    const int shown = shownDays(panel);
    for (int i = 0; i < shown; ++i) {
        auto *cell = static_cast<DayCellAccessible *>(QAccessible::queryAccessibleInterface(panel.btnDay(i)));
        if (!cell || !cell->nameChanged())
            continue;
        // The widget lives on: the next question makes its new interface.
        if (newDates)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
        send(panel.btnDay(i), QAccessible::NameChanged);
        renamed = true;
    }
    if (renamed)
        send(panel.fraDay(), QAccessible::NameChanged);
}

} // namespace

void attach()
{
    // Installed again by every new panel: an application that ends takes the factories with it.
    QAccessible::installFactory(&panelFactory);
}

void nameParts(MonthPanel &panel)
{
    panel.lblDay()->setAccessibleName(QCoreApplication::translate("pelidora::MonthPanel", "Day"));
    panel.cboMese()->setAccessibleName(QCoreApplication::translate("pelidora::MonthPanel", "Month"));
    panel.cboAnno()->setAccessibleName(QCoreApplication::translate("pelidora::MonthPanel", "Year"));
    if (watched(panel))
        tellNewNames(panel, false);
}

void monthDrawn(MonthPanel &panel, int shownBefore)
{
    if (!watched(panel))
        return;
    // Hidden cells leave the table and shown ones join it; the widgets themselves live on.
    const int shown = shownDays(panel);
    for (int i = shownBefore; i < shown; ++i)
        send(panel.btnDay(i), QAccessible::ObjectCreated);
    for (int i = shown; i < shownBefore; ++i)
        send(panel.btnDay(i), QAccessible::ObjectDestroyed);
    tellNewNames(panel, true);
}

void cellSunk(MonthPanel &panel, int index)
{
    if (watched(panel))
        send(panel.btnDay(index), QAccessible::Selection);
}

void cellRaised(MonthPanel &panel, int index)
{
    if (watched(panel))
        send(panel.btnDay(index), QAccessible::SelectionRemove);
}

void keyMoved(MonthPanel &panel)
{
    const int over = panel.DayOverIndex();
    if (!QAccessible::isActive() || over < 0 || over > 30)
        return;
    readerCell = panel.btnDay(over);
    send(readerCell, QAccessible::Focus);
}

void fieldFocusChanged()
{
    readerCell = nullptr;
}

void listMoved(PanelList &list)
{
    if (!QAccessible::isActive() || !list.hasFocus() || !list.isVisible())
        return;
    if (QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(&list))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(shown));
    send(&list, QAccessible::Focus);
}

QDate cellDate(const MonthPanel &panel, int index)
{
    const int month = panel.cboMese()->currentIndex();
    const int year = panel.cboAnno()->currentIndex();
    if (month < 0 || year < 0)
        return {};
    return QDate(year + 1900, month + 1, index + 1);
}

QString cellName(const MonthPanel &panel, int index)
{
    const QDate date = cellDate(panel, index);
    if (!date.isValid())
        return QString::number(index + 1);
    const QLocale locale;
    // English long forms put a comma after the weekday, or the month first.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return locale.toString(date, QStringLiteral("dddd d MMMM yyyy"));
    QString format = locale.dateFormat(QLocale::LongFormat);
    if (!format.contains(QLatin1String("dddd")))
        format.prepend(QLatin1String("dddd "));
    return locale.toString(date, format);
}

} // namespace pelidora::monthpanelaccessible

namespace pelidora {

ReadOnlyTextAccessible::ReadOnlyTextAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void *ReadOnlyTextAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString ReadOnlyTextAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Value ? shownText() : QAccessibleWidget::text(t);
}

QString ReadOnlyTextAccessible::text(int startOffset, int endOffset) const
{
    const QString all = shownText();
    if (startOffset < 0 || endOffset < startOffset || startOffset > all.size())
        return {};
    return all.mid(startOffset, endOffset - startOffset);
}

QString ReadOnlyTextAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // One run without attributes over the whole text.
    *startOffset = offset < 0 ? -1 : 0;
    *endOffset = offset < 0 ? -1 : characterCount();
    return {};
}

DayFieldAccessible::DayFieldAccessible(QLineEdit *field)
    : ReadOnlyTextAccessible(field, QAccessible::SpinBox)
{
}

void *DayFieldAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return ReadOnlyTextAccessible::interface_cast(t);
}

QLineEdit *DayFieldAccessible::field() const
{
    return static_cast<QLineEdit *>(widget());
}

QString DayFieldAccessible::shownText() const
{
    return field()->text();
}

QString DayFieldAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Description || !widget()->accessibleDescription().isEmpty())
        return ReadOnlyTextAccessible::text(t);
    const auto *p = qobject_cast<MonthPanel *>(widget()->window());
    QAccessibleInterface *grid = p ? QAccessible::queryAccessibleInterface(p->fraDay()) : nullptr;
    return grid ? grid->text(QAccessible::Name) : QString();
}

QAccessible::State DayFieldAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.focused = s.focused && !(readerCell && readerCell->window() == widget()->window());
    return s;
}

int DayFieldAccessible::cursorPosition() const
{
    return field()->cursorPosition();
}

QVariant DayFieldAccessible::currentValue() const
{
    return field()->text().toInt();
}

QVariant DayFieldAccessible::maximumValue() const
{
    const auto *panel = qobject_cast<const MonthPanel *>(widget()->window());
    return panel ? shownDays(*panel) : 31;
}

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
    m_read = monthpanelaccessible::cellName(*p, cell()->index());
    return m_read;
}

bool DayCellAccessible::nameChanged() const
{
    // A name never read needs no telling.
    const QString read = m_read;
    return !read.isNull() && read != text(QAccessible::Name);
}

QAccessible::State DayCellAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    // A day outside the range is unavailable (disabled): neither selected nor focused.
    s.selectable = s.focusable = widget()->isEnabled();
    s.selected = isSelected();
    const MonthPanel *p = panel();
    s.focused = p && readerCell == cell() && p->lblDay()->hasFocus() && p->DayOverIndex() == cell()->index();
    return s;
}

bool DayCellAccessible::isSelected() const
{
    const MonthPanel *p = panel();
    return p && !cell()->isHidden() && p->bDayOver(qint16(cell()->index()));
}

QList<QAccessibleInterface *> DayCellAccessible::columnHeaderCells() const
{
    const MonthPanel *p = panel();
    if (!p)
        return {};
    return {QAccessible::queryAccessibleInterface(p->giorno(columnIndex()))};
}

int DayCellAccessible::columnIndex() const
{
    return cell()->index() % DayTableAccessible::kColumns;
}

int DayCellAccessible::rowIndex() const
{
    return cell()->index() / DayTableAccessible::kColumns;
}

DayHeadingAccessible::DayHeadingAccessible(DayHeading *heading)
    : QAccessibleWidget(heading, QAccessible::ColumnHeader)
{
}

QString DayHeadingAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
        return QAccessibleWidget::text(t);
    return static_cast<DayHeading *>(widget())->text();
}

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

QString DayTableAccessible::text(QAccessible::Text t) const
{
    const MonthPanel *p = panel();
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty() || !p)
        return QAccessibleWidget::text(t);
    // As the lists show it: "March 2024".
    const QString month = p->cboMese()->currentText(), year = p->cboAnno()->currentText();
    return month.isEmpty() || year.isEmpty() ? QString() : month + u' ' + year;
}

int DayTableAccessible::childCount() const
{
    const MonthPanel *p = panel();
    return p ? kColumns + shownDays(*p) : 0;
}

QAccessibleInterface *DayTableAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const MonthPanel *p = panel();
    QWidget *part = index < kColumns ? static_cast<QWidget *>(p->giorno(index)) : p->btnDay(index - kColumns);
    return QAccessible::queryAccessibleInterface(part);
}

int DayTableAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QObject *part = child ? child->object() : nullptr;
    const MonthPanel *p = panel();
    if (!part || !p || part->parent() != widget())
        return -1;
    if (const auto *cell = qobject_cast<const DayCell *>(part))
        return cell->index() < shownDays(*p) ? kColumns + cell->index() : -1;
    for (int i = 0; i < kColumns; ++i) {
        if (part == p->giorno(i))
            return i;
    }
    return -1;
}

QAccessibleInterface *DayTableAccessible::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || column >= kColumns)
        return nullptr;
    return child(kColumns + row * kColumns + column);
}

QList<QAccessibleInterface *> DayTableAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    const MonthPanel *p = panel();
    const int shown = p ? shownDays(*p) : 0;
    for (int i = 0; i < shown; ++i) {
        if (p->bDayOver(qint16(i)))
            cells << QAccessible::queryAccessibleInterface(p->btnDay(i));
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
    const MonthPanel *p = panel();
    return p ? (shownDays(*p) + kColumns - 1) / kColumns : 0;
}

PanelListAccessible::PanelListAccessible(PanelList *list)
    : ReadOnlyTextAccessible(list, QAccessible::ComboBox)
    , m_watch(std::make_unique<QObject>())
{
    // Qt selects the shown entry among the list's entries only when they open; a reader
    // told that the selection changed looks for it there, the list closed as well.
    const auto selectShown = [list] {
        if (QItemSelectionModel *selection = list->view()->selectionModel())
            // Selected, not made current: a current entry takes the reader's focus.
            selection->select(list->model()->index(list->currentIndex(), list->modelColumn()),
                              QItemSelectionModel::ClearAndSelect);
    };
    QObject::connect(list, &QComboBox::currentIndexChanged, m_watch.get(), selectShown);
    selectShown();
}

PanelList *PanelListAccessible::list() const
{
    return static_cast<PanelList *>(widget());
}

QString PanelListAccessible::shownText() const
{
    return list()->currentText();
}

QAccessible::State PanelListAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = list()->view()->isVisible();
    s.readOnly = list()->isLocked();
    return s;
}

QAccessibleInterface *PanelListAccessible::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
}

int PanelListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == list()->view() ? 0 : -1;
}

QStringList PanelListAccessible::actionNames() const
{
    if (!list()->isEnabled() || list()->isLocked())
        return {};
    return {showMenuAction(), pressAction()};
}

void PanelListAccessible::doAction(const QString &actionName)
{
    if (actionName != showMenuAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (list()->view()->isVisible())
        list()->hidePopup();
    else
        list()->showPopup(); // a locked list stays closed
}

} // namespace pelidora
