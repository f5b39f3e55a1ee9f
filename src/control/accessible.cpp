// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/accessible.h"

#include "control/ucvpelidora_p.h"

#include "platform/os/windowsystem.h"

#include <QApplication>
#include <QFontMetrics>
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
    } else if (key == QLatin1String(QLineEdit::staticMetaObject.className())) {
        // Only the box's own fields: other line edits keep Qt's interface.
        if (auto *field = qobject_cast<QLineEdit *>(object); field && qobject_cast<ucvPelidora *>(field->parent()))
            return new DateFieldAccessible(field);
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

void ucvPelidoraAccessible::fieldFocused(QLineEdit *field)
{
    if (!QAccessible::isActive())
        return;
    // Queued before the selection is made: it goes out before anything a reader asks
    // about the selection's first report.
    QMetaObject::invokeMethod(
        field,
        [field] {
            if (!QAccessible::isActive() || !field->hasFocus())
                return;
            QAccessibleTextSelectionEvent event(field, field->selectionStart(), field->selectionEnd());
            event.setCursorPosition(field->cursorPosition());
            QAccessible::updateAccessibility(&event);
        },
        Qt::QueuedConnection);
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
    QMetaObject::invokeMethod(
        button,
        [button] {
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
        },
        Qt::QueuedConnection);
}

QStringList DropButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    // The fields open the panel on Alt+Down.
    if (actionName != pressAction())
        return {};
    return {QKeySequence(Qt::ALT | Qt::Key_Down).toString(QKeySequence::NativeText)};
}

DateFieldAccessible::DateFieldAccessible(QLineEdit *field)
    : QAccessibleWidget(field, QAccessible::EditableText)
{
}

QLineEdit *DateFieldAccessible::field() const
{
    return static_cast<QLineEdit *>(widget());
}

void *DateFieldAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString DateFieldAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return field()->text();
    return QAccessibleWidget::text(t);
}

QAccessible::State DateFieldAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !field()->isReadOnly();
    s.readOnly = field()->isReadOnly();
    s.selectableText = true;
    return s;
}

void DateFieldAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !field()->hasSelectedText())
        return;
    *startOffset = field()->selectionStart();
    *endOffset = *startOffset + int(field()->selectedText().size());
}

int DateFieldAccessible::selectionCount() const
{
    return field()->hasSelectedText() ? 1 : 0;
}

void DateFieldAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void DateFieldAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        field()->deselect();
}

void DateFieldAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        field()->setSelection(startOffset, endOffset - startOffset);
}

int DateFieldAccessible::cursorPosition() const
{
    return field()->cursorPosition();
}

void DateFieldAccessible::setCursorPosition(int position)
{
    field()->setCursorPosition(position);
}

QString DateFieldAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return {};
    return field()->text().mid(startOffset, endOffset - startOffset);
}

int DateFieldAccessible::characterCount() const
{
    return int(field()->text().size());
}

QRect DateFieldAccessible::characterRect(int offset) const
{
    const QString shown = field()->text();
    if (offset < 0 || offset >= shown.size())
        return {};
    // The text stands centred in the field.
    const QFontMetrics metrics(field()->font());
    const QRect inside = field()->contentsRect();
    const int left = inside.left() + (inside.width() - metrics.horizontalAdvance(shown)) / 2
        + metrics.horizontalAdvance(shown.left(offset));
    const QRect rect(left, inside.top(), metrics.horizontalAdvance(shown.at(offset)), inside.height());
    return QRect(field()->mapToGlobal(rect.topLeft()), rect.size());
}

int DateFieldAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = field()->mapFromGlobal(point);
    return field()->rect().contains(local) ? field()->cursorPositionAt(local) : -1;
}

void DateFieldAccessible::scrollToSubstring(int startIndex, int)
{
    field()->setCursorPosition(startIndex);
}

QString DateFieldAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // One run without attributes over the whole text: a reader joins the runs it is told of
    // into the text it speaks, so a run per character would leave the last one out.
    const bool inside = offset >= 0 && offset <= characterCount();
    *startOffset = inside ? 0 : -1;
    *endOffset = inside ? characterCount() : -1;
    return {};
}

QString DateFieldAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                          int *endOffset) const
{
    if (offset == -2)
        offset = cursorPosition();
    const QString shown = field()->text();
    if (offset == -1)
        offset = int(shown.size());
    if (boundaryType != QAccessible::LineBoundary && boundaryType != QAccessible::ParagraphBoundary
        && boundaryType != QAccessible::NoBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    if (offset < 0 || offset > shown.size()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = int(shown.size());
    return shown;
}

} // namespace pelidora
