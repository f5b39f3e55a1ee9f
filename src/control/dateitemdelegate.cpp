// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/dateitemdelegate.h>
#include <pelidora/ucvPelidora.h>

namespace pelidora {

// Nothing yet: room for what later versions keep without changing the class's size.
class DateItemDelegatePrivate
{};

DateItemDelegate::DateItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , d(std::make_unique<DateItemDelegatePrivate>())
{
}

DateItemDelegate::~DateItemDelegate() = default;

QWidget *DateItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *box = new ucvPelidora(parent);
    box->setItemEditor(true);
    return box;
}

} // namespace pelidora
