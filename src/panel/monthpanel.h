// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The month panel (objectName "window"): a frameless top-level form that one date box owns. It shows a
// day field, a month list, a year list, a row of weekday headings and 31 day cells. Day d
// always sits in cell d - 1; the heading row rotates so that its first label names the
// weekday of the 1st.
//
// The date box drives it through the members below and reads a choice back through
// FlagRaiseClick and DateSet; the panel never reaches into the date box.
//
// A panel costs little until it is used: its parts (fields, lists, headings, cells, frame
// pictures) are made at its first showing or at the first call that needs one of them.
// Pelidora_Form_Load takes today and the locale when it runs and leaves its state as ever;
// parts made later start as the set-up would have left them.

#include "platform/core/daterange.h"
#include "platform/os/olecolor.h"

#include <QColor>
#include <QLocale>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;

namespace pelidora {

class DayCell;
class DayMarks;
class DayHeading;
class FramePicture;
class PanelFrame;
class PanelList;

class MonthPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qint16 DayOverIndex READ DayOverIndex WRITE setDayOverIndex)
    Q_PROPERTY(qint16 ButtonDay READ ButtonDay WRITE setButtonDay)
    Q_PROPERTY(qint16 SelMonth READ SelMonth WRITE setSelMonth)
    Q_PROPERTY(qint16 SelYear READ SelYear WRITE setSelYear)
    Q_PROPERTY(float X READ X)
    Q_PROPERTY(float Y READ Y)
    Q_PROPERTY(qint32 DateSet READ DateSet WRITE setDateSet)
    Q_PROPERTY(bool FlagShowPelidora READ FlagShowPelidora WRITE setFlagShowPelidora)
    Q_PROPERTY(qint32 CTRLH READ CTRLH WRITE setCTRLH)
    Q_PROPERTY(bool FlagRaiseClick READ FlagRaiseClick WRITE setFlagRaiseClick)

public:
    // A hidden, frameless top-level window of 6465 x 3225 twips, its parts not made yet.
    // Call Pelidora_Form_Load before the first showing.
    explicit MonthPanel(QWidget *parent = nullptr);
    ~MonthPanel() override;

    // Index (0..30) of the cell that last got the sunken look.
    qint16 DayOverIndex() const { return m_DayOverIndex; }
    void setDayOverIndex(qint16 value) { m_DayOverIndex = value; }
    // Day, month (1..12) and year last highlighted by pointer or keyboard.
    qint16 ButtonDay() const { return m_ButtonDay; }
    void setButtonDay(qint16 value) { m_ButtonDay = value; }
    qint16 SelMonth() const { return m_SelMonth; }
    void setSelMonth(qint16 value) { m_SelMonth = value; }
    qint16 SelYear() const { return m_SelYear; }
    void setSelYear(qint16 value) { m_SelYear = value; }

    // Redraws the grid for the month and year selected in the lists; nothing while either
    // list has no selection.
    void cboMese_Click();
    // One-time set-up: weekday names, twips per pixel, both lists, today selected. Later
    // calls do nothing.
    void Pelidora_Form_Load();
    // Hides the panel (state kept), the frame pictures and picContainer; clears
    // FlagShowPelidora.
    void HidePelidora();
    // Draws day Index + 1 in cell Index. RuntimeError 9 outside 0..30.
    void PrintBoxDay(qint16 Index);
    // Sunken look for cell Index, and its day becomes the selected day (also when
    // Locked). RuntimeError 9 outside 0..30.
    void DayMouseOver(qint16 Index);

    // Where the pointer entered the highlighted cell, twips inside the cell; 0 until it
    // enters one after the panel is shown.
    float X() const { return m_X; }
    float Y() const { return m_Y; }

    // The chosen date as a day serial.
    qint32 DateSet() const { return m_DateSet; }
    void setDateSet(qint32 value) { m_DateSet = value; }
    // The panel is open.
    bool FlagShowPelidora() const { return m_FlagShowPelidora; }
    void setFlagShowPelidora(bool value) { m_FlagShowPelidora = value; }
    // The date box's height in twips; kept for the date box, unused here.
    qint32 CTRLH() const { return m_CTRLH; }
    void setCTRLH(qint32 value) { m_CTRLH = value; }
    // A day was chosen and the date box has yet to take it over.
    bool FlagRaiseClick() const { return m_FlagRaiseClick; }
    void setFlagRaiseClick(bool value) { m_FlagRaiseClick = value; }

    // Background of a sunken cell, from the next sunken look on.
    void setPelidoraBackColor(const QColor &color) { m_PelidoraBackColor = color; }
    QColor PelidoraBackColor() const { return m_PelidoraBackColor; }
    // Marks cell Index as sunken or not. RuntimeError 9 outside 0..30, nothing changed.
    void setbDayOver(qint16 Index, bool NewValue);
    bool bDayOver(qint16 Index) const; // RuntimeError 9 outside 0..30
    // Read-only date box: a choice leaves DateSet alone, the pointer does not move the
    // selected day, the day field shows no caret.
    void setLocked(bool value) { m_Locked = value; }
    bool Locked() const { return m_Locked; }
    // The days a choice may fall on, from the next redraw on: the others are shown as not
    // available and neither pointer, keys nor lists reach them. Outside the default range
    // the keys stop at its bounds instead of passing from 2100 to 1900.
    void setDateRange(const core::DateRange &range) { m_range = range; }
    const core::DateRange &dateRange() const { return m_range; }
    // What the box says of single days (not owned; outlives the panel, or is taken back,
    // nullptr, when the box goes while the panel asks it), asked at each redraw: unavailable
    // days are greyed and out of reach as days outside the range are.
    void setDayMarks(const DayMarks *marks) { m_marks = marks; }

    // Constituent controls (objectName = accessor name; cells "btnDay_0".."btnDay_30"),
    // made by the first call of any of them.
    QLineEdit *lblDay() const { return parts().m_lblDay; }
    QString lblDayTag() const { return m_lblDayTag; }        // day number of the sunken cell
    PanelList *cboMese() const { return parts().m_cboMese; } // index 0..11 is January..December
    PanelList *cboAnno() const { return parts().m_cboAnno; } // index 0..200 is 1900..2100
    DayCell *btnDay(int index) const;                        // RuntimeError 9 outside 0..30
    DayHeading *giorno(int index) const;                     // RuntimeError 9 outside 0..6
    PanelFrame *fraDay() const { return parts().m_fraDay; }
    PanelFrame *fraCombo() const { return parts().m_fraCombo; }
    PanelFrame *picContainer() const { return parts().m_picContainer; }
    FramePicture *pic1D() const { return parts().m_pic1D; }
    FramePicture *pic3D() const { return parts().m_pic3D; }
    // The parts have been made.
    bool hasParts() const { return m_hasParts; }

    void setVisible(bool visible) override; // showing makes the parts first

    // Select a list entry from code; the list's click handler runs inside the call, also
    // when the index does not change. For the year list, FlagSkipYearClick in module()
    // suppresses the redraw.
    void setMeseIndex(int index);
    void setAnnoIndex(int index);

    // Moves picContainer into a frame picture at the given offset (twips), keeping its
    // visibility.
    void placeContainer(FramePicture *frame, int leftTwips, int topTwips);

    // Made a frameless popup instead of a top-level window (while hidden), where only a popup
    // is placed against its parent window. A press on noReplay that closes the popup is not
    // handed on to it.
    void setPopup(bool popup, QWidget *noReplay);
    bool isPopup() const { return windowType() == Qt::Popup; }

Q_SIGNALS:
    // The panel went out of sight (HidePelidora, close, or the window system).
    void hidden();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Fixed names: handlers and cell routines.
    void btnDay_Click(qint16 Index);
    void btnDay_MouseMove(qint16 Index, qint16 Button, qint16 Shift, float X, float Y);
    void lblDay_KeyDown(qint16 KeyCode, qint16 Shift);
    void lblDay_KeyPress(qint16 &KeyAscii);
    void cboMese_KeyPress(qint16 &KeyAscii);
    void cboAnno_KeyPress(qint16 &KeyAscii);
    void cboAnno_Click();
    void lblDay_GotFocus();
    void Form_Resize();
    void RaiseBoxDay(qint16 Index);
    void SinkBoxDay(qint16 Index);

    // Helpers.
    // The panel with its parts made.
    const MonthPanel &parts() const
    {
        if (!m_hasParts)
            const_cast<MonthPanel *>(this)->makeParts(); // a panel is never made const
        return *this;
    }
    void makeParts();
    // The part of the set-up that lives in the parts: the lists filled, the year of the
    // set-up's today listed, then its month (which draws the grid), its day in the field.
    void listLoadedDay();
    // The sunken look shared by DayMouseOver and SinkBoxDay: cell, index, flag and tag.
    void sinkLook(qint16 Index);
    // Raises cell index (if in 0..30) and the cell that has the sunken look.
    void raiseSelection(int index);
    // cboMese_Click's steps: the days the locale gives the month, its cells shown and
    // enabled by the range, the weekday headings, the field's day selected in the grid.
    int monthLength(int year, int month) const;
    void showDayCells(int year, int month, int last);
    void drawHeadings(int year, int month);
    void selectFieldDay();
    void placeParts();
    void cellPointerMoved(int index, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF posPx,
                          QPointF globalPx);
    void previousMonth();
    void nextMonth();
    // Year and month selected together, redrawn once.
    void showMonth(int year, int month);
    // The serial of a day of the listed month; nullopt while a list selects nothing.
    std::optional<int> listedSerial(int day) const;
    // The day field read as the nearest day of the shown month in the range.
    int fieldDay() const;
    void setFieldDay(int day);
    bool cellShown(int day) const;
    bool cellOpen(int day) const; // shown and in the range
    static void checkCell(int index);
    // Unavailable, noted and today's cells of the month drawn (monthpanel_days.cpp).
    void markDays(int year, int month, int last);
    bool someDayOff() const;
    // The open day of the shown month nearest to day, the later one on a tie.
    std::optional<int> nearestOpen(int day) const;
    // Up and Down over unavailable days: to the next available one in the direction.
    void stepOverDays(bool forward);

    // Fixed names: state.
    qint16 m_DayOverIndex = 0;
    qint16 m_ButtonDay = 0;
    qint16 m_SelMonth = 0;
    qint16 m_SelYear = 0;
    qint16 ChosenDay = 0;
    qint16 ChosenMonth = 0;
    qint16 ChosenYear = 0;
    float m_X = 0;
    float m_Y = 0;
    bool FormLoaded = false;
    qint16 DateOrder = 0;
    bool m_FlagShowPelidora = false;
    bool m_FlagRaiseClick = false;
    qint32 m_DateSet = 0;
    qint32 m_CTRLH = 0;
    QColor m_PelidoraBackColor = platform::colorOf(platform::FixedColor::LightGrey);
    std::array<bool, 31> m_bDayOver{};
    bool m_Locked = false;

    // Set by Pelidora_Form_Load: its today (a day serial) and locale.
    int m_loadedToday = 0;
    QLocale m_loadedLocale;

    // Constituent controls, owned through the widget tree; made by makeParts.
    bool m_hasParts = false;
    QPointer<QWidget> m_noReplay;
    bool m_framesHidden = false; // HidePelidora ran before the parts were made
    FramePicture *m_pic1D = nullptr;
    FramePicture *m_pic3D = nullptr;
    PanelFrame *m_picContainer = nullptr;
    PanelFrame *m_fraCombo = nullptr;
    PanelFrame *m_fraDay = nullptr;
    QLineEdit *m_lblDay = nullptr;
    QString m_lblDayTag;
    PanelList *m_cboMese = nullptr;
    PanelList *m_cboAnno = nullptr;
    std::array<DayHeading *, 7> m_giorno{};
    std::array<DayCell *, 31> m_btnDay{};
    int m_monthLength = 31; // visible cells, [28, 31]
    core::DateRange m_range;
    // The days of the shown month in the range, within [1, m_monthLength]; the whole month
    // while it has none.
    int m_firstOpen = 1;
    int m_lastOpen = 31;
    const DayMarks *m_marks = nullptr;
    std::array<bool, 31> m_dayOff{}; // of the month drawn: ruled out by the box
    int m_listsFromCode = 0;         // inside setMeseIndex or setAnnoIndex: no choice of the user's
    QPoint m_restingPointer;         // global, where the pointer was when the panel appeared
    bool m_pointerMoved = false;
};

} // namespace pelidora
