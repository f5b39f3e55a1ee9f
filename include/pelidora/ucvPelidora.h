#pragma once

#include <pelidora/global.h>
#include <pelidora/propertybag.h>
#include <pelidora/stdfont.h>

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QEventLoop;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;

namespace pelidora {

class OutsideClickWatch;
class Site;
class window;

// The date box: three entry fields (day, month, four-digit year, day and month in the
// locale's order) and a drop button that opens a month panel.
//
// A plain Qt program writes `new ucvPelidora(parent)` and gets a working date box showing
// today. A form host creates it with its own Site, then calls InitProperties (a new box)
// or ReadProperties (a stored one), WriteProperties to save and Terminate at the end.
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
    Q_CLASSINFO("Help:Enabled", "Returns/sets a value that determines whether an object can respond to user-generated events.")
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

    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
    Q_PROPERTY(AppearStyle Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(pelidora::StdFont Font READ Font WRITE setFontObject)
    Q_PROPERTY(QString DateSet READ DateSet WRITE setDateSet)
    Q_PROPERTY(QColor PelidoraBackColor READ PelidoraBackColor WRITE setPelidoraBackColor)
    Q_PROPERTY(qint32 hwnd READ hwnd DESIGNABLE false)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledProperty)
    Q_PROPERTY(short MousePointer READ MousePointer WRITE setMousePointer)

public:
    enum AppearStyle : int {
        Flat = 0,
        ThreeD = 1, // shown as "3D"
    };
    Q_ENUM(AppearStyle)

    // Standalone: a run-mode site whose font is the parent's; Initialize and
    // InitProperties have run.
    explicit ucvPelidora(QWidget *parent = nullptr);
    // Hosted: site (not owned; must outlive the box) gives the ambient values; only
    // Initialize has run, the host calls InitProperties or ReadProperties next.
    explicit ucvPelidora(Site *site, QWidget *parent = nullptr);
    ~ucvPelidora() override; // runs Terminate when the host has not

    // Life cycle, called by the host.
    void Initialize();
    void InitProperties();
    void ReadProperties(const PropertyBag &bag); // RuntimeError on a bad stored value
    void WriteProperties(PropertyBag &bag);
    void Terminate();

    // Properties. Every write raises the site's property-changed notice.
    QColor BackColor() const;
    void setBackColor(const QColor &color);
    QColor ForeColor() const;
    void setForeColor(const QColor &color);
    bool Locked() const;
    void setLocked(bool locked);
    AppearStyle Appearance() const;
    void setAppearance(int style); // RuntimeError 393 at run time, 6 outside 16 bits
    StdFont Font() const;          // the same object the box holds
    void setFontObject(const StdFont &font);
    QString DateSet();             // commits the typed fields first; "-1" for no date
    void setDateSet(const QString &text);
    QColor PelidoraBackColor() const;
    void setPelidoraBackColor(const QColor &color);
    qint32 hwnd();
    bool Enabled() const;
    void setEnabledProperty(bool enabled);
    short MousePointer() const;
    void setMousePointer(short pointer);

    // DateSet is the default member: assigning a text to the box writes DateSet.
    ucvPelidora &operator=(const QString &dateSet);

    Site *site() const;

    QSize sizeHint() const override;        // the module-wide size, in pixels
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    void About();

Q_SIGNALS:
    void Click();
    void DayMouseMove(short ButtonDay, short SelMonth, short SelYear, float X, float Y);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
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
    quint32 m_BackColor = 0xFFFFFF;         // 0x00BBGGRR or a system colour
    quint32 m_ForeColor = 0x000000;
    quint32 m_PelidoraBackColor = 0xC0C0C0;
    qint32 m_DateSet = -1;                  // day serial; below 2 means no date
    qint32 m_Today = 0;
    StdFont m_Font;
    bool m_Locked = false;
    qint16 m_MousePointer = 0;
    qint16 m_Appearance = Flat;
    qint16 m_DateOrder = 0;                 // 1 day first, 2 month first
    pelidora::window *m_Panel = nullptr;   // the month panel; a child top-level window

    // Fixed names: operations (ucvpelidora_entry.cpp, ucvpelidora_layout.cpp).
    void PrintDate(qint32 serial);
    void CheckDate();
    void ApplyFont(StdFont &font);
    void UserControl_Resize();
    void SetFieldsBackColor(quint32 color);
    void SetFieldsForeColor(quint32 color);
    void SetFieldsEnabled(bool enabled);
    void SetFieldsLocked(bool locked);

    // Fixed names: the drop-down (ucvpelidora_dropdown.cpp). Pointer positions are twips
    // inside imgCombo; Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt.
    void ShowPanel();
    void TimerHide_Timer();
    void imgCombo_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void imgCombo_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void imgCombo_MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    QString ClassNameOf(qint32 hWnd);
    qint32 WriteIniValue(const QString &section, const QString &key, const QString &value,
                         const QString &fileName);
    bool m_BtnDown = false;   // pressed with the left button while the panel was closed
    bool m_BtnInside = false; // while pressed: the pointer is over the button
    qint32 m_hParent = 0;     // the parent window, found at each opening
    qint32 m_ApiResult = 0;   // last window-system result; kept, not read

    // The drop-down's other entry points (ucvpelidora_dropdown.cpp).
    void openPanel();   // CheckDate, the watch on, the panel shown: Alt+Down and the button
    void loadPanel();   // ReadProperties in run mode: the panel made and set up
    void hidePanel();   // About: the panel out of sight
    void unloadPanel(); // Terminate: the panel gone

    // Drop-down helpers (ucvpelidora_dropdown.cpp).
    bool dropButtonEvent(QEvent *event); // imgCombo's pointer events; true: consumed
    void showButtonPicture(bool pressed);
    bool canOpenPanel() const;
    void placePanel();
    void showPanelModal();
    bool focusInPanel(qint32 focus);
    QPointer<QEventLoop> m_modalLoop;          // this box's running modal show
    OutsideClickWatch *m_outsideClick = nullptr;
    int m_activationWait = 0;                  // ticks left for a new panel to become active

    // Entry fields (ucvpelidora_entry.cpp).
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool fieldKeyPress(QLineEdit *field, QKeyEvent *event); // true: the key is consumed
    void fieldGotFocus(QLineEdit *field);
    void fieldLostFocus(QLineEdit *field);
    QLineEdit *fieldAfter(QLineEdit *field) const;

    // Layout (ucvpelidora_layout.cpp).
    void createConstituents();
    void applyMousePointer();
    void applyEnabled(bool enabled); // the box itself, then its parts from the read-back
    QSize sizePx() const;

    void notify(const QString &name); // the site's property-changed notice

    QPointer<Site> m_site;
    bool m_terminated = false;
    QLineEdit *m_clickFocus = nullptr; // got the focus by a click not yet released
    QSize m_sizeSet;                   // pixels; what UserControl_Resize last gave the box
};

} // namespace pelidora
