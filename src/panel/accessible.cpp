#include "panel/accessible.h"

#include "panel/daycell.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>

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

} // namespace

void attach(MonthPanel &panel)
{
    // Installed again by every new panel: an application that ends takes the factories with it.
    QAccessible::installFactory(&panelFactory);
    nameParts(panel);
}

void nameParts(MonthPanel &panel)
{
    panel.lblDay()->setAccessibleName(QCoreApplication::translate("pelidora::MonthPanel", "Day"));
    panel.cboMese()->setAccessibleName(QCoreApplication::translate("pelidora::MonthPanel", "Month"));
    panel.cboAnno()->setAccessibleName(QCoreApplication::translate("pelidora::MonthPanel", "Year"));
}

void cellSunk(MonthPanel &panel, int index)
{
    // A panel being filled for its opening has nothing to tell yet.
    if (QAccessible::isActive() && panel.isVisible())
        send(panel.btnDay(index), QAccessible::Selection);
}

void keyMoved(MonthPanel &panel)
{
    const int over = panel.DayOverIndex();
    if (QAccessible::isActive() && over >= 0 && over <= 30)
        send(panel.btnDay(over), QAccessible::Focus);
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

PanelListAccessible::PanelListAccessible(PanelList *list)
    : QAccessibleWidget(list, QAccessible::ComboBox)
{
}

PanelList *PanelListAccessible::list() const
{
    return static_cast<PanelList *>(widget());
}

QString PanelListAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(t);
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
