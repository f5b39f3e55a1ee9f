// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/os/windowsystem.h"

#include "platform/core/twips.h"
#include "platform/os/profilefile.h"

#include <pelidora/platform.h>
#include <pelidora/version.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProxyStyle>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace pelidora::platform {

namespace {

constexpr char kHandleProperty[] = "_pelidora_hwnd";

// Draws a line edit without its text cursor.
class NoCaretStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Gives the line edit its own style back when it loses the focus, as a hidden caret comes
// back with the next focus.
class CaretRestorer : public QObject
{
public:
    CaretRestorer(QLineEdit *edit, NoCaretStyle *style)
        : QObject(edit)
        , m_style(style)
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut) {
            auto *edit = static_cast<QLineEdit *>(watched);
            edit->setStyle(nullptr);
            m_style->deleteLater();
            deleteLater();
            edit->removeEventFilter(this);
        }
        return false;
    }

private:
    NoCaretStyle *m_style;
};

// Handles are shared by every WindowSystem, so a test's replacement sees the same windows.
struct HandleRegistry {
    QHash<qint32, QPointer<QWidget>> widgets;
    qint32 nextHandle = 0;
};

HandleRegistry &handles()
{
    static HandleRegistry registry;
    return registry;
}

WindowSystem *&installed()
{
    static WindowSystem *ws = nullptr;
    return ws;
}

} // namespace

WindowSystem::~WindowSystem() = default;

qint32 WindowSystem::handleOf(QWidget *widget)
{
    if (!widget)
        return 0;
    const QVariant known = widget->property(kHandleProperty);
    if (known.isValid())
        return known.toInt();
    HandleRegistry &registry = handles();
    const qint32 handle = ++registry.nextHandle;
    widget->setProperty(kHandleProperty, handle);
    registry.widgets.insert(handle, widget);
    QObject::connect(widget, &QObject::destroyed, widget, [handle] { handles().widgets.remove(handle); });
    return handle;
}

QWidget *WindowSystem::widgetOf(qint32 handle) const
{
    return handles().widgets.value(handle);
}

bool WindowSystem::windowRect(qint32 handle, QRect *rectPx)
{
    QWidget *w = widgetOf(handle);
    if (!w || !rectPx)
        return false;
    *rectPx = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    return true;
}

qint32 WindowSystem::parentHandle(qint32 handle)
{
    QWidget *w = widgetOf(handle);
    if (!w || w->isWindow())
        return 0;
    return handleOf(w->parentWidget());
}

QString WindowSystem::classNameOf(qint32 handle)
{
    QWidget *w = widgetOf(handle);
    if (!w)
        return {};
    const QVariant declared = w->property("windowClass");
    if (declared.isValid())
        return declared.toString();
    return QString::fromLatin1(w->metaObject()->className());
}

qint32 WindowSystem::focusedHandle()
{
    // While a list is dropped open the focus sits in its popup; the list keeps it as far
    // as its owner can tell.
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->window()->windowType() == Qt::Popup && focus->window()->parentWidget()
           && !focus->window()->property(kOwnsFocusProperty).toBool())
        focus = focus->window()->parentWidget();
    return handleOf(focus);
}

bool WindowSystem::placesTopLevels()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool WindowSystem::makeTopmost(qint32 handle)
{
    QWidget *w = widgetOf(handle);
    if (!w || !w->isWindow())
        return false;
    if (w->windowType() == Qt::Popup && w->isVisible())
        return true;
    if (!(w->windowFlags() & Qt::WindowStaysOnTopHint)) {
        // Changing the flags of a shown window hides it; show it again.
        const bool wasVisible = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (wasVisible)
            w->show();
    }
    w->raise();
    return true;
}

bool WindowSystem::hideCaret(qint32 handle)
{
    auto *edit = qobject_cast<QLineEdit *>(widgetOf(handle));
    if (!edit)
        return false;
    if (dynamic_cast<NoCaretStyle *>(edit->style()))
        return true;
    auto *style = new NoCaretStyle;
    style->setParent(edit);
    edit->setStyle(style);
    new CaretRestorer(edit, style);
    return true;
}

QColor WindowSystem::systemColor(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case ColorActiveCaption: return palette.color(QPalette::Active, QPalette::Highlight);
    case ColorCaptionText: return palette.color(QPalette::Active, QPalette::HighlightedText);
    default: return palette.color(QPalette::Window);
    }
}

void WindowSystem::beep()
{
    if (MessageSink *sink = messageSink())
        sink->beep();
    else
        QApplication::beep();
}

void WindowSystem::messageBeep(unsigned)
{
    WindowSystem::beep();
}

int WindowSystem::showMessage(const QString &text, int style, const QString &title)
{
    const QString caption = title.isEmpty() ? appTitle() : title;
    if (MessageSink *sink = messageSink()) {
        sink->showMessage(text, MessageSink::Icon(style & 0xF0), caption);
        return 1;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText); // messages may quote names from a form
    box.setText(text);
    switch (style & 0xF0) {
    case 16: box.setIcon(QMessageBox::Critical); break;
    case 32: box.setIcon(QMessageBox::Question); break;
    case 48: box.setIcon(QMessageBox::Warning); break;
    case 64: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 1;
}

int WindowSystem::writeProfileValue(const QString &section, const QString &key, const QString &value,
                                    const QString &fileName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return 0;
    return updateProfileFile(QDir(folder).filePath(fileName), section, key, value) ? 1 : 0;
}

int WindowSystem::openDocument(const QString &document)
{
    if (document.trimmed().isEmpty())
        return 2;
    const QString scheme = QUrl(document).scheme().toLower();
    QString target;
    if (scheme.isEmpty() || scheme == QLatin1String("file")) {
        // A local document, a path or a file: URL. The opener gets it as an absolute file:
        // URL, which it can never read as an option.
        const QString path = scheme.isEmpty() ? document : QUrl(document).toLocalFile();
        const QFileInfo info(path);
        if (path.isEmpty() || !info.exists())
            return 2;
        if (!info.isReadable())
            return 5;
        target = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded);
    } else {
        // Of the addresses only mail and web ones leave the program; nothing else can become
        // a command of the opener.
        const QUrl url(document, QUrl::StrictMode);
        if (!url.isValid()
            || !(scheme == QLatin1String("mailto") || scheme == QLatin1String("http")
                 || scheme == QLatin1String("https")))
            return 5;
        target = url.toString(QUrl::FullyEncoded);
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return 31;
    if (!QProcess::startDetached(opener, {target}, QDir::rootPath()))
        return 0;
    return 42;
}

double WindowSystem::twipsPerPixelX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? core::twipsPerPixelAt(screen->logicalDotsPerInchX()) : 15.0;
}

double WindowSystem::twipsPerPixelY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? core::twipsPerPixelAt(screen->logicalDotsPerInchY()) : 15.0;
}

int WindowSystem::screenWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? core::twipsFromPixels(screen->geometry().width(), twipsPerPixelX()) : 0;
}

int WindowSystem::screenHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? core::twipsFromPixels(screen->geometry().height(), twipsPerPixelY()) : 0;
}

QRect WindowSystem::screenRectTwips(qint32 handle)
{
    const QWidget *w = widgetOf(handle);
    const QScreen *screen = w ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect px = screen->geometry();
    const double x = twipsPerPixelX(), y = twipsPerPixelY();
    const int left = core::twipsFromPixels(px.x(), x), top = core::twipsFromPixels(px.y(), y);
    return QRect(left, top, core::twipsFromPixels(double(px.x()) + px.width(), x) - left,
                 core::twipsFromPixels(double(px.y()) + px.height(), y) - top);
}

QString WindowSystem::appTitle()
{
    return QStringLiteral("Pelidora");
}

int WindowSystem::appMajor() const
{
    return PELIDORA_VERSION_MAJOR;
}

int WindowSystem::appMinor() const
{
    return PELIDORA_VERSION_MINOR;
}

int WindowSystem::appRevision() const
{
    return PELIDORA_VERSION_REVISION;
}

WindowSystem &windowSystem()
{
    static WindowSystem desktop;
    WindowSystem *ws = installed();
    return ws ? *ws : desktop;
}

WindowSystem *setWindowSystem(WindowSystem *ws)
{
    WindowSystem *previous = installed();
    installed() = ws;
    return previous;
}

} // namespace pelidora::platform
