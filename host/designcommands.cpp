// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "designcommands.h"

#include <pelidora/ucvPelidora.h>

#include <QCoreApplication>

namespace pelidora::host {

AddBoxCommand::AddBoxCommand(FormHost *host, Place place)
    : m_host(host)
    , m_place(std::move(place))
{
}

void AddBoxCommand::redo()
{
    if (m_record) {
        m_host->setFormSize(m_formAfter);
        m_host->restoreBox(*m_record);
        return;
    }
    // First done: a new box at its defaults, placed once its size is known.
    m_formBefore = m_host->formSize();
    ucvPelidora *box = m_host->addBox(QPoint(0, 0));
    const Placement placement = m_place(box);
    m_formAfter = placement.formSize;
    m_host->setFormSize(m_formAfter);
    m_host->moveBox(box, placement.position);
    m_record = m_host->record(box);
    setText(QCoreApplication::translate("pelidora::host::DesignCommands", "Add %1").arg(m_record->name));
}

void AddBoxCommand::undo()
{
    m_host->removeBox(m_host->boxNamed(m_record->name));
    m_host->setFormSize(m_formBefore);
}

DeleteBoxCommand::DeleteBoxCommand(FormHost *host, const QString &name)
    : QUndoCommand(QCoreApplication::translate("pelidora::host::DesignCommands", "Delete %1").arg(name))
    , m_host(host)
{
    m_record.name = name;
}

void DeleteBoxCommand::redo()
{
    ucvPelidora *box = m_host->boxNamed(m_record.name);
    m_record = m_host->record(box);
    m_host->removeBox(box);
}

void DeleteBoxCommand::undo()
{
    m_host->restoreBox(m_record);
}

MoveBoxCommand::MoveBoxCommand(FormHost *host, const QString &name, const QPoint &from, const QPoint &to, bool nudge)
    : QUndoCommand(QCoreApplication::translate("pelidora::host::DesignCommands", "Move %1").arg(name))
    , m_host(host)
    , m_name(name)
    , m_from(from)
    , m_to(to)
    , m_nudge(nudge)
{
}

void MoveBoxCommand::redo()
{
    m_host->moveBox(m_host->boxNamed(m_name), m_to);
}

void MoveBoxCommand::undo()
{
    m_host->moveBox(m_host->boxNamed(m_name), m_from);
}

int MoveBoxCommand::id() const
{
    return m_nudge ? int(CommandId::Nudge) : -1;
}

bool MoveBoxCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const MoveBoxCommand *>(other);
    if (next->m_name != m_name)
        return false;
    m_to = next->m_to;
    setObsolete(m_to == m_from);
    return true;
}

RenameBoxCommand::RenameBoxCommand(FormHost *host, const QString &from, const QString &to)
    : QUndoCommand(QCoreApplication::translate("pelidora::host::DesignCommands", "Rename %1 to %2").arg(from, to))
    , m_host(host)
    , m_from(from)
    , m_to(to)
{
}

void RenameBoxCommand::redo()
{
    m_host->renameBox(m_host->boxNamed(m_from), m_to);
}

void RenameBoxCommand::undo()
{
    m_host->renameBox(m_host->boxNamed(m_to), m_from);
}

PropertyCommand::PropertyCommand(FormHost *host, const QString &box, const QString &property, const PropertyBag &before,
                                 const PropertyBag &after)
    : QUndoCommand(QCoreApplication::translate("pelidora::host::DesignCommands", "Set %1.%2").arg(box, property))
    , m_host(host)
    , m_box(box)
    , m_property(property)
    , m_before(before)
    , m_after(after)
{
}

void PropertyCommand::redo()
{
    if (std::exchange(m_done, false))
        return;
    m_host->setBoxProperties(m_host->boxNamed(m_box), m_after);
}

void PropertyCommand::undo()
{
    m_host->setBoxProperties(m_host->boxNamed(m_box), m_before);
}

bool PropertyCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const PropertyCommand *>(other);
    if (next->m_box != m_box || next->m_property != m_property)
        return false;
    m_after = next->m_after;
    setObsolete(FormHost::sameValues(m_before, m_after));
    return true;
}

FormPropertyCommand::FormPropertyCommand(FormHost *host, const QString &property, const QVariant &value)
    : QUndoCommand(QCoreApplication::translate("pelidora::host::DesignCommands", "Set the form's %1").arg(property))
    , m_host(host)
    , m_property(property)
    , m_before(valueOf(host, property))
    , m_after(value)
{
    setObsolete(m_before == m_after);
}

QVariant FormPropertyCommand::valueOf(const FormHost *host, const QString &property)
{
    if (property == QLatin1String("Caption"))
        return host->caption();
    if (property == QLatin1String("Width"))
        return host->formSize().width();
    if (property == QLatin1String("Height"))
        return host->formSize().height();
    return {};
}

void FormPropertyCommand::redo()
{
    apply(m_after);
}

void FormPropertyCommand::undo()
{
    apply(m_before);
}

bool FormPropertyCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const FormPropertyCommand *>(other);
    if (next->m_property != m_property)
        return false;
    m_after = next->m_after;
    setObsolete(m_before == m_after);
    return true;
}

void FormPropertyCommand::apply(const QVariant &value)
{
    if (m_property == QLatin1String("Caption")) {
        m_host->setCaption(value.toString());
    } else {
        QSize size = m_host->formSize();
        if (m_property == QLatin1String("Width"))
            size.setWidth(value.toInt());
        else
            size.setHeight(value.toInt());
        m_host->setFormSize(size);
    }
}

} // namespace pelidora::host
