// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The date box as an item view's editor: the keys that end an edit reach the delegate that
// watches the box, and a day chosen in the panel reaches the view.

#include "control/ucvpelidora_p.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace pelidora {

bool ucvPelidora::isItemEditor() const
{
    return d->m_itemEditor;
}

void ucvPelidora::setItemEditor(bool editor)
{
    d->m_itemEditor = editor;
}

bool ucvPelidoraPrivate::endsItemEdit(QLineEdit *field, QKeyEvent *event)
{
    if (!m_itemEditor)
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // Qt's Tab handling takes no Tab with Ctrl or Alt; Shift+Tab may come as either key.
    const bool plain = !(modifiers & (Qt::ControlModifier | Qt::AltModifier));
    const bool back = event->key() == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier);
    bool ends = false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: ends = true; break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: ends = plain && field == (back ? txtDay : txtYear); break;
    default: break;
    }
    if (!ends)
        return false;
    // A delegate filters the events of its editor, the box, never those of its fields. What
    // nobody takes there goes on to the box's parents, as a QDateEdit's Return does; taken
    // here, it never reaches them a second time.
    QCoreApplication::sendEvent(q, event);
    event->accept();
    return true;
}

void ucvPelidoraPrivate::commitToItemView()
{
    if (!m_itemEditor)
        return;
    for (QWidget *w = q->parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
            // The slot a delegate's commitData reaches; protected, so called as that
            // connection calls it. A box that is not one of the view's editors commits nothing.
            QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget *, q));
            return;
        }
    }
}

} // namespace pelidora
