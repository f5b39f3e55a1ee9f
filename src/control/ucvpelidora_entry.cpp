// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/ucvpelidora_p.h"

#include "control/accessible.h"
#include "control/entryrules.h"
#include "platform/os/localedates.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include <optional>

namespace pelidora {

namespace {

// The key-press code a field's key carries: 8 Backspace, 13 Enter, otherwise the character
// the key produces (control characters included). Keys that only move the caret, delete or
// leave the field have none and keep the line edit's own handling.
std::optional<int> keyCodeOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        // Ctrl+Backspace types DEL (127), a character like any other non-digit.
        return event->modifiers() & Qt::ControlModifier ? 127 : EntryRules::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return EntryRules::kEnter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete: return std::nullopt;
    default: break;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return std::nullopt;
    return int(text.at(0).unicode());
}

// The focus goes to a menu or another window, and comes back from there.
bool isFocusAway(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

EntryRules::Field roleOf(const QLineEdit *field, const QLineEdit *first, const QLineEdit *second)
{
    return field == first ? EntryRules::Field::First
        : field == second ? EntryRules::Field::Second
                          : EntryRules::Field::Year;
}

EntryRules::FieldState stateOf(const QLineEdit *field)
{
    EntryRules::FieldState state;
    state.length = int(field->text().size());
    state.selectionLength = int(field->selectedText().size());
    state.selectionStart = state.selectionLength > 0 ? field->selectionStart() : field->cursorPosition();
    return state;
}

std::u16string_view viewOf(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())};
}

// Unhooks the field's own paste from a menu action; true when the action was its Paste.
// Qt connects it one way or the other, depending on its version.
bool unhookPaste(QAction *action, QLineEdit *field)
{
    if (QObject::disconnect(action, &QAction::triggered, field, &QLineEdit::paste))
        return true;
    const QMetaObject *actionMeta = action->metaObject();
    const QMetaObject *fieldMeta = field->metaObject();
    return QObject::disconnect(action, actionMeta->method(actionMeta->indexOfSignal("triggered()")), field,
                               fieldMeta->method(fieldMeta->indexOfSlot("paste()")));
}

core::Civil todayCivil()
{
    const int serial = platform::today();
    return {platform::yearOf(serial), platform::monthOf(serial), platform::dayOf(serial)};
}

// The typed year made whole by its length: "5" 2005, "20" 2020, "21" 1921, "998" 1998,
// "012" 2012; four or more characters as read.
int completeYear(const QString &text)
{
    const int value = platform::numericValue(text);
    switch (text.size()) {
    case 1: return platform::numericValue(QLatin1String("200") + text);
    case 2: return platform::numericValue((value >= 21 ? QLatin1String("19") : QLatin1String("20")) + text);
    case 3: return platform::numericValue((value >= 100 ? QLatin1String("1") : QLatin1String("2")) + text);
    default: return value;
    }
}

} // namespace

// ---- The held date and the fields ----

void ucvPelidoraPrivate::PrintDate(qint32 serial)
{
    m_fieldsEdited = false;
    if (!core::holdsDate(serial)) {
        for (QLineEdit *field : {txtDay, txtMonth, txtYear}) {
            field->clear();
            field->setModified(false); // emptied by the box, not by the user
        }
        return;
    }
    const int day = platform::dayOf(serial);
    const int month = platform::monthOf(serial);
    const bool dayFirst = m_DateOrder == 1;
    txtDay->setText(platform::format00(dayFirst ? day : month));
    txtMonth->setText(platform::format00(dayFirst ? month : day));
    txtYear->setText(platform::format0000(platform::yearOf(serial)));
}

void ucvPelidoraPrivate::CheckDate()
{
    // Whatever happens below, the fields show the held date afterwards.
    m_fieldsEdited = false;
    m_tookIntoRange = false;
    for (QLineEdit *field : {txtDay, txtMonth, txtYear})
        field->setModified(false);
    const QString t1 = txtDay->text();
    const QString t2 = txtMonth->text();
    const QString t3 = txtYear->text();
    const bool allEmpty = t1.isEmpty() && t2.isEmpty() && t3.isEmpty();
    if (allEmpty) {
        // Cleared fields drop a held date; with none held nothing changes.
        if (core::holdsDate(m_DateSet))
            m_DateSet = -1;
        return;
    }
    const bool incomplete = t1.isEmpty() || t2.isEmpty() || t3.isEmpty();
    const bool dayFirst = m_DateOrder == 1;
    const core::Civil today = todayCivil();

    // Pasted text may hold anything: numericValue reads leading digits only, never past 16 bits.
    int a = platform::numericValue(t1);
    int b = platform::numericValue(t2);
    const int aMax = dayFirst ? 31 : 12;
    const int bMax = dayFirst ? 12 : 31;
    if (a < 1 || a > aMax)
        a = dayFirst ? today.day : today.month;
    if (b < 1 || b > bMax)
        b = dayFirst ? today.month : today.day;
    int y = completeYear(t3);
    if (y < 1900 || y > 2100)
        y = today.year;
    if (incomplete) {
        a = dayFirst ? today.day : today.month;
        b = dayFirst ? today.month : today.day;
        y = today.year;
    }

    QString s = platform::orderedDateText(dayFirst ? a : b, dayFirst ? b : a, y, dayFirst);
    // Lower an impossible day until the date exists: 31 reaches 28 in three passes.
    const qsizetype dayAt = dayFirst ? 0 : 3;
    for (int pass = 0; pass < 31 && IsBadDate(s); ++pass) {
        int d = platform::numericValue(s.mid(dayAt, 2)) - 1;
        if (d < 1)
            d = today.day;
        s.replace(dayAt, 2, platform::format00(d));
    }
    const std::optional<int> serial = platform::dateSerial(s);
    if (!serial) {
        // Only a locale that changed under the box gets here; today is a date in any.
        m_DateSet = platform::today();
        PrintDate(m_DateSet);
    } else {
        txtDay->setText(s.left(2));
        txtMonth->setText(s.mid(3, 2));
        txtYear->setText(s.right(4));
        m_DateSet = *serial;
    }
    // The corrections above keep a date in 1900..2100; a narrower range takes its bound.
    m_tookIntoRange = holdInRange();
    // Then an unavailable day takes the nearest available one; with none, it stays.
    if (holdAvailable() || m_noneAvailable)
        m_tookIntoRange = true;
}

void ucvPelidoraPrivate::userCheckDate()
{
    CheckDate();
    if (m_tookIntoRange)
        platform::windowSystem().beep();
}

ucvPelidoraPrivate::DateCause ucvPelidoraPrivate::typedCause() const
{
    // A field's text set by the box is not modified; the user's edits make it so.
    const bool edited = m_fieldsEdited || txtDay->isModified() || txtMonth->isModified() || txtYear->isModified();
    return edited ? DateCause::User : DateCause::Program;
}

void ucvPelidoraPrivate::commitFields()
{
    CheckDate();
    if (!core::holdsDate(m_DateSet))
        m_DateSet = -1;
}

void ucvPelidoraPrivate::writeSerial(qint32 serial)
{
    if (refusedInRule("a change of the date"))
        return;
    m_DateSet = serial;
    PrintDate(m_DateSet);
    notify(QStringLiteral("DateSet"));
}

void ucvPelidoraPrivate::writeDateSet(const QString &text)
{
    // A text that is no date stands for "-1": no date, empty fields, and no error.
    writeSerial(platform::dateSerial(text).value_or(-1));
}

QString ucvPelidora::DateSet()
{
    QString text;
    d->changeDate(d->typedCause(), [this, &text] {
        d->commitFields();
        text = core::holdsDate(d->m_DateSet) ? platform::shortDateText(d->m_DateSet) : QStringLiteral("-1");
    });
    return text;
}

void ucvPelidora::setDateSet(const QString &text)
{
    d->changeDate(ucvPelidoraPrivate::DateCause::Program, [this, &text] { d->writeDateSet(text); });
}

// ---- Keys and focus ----

bool ucvPelidora::eventFilter(QObject *watched, QEvent *event)
{
    // Handling an event may announce a date, and a slot may delete the box with its parts:
    // Qt must not deliver the event to a part that is gone.
    const QPointer<QObject> alive(watched);
    if (event->type() == QEvent::PaletteChange)
        d->m_activationChangesLooks.reset();
    bool consumed = false;
    if (watched == d->imgCombo)
        consumed = d->dropButtonEvent(event);
    else if (watched == d->txtDay || watched == d->txtMonth || watched == d->txtYear)
        consumed = d->fieldEvent(static_cast<QLineEdit *>(watched), event);
    else
        return QWidget::eventFilter(watched, event);
    return consumed || !alive;
}

bool ucvPelidoraPrivate::fieldEvent(QLineEdit *field, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: return fieldKeyPress(field, static_cast<QKeyEvent *>(event));
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        m_clickFocus = reason == Qt::MouseFocusReason ? field : nullptr;
        // Back from the field's own menu or another window, the selection stays as it was,
        // so that Paste or Delete from the menu acts on it. A first arrival is a real change.
        const bool back = isFocusAway(reason) && m_focusAwayFrom == field;
        m_focusAwayFrom = nullptr;
        if (!back)
            fieldGotFocus(field);
        followFocus(field, QEvent::FocusIn, reason);
        break;
    }
    case QEvent::FocusOut: {
        // A context menu or another window taking over leaves the field where it was.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const QPointer<ucvPelidora> alive(q);
        m_focusAwayFrom = isFocusAway(reason) ? field : nullptr;
        if (!isFocusAway(reason))
            fieldLostFocus(field);
        if (alive)
            followFocus(field, QEvent::FocusOut, reason);
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton) {
            // The press placed the caret; the desktop's selection goes in there.
            m_clickFocus = nullptr;
            const QClipboard *clipboard = QGuiApplication::clipboard();
            if (clipboard->supportsSelection())
                pasteInto(field, clipboard->text(QClipboard::Selection));
            return true;
        }
        // The press that brought the focus placed the caret; a plain click still selects
        // the whole field, a drag keeps what it selected.
        if (field == m_clickFocus) {
            m_clickFocus = nullptr;
            if (!field->hasSelectedText())
                field->selectAll();
        }
        break;
    case QEvent::ContextMenu: showFieldMenu(field, static_cast<QContextMenuEvent *>(event)->globalPos()); return true;
    case QEvent::Drop: {
        // The drag has put the caret where the text goes.
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->mimeData()->hasText()) {
            pasteInto(field, drop->mimeData()->text());
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        }
        QDragLeaveEvent leave; // the field stops showing where the drop would go
        QCoreApplication::sendEvent(field, &leave);
        return true;
    }
    default: break;
    }
    return false;
}

void ucvPelidoraPrivate::showFieldMenu(QLineEdit *field, const QPoint &globalPos)
{
    QMenu *menu = field->createStandardContextMenu();
    for (QAction *action : menu->actions()) {
        if (unhookPaste(action, field))
            QObject::connect(action, &QAction::triggered, field,
                             [this, field] { pasteInto(field, QGuiApplication::clipboard()->text()); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void ucvPelidoraPrivate::pasteInto(QLineEdit *field, const QString &text)
{
    if (field->isReadOnly() || !field->isEnabled())
        return;
    const QString pasted = text.trimmed(); // a copied number often ends with a line break
    const auto order = m_DateOrder == 1 ? core::DateOrder::DayFirst : core::DateOrder::MonthFirst;
    if (const std::optional<core::Civil> date = EntryRules::pastedDate(viewOf(pasted), order)) {
        const bool dayFirst = order == core::DateOrder::DayFirst;
        txtDay->setText(platform::format00(dayFirst ? date->day : date->month));
        txtMonth->setText(platform::format00(dayFirst ? date->month : date->day));
        txtYear->setText(platform::format0000(date->year));
        m_fieldsEdited = true; // taken over later, as typed fields are
        return;
    }
    const EntryRules::Typed typed =
        EntryRules::typeText(roleOf(field, txtDay, txtMonth), viewOf(pasted), stateOf(field));
    if (!typed.digits.empty())
        field->insert(QString::fromStdString(typed.digits));
    if (typed.dropped)
        platform::windowSystem().beep();
}

void ucvPelidoraPrivate::followFocus(QLineEdit *field, QEvent::Type type, Qt::FocusReason reason)
{
    if (type == QEvent::FocusIn) {
        // The focused field is the box's proxy, so that the box reports the focus
        // (hasFocus) whichever field has it, as an item view asks of its editor.
        q->setFocusProxy(field);
        if (m_focusInside)
            return;
        m_focusInside = true;
    } else {
        // Where the focus is now; a field's menu or the panel counts as inside, the panel
        // also while it becomes the active window before any of its parts has the focus.
        const QWidget *now = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        for (const QWidget *w = now; w; w = w->parentWidget()) {
            if (w == q)
                return;
        }
        if (!m_focusInside)
            return;
        m_focusInside = false;
        q->setFocusProxy(txtDay); // coming back, the focus goes to the first field
    }
    QFocusEvent event(type, reason);
    const QPointer<ucvPelidora> alive(q);
    QCoreApplication::sendEvent(q, &event);
    if (alive && type == QEvent::FocusOut)
        Q_EMIT q->editingFinished();
}

bool ucvPelidora::focusNextPrevChild(bool next)
{
    // Tab moves between the fields before it leaves the box, also inside an item view,
    // whose own Tab handling would otherwise take the first one. A box being hidden hands
    // the focus on beyond itself.
    auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (isVisible() && field && field->parentWidget() == this) {
        QLineEdit *to = next ? d->fieldAfter(field) : d->fieldBefore(field);
        if (to != (next ? d->txtDay : d->txtYear)) {
            to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

bool ucvPelidoraPrivate::fieldKeyPress(QLineEdit *field, QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier) {
        openPanel();
        return true;
    }
    // Shift+Insert pastes; Ctrl+V is a key press like any other and beeps.
    if (event->matches(QKeySequence::Paste) && event->key() != Qt::Key_V) {
        pasteInto(field, QGuiApplication::clipboard()->text());
        return true;
    }
    if (endsItemEdit(field, event))
        return true;
    const std::optional<int> code = keyCodeOf(event);
    if (!code)
        return false;

    const EntryRules::Field which = roleOf(field, txtDay, txtMonth);
    switch (EntryRules::keyPress(which, *code, stateOf(field))) {
    case EntryRules::Decision::Pass: return false;
    case EntryRules::Decision::Swallow: return true;
    case EntryRules::Decision::Beep: platform::windowSystem().beep(); return true;
    case EntryRules::Decision::NextField:
        fieldAfter(field)->setFocus(Qt::OtherFocusReason);
        if (field == txtYear) // the last field: the year always stands last
            Q_EMIT q->editingFinished();
        return true;
    }
    return true;
}

QLineEdit *ucvPelidoraPrivate::fieldAfter(QLineEdit *field) const
{
    return field == txtDay ? txtMonth : field == txtMonth ? txtYear : txtDay;
}

QLineEdit *ucvPelidoraPrivate::fieldBefore(QLineEdit *field) const
{
    return field == txtYear ? txtMonth : field == txtMonth ? txtDay : txtYear;
}

void ucvPelidoraPrivate::fieldGotFocus(QLineEdit *field)
{
    ucvPelidoraAccessible::fieldFocused(field);
    field->selectAll();
}

void ucvPelidoraPrivate::fieldLostFocus(QLineEdit *field)
{
    if (!core::holdsDate(m_DateSet))
        return;
    const EntryRules::Field which = roleOf(field, txtDay, txtMonth);
    const QString text = field->text();
    const auto order = m_DateOrder == 1 ? core::DateOrder::DayFirst : core::DateOrder::MonthFirst;
    const std::optional<int> fix =
        EntryRules::onLeave(which, platform::numericValue(text), text.isEmpty(), order, todayCivil());
    if (!fix)
        return;
    changeDate(typedCause(), [this, field, fix] {
        field->setText(QString::number(*fix));
        userCheckDate();
    });
}

} // namespace pelidora
