#include "panel/monthpanelaccessible.h"

#include "panel/daycell.h"
#include "panel/daycellaccessible.h"
#include "panel/daytableaccessible.h"
#include "panel/monthpanel.h"
#include "panel/panelframe.h"
#include "panel/panellist.h"
#include "panel/panellistaccessible.h"

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
