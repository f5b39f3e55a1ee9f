// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What the widget tests share: a window system that records instead of reaching the
// desktop, a pinned today and a pinned locale, and code run from inside a modal loop.

#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "platform/os/windowsystem.h"

#include <QAccessible>
#include <QColor>
#include <QList>
#include <QLocale>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace pelidora::test {

class FakeWindowSystem : public platform::WindowSystem
{
public:
    FakeWindowSystem() : m_previous(platform::setWindowSystem(this)) {} // installs itself
    ~FakeWindowSystem() override { platform::setWindowSystem(m_previous); } // puts the previous one back

    struct Message { QString text; int style; QString title; };
    struct ProfileWrite { QString section, key, value, fileName; };

    int beeps = 0;
    QList<unsigned> messageBeeps;
    QList<Message> messages;
    QList<ProfileWrite> profileWrites;
    QStringList opened;          // documents handed to openDocument
    int shellResult = 42;        // what openDocument answers
    std::optional<int> screenWidth, screenHeight; // twips, of every screen
    std::optional<QColor> captionColor, captionTextColor;
    std::optional<qint32> focus; // handle focusedHandle answers
    std::optional<bool> placesWindows; // what placesTopLevels answers

    void beep() override { ++beeps; }
    void messageBeep(unsigned type) override { messageBeeps << type; }
    int showMessage(const QString &text, int style, const QString &title) override
    {
        messages << Message{text, style, title};
        return 1;
    }
    int writeProfileValue(const QString &section, const QString &key, const QString &value,
                          const QString &fileName) override
    {
        profileWrites << ProfileWrite{section, key, value, fileName};
        return 1;
    }
    int openDocument(const QString &document) override
    {
        opened << document;
        return shellResult;
    }
    bool placesTopLevels() override { return placesWindows ? *placesWindows : WindowSystem::placesTopLevels(); }
    int screenWidthTwips() override { return screenWidth ? *screenWidth : WindowSystem::screenWidthTwips(); }
    int screenHeightTwips() override { return screenHeight ? *screenHeight : WindowSystem::screenHeightTwips(); }
    QRect screenRectTwips(qint32 handle) override; // sized as above, from the origin
    QColor systemColor(int index) override;
    qint32 focusedHandle() override { return focus ? *focus : WindowSystem::focusedHandle(); }

private:
    platform::WindowSystem *m_previous;
};

// Pins today for the lifetime of the object.
class TodayPin
{
public:
    explicit TodayPin(int year, int month, int day) : m_serial(core::serialFromCivil({year, month, day}))
    {
        platform::pinToday(m_serial);
    }
    ~TodayPin() { platform::pinToday(std::nullopt); }
    int serial() const { return m_serial; }

private:
    int m_serial;
};

// Sets QLocale's default for the lifetime of the object.
class LocalePin
{
public:
    explicit LocalePin(const QString &name) { QLocale::setDefault(QLocale(name)); }
    ~LocalePin() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

// While it lives, assistive technology counts as active, and accessibility events are
// recorded here instead of reaching the platform.
class AccessibleEvents
{
public:
    AccessibleEvents();
    ~AccessibleEvents();
    // The objects that got events of the type, first to last.
    QList<QObject *> of(QAccessible::Event type) const;
    // Where the object's first event of the type stands among all events; -1 for none.
    qsizetype indexOf(const QObject *object, QAccessible::Event type) const;
    void clear() { m_events.clear(); }

private:
    static void record(QAccessibleEvent *event);
    QList<std::pair<QPointer<QObject>, QAccessible::Event>> m_events;
    QAccessible::UpdateHandler m_previous;
};

// How runInLoop went.
struct LoopRun {
    bool ran = false;    // inside() was called
    bool modal = false;  // ... before start() returned: start() ran a modal loop
    bool forced = false; // giveUp() ended a window still up after five seconds
};

// Calls start(), which may run a modal loop, and inside(window) from the event loop once
// up() returns a window: within that loop, before start() returns, when start() runs one.
// With waitAfter, a window that comes up only after start() returned (a modeless one) is
// waited for too. Five seconds on, giveUp() ends what is still up and says whether there
// was anything, so that no test waits for a person.
LoopRun runInLoop(const std::function<QWidget *()> &up, const std::function<void(QWidget *)> &inside,
                  const std::function<void()> &start, const std::function<bool()> &giveUp, bool waitAfter);

} // namespace pelidora::test
