// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What assistive technology sees of the date box: the box itself and its drop button.

#include <QAccessibleWidget>
#include <QLabel>
#include <QList>

class QLineEdit;

namespace pelidora {

class ucvPelidora;
class ucvPelidoraPrivate;

// The date box's drop button (imgCombo): a picture the box drives through its pointer
// events. A class of its own so that assistive technology can know it as a button.
class DropButton : public QLabel
{
    Q_OBJECT

public:
    explicit DropButton(QWidget *parent)
        : QLabel(parent)
    {
    }
};

// The date box as assistive technology sees it: a group named with the held date, holding
// the three fields (named for what they hold, in the order they stand) and the drop button.
class ucvPelidoraAccessible : public QAccessibleWidget
{
public:
    explicit ucvPelidoraAccessible(ucvPelidora *box);

    // Name: the program's accessible name if it gave one, else the held date in the
    // locale's long form or "No date". Asking never takes the typed fields over.
    QString text(QAccessible::Text t) const override;
    // Focused only where the box itself holds the keyboard; a field that holds it says so.
    QAccessible::State state() const override;
    // The fields and the drop button, left to right; the separators are decoration.
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // Makes a new box known to assistive technology: the factory for the box's classes.
    static void attach();
    // The held date changed: so did the box's name.
    static void dateChanged(ucvPelidora *box);
    // Names the fields for what they hold in the box's date order; again when the
    // language changes.
    static void nameFields(ucvPelidoraPrivate &d);
    // A field takes the keyboard and is about to select its text. Qt reports the focus only
    // once the field's focus handling is over, after the selection, and a reader would speak
    // the selected text before the box and the field: the selection is reported again from
    // the event loop, after the focus, which a reader that keeps the latest of its queued
    // events takes instead of the first.
    static void fieldFocused(QLineEdit *field);

private:
    QList<QWidget *> parts() const;
};

// The drop button as assistive technology sees it: a button named "Open calendar" whose
// press is a click on it. It never takes the keyboard focus.
class DropButtonAccessible : public QAccessibleWidget
{
public:
    explicit DropButtonAccessible(DropButton *button);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    // Press: the button pressed and released over itself, which opens the panel, or
    // closes it when it is open. Queued: it returns at once, as a modal panel holds its
    // caller until it closes, and the caller may be a screen reader waiting on the bus.
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;
};

// A field of the date box as assistive technology sees it: editable text named for what it
// holds, read and selected as typed. Its text is one line: a reader asking for the line at
// any offset up to the end, the end included, gets the whole field.
class DateFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit DateFieldAccessible(QLineEdit *field);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;

private:
    QLineEdit *field() const;
};

} // namespace pelidora
