// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The panel's pointer and keyboard handlers.

#include "panel/monthpanel.h"

#include "panel/accessible.h"
#include "panel/daymarks.h"
#include "panel/panelparts.h"
#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace pelidora {

namespace {

// Key codes of the key-down handler, as the host platform numbers them.
enum : qint16 {
    VkPageUp = 33,
    VkPageDown = 34,
    VkEnd = 35,
    VkHome = 36,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40
};
enum : qint16 { AsciiEnter = 13, AsciiEscape = 27 };

qint16 keyCodeOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp: return VkPageUp;
    case Qt::Key_PageDown: return VkPageDown;
    case Qt::Key_End: return VkEnd;
    case Qt::Key_Home: return VkHome;
    case Qt::Key_Left: return VkLeft;
    case Qt::Key_Up: return VkUp;
    case Qt::Key_Right: return VkRight;
    case Qt::Key_Down: return VkDown;
    default: return 0;
    }
}

qint16 shiftOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    return qint16((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}

qint16 asciiOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return AsciiEnter;
    case Qt::Key_Escape: return AsciiEscape;
    default: return 0;
    }
}

// Holds FlagSkipYearClick while the year and month lists change together.
class SkipYearClick
{
public:
    SkipYearClick() { module().FlagSkipYearClick = true; }
    ~SkipYearClick() { module().FlagSkipYearClick = false; }
    Q_DISABLE_COPY_MOVE(SkipYearClick)
};

} // namespace

void MonthPanel::btnDay_Click(qint16 Index)
{
    checkCell(Index);
    HidePelidora();
    ChosenDay = qint16(Index + 1);
    ChosenMonth = qint16(m_cboMese->currentIndex() + 1);
    ChosenYear = qint16(m_cboAnno->currentIndex() + 1900);
    if (!m_Locked) {
        if (const auto serial =
                platform::dateSerial(platform::orderedDateText(ChosenDay, ChosenMonth, ChosenYear, DateOrder == 1)))
            m_DateSet = *serial;
    }
    m_FlagRaiseClick = true;
}

void MonthPanel::btnDay_MouseMove(qint16 Index, qint16, qint16, float X, float Y)
{
    checkCell(Index);
    if (m_bDayOver[Index])
        return;
    m_X = X;
    m_Y = Y;
    const int prev = platform::numericValue(m_lblDayTag) - 1;
    if (prev > -1 && prev <= 30)
        RaiseBoxDay(qint16(prev));
    SinkBoxDay(Index);
}

void MonthPanel::previousMonth()
{
    const int month = m_cboMese->currentIndex();
    if (month > 0) {
        setMeseIndex(month - 1);
        return;
    }
    {
        const SkipYearClick skip;
        const int year = m_cboAnno->currentIndex();
        setAnnoIndex(year > 0 ? year - 1 : m_cboAnno->count() - 1);
    }
    setMeseIndex(m_cboMese->count() - 1);
}

void MonthPanel::nextMonth()
{
    const int month = m_cboMese->currentIndex();
    if (month < 11) {
        setMeseIndex(month + 1);
        return;
    }
    {
        const SkipYearClick skip;
        const int year = m_cboAnno->currentIndex();
        setAnnoIndex(year < m_cboAnno->count() - 1 ? year + 1 : 0);
    }
    setMeseIndex(0);
}

void MonthPanel::showMonth(int year, int month)
{
    {
        const SkipYearClick skip;
        setAnnoIndex(year - 1900);
    }
    setMeseIndex(month - 1);
}

void MonthPanel::lblDay_KeyDown(qint16 KeyCode, qint16)
{
    // The day field is read as the nearest day of the shown month.
    const int start = fieldDay() - 1;
    // Outside the default range a key that would leave it does nothing.
    const auto beyond = [this](int day, bool forward) {
        if (m_range.isDefault())
            return false;
        const std::optional<int> serial = listedSerial(day);
        return serial && (forward ? *serial >= m_range.maximum() : *serial <= m_range.minimum());
    };
    if (m_marks && m_marks->anyUnavailable()) {
        if (KeyCode == VkUp || KeyCode == VkDown) {
            stepOverDays(KeyCode == VkDown);
            return;
        }
    }
    switch (KeyCode) {
    case VkPageUp:
        if (!beyond(1, false))
            previousMonth();
        break;
    case VkPageDown:
        if (!beyond(m_monthLength, true))
            nextMonth();
        break;
    case VkUp: {
        if (beyond(start + 1, false))
            break;
        int day = fieldDay() - 1;
        if (day >= 1) {
            setFieldDay(day);
        } else {
            day = 31;
            if (!m_range.isDefault()) {
                // The previous month's last day, so that its redraw finds the field's day in
                // the range and moves no selection of its own.
                const int month = m_cboMese->currentIndex();
                setFieldDay(month > 0 ? core::daysInMonth(m_cboAnno->currentIndex() + 1900, month) : 31);
            }
            previousMonth();
            while (day > 1 && !cellShown(day))
                --day;
            setFieldDay(day);
        }
        raiseSelection(start);
        SinkBoxDay(qint16(day - 1));
        break;
    }
    case VkDown: {
        if (beyond(start + 1, true))
            break;
        int day = fieldDay() + 1;
        if (day > 31 || !cellShown(day))
            day = 1;
        setFieldDay(day);
        if (day == 1)
            nextMonth();
        raiseSelection(start);
        SinkBoxDay(qint16(day - 1));
        break;
    }
    default: break;
    }
}

void MonthPanel::lblDay_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == AsciiEnter) {
        KeyAscii = 0;
        m_cboMese->setFocus(Qt::TabFocusReason);
    } else if (KeyAscii == AsciiEscape) {
        HidePelidora();
    }
}

void MonthPanel::cboMese_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == AsciiEnter) {
        KeyAscii = 0;
        m_cboAnno->setFocus(Qt::TabFocusReason);
    } else if (KeyAscii == AsciiEscape) {
        HidePelidora();
    }
}

void MonthPanel::cboAnno_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == AsciiEnter) {
        KeyAscii = 0;
        if (m_lblDay->text().isEmpty())
            m_lblDay->setText(QStringLiteral("1"));
        if (someDayOff() && !cellOpen(fieldDay())) {
            platform::windowSystem().beep(); // an unavailable day: nothing chosen, still open
            return;
        }
        btnDay_Click(qint16(fieldDay() - 1));
    } else if (KeyAscii == AsciiEscape) {
        HidePelidora();
    }
}

void MonthPanel::cboAnno_Click()
{
    if (!module().FlagSkipYearClick)
        cboMese_Click();
}

void MonthPanel::lblDay_GotFocus()
{
    if (m_Locked) {
        auto &ws = platform::windowSystem();
        ws.hideCaret(ws.handleOf(m_lblDay));
    }
}

bool MonthPanel::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) && watched == m_lblDay) {
        monthpanelaccessible::fieldFocusChanged();
        if (event->type() == QEvent::FocusIn)
            lblDay_GotFocus();
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        qint16 ascii = asciiOf(key);
        if (watched == m_lblDay) {
            // The key goes on to the field, whatever the handler did with it.
            const qint16 code = keyCodeOf(key);
            lblDay_KeyDown(code, shiftOf(key));
            if (code == VkUp || code == VkDown || code == VkPageUp || code == VkPageDown)
                monthpanelaccessible::keyMoved(*this);
            if (ascii != 0) {
                lblDay_KeyPress(ascii);
                return ascii == 0;
            }
        } else if (ascii != 0 && watched == m_cboMese) {
            cboMese_KeyPress(ascii);
            return ascii == 0;
        } else if (ascii != 0 && watched == m_cboAnno) {
            cboAnno_KeyPress(ascii);
            return ascii == 0;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pelidora
