// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>
#include <pelidora/stdfont.h>

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <memory>

namespace pelidora {

class PropertyBag;
class Site;
class ucvPelidoraPrivate;

/**
 * The date box: three entry fields (day, month, four-digit year; day and month in the
 * locale's order) and a drop button that opens a month panel.
 *
 * A plain Qt program writes `new ucvPelidora(parent)` and gets a working date box showing
 * today. It reads and writes the date as a QDate (`date`, the USER property, so item views
 * and QDataWidgetMapper use it) and hears of changes through dateChanged and dateEdited.
 *
 * A form host creates the box with its own Site, then calls InitProperties (a new box) or
 * ReadProperties (a stored one), WriteProperties to save and Terminate at the end. The
 * properties, the method About and the events Click and DayMouseMove are the interface a
 * form host and its stored forms know, under their own names.
 *
 * Typing changes only the fields. The fields are taken over into the held date when it is
 * read (`date`, `DateSet`), when the panel opens, and when a field is left holding a day,
 * month or year out of range; Tab and Enter between the fields take nothing over.
 */
class PELIDORA_EXPORT ucvPelidora : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("DefaultProperty", "DateSet")
    Q_CLASSINFO("Help:BackColor", "Returns/sets the background color used to display text and graphics in an object.")
    Q_CLASSINFO("Help:ForeColor", "Returns/sets the foreground color used to display text and graphics in an object.")
    Q_CLASSINFO("Help:Locked", "Returns/sets a value that determines whether you can edit an object.")
    Q_CLASSINFO("Help:Appearance", "Returns/sets whether or not an object is painted at run time with 3-D effects.")
    Q_CLASSINFO("Help:Font", "Returns a Font object.")
    Q_CLASSINFO("Help:DateSet", "Returns/sets the date selected from user.")
    Q_CLASSINFO("Help:About", "Show the information dialog box.")
    Q_CLASSINFO("Help:PelidoraBackColor", "Returns/sets the background color used for pelidora dispaly.")
    Q_CLASSINFO("Help:hwnd", "Returns a handle (from Microsoft Windows) to an object's window.")
    Q_CLASSINFO("Help:Enabled",
                "Returns/sets a value that determines whether an object can respond to user-generated events.")
    Q_CLASSINFO("Help:MousePointer", "Returns/sets the type of mouse pointer displayed when over part of an object.")
    Q_CLASSINFO("Help:Click", "Fired when the user presses and releases the mouse button over the control.")
    Q_CLASSINFO("Help:DayMouseMove", "Occurs while the mouse move over the pelidora portion of the custom control.")
    Q_CLASSINFO("DispId:BackColor", "0x68030007")
    Q_CLASSINFO("DispId:ForeColor", "0x68030006")
    Q_CLASSINFO("DispId:Locked", "0x68030005")
    Q_CLASSINFO("DispId:Appearance", "0x68030004")
    Q_CLASSINFO("DispId:Font", "-512")
    Q_CLASSINFO("DispId:DateSet", "0")
    Q_CLASSINFO("DispId:About", "-552")
    Q_CLASSINFO("DispId:PelidoraBackColor", "0x68030003")
    Q_CLASSINFO("DispId:hwnd", "0x68030002")
    Q_CLASSINFO("DispId:Enabled", "0x68030001")
    Q_CLASSINFO("DispId:MousePointer", "0x68030000")
    Q_CLASSINFO("DispId:Click", "1")
    Q_CLASSINFO("DispId:DayMouseMove", "2")

    // The date range: ids of its own, clear of the interface's above.
    Q_CLASSINFO("Help:minimumDate", "Returns/sets the earliest date the box holds.")
    Q_CLASSINFO("Help:maximumDate", "Returns/sets the latest date the box holds.")
    Q_CLASSINFO("DispId:minimumDate", "0x68040000")
    Q_CLASSINFO("DispId:maximumDate", "0x68040001")
    // No DispId: a form host neither shows nor stores it; Qt Designer does.
    Q_CLASSINFO("Help:markToday", "Returns/sets whether today's date is marked in the month panel.")

    /** DESIGNABLE is what Qt Designer shows and a .ui file stores: the font object and the
     *  locale's date text cannot be stored there, so QWidget's font and date stand in for them.
     *  A form host shows the properties that have a DispId. */
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)           /**< the fields' text */
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)                      /**< the user cannot change the date */
    Q_PROPERTY(AppearStyle Appearance READ Appearance WRITE writeAppearance) /**< flat or 3D */
    Q_PROPERTY(pelidora::StdFont Font READ Font WRITE setFontObject DESIGNABLE false)      /**< the font object */
    Q_PROPERTY(QString DateSet READ DateSet WRITE setDateSet DESIGNABLE false)             /**< the date as text */
    Q_PROPERTY(QColor PelidoraBackColor READ PelidoraBackColor WRITE setPelidoraBackColor) /**< the panel's */
    Q_PROPERTY(qint32 hwnd READ hwnd DESIGNABLE false) /**< the box's window handle */
    /** Not designable: in Qt Designer and .ui files, QWidget's enabled stands in for it. */
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledProperty DESIGNABLE false)
    /** The stored values behind the three colours; see BackColorValue. */
    Q_PROPERTY(quint32 BackColorValue READ BackColorValue WRITE setBackColorValue DESIGNABLE false)
    Q_PROPERTY(
        quint32 ForeColorValue READ ForeColorValue WRITE setForeColorValue DESIGNABLE false) /**< see BackColorValue */
    Q_PROPERTY(quint32 PelidoraBackColorValue READ PelidoraBackColorValue WRITE setPelidoraBackColorValue
                   DESIGNABLE false)                                       /**< see BackColorValue */
    Q_PROPERTY(int MousePointer READ MousePointer WRITE writeMousePointer) /**< 16-bit: see the setter */
    /** The same date as DateSet. */
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged USER true)
    /** The dates the box holds; see setDateRange. */
    Q_PROPERTY(QDate minimumDate READ minimumDate WRITE setMinimumDate RESET clearMinimumDate NOTIFY dateRangeChanged)
    Q_PROPERTY(QDate maximumDate READ maximumDate WRITE setMaximumDate RESET clearMaximumDate NOTIFY
                   dateRangeChanged) /**< see setDateRange */
    /** Today's cell is marked in the panel; see setMarkToday. Never in a form's property bag. */
    Q_PROPERTY(bool markToday READ markToday WRITE setMarkToday NOTIFY markTodayChanged)
    /** The box is an item view's editor; see setItemEditor. Never stored. */
    Q_PROPERTY(bool itemEditor READ isItemEditor WRITE setItemEditor DESIGNABLE false)

public:
    /** How the box is painted (Appearance). */
    enum AppearStyle : int {
        Flat = 0,   /**< flat */
        ThreeD = 1, /**< shown as "3D" */
    };
    Q_ENUM(AppearStyle)

    /** Standalone: Initialize and InitProperties have run, so the box shows today. Its site
     *  (font: the parent's) is in design mode until the box is first shown and in run mode
     *  from then on: what the code setting up a form writes (a .ui form's setupUi) is the
     *  form's design, Appearance included; writes after the first showing are run-time ones.
     *
     *  This site never throws, since Qt calls setters itself (style sheets, setProperty,
     *  QUiLoader, language bindings) and an exception through Qt ends the program: a write
     *  that raises a run-time error is reported as a warning in the logging category
     *  pelidora.control ("Pelidora: Appearance not set: run-time error 393: ...") and
     *  changes nothing. A form host's own Site raises it. */
    explicit ucvPelidora(QWidget *parent = nullptr);
    /** Hosted: @p site (not owned; must outlive the box) gives the ambient values. Only
     *  Initialize has run: the host calls InitProperties or ReadProperties next. Without a
     *  site, the box makes its own as a standalone one does, which never throws. */
    explicit ucvPelidora(Site *site, QWidget *parent = nullptr);
    /** Same as ucvPelidora(static_cast<QWidget *>(nullptr)): a bare nullptr names no site,
     *  so it would otherwise match both constructors above. */
    explicit ucvPelidora(std::nullptr_t)
        : ucvPelidora(static_cast<QWidget *>(nullptr))
    {
    }
    /** Runs Terminate when the host has not. */
    ~ucvPelidora() override;

    /** The held date, after taking the typed fields over as a DateSet read does, which may
     *  change it: hence not const. An invalid QDate when the box holds no date. */
    QDate date();
    /** Holds @p date, brought into [minimumDate, maximumDate] (by default 1 January 1900 to
     *  31 December 2100) as QDateEdit does: an earlier date holds the minimum, a later one
     *  the maximum. An invalid QDate holds no date. */
    void setDate(const QDate &date);

    /** @name Date range
     *  The dates the box holds, 1 January 1900 to 31 December 2100 unless narrowed; a bound
     *  beyond those limits is taken as the limit. setDate brings a date into the range at
     *  once, and so does a change of the range to a date held outside it (raising the
     *  "DateSet" notice). Typed and pasted dates are brought into it when the fields are
     *  taken over, with a beep when the user took them over. The month panel offers only
     *  the days in the range: outside the default range Up, Down, Page Up and Page Down stop
     *  at a bound instead of passing from 2100 to 1900. A DateSet write and ReadProperties
     *  store the date as given; the range applies when the fields are next taken over.
     *  Each write raises the notice of its bound ("minimumDate", "maximumDate"). */
    /** @{ */
    QDate minimumDate() const;
    /** An invalid date changes nothing; a maximum before @p date moves to it. */
    void setMinimumDate(const QDate &date);
    /** Back to 1 January 1900. */
    void clearMinimumDate();
    QDate maximumDate() const;
    /** An invalid date changes nothing; a minimum after @p date moves to it. */
    void setMaximumDate(const QDate &date);
    /** Back to 31 December 2100. */
    void clearMaximumDate();
    /** Both bounds at once; nothing changes unless both are valid. A @p max before @p min
     *  is taken as @p min. */
    void setDateRange(const QDate &min, const QDate &max);
    /** @} */

    /** Whether a day can be chosen: true when it can. */
    using AvailabilityRule = std::function<bool(const QDate &date)>;

    /** @name Unavailable and noted days
     *  Days inside the range the user cannot choose: weekdays, single dates and a rule,
     *  together. None by default. They are the program's, never stored with the form.
     *
     *  The panel greys them, refuses a click on them, steps over them with Up and Down, and
     *  on Page Up, Page Down and opening takes the nearest available day of the month shown
     *  (the later one on a tie). A typed, pasted or setDate date on one moves to the nearest
     *  available day in the range (the later one on a tie), as the range moves a date, with
     *  the same beeps; a DateSet write and ReadProperties keep the date until the fields are
     *  next taken over. When no day within 732 days of it is available, the date stays.
     *  Any change of these moves a held date that became unavailable and redraws an open
     *  panel; each raises availabilityChanged. */
    /** @{ */
    QList<Qt::DayOfWeek> unavailableWeekdays() const;
    void setUnavailableWeekdays(const QList<Qt::DayOfWeek> &weekdays);
    QList<QDate> unavailableDates() const;
    /** Invalid dates are left out. */
    void setUnavailableDates(const QList<QDate> &dates);
    /** @p rule is asked about the days shown in the panel (once per day each time it is
     *  drawn) and about the days a search passes (at most 732 on each side of its start).
     *  It must be cheap and must not change the box: while it runs, the setters of this
     *  group, updateAvailability and any change of the date or the range (setDate, clear,
     *  a DateSet write, the range's setters) refuse with a warning, and it is never asked
     *  again from inside itself (isDateAvailable there leaves it out). Any other change may
     *  be overwritten by the action that asked. A rule that deletes the box (or its
     *  window) ends that action: nothing more of the box is asked, read or signalled, and
     *  an open panel closes; deleteLater() lets the action finish first. A rule that
     *  throws counts as "available", with a warning. An empty rule removes it. A rule has
     *  no change signal: call updateAvailability when its answers change. */
    void setAvailabilityRule(const AvailabilityRule &rule);
    bool hasAvailabilityRule() const;
    /** A day inside the range that none of the three rules out; a day outside the range or
     *  an invalid date is not available. */
    bool isDateAvailable(const QDate &date) const;

    /** A short note for @p date (a holiday's name, "fully booked"), shown as a marker in
     *  @p color on its cell, as its tooltip and in its accessible description. An empty
     *  @p note removes it; an invalid @p color takes the palette's highlight. */
    void setDateNote(const QDate &date, const QString &note, const QColor &color = QColor());
    QString dateNote(const QDate &date) const;
    QColor dateNoteColor(const QDate &date) const;
    void clearDateNotes();

    /** Today's cell gets a marker of its own in the panel (a ring inside the cell), and its
     *  accessible description says it is today. False by default. */
    bool markToday() const;
    void setMarkToday(bool mark);
    /** @} */

    /** @name An item view's editor
     *  False by default: Enter moves on to the next field, Tab walks the fields and the box
     *  commits only when the focus leaves it, as on a form. True makes the box end an edit
     *  as a QDateEdit editor does, through the delegate that watches it (any delegate an
     *  item view or a QDataWidgetMapper installs, QStyledItemDelegate's included): Return
     *  or Enter commits and closes the editor, Escape closes it without committing, Tab in
     *  the year field (always the last) commits and moves on to the next item, Shift+Tab in
     *  the first field to the previous one; Tab between the fields and the other keys stay
     *  as they are. Opening the month panel keeps the editor open, and a day chosen there
     *  is committed to the item view at once, the editor staying open. DateItemDelegate
     *  makes its editors so. */
    /** @{ */
    bool isItemEditor() const;       /**< the itemEditor property */
    void setItemEditor(bool editor); /**< never stored with a form */
    /** @} */

    /** @name Life cycle, called by a form host. */
    /** @{ */
    void Initialize();
    void InitProperties();
    /** Throws RuntimeError on a stored value of the wrong kind or range. */
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag);
    void Terminate();
    /** @} */

    /** @name Properties. Every write raises the site's property-changed notice. */
    /** @{ */
    QColor BackColor() const;
    void setBackColor(const QColor &color);
    QColor ForeColor() const;
    void setForeColor(const QColor &color);
    bool Locked() const;
    void setLocked(bool locked);
    /** Flat, ThreeD, or any other 16-bit value a form stored (painted as ThreeD). */
    AppearStyle Appearance() const;
    /** RuntimeError 393 at run time, 6 outside 16 bits (through Site::raiseError; the
     *  box's own site warns instead, and a write Qt makes goes to Site::refuseWrite),
     *  nothing changed. Takes an int, which an AppearStyle converts to, so that a value
     *  past 16 bits reaches it and raises 6 rather than being cut short by the call. */
    void setAppearance(int style);
    /** The same object the box holds. */
    StdFont Font() const;
    void setFontObject(const StdFont &font);
    /** The held date as the locale's short date text, "-1" for none; takes the typed fields
     *  over first. */
    QString DateSet();
    /** A date text or a decimal day serial; any other text holds no date. */
    void setDateSet(const QString &text);
    QColor PelidoraBackColor() const;
    void setPelidoraBackColor(const QColor &color);
    qint32 hwnd();
    bool Enabled() const;
    void setEnabledProperty(bool enabled);
    /** A 16-bit value, as an int like the property and the setter. */
    int MousePointer() const;
    /** RuntimeError 6 outside 16 bits (through Site::raiseError; the box's own site warns
     *  instead, and a write Qt makes goes to Site::refuseWrite), nothing changed. */
    void setMousePointer(int pointer);
    /** @} */

    /** @name The stored colour values.
     *  What BackColor, ForeColor and PelidoraBackColor hold and a form stores: 0x00BBGGRR,
     *  or 0x80000000 | n for the desktop's system colour n (15 is the button face, 5 the
     *  window background, 8 the window text), which follows the desktop's palette. The
     *  QColor properties read the colour a value paints with now; writing that colour back
     *  keeps the value, system colour included, and any other colour stores 0x00BBGGRR.
     *  Each write raises the notice of its colour property ("BackColor", ...). */
    /** @{ */
    quint32 BackColorValue() const; /**< one value each, read and written */
    void setBackColorValue(quint32 value);
    quint32 ForeColorValue() const;
    void setForeColorValue(quint32 value);
    quint32 PelidoraBackColorValue() const;
    void setPelidoraBackColorValue(quint32 value);
    /** @} */

    /** DateSet is the default member: assigning a text to the box writes DateSet. */
    ucvPelidora &operator=(const QString &dateSet);

    Site *site() const; /**< the form host's, or the box's own */

    /** The size of the strip laid out from the box's font, in pixels: the box keeps it
     *  whatever it is given. */
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override; /**< the same as sizeHint */

public Q_SLOTS:
    void About(); /**< Closes the panel and shows the About box. */

    /** Holds no date: a DateSet write of "-1", with its notice; dateChanged follows when a
     *  date was held. */
    void clear();

    /** The availability rule's answers changed: a held date that became unavailable moves,
     *  an open panel redraws, availabilityChanged follows. */
    void updateAvailability();

Q_SIGNALS:
    /** A day was clicked in the panel, which has closed; the box holds that day unless
     *  Locked. */
    void Click();
    /** Sent while the open panel has the focus: the day the mouse last moved onto, the
     *  panel's month and year, and where on that day it was. */
    void DayMouseMove(short ButtonDay, short SelMonth, short SelYear, float X, float Y);

    /** The held date changed, whatever changed it: a write of date or DateSet, a day chosen
     *  in the panel, ReadProperties or InitProperties, typed fields taken over, or a range
     *  that moved it. Sent once per change, after it; an invalid @p date is no date. */
    void dateChanged(const QDate &date);
    /** The user changed the held date: typed fields were taken over, or a day was chosen in
     *  the panel. Follows dateChanged. Unlike KDE's KDateComboBox::dateEdited, which is sent
     *  while a date is being typed, this one is sent only once the user's change is committed. */
    void dateEdited(const QDate &date);
    /** The range changed; follows the dateChanged of a held date it moved. */
    void dateRangeChanged(const QDate &min, const QDate &max);
    /** The unavailable weekdays, dates, rule or notes changed, or updateAvailability was
     *  called; follows the dateChanged of a held date it moved. */
    void availabilityChanged();
    /** markToday changed to \a mark. */
    void markTodayChanged(bool mark);

    /** Editing ended: the focus left the box as a whole, or Enter was pressed in its last
     *  field (the year), which moves the focus on as Enter always does. The typed fields are
     *  not taken over: a receiver that reads date() takes them over. */
    void editingFinished();

protected:
    /** @name Qt's handlers, overridden */
    /** @{ */
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    /** QWidget's font and enabled state act as Font and Enabled writes: setFont(font) makes
     *  the box hold a new font object of that font (at most 12 points, after the message) and
     *  lays the strip out; setEnabled(enabled) reaches the fields and the drop button. The
     *  font is the box's own: a later font change of its parent, of the application or of
     *  the desktop changes nothing in the box. */
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    /** @} */

private:
    // The properties' writers for Qt's meta-object calls, which no exception may cross.
    void writeAppearance(AppearStyle style);
    void writeMousePointer(int pointer);

    friend class ucvPelidoraPrivate;
    const std::unique_ptr<ucvPelidoraPrivate> d;
};

} // namespace pelidora
