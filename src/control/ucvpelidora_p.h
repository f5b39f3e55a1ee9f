// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The inside of the date box: its constituent controls, the held date and the drop-down,
// under the fixed names the box's behaviour is described by. Split by concern over
// ucvpelidora.cpp (life cycle, properties, the date funnel), ucvpelidora_entry.cpp (the
// fields), ucvpelidora_layout.cpp (font and layout) and ucvpelidora_dropdown.cpp (panel).

#include <pelidora/stdfont.h>
#include <pelidora/ucvPelidora.h>

#include "panel/daymarks.h"
#include "platform/core/daterange.h"
#include "platform/core/dayavailability.h"
#include "platform/os/olecolor.h"

#include <QColor>
#include <QDate>
#include <QEvent>
#include <QHash>
#include <QSet>
#include <QPointer>
#include <QSize>

#include <optional>

class QEventLoop;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;

namespace pelidora {

class MonthPanel;
class OpeningSteps;
class OutsideClickWatch;
class OwnSite;
class Site;

// Thrown by the box's own searches when the availability rule has deleted the box, so
// that nothing more of it is read; changeDate, round every such search, catches it.
struct BoxGone {};

class ucvPelidoraPrivate : public DayMarks
{
public:
    ucvPelidoraPrivate(ucvPelidora *box, Site *site);

    // The inside of a box, for the library's own helpers around it (accessibility).
    static ucvPelidoraPrivate *get(ucvPelidora *box) { return box->d.get(); }

    ucvPelidora *const q;

    // Fixed names: constituent controls (objectName = the member's name).
    QLineEdit *txtDay = nullptr;
    QLineEdit *txtMonth = nullptr;
    QLineEdit *txtYear = nullptr;
    QLabel *slash1 = nullptr;
    QLabel *slash2 = nullptr;
    QLabel *imgCombo = nullptr;   // shows imgCboUp's or imgCboDown's picture
    QLabel *imgCboUp = nullptr;   // hidden: the released button picture
    QLabel *imgCboDown = nullptr; // hidden: the pressed button picture
    QTimer *TimerHide = nullptr;  // the panel watch; ticks go to TimerHide_Timer

    // Fixed names: property values and state.
    quint32 m_BackColor = platform::oleOf(platform::FixedColor::White); // or a system colour
    quint32 m_ForeColor = platform::oleOf(platform::FixedColor::Black);
    quint32 m_PelidoraBackColor = platform::oleOf(platform::FixedColor::LightGrey);
    qint32 m_DateSet = -1; // day serial; a date when core::holdsDate
    qint32 m_Today = 0;
    StdFont m_Font;
    bool m_Locked = false;
    qint16 m_MousePointer = 0;
    qint16 m_Appearance = ucvPelidora::Flat;
    qint16 m_DateOrder = 0;        // 1 day first, 2 month first
    MonthPanel *m_Panel = nullptr; // objectName "window"; a child top-level window

    // Fixed names: operations (ucvpelidora_entry.cpp, ucvpelidora_layout.cpp).
    void PrintDate(qint32 serial);
    void CheckDate();
    void ApplyFont(StdFont &font);
    void UserControl_Resize();
    void SetFieldsBackColor(quint32 color);
    void SetFieldsForeColor(quint32 color);
    void SetFieldsEnabled(bool enabled);
    void SetFieldsLocked(bool locked);
    // The colours of SetFieldsBackColor and SetFieldsForeColor, set with the strip's as one
    // palette; while m_holdFieldColors, they wait for the caller's applyFieldColors.
    std::optional<QColor> m_fieldBack, m_fieldFore;
    bool m_holdFieldColors = false;
    void applyFieldColors();
    // While it lives, the fields' colours wait; they are set once, as it ends.
    struct FieldColorsHeld {
        explicit FieldColorsHeld(ucvPelidoraPrivate &d)
            : d(d)
        {
            d.m_holdFieldColors = true;
        }
        ~FieldColorsHeld()
        {
            d.m_holdFieldColors = false;
            d.applyFieldColors();
        }
        Q_DISABLE_COPY_MOVE(FieldColorsHeld)
        ucvPelidoraPrivate &d;
    };

    // Fixed names: the drop-down (ucvpelidora_dropdown.cpp). Pointer positions are twips
    // inside imgCombo; Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt.
    void ShowPanel();
    void TimerHide_Timer();
    void imgCombo_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void imgCombo_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void imgCombo_MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    QString ClassNameOf(qint32 hWnd);
    qint32 WriteIniValue(const QString &section, const QString &key, const QString &value, const QString &fileName);
    bool m_BtnDown = false;   // pressed with the left button while the panel was closed
    bool m_BtnInside = false; // while pressed: the pointer is over the button
    qint32 m_hParent = 0;     // the parent window, found at each opening
    qint32 m_ApiResult = 0;   // last window-system result; kept, not read

    // ---- The held date as a QDate (ucvpelidora.cpp) ----

    // Who changed the held date: dateEdited follows dateChanged only for the user.
    enum class DateCause { Program, User };

    // The held date as it stands, without taking the typed fields over: a date for serials
    // from 2 (1 January 1900) to 31 December 9999, an invalid QDate for any other.
    QDate heldDate() const;
    // Runs change, which may change m_DateSet and throw, then announces what it changed.
    // Every change of the held date goes through here (m_DateSet also moves between no-date
    // values outside). The box itself never nests it, but a host's property-changed notice,
    // raised inside change, may read or write the date and so run it again within. The box
    // may be gone when it returns: nothing of the box may follow it. A change the box's
    // deletion cut short (BoxGone) ends here, unannounced.
    template<typename Change>
    void changeDate(DateCause cause, Change &&change)
    {
        const QDate before = heldDate();
        const QPointer<ucvPelidora> alive(q);
        try {
            change();
        } catch (const BoxGone &) {
            return;
        } catch (...) {
            if (alive)
                announceDate(before, cause);
            throw;
        }
        if (alive)
            announceDate(before, cause);
    }
    void announceDate(const QDate &before, DateCause cause);
    // The cause of taking the fields over: the user's when the user edited them since they
    // last showed the held date.
    DateCause typedCause() const;
    // What a DateSet read does before it answers: the fields taken over, no date as -1.
    void commitFields();
    // A DateSet write of a serial: held, shown, noticed; refused while the rule runs.
    void writeSerial(qint32 serial);
    // A DateSet write: a date text or a decimal serial.
    void writeDateSet(const QString &text);
    // A whole date pasted into the fields since they last showed the held date; other
    // edits of the user's leave a field modified.
    bool m_fieldsEdited = false;

    // ---- The date range (ucvpelidora.cpp) ----

    core::DateRange m_range;
    // Takes range, moves a held date outside it to the nearest bound, raises the notices
    // of the bounds written or moved (and "DateSet" for a moved date), then announces.
    void setRange(const core::DateRange &range, bool minimumWritten, bool maximumWritten);
    // A held date outside the range moves to its nearest bound and shows; true if it moved.
    bool holdInRange();
    // The last CheckDate moved the date it took over into the range.
    bool m_tookIntoRange = false;
    // CheckDate for a take-over of the user's (leaving a field, opening the panel): it
    // beeps when the range moved the date.
    void userCheckDate();

    // ---- Unavailable and noted days (ucvpelidora_days.cpp) ----

    quint8 m_offWeekdays = 0; // bit n set: ISO weekday n (1 Monday .. 7 Sunday) is off
    QSet<int> m_offSerials;
    ucvPelidora::AvailabilityRule m_rule;
    QHash<int, Note> m_notes;
    bool m_markToday = false;
    mutable int m_ruleDepth = 0; // inside a call of the rule
    // DayMarks for the panel.
    bool anyUnavailable() const override { return m_offWeekdays != 0 || !m_offSerials.isEmpty() || m_rule; }
    // The range is not asked. The rule is not asked again while it runs (the day counts as
    // available to it), and its answer counts for nothing once it has deleted the box.
    bool available(int serial) const override;
    Note note(int serial) const override { return m_notes.value(serial); }
    bool marksToday() const override { return m_markToday; }
    // available for the searches; throws BoxGone once the rule has deleted the box.
    core::DayTest dayTest() const;
    // The available day nearest to serial in the range, or serial when there is none.
    int nearestHeld(int serial) const;
    // A held unavailable date moves to the nearest available one and shows; true if it
    // moved. Sets m_noneAvailable when none was found.
    bool holdAvailable();
    bool m_noneAvailable = false;
    // The rules changed: a held date moves, an open panel redraws, the signal follows.
    void daysChanged();
    // An open panel redraws, asking the rule; false when the rule deleted the box.
    bool redrawOpenPanel();
    // True (with a warning) when a rule is running and must not see the box change.
    bool refusedInRule(const char *what) const;

    // The drop-down's other entry points (ucvpelidora_dropdown.cpp).
    void openPanel();   // CheckDate, the watch on, the panel shown: Alt+Down and the button
    void loadPanel();   // ReadProperties in run mode: the panel made and set up
    void hidePanel();   // About: the panel out of sight
    void unloadPanel(); // Terminate: the panel gone

    // Drop-down helpers (ucvpelidora_dropdown.cpp).
    bool dropButtonEvent(QEvent *event); // imgCombo's pointer events; true: consumed
    void showButtonPicture(bool pressed);
    bool m_showsPressed = false;
    bool canOpenPanel() const;
    // ShowPanel's steps, in the order it takes them.
    void passPanelSettings(MonthPanel &panel, OpeningSteps &step);
    void sizeAndPlacePanel(MonthPanel &panel, OpeningSteps &step, bool flat);
    bool panelIsModal(OpeningSteps &step);
    void showDateInPanel(MonthPanel &panel, OpeningSteps &step, int serial);
    // Of the panel alone: they may run on once the box is gone, their steps skipped.
    static void raisePanelDays(MonthPanel &panel, OpeningSteps &step);
    static void showPanelFrame(MonthPanel &panel, OpeningSteps &step, bool flat);
    void showPanelModeless(MonthPanel &panel, OpeningSteps &step);
    void placePanel();
    void showPanelModal();
    bool focusInPanel(qint32 focus);
    QPointer<QEventLoop> m_modalLoop;           // this box's running modal show
    OutsideClickWatch *outsideClick();          // made at the first opening
    void followPanel(OutsideClickWatch *watch); // the panel's hiding ends its watch
    OutsideClickWatch *m_outsideClick = nullptr;
    int m_activationWait = 0; // ticks left for a new panel to become active

    // Entry fields (ucvpelidora_entry.cpp).
    bool fieldEvent(QLineEdit *field, QEvent *event);       // true: consumed
    bool fieldKeyPress(QLineEdit *field, QKeyEvent *event); // true: the key is consumed
    void fieldGotFocus(QLineEdit *field);
    // Text that reaches a field other than by typed keys: Shift+Insert, the menu's Paste, a
    // middle click, a drop. A whole date fills the three fields; other text goes in as its
    // digits would when typed, with one beep when anything was left out.
    void pasteInto(QLineEdit *field, const QString &text);
    void showFieldMenu(QLineEdit *field, const QPoint &globalPos);
    void fieldLostFocus(QLineEdit *field);
    QLineEdit *fieldAfter(QLineEdit *field) const;
    QLineEdit *fieldBefore(QLineEdit *field) const;
    // The box as a whole gains and loses the focus as a widget with a single editor does,
    // so that an item view or a mapper sees it, on the box itself; moves between the
    // fields, into the panel or a field's menu do not count.
    void followFocus(QLineEdit *field, QEvent::Type type, Qt::FocusReason reason);
    bool m_focusInside = false;

    // An item view's editor (ucvpelidora_itemeditor.cpp).
    bool m_itemEditor = false;
    // True when key, pressed in field, ends the edit and has gone to the box itself, where
    // the delegate of an item view or a mapper watches its editor.
    bool endsItemEdit(QLineEdit *field, QKeyEvent *event);
    // A day chosen in the panel goes to the item view holding the box as its editor.
    void commitToItemView();

    // Layout (ucvpelidora_layout.cpp).
    void createConstituents();
    void fitPictures();              // each picture stretched to its place
    void followApplicationPalette(); // the strip's palette made again
    qint64 m_appPaletteKey = 0;      // of the application's palette it was made from
    // The window's activation stops at the box: its parts look the same either way, and a
    // form of many boxes would deliver it to every part of every box at each opening.
    void windowActivationChanged(bool active);
    // Whether any part looks different in an inactive window; asked again after any
    // palette change of the box or a part.
    bool activationChangesLooks();
    std::optional<bool> m_activationChangesLooks;
    void applyMousePointer();
    void applyEnabled(bool enabled); // the box itself, then its parts from the read-back
    QSize sizePx() const;

    void notify(const QString &name); // the site's property-changed notice
    // The RuntimeError of a write of property, through the site: the caller returns.
    void raiseError(const QString &property, int number);
    bool m_writeThroughQt = false; // refused writes go to Site::refuseWrite, never thrown

    // QWidget's font and enabled state, changed by others, taken as Font and Enabled writes.
    void takeWidgetFont();
    void takeWidgetEnabled();
    bool m_settingOwnState = false; // ApplyFont and applyEnabled set the widget's own
    bool m_ownEnabled = true;       // the box's own enabled state as the parts last took it

    QPointer<Site> m_site;
    OwnSite *m_ownSite = nullptr; // made when no host gave a site; a child of the box
    bool m_runsWhenShown = false; // the box's own site: run mode from the first showing
    bool m_terminated = false;
    QLineEdit *m_clickFocus = nullptr;    // got the focus by a click not yet released
    QLineEdit *m_focusAwayFrom = nullptr; // lost the focus to a menu or another window
    QSize m_sizeSet;                      // pixels; what UserControl_Resize last gave the box
    // Twips: the strip laid out from this box's own font. gCtlHeight and gCtlWidth hold
    // the last size any box computed; a box beside one with another font keeps its own.
    qint16 m_ctlHeight = 285;
    qint16 m_ctlWidth = 2040;
};

} // namespace pelidora
