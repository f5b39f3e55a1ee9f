// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "support/testsupport.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QTest>
#include <QTimer>

namespace pelidora::test {

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

qsizetype AccessibleEvents::indexOf(const QObject *object, QAccessible::Event type) const
{
    for (qsizetype i = 0; i < m_events.size(); ++i) {
        if (m_events[i].first == object && m_events[i].second == type)
            return i;
    }
    return -1;
}

LoopRun runInLoop(const std::function<QWidget *()> &up, const std::function<void(QWidget *)> &inside,
                  const std::function<void()> &start, const std::function<bool()> &giveUp, bool waitAfter)
{
    LoopRun run;
    bool returned = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *window = up()) {
            poll.stop();
            run.ran = true;
            run.modal = !returned;
            if (inside)
                inside(window);
        }
    });
    poll.start(1);
    QTimer::singleShot(5000, &poll, [&] { run.forced = giveUp(); });
    start();
    returned = true;
    if (waitAfter) // run tells how the wait ended
        static_cast<void>(QTest::qWaitFor([&] { return run.ran || run.forced; }));
    return run;
}

} // namespace pelidora::test
