// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>

#include <QStyledItemDelegate>

#include <memory>

namespace pelidora {

class DateItemDelegatePrivate;

/**
 * An item delegate whose editor is a date box that ends an edit as a QDateEdit editor does:
 * Return or Enter commits, Escape reverts, Tab out of the year field and Shift+Tab out of
 * the first field commit and move on to the next or previous item (see
 * ucvPelidora::setItemEditor). The box reads and writes the item's edit role as a QDate
 * through its USER property, date; an item without a date opens on an empty box, and a box
 * left empty writes an invalid QDate.
 *
 * The box keeps its fixed size in the cell: give the rows at least the box's height
 * (ucvPelidora::sizeHint), for instance with verticalHeader()->setDefaultSectionSize().
 *
 * @code
 * view->setItemDelegateForColumn(1, new pelidora::DateItemDelegate(view));
 * @endcode
 */
class PELIDORA_EXPORT DateItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    /** A delegate owned by @p parent, as any QObject. */
    explicit DateItemDelegate(QObject *parent = nullptr);
    ~DateItemDelegate() override; /**< The editors it made belong to their views. */

    /** A new ucvPelidora, a child of @p parent, with itemEditor set. */
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const std::unique_ptr<DateItemDelegatePrivate> d;
};

} // namespace pelidora
