// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/platform.h>

#include "platform/os/localedates.h"
#include "platform/os/olecolor.h"
#include "platform/os/regularfile.h"
#include "platform/os/windowsystem.h"

#include <atomic>
#include <utility>

namespace pelidora {

namespace {

MessageSink *&installedSink()
{
    static MessageSink *sink = nullptr;
    return sink;
}

std::atomic<bool> g_profileRecord{true};

} // namespace

MessageSink::~MessageSink() = default;

MessageSink *setMessageSink(MessageSink *sink)
{
    return std::exchange(installedSink(), sink);
}

MessageSink *platform::messageSink()
{
    return installedSink();
}

void showMessage(const QString &text, MessageSink::Icon icon, const QString &title)
{
    platform::windowSystem().showMessage(text, int(icon), title);
}

bool isSameFile(const QString &a, const QString &b)
{
    return platform::sameFile(a, b);
}

bool replaceFile(const QString &path, const QByteArray &bytes, QString *error)
{
    try {
        platform::replaceRegularFile(path, bytes);
        return true;
    } catch (const platform::FileError &failure) {
        if (error)
            *error = failure.reason;
        return false;
    }
}

void setProfileRecordEnabled(bool enabled)
{
    g_profileRecord = enabled;
}

bool profileRecordEnabled()
{
    return g_profileRecord;
}

QColor colorOfValue(quint32 value)
{
    return platform::colorFromOle(value);
}

QDate today()
{
    return platform::dateOfSerial(platform::today());
}

qint32 daySerial(const QDate &date)
{
    return platform::serialOfDate(date).value_or(-1);
}

QString shortDateText(const QDate &date)
{
    const std::optional<int> serial = platform::serialOfDate(date);
    return serial ? platform::shortDateText(*serial) : QString();
}

} // namespace pelidora
