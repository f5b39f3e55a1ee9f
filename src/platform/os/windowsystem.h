// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The window-system services the control, its panel and the About box use, named for what
// they do; a comment names the desktop call each one stands for. Everything that reaches
// the desktop (sounds, message boxes, the profile file, opening addresses, screen metrics,
// focus) goes through this class, so a test installs a subclass that records or fakes what
// it needs (setWindowSystem). Messages and sounds reach a host's MessageSink when one is
// installed (<pelidora/platform.h>).

#include <QColor>
#include <QRect>
#include <QString>

class QWidget;

namespace pelidora {

class MessageSink;

namespace platform {

// The dynamic property of a popup window whose own parts hold the focus (see focusedHandle).
inline constexpr char kOwnsFocusProperty[] = "ownsFocus";

class WindowSystem
{
public:
    virtual ~WindowSystem();

    // Window handles: small positive 32-bit numbers handed out per widget, never reused.
    // 0 is no window. (winId() is not used: it would turn widgets native.)
    qint32 handleOf(QWidget *widget);
    QWidget *widgetOf(qint32 handle) const;

    // GetWindowRect: global pixel rectangle of the window; false for an unknown handle.
    virtual bool windowRect(qint32 handle, QRect *rectPx);
    // GetParent: the window's parent widget; 0 for a top-level window or unknown handle.
    virtual qint32 parentHandle(qint32 handle);
    // GetClassName: the class a host declared for the window (dynamic property
    // "windowClass"), else its meta-object class name; empty for an unknown handle.
    virtual QString classNameOf(qint32 handle);
    // GetFocus: the widget that has the keyboard focus, 0 when none of ours has it. Focus
    // inside a popup counts as its parent's, unless the popup holds its own parts
    // (kOwnsFocusProperty set true on it).
    virtual qint32 focusedHandle();
    // Whether a top-level window shows where the program moves it. Not on Wayland, where
    // the compositor places top-level windows and only places a popup against its parent.
    virtual bool placesTopLevels();
    // SetWindowPos with HWND_TOPMOST: keeps a top-level window above the others, raised. A
    // popup already shown is left alone: new flags would remake it and end its grab.
    virtual bool makeTopmost(qint32 handle);
    // HideCaret: a line edit stops drawing its text cursor until it loses the focus.
    virtual bool hideCaret(qint32 handle);

    // GetSysColor: 2 is the active caption, 9 the caption text.
    enum SysColor { ColorActiveCaption = 2, ColorCaptionText = 9 };
    virtual QColor systemColor(int index);

    // Beep and MessageBeep: the sink's beep, else the desktop's.
    virtual void beep();
    enum MessageBeepType { MbIconAsterisk = 0x40 };
    virtual void messageBeep(unsigned type);

    // MessageBox: a modal message box, or the installed sink; style is the sum of a button
    // set and an icon (16 = critical). Returns the button pressed (1 = OK).
    enum { MbOk = 0, MbIconCritical = 16 };
    virtual int showMessage(const QString &text, int style, const QString &title = {});

    // WritePrivateProfileString: one value into an INI file in the user's configuration
    // folder, at every call, the rest of the file kept as it was (see profilefile.h); 0
    // when it was not written (a file that is not regular or above 1 MiB, no folder).
    virtual int writeProfileValue(const QString &section, const QString &key, const QString &value,
                                  const QString &fileName);
    // ShellExecute: hands a document or address to the desktop. Returns above 32 on
    // success, otherwise a shell error code (2 file not found, 3 path not found, 5 access
    // denied, 27 incomplete association, 31 no association, 0 other). A document is a path
    // (relative to the current folder) or a file: URL; of the addresses only mailto:, http:
    // and https: ones are opened, any other is refused with 5.
    virtual int openDocument(const QString &document);

    // Twips per pixel, horizontally and vertically (15 at 96 dots per inch).
    virtual double twipsPerPixelX();
    virtual double twipsPerPixelY();
    // The primary screen's size in twips.
    virtual int screenWidthTwips();
    virtual int screenHeightTwips();
    // The screen that holds the window (the primary one for an unknown handle): its
    // rectangle in twips, in the desktop's coordinates.
    virtual QRect screenRectTwips(qint32 handle);

    // The library's title and version numbers.
    virtual QString appTitle();
    int appMajor() const;
    int appMinor() const;
    int appRevision() const;
};

// The window system in use: the desktop's unless a test installed another.
WindowSystem &windowSystem();
// Installs ws (not owned; nullptr restores the desktop's). Returns the previous one.
WindowSystem *setWindowSystem(WindowSystem *ws);

// The host's sink for messages and sounds; nullptr when none is installed.
MessageSink *messageSink();

} // namespace platform
} // namespace pelidora
