#pragma once

// The window-system services the control, its panel and the About box use, under their
// well-known names. Everything that reaches the desktop (sounds, message boxes, the
// profile file, opening addresses, screen metrics, focus) goes through this class, so a
// test installs a subclass that records or fakes what it needs (setWindowSystem).

#include <pelidora/global.h>

#include <QColor>
#include <QRect>
#include <QString>

class QWidget;

namespace pelidora::platform {

class PELIDORA_EXPORT WindowSystem
{
public:
    virtual ~WindowSystem();

    // Window handles: small positive 32-bit numbers handed out per widget, never reused.
    // 0 is no window. (winId() is not used: it would turn widgets native.)
    qint32 handleOf(QWidget *widget);
    QWidget *widgetOf(qint32 handle) const;

    // Global pixel rectangle of the window; false for an unknown handle.
    virtual bool GetWindowRect(qint32 handle, QRect *rectPx);
    // Handle of the window's parent widget; 0 for a top-level window or unknown handle.
    virtual qint32 GetParent(qint32 handle);
    // The class a host declared for the window (dynamic property "windowClass"), else its
    // meta-object class name; empty for an unknown handle.
    virtual QString GetClassName(qint32 handle);
    // Handle of the widget that has the keyboard focus, 0 when none of ours has it.
    virtual qint32 GetFocus();
    // Keeps a top-level window above the others and raises it.
    virtual bool SetWindowPosTopMost(qint32 handle);
    // A line edit stops drawing its text cursor until it loses the focus.
    virtual bool HideCaret(qint32 handle);

    // System colours: 2 is the active caption, 9 the caption text.
    enum SysColor { ColorActiveCaption = 2, ColorCaptionText = 9 };
    virtual QColor GetSysColor(int index);

    virtual void Beep();
    enum MessageBeepType { MbIconAsterisk = 0x40 };
    virtual void MessageBeep(unsigned type);

    // A modal message box; style is the sum of a button set and an icon (16 = critical).
    // Returns the button pressed (1 = OK).
    enum { MbOk = 0, MbIconCritical = 16 };
    virtual int MessageBox(const QString &text, int style, const QString &title = {});

    // Writes one value to an INI file in the user's configuration folder; 0 on failure.
    virtual int WritePrivateProfileString(const QString &section, const QString &key,
                                          const QString &value, const QString &fileName);
    // Hands a document or address to the desktop. Returns above 32 on success, otherwise
    // a shell error code (2 file not found, 3 path not found, 5 access denied,
    // 27 incomplete association, 31 no association, 0 other).
    virtual int ShellExecute(const QString &document);

    // Twips per pixel, horizontally and vertically (15 at 96 dots per inch).
    virtual double twipsPerPixelX();
    virtual double twipsPerPixelY();
    // The primary screen's size in twips.
    virtual int screenWidthTwips();
    virtual int screenHeightTwips();

    // The library's title and version numbers.
    virtual QString appTitle();
    int appMajor() const;
    int appMinor() const;
    int appRevision() const;
};

// The window system in use: the desktop's unless a test installed another.
PELIDORA_EXPORT WindowSystem &windowSystem();
// Installs ws (not owned; nullptr restores the desktop's). Returns the previous one.
PELIDORA_EXPORT WindowSystem *setWindowSystem(WindowSystem *ws);

} // namespace pelidora::platform
