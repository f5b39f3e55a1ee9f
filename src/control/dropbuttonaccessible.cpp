#include "control/dropbuttonaccessible.h"

#include "control/dropbutton.h"
#include "control/ucvpelidora_p.h"

#include "platform/os/windowsystem.h"

#include <QCoreApplication>
#include <QKeySequence>

namespace pelidora {

DropButtonAccessible::DropButtonAccessible(DropButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

QString DropButtonAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
        return QAccessibleWidget::text(t);
    return QCoreApplication::translate("pelidora::ucvPelidora", "Open calendar");
}

QStringList DropButtonAccessible::actionNames() const
{
    // Only actions that do something: a disabled button takes no press.
    return widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
}

void DropButtonAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    auto *box = qobject_cast<ucvPelidora *>(widget()->parentWidget());
    if (!box || !widget()->isEnabled())
        return;
    // The left button down and up at the button's centre, in twips inside it.
    auto &ws = platform::windowSystem();
    const float x = float(widget()->width() * ws.twipsPerPixelX() / 2);
    const float y = float(widget()->height() * ws.twipsPerPixelY() / 2);
    ucvPelidoraPrivate *d = ucvPelidoraPrivate::get(box);
    d->imgCombo_MouseDown(1, 0, x, y);
    d->imgCombo_MouseUp(1, 0, x, y); // may run a modal panel and delete the box: nothing follows
}

QStringList DropButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    // The fields open the panel on Alt+Down.
    if (actionName != pressAction())
        return {};
    return {QKeySequence(Qt::ALT | Qt::Key_Down).toString(QKeySequence::NativeText)};
}

} // namespace pelidora
