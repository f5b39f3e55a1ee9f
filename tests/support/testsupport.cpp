#include "support/testsupport.h"

#include "platform/dayserial.h"
#include "platform/localedates.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace pelidora::test {

FakeWindowSystem::FakeWindowSystem()
    : m_previous(platform::setWindowSystem(this))
{
}

FakeWindowSystem::~FakeWindowSystem()
{
    platform::setWindowSystem(m_previous);
}

int FakeWindowSystem::showMessage(const QString &text, int style, const QString &title)
{
    messages << Message{text, style, title};
    return 1;
}

int FakeWindowSystem::writeProfileValue(const QString &section, const QString &key,
                                                const QString &value, const QString &fileName)
{
    profileWrites << ProfileWrite{section, key, value, fileName};
    return 1;
}

int FakeWindowSystem::openDocument(const QString &document)
{
    opened << document;
    return shellResult;
}

int FakeWindowSystem::screenWidthTwips()
{
    return screenWidth ? *screenWidth : WindowSystem::screenWidthTwips();
}

int FakeWindowSystem::screenHeightTwips()
{
    return screenHeight ? *screenHeight : WindowSystem::screenHeightTwips();
}

QRect FakeWindowSystem::screenRectTwips(qint32 handle)
{
    QRect rect = WindowSystem::screenRectTwips(handle);
    if (screenWidth)
        rect.setRect(0, rect.y(), *screenWidth, rect.height());
    if (screenHeight)
        rect.setRect(rect.x(), 0, rect.width(), *screenHeight);
    return rect;
}

QColor FakeWindowSystem::systemColor(int index)
{
    if (index == ColorActiveCaption && captionColor)
        return *captionColor;
    if (index == ColorCaptionText && captionTextColor)
        return *captionTextColor;
    return WindowSystem::systemColor(index);
}

qint32 FakeWindowSystem::focusedHandle()
{
    return focus ? *focus : WindowSystem::focusedHandle();
}

TodayPin::TodayPin(int year, int month, int day)
    : m_serial(core::serialFromCivil({year, month, day}))
{
    platform::pinToday(m_serial);
}

TodayPin::~TodayPin()
{
    platform::pinToday(std::nullopt);
}

LocalePin::LocalePin(const QString &name)
{
    QLocale::setDefault(QLocale(name));
}

LocalePin::~LocalePin()
{
    QLocale::setDefault(m_previous);
}

namespace {

AccessibleEvents *recording = nullptr;

// Only a platform's bridge to assistive technology can turn it on.
QPlatformAccessibility *platformAccessibility()
{
    return QGuiApplicationPrivate::platformIntegration()->accessibility();
}

} // namespace

AccessibleEvents::AccessibleEvents()
    : m_previous(QAccessible::installUpdateHandler(&AccessibleEvents::record))
{
    recording = this;
    platformAccessibility()->setActive(true);
}

AccessibleEvents::~AccessibleEvents()
{
    platformAccessibility()->setActive(false);
    QAccessible::installUpdateHandler(m_previous);
    recording = nullptr;
}

void AccessibleEvents::record(QAccessibleEvent *event)
{
    if (recording)
        recording->m_events.append({event->object(), event->type()});
}

QList<QObject *> AccessibleEvents::of(QAccessible::Event type) const
{
    QList<QObject *> objects;
    for (const auto &[object, t] : m_events) {
        if (t == type)
            objects << object.data();
    }
    return objects;
}

} // namespace pelidora::test
