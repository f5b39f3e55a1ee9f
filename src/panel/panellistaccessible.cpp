#include "panel/panellistaccessible.h"

#include "panel/panellist.h"

#include <QAbstractItemView>

namespace pelidora {

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
