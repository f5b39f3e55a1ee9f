// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include "formhost.h"

#include <pelidora/propertybag.h>

#include <QPoint>
#include <QSize>
#include <QString>
#include <QUndoCommand>
#include <QVariant>

#include <functional>
#include <optional>

namespace pelidora {
class ucvPelidora;
}

// The designer's changes as undo steps. Boxes are named, not pointed at: a deleted box
// comes back as a new object, and the stack guarantees that a step is undone or redone
// only with the form as the step left it, so the name still finds the box.
namespace pelidora::host {

enum class CommandId { Nudge = 1, Property, FormProperty };

class AddBoxCommand : public QUndoCommand
{
public:
    struct Placement {
        QPoint position;
        QSize formSize; // the form grows when it has no room left
    };
    using Place = std::function<Placement(ucvPelidora *box)>;

    AddBoxCommand(FormHost *host, Place place);
    void redo() override;
    void undo() override;
    QString name() const { return m_record ? m_record->name : QString(); }

private:
    FormHost *m_host;
    Place m_place;
    std::optional<FormHost::BoxRecord> m_record;
    QSize m_formBefore, m_formAfter;
};

class DeleteBoxCommand : public QUndoCommand
{
public:
    DeleteBoxCommand(FormHost *host, const QString &name);
    void redo() override;
    void undo() override;

private:
    FormHost *m_host;
    FormHost::BoxRecord m_record;
};

// A drag, or nudges with the arrow keys: a run of nudges of one box is one step.
class MoveBoxCommand : public QUndoCommand
{
public:
    MoveBoxCommand(FormHost *host, const QString &name, const QPoint &from, const QPoint &to, bool nudge);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    FormHost *m_host;
    QString m_name;
    QPoint m_from, m_to;
    bool m_nudge;
};

class RenameBoxCommand : public QUndoCommand
{
public:
    RenameBoxCommand(FormHost *host, const QString &from, const QString &to);
    void redo() override;
    void undo() override;

private:
    FormHost *m_host;
    QString m_from, m_to;
};

// A property written to a box, already done when pushed; before and after are the box's
// stored values. Writes to one property of one box in a row are one step.
class PropertyCommand : public QUndoCommand
{
public:
    PropertyCommand(FormHost *host, const QString &box, const QString &property, const PropertyBag &before,
                    const PropertyBag &after);
    void redo() override;
    void undo() override;
    int id() const override { return int(CommandId::Property); }
    bool mergeWith(const QUndoCommand *other) override;

private:
    FormHost *m_host;
    QString m_box, m_property;
    PropertyBag m_before, m_after;
    bool m_done = true;
};

// The form's "Caption", "Width" or "Height"; changes of one of them in a row are one step.
class FormPropertyCommand : public QUndoCommand
{
public:
    FormPropertyCommand(FormHost *host, const QString &property, const QVariant &value);
    void redo() override;
    void undo() override;
    int id() const override { return int(CommandId::FormProperty); }
    bool mergeWith(const QUndoCommand *other) override;

    static QVariant valueOf(const FormHost *host, const QString &property);

private:
    void apply(const QVariant &value);

    FormHost *m_host;
    QString m_property;
    QVariant m_before, m_after;
};

} // namespace pelidora::host
