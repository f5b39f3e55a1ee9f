#include "control/ucvpelidoraaccessible.h"

#include "control/dropbutton.h"
#include "control/dropbuttonaccessible.h"
#include "control/ucvpelidora_p.h"

#include <QCoreApplication>
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

} // namespace pelidora
