// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/accessible.h"

#include "control/ucvpelidora_p.h"

#include "platform/os/windowsystem.h"

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

namespace pelidora {

namespace {

// The cache of accessible interfaces owns what this returns.
QAccessibleInterface *dateBoxFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String(ucvPelidora::staticMetaObject.className())) {
        if (auto *box = qobject_cast<ucvPelidora *>(object))
            return new ucvPelidoraAccessible(box);
    } else if (key == QLatin1String(DropButton::staticMetaObject.className())) {
        if (auto *button = qobject_cast<DropButton *>(object))
            return new DropButtonAccessible(button);
    }
    return nullptr;
}

} // namespace

ucvPelidoraAccessible::ucvPelidoraAccessible(ucvPelidora *box)
    : QAccessibleWidget(box, QAccessible::Grouping)
{
}

QString ucvPelidoraAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
        return QAccessibleWidget::text(t);
    const QDate held = ucvPelidoraPrivate::get(static_cast<ucvPelidora *>(widget()))->heldDate();
    if (!held.isValid())
        return QCoreApplication::translate("pelidora::ucvPelidora", "No date");
    return QLocale().toString(held, QLocale::LongFormat);
}

QAccessible::State ucvPelidoraAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    // The box's hasFocus() answers for its focus proxy, a field.
    s.focused = s.focused && QApplication::focusWidget() == widget();
    return s;
}

QList<QWidget *> ucvPelidoraAccessible::parts() const
{
    const ucvPelidoraPrivate *d = ucvPelidoraPrivate::get(static_cast<ucvPelidora *>(widget()));
    return {d->txtDay, d->txtMonth, d->txtYear, d->imgCombo};
}

int ucvPelidoraAccessible::childCount() const
{
    return int(parts().size());
}

QAccessibleInterface *ucvPelidoraAccessible::child(int index) const
{
    const QList<QWidget *> all = parts();
    return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all[index]) : nullptr;
}

int ucvPelidoraAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(parts().indexOf(qobject_cast<QWidget *>(child->object())));
}

void ucvPelidoraAccessible::attach()
{
    // Installed again by every new box: an application that ends takes the factories with it.
    QAccessible::installFactory(&dateBoxFactory);
}

void ucvPelidoraAccessible::dateChanged(ucvPelidora *box)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(box, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void ucvPelidoraAccessible::nameFields(ucvPelidoraPrivate &d)
{
    const QString day = QCoreApplication::translate("pelidora::ucvPelidora", "Day");
    const QString month = QCoreApplication::translate("pelidora::ucvPelidora", "Month");
    const bool dayFirst = d.m_DateOrder == 1;
    d.txtDay->setAccessibleName(dayFirst ? day : month);
    d.txtMonth->setAccessibleName(dayFirst ? month : day);
    d.txtYear->setAccessibleName(QCoreApplication::translate("pelidora::ucvPelidora", "Year"));
}

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
    if (!widget()->isEnabled())
        return;
    auto *button = static_cast<DropButton *>(widget());
    // Dropped with the button if it goes first.
    QMetaObject::invokeMethod(button, [button] {
        auto *box = qobject_cast<ucvPelidora *>(button->parentWidget());
        if (!box || !button->isEnabled())
            return;
        // The left button down and up at the button's centre, in twips inside it.
        auto &ws = platform::windowSystem();
        const float x = float(button->width() * ws.twipsPerPixelX() / 2);
        const float y = float(button->height() * ws.twipsPerPixelY() / 2);
        ucvPelidoraPrivate *d = ucvPelidoraPrivate::get(box);
        d->imgCombo_MouseDown(1, 0, x, y);
        d->imgCombo_MouseUp(1, 0, x, y); // may run a modal panel and delete the box: nothing follows
    }, Qt::QueuedConnection);
}

QStringList DropButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    // The fields open the panel on Alt+Down.
    if (actionName != pressAction())
        return {};
    return {QKeySequence(Qt::ALT | Qt::Key_Down).toString(QKeySequence::NativeText)};
}

} // namespace pelidora
