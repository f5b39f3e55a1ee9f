// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The date box's side of the month panel: the drop button, opening and placing the panel,
// and the focus watch that closes it and hands a chosen day back.

#include "control/ucvpelidora_p.h"

#include <pelidora/platform.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/site.h>

#include "control/outsideclickwatch.h"
#include "panel/daycell.h"
#include "panel/framepicture.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"
#include "panel/twips.h"
#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "platform/os/olecolor.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace pelidora {

namespace {

// Ticks of a panel that the window system has not activated yet before the watch gives up
// waiting for it: half a second.
constexpr int kActivationWaitTicks = 10;

qint16 buttonCode(Qt::MouseButtons buttons)
{
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
                  | (buttons & Qt::MiddleButton ? 4 : 0));
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
                  | (modifiers & Qt::AltModifier ? 4 : 0));
}

qint32 roundHalfEven(double value)
{
    return qint32(std::nearbyint(value)); // the default rounding mode takes halves to even
}

// The placement's arithmetic is 32-bit: a result beyond it fails the step, as any other
// failure there would.
qint32 in32Bits(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw std::overflow_error("the panel's place is beyond 32-bit twips");
    return qint32(value);
}

qint32 roundedIn32Bits(double value)
{
    if (!(value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()))
        throw std::overflow_error("the panel's place is beyond 32-bit twips");
    return roundHalfEven(value);
}

// The held date read back through its short date text; a held value of 1 or less, or one
// the calendar cannot hold (past the year 9999), opens on today.
int heldDateToShow(qint32 held)
{
    if (core::holdsDate(held) && held <= core::kMaxSerial) {
        const std::optional<int> back = platform::dateSerial(platform::shortDateText(held));
        if (back && core::holdsDate(*back))
            return *back;
    }
    return platform::today();
}

// The date moved into the lists' years 1900..2100, today's year standing in for any other.
// A 29 February that the new year lacks becomes the 28th.
int inListYears(int serial, qint16 dateOrder)
{
    const int today = platform::today();
    int day = platform::dayOf(serial);
    int month = platform::monthOf(serial);
    int year = platform::yearOf(serial);
    if (day == 0 || day > 31)
        day = platform::dayOf(today);
    if (month == 0 || month > 12)
        month = platform::monthOf(today);
    if (year < 1900 || year > 2100)
        year = platform::yearOf(today);
    for (;; --day) {
        if (const std::optional<int> composed =
                platform::dateSerial(platform::orderedDateText(day, month, year, dateOrder == 1)))
            return *composed;
        if (day <= 28)
            return serial; // no such date in any month: keep the held one
    }
}

} // namespace

// ---- Panel life ----

bool ucvPelidoraPrivate::canOpenPanel() const
{
    // No panel while designed; none under a box that is not on screen either, where a modal
    // panel nobody can see would hold the program.
    return !m_terminated && (!m_site || m_site->UserMode()) && q->isVisible();
}

void ucvPelidoraPrivate::loadPanel()
{
    if (!m_Panel) {
        m_Panel = new MonthPanel(q);
        m_Panel->setDayMarks(this);
        if (m_outsideClick)
            followPanel(m_outsideClick);
    }
    m_Panel->Pelidora_Form_Load();
}

OutsideClickWatch *ucvPelidoraPrivate::outsideClick()
{
    if (!m_outsideClick) {
        m_outsideClick = new OutsideClickWatch(q);
        followPanel(m_outsideClick);
    }
    return m_outsideClick;
}

void ucvPelidoraPrivate::followPanel(OutsideClickWatch *watch)
{
    QObject::connect(m_Panel, &MonthPanel::hidden, watch, [watch] { watch->watch(nullptr); });
}

void ucvPelidoraPrivate::hidePanel()
{
    if (m_Panel)
        m_Panel->HidePelidora();
}

void ucvPelidoraPrivate::unloadPanel()
{
    TimerHide->stop();
    MonthPanel *panel = std::exchange(m_Panel, nullptr);
    if (!panel)
        return;
    panel->HidePelidora(); // ends a modal show
    if (m_ruleDepth == 0) {
        delete panel;
        return;
    }
    // The rule, which may be drawing the panel, is deleting the box: the panel outlives the
    // box until the drawing has ended, asking nothing more.
    panel->setDayMarks(nullptr);
    panel->setParent(nullptr, panel->windowFlags());
    panel->deleteLater();
}

// ---- Drop button ----

bool ucvPelidoraPrivate::dropButtonEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        // A press that the box's disabling cut short opens nothing.
        if (!imgCombo->isEnabled() && m_BtnDown) {
            showButtonPicture(false);
            m_BtnDown = false;
            m_BtnInside = false;
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: break;
    default: return false;
    }
    if (!imgCombo->isEnabled())
        return true;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    auto &ws = platform::windowSystem();
    const float x = float(mouse->position().x() * ws.twipsPerPixelX());
    const float y = float(mouse->position().y() * ws.twipsPerPixelY());
    const qint16 shift = shiftCode(mouse->modifiers());
    // The box may be gone when a release has run a modal opening: nothing follows a call.
    switch (event->type()) {
    case QEvent::MouseMove: imgCombo_MouseMove(buttonCode(mouse->buttons()), shift, x, y); break;
    case QEvent::MouseButtonRelease: imgCombo_MouseUp(buttonCode(mouse->button()), shift, x, y); break;
    default: imgCombo_MouseDown(buttonCode(mouse->button()), shift, x, y); break;
    }
    return true;
}

void ucvPelidoraPrivate::showButtonPicture(bool pressed)
{
    m_showsPressed = pressed;
    imgCombo->setPixmap((pressed ? imgCboDown : imgCboUp)->pixmap());
}

void ucvPelidoraPrivate::imgCombo_MouseDown(qint16 Button, qint16, float, float)
{
    if (Button != 1)
        return;
    if (m_Panel && m_Panel->FlagShowPelidora()) {
        TimerHide->stop();
        m_Panel->HidePelidora();
        return;
    }
    showButtonPicture(true);
    m_BtnDown = true;
    m_BtnInside = true;
}

void ucvPelidoraPrivate::imgCombo_MouseMove(qint16, qint16, float X, float Y)
{
    if (!m_BtnDown)
        return;
    auto &ws = platform::windowSystem();
    const double width = imgCombo->width() * ws.twipsPerPixelX();
    const double height = imgCombo->height() * ws.twipsPerPixelY();
    // The edges count as outside.
    const bool outside = X <= 0 || X >= width || Y <= 0 || Y >= height;
    showButtonPicture(!outside);
    m_BtnInside = !outside;
}

void ucvPelidoraPrivate::imgCombo_MouseUp(qint16, qint16, float, float)
{
    if (!m_BtnDown)
        return;
    showButtonPicture(false);
    m_BtnDown = false;
    if (m_BtnInside) {
        m_BtnInside = false;
        openPanel();
    }
}

// ---- Opening ----

// The opening sequence of Alt+Down and the drop button.
void ucvPelidoraPrivate::openPanel()
{
    const QPointer<ucvPelidora> alive(q);
    changeDate(typedCause(), [this] { userCheckDate(); });
    if (!alive || !canOpenPanel())
        return;
    loadPanel(); // a box that went through InitProperties gets its panel now
    if (!alive)  // the rule deleted the box while the panel drew
        return;
    TimerHide->start();
    m_Panel->setCTRLH(q->height() * module().TwipsY);
    ShowPanel();
}

// The steps of an opening. Each runs on its own: one that throws is skipped and
// remembered, and the next one still runs, because a host may refuse any single part (its
// window system, its profile file, a locale that cannot read a date back) and the user
// should still get a panel to choose from. After a failure the panel is shown modal.
// Once the box is gone (deleted by the rule while the panel drew) no step runs.
class OpeningSteps
{
public:
    explicit OpeningSteps(ucvPelidora *box)
        : m_box(box)
    {
    }
    template<typename Step>
    void operator()(Step &&run)
    {
        if (!m_box)
            return;
        try {
            run();
        } catch (...) {
            m_failed = true;
        }
    }
    bool failed() const { return m_failed; }
    bool boxGone() const { return !m_box; }

private:
    const QPointer<ucvPelidora> m_box;
    bool m_failed = false;
};

// Fills, places and shows the panel, step by step.
void ucvPelidoraPrivate::ShowPanel()
{
    if (!m_Panel)
        return;
    MonthPanel &panel = *m_Panel;
    OpeningSteps step(q);
    int d = 0;
    step([&] {
        if (m_DateSet == 0)
            m_DateSet = 1;
        d = heldDateToShow(m_DateSet);
    });
    passPanelSettings(panel, step);
    // Drawing a month (making the parts, showing the date) asks the rule, which may delete
    // the box: nothing of it follows then.
    if (step.boxGone())
        return;
    step([&] { d = inListYears(d, m_DateOrder); });

    // Any Appearance but Flat, even one no designer offers, gets the 3D frame.
    const bool flat = m_Appearance == ucvPelidora::Flat;
    sizeAndPlacePanel(panel, step, flat);
    const bool modal = panelIsModal(step);
    showDateInPanel(panel, step, d);
    raisePanelDays(panel, step);
    showPanelFrame(panel, step, flat);
    if (step.boxGone())
        return;

    m_activationWait = kActivationWaitTicks;
    if (modal)
        showPanelModal();
    else
        showPanelModeless(panel, step);
}

void ucvPelidoraPrivate::passPanelSettings(MonthPanel &panel, OpeningSteps &step)
{
    step([&] { panel.setPelidoraBackColor(platform::colorFromOle(m_PelidoraBackColor)); });
    step([&] { panel.setLocked(m_Locked); });
    step([&] { panel.setDateRange(m_range); });
    // The first of these makes the parts, which draws a month: the box may be gone after it.
    step([&] { panel.cboMese()->setLocked(panel.Locked()); });
    step([&] { panel.cboAnno()->setLocked(panel.Locked()); });
    // Where the program cannot place a window (Wayland), the panel is a popup the compositor
    // places against the box's window.
    step([&] { panel.setPopup(!platform::windowSystem().placesTopLevels(), imgCombo); });
}

// Sized before it is placed, so that even the first opening sits against the strip.
void ucvPelidoraPrivate::sizeAndPlacePanel(MonthPanel &panel, OpeningSteps &step, bool flat)
{
    step([&] { panel.resize((flat ? panel.pic1D() : panel.pic3D())->size()); });
    step([&] { placePanel(); });
    const QColor frameColor = platform::colorFromOle(m_PelidoraBackColor);
    step([&] { panel.fraDay()->setBackColor(frameColor); });
    step([&] { panel.fraCombo()->setBackColor(frameColor); });
}

// Modal unless the box's parent window is of a class that takes modeless panels.
bool ucvPelidoraPrivate::panelIsModal(OpeningSteps &step)
{
    bool modal = true;
    step([&] {
        auto &ws = platform::windowSystem();
        m_hParent = ws.parentHandle(ws.handleOf(q));
        const QString windowClass = ClassNameOf(m_hParent);
        WriteIniValue(QStringLiteral("WndParent"), QStringLiteral("Class"), windowClass,
                      QStringLiteral("pelidora.ini"));
        modal = !windowClass.contains(QLatin1String("Thunder"));
    });
    return modal;
}

void ucvPelidoraPrivate::showDateInPanel(MonthPanel &panel, OpeningSteps &step, int serial)
{
    // Only an earlier failure leaves no date here; today stands in.
    const bool held = core::holdsDate(serial);
    int shown = held ? serial : platform::today();
    if (!m_range.isDefault())
        shown = m_range.clamp(shown); // a narrowed range opens on its nearest day
    const int day = platform::dayOf(shown), month = platform::monthOf(shown), year = platform::yearOf(shown);
    step([&] { panel.lblDay()->setText(QString::number(day)); });
    step([&] { panel.setMeseIndex(month - 1); });
    module().FlagSkipYearClick = held;
    step([&] { panel.setAnnoIndex(year - 1900); });
    module().FlagSkipYearClick = false;
    step([&] { panel.setDayOverIndex(qint16(day - 1)); });
    step([&] { panel.setButtonDay(qint16(panel.DayOverIndex() + 1)); });
}

// Every day cell raised, then the month drawn with the shown day sunk.
void ucvPelidoraPrivate::raisePanelDays(MonthPanel &panel, OpeningSteps &step)
{
    for (qint16 i = 0; i < 31; ++i) {
        step([&] { panel.setbDayOver(i, false); });
        step([&] {
            DayCell *cell = panel.btnDay(i);
            cell->setLinL(platform::colorOf(platform::FixedColor::White));
            cell->setLinLY2(315);
            cell->setLinT(platform::colorOf(platform::FixedColor::White));
            cell->setLinR(platform::colorOf(platform::FixedColor::Black));
            cell->setLinB(platform::colorOf(platform::FixedColor::Black));
            cell->setBackColor(platform::colorOf(platform::FixedColor::LightGrey));
        });
        step([&] { panel.PrintBoxDay(i); });
    }
    step([&] { panel.DayMouseOver(panel.DayOverIndex()); });
    step([&] { panel.picContainer()->show(); });
    step([&] { panel.setFlagShowPelidora(true); });
    step([&] { panel.cboMese_Click(); });
}

void ucvPelidoraPrivate::showPanelFrame(MonthPanel &panel, OpeningSteps &step, bool flat)
{
    const auto frame = [&panel, flat](bool shown) { return shown == flat ? panel.pic1D() : panel.pic3D(); };
    const int inset = flat ? 90 : 120;
    step([&] { panel.placeContainer(frame(true), inset, inset); });
    step([&] { frame(false)->hide(); });
    step([&] { frame(true)->show(); });
}

void ucvPelidoraPrivate::showPanelModeless(MonthPanel &panel, OpeningSteps &step)
{
    auto &ws = platform::windowSystem();
    bool showed = false;
    step([&] {
        panel.show();
        panel.activateWindow();
        showed = true;
    });
    if (step.failed()) {
        // A host that refused the modeless show gets the modal one. After an earlier
        // failure a panel already up stays modeless, without the steps below.
        if (showed)
            outsideClick()->watch(&panel);
        else
            showPanelModal();
        return;
    }
    step([&] { panel.lblDay()->setFocus(Qt::OtherFocusReason); });
    if (m_Locked)
        step([&] { ws.hideCaret(ws.handleOf(panel.lblDay())); });
    step([&] {
        MakeTopMost(ws.handleOf(&panel));
        panel.activateWindow(); // making it topmost may have shown it anew
    });
    outsideClick()->watch(&panel);
}

// Below the strip, or above it where the panel would pass the bottom of the box's screen;
// held inside that screen's left and right edges, and its top. Twips throughout, pixels at
// the edge.
void ucvPelidoraPrivate::placePanel()
{
    auto &ws = platform::windowSystem();
    const mpelidora &m = module();
    QRect rect;
    m_ApiResult = ws.windowRect(ws.handleOf(q), &rect) ? 1 : 0;
    if (m_Panel->isPopup()) {
        // Qt asks the compositor for the popup at this point of the box's window; it flips or
        // slides the popup to keep it on the screen, which this program cannot see.
        m_Panel->move(q->mapToGlobal(QPoint(0, q->height())));
        return;
    }
    const QRect screen = ws.screenRectTwips(ws.handleOf(q));
    const qint32 panelWidth = in32Bits(qint64(m_Panel->width()) * m.TwipsX);
    const qint32 panelHeight = in32Bits(qint64(m_Panel->height()) * m.TwipsY);

    qint32 top = in32Bits(qint64(m.TwipsY) * rect.top() + m_Panel->CTRLH());
    qint32 left = in32Bits(qint64(m.TwipsX) * rect.left());
    // Exactly touching the bottom still opens below.
    if (float(in32Bits(qint64(top) + panelHeight)) > float(qint64(screen.y()) + screen.height())) {
        top = roundedIn32Bits(double(m.TwipsY) * rect.top() - panelHeight);
        // On a screen too short for the panel on either side it covers the box instead.
        if (top < screen.y())
            top = screen.y();
    }
    if (left < screen.x())
        left = screen.x();
    const qint64 screenRight = qint64(screen.x()) + screen.width();
    if (in32Bits(qint64(left) + panelWidth) > screenRight)
        left = roundedIn32Bits(double(screenRight) - panelWidth);
    m_Panel->move(twips::toPxX(left), twips::toPxY(top));
}

// Shows the panel and returns once it is out of sight again, whichever way it went: a
// choice, Escape, the watch, About, or the panel or this box being destroyed.
void ucvPelidoraPrivate::showPanelModal()
{
    const QPointer<MonthPanel> panel(m_Panel);
    panel->show();
    panel->activateWindow();
    outsideClick()->watch(panel);
    if (m_modalLoop)
        return; // already inside this box's modal show, which ends with the panel as well
    QEventLoop loop;
    QObject::connect(panel, &MonthPanel::hidden, &loop, &QEventLoop::quit);
    QObject::connect(panel, &QObject::destroyed, &loop, &QEventLoop::quit);
    m_modalLoop = &loop;
    const QPointer<ucvPelidora> self(q);
    if (panel->isVisible())
        loop.exec();
    if (self)
        m_modalLoop = nullptr;
}

QString ucvPelidoraPrivate::ClassNameOf(qint32 hWnd)
{
    // The window system hands at most 149 characters to a 150-character buffer.
    const QString name = platform::windowSystem().classNameOf(hWnd).left(149);
    m_ApiResult = qint32(name.size());
    return name;
}

qint32 ucvPelidoraPrivate::WriteIniValue(const QString &section, const QString &key, const QString &value,
                                         const QString &fileName)
{
    // A program that embeds the box may switch the record off; the opening goes on as after
    // a failed write.
    m_ApiResult =
        profileRecordEnabled() ? platform::windowSystem().writeProfileValue(section, key, value, fileName) : 0;
    return m_ApiResult;
}

// ---- Focus watch ----

bool ucvPelidoraPrivate::focusInPanel(qint32 focus)
{
    // A hidden panel holds no focus, whatever the window system has yet to tell.
    if (focus == 0 || !m_Panel->isVisible())
        return false;
    auto &ws = platform::windowSystem();
    const qint16 over = m_Panel->DayOverIndex();
    if (over >= 0 && over <= 30 && focus == ws.handleOf(m_Panel->btnDay(over)))
        return true;
    return focus == ws.handleOf(m_Panel->lblDay()) || focus == ws.handleOf(m_Panel->cboMese())
        || focus == ws.handleOf(m_Panel->cboAnno());
}

void ucvPelidoraPrivate::TimerHide_Timer()
{
    if (!m_Panel) {
        TimerHide->stop();
        return;
    }
    const qint32 focus = platform::windowSystem().focusedHandle();
    if (focusInPanel(focus)) {
        m_activationWait = 0;
        const float x = m_Panel->X();
        const float y = m_Panel->Y();
        const qint16 buttonDay = m_Panel->ButtonDay();
        const qint16 selMonth = m_Panel->SelMonth();
        const qint16 selYear = m_Panel->SelYear();
        Q_EMIT q->DayMouseMove(buttonDay, selMonth, selYear, x, y);
        return;
    }
    // A panel just shown may get the focus a moment later, when the window system has
    // activated it.
    // A popup counts as active at once; its wait ends with the keyboard in it.
    const bool activated =
        m_Panel->isPopup() ? QGuiApplication::focusWindow() == m_Panel->windowHandle() : m_Panel->isActiveWindow();
    if (m_activationWait > 0 && m_Panel->isVisible() && !activated) {
        --m_activationWait;
        return;
    }
    m_activationWait = 0;

    // Closed from inside (a choice, Escape): the keyboard goes back to the box's window,
    // unless the user has moved on to another.
    const QWidget *active = QApplication::activeWindow();
    const bool giveBack = !m_Panel->isVisible() && (!active || active == m_Panel);
    m_Panel->HidePelidora();
    TimerHide->stop();
    if (giveBack)
        q->window()->activateWindow();
    if (!m_Panel->FlagRaiseClick())
        return;
    const QPointer<ucvPelidora> self(q);
    if (!m_Locked)
        changeDate(DateCause::User, [this] { writeDateSet(QString::number(m_Panel->DateSet())); });
    if (self && !m_Locked)
        commitToItemView();
    if (!self || !m_Panel)
        return;
    m_Panel->setFlagRaiseClick(false);
    Q_EMIT q->Click();
}

} // namespace pelidora
