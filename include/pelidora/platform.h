// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

/** @file
 *  What a program hosting date boxes may use of the library's platform layer: where
 *  messages and sounds go, safe file replacement, and the date the boxes take for today. */

#include <pelidora/global.h>

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QString>

namespace pelidora {

/** Receives the messages and sounds of the library and of a host that shows its own
 *  through showMessage. Without a sink a message is a modal message box and a sound is the
 *  desktop's beep; a host that runs where nobody can answer a box (offscreen, in a batch)
 *  installs one that writes the text elsewhere instead. */
class PELIDORA_EXPORT MessageSink
{
public:
    /** The icon a message box would show. */
    enum class Icon { None = 0, Critical = 16, Question = 32, Warning = 48, Information = 64 };

    virtual ~MessageSink();

    /** A message for the user, with its box's caption. Returns as the user's OK would: the
     *  caller goes on at once. */
    virtual void showMessage(const QString &text, Icon icon, const QString &title) = 0;
    /** The short sound of a refused key or of the About box appearing. */
    virtual void beep() = 0;
};

/** Installs sink (not owned; it must outlive its installation) for the current and every
 *  later message; nullptr puts the message boxes back. Returns the sink installed before. */
PELIDORA_EXPORT MessageSink *setMessageSink(MessageSink *sink);

/** Shows text as the library shows its own: a modal box, or through the installed sink. An
 *  empty title is the library's title, "Pelidora". */
PELIDORA_EXPORT void showMessage(const QString &text, MessageSink::Icon icon = MessageSink::Icon::Critical,
                                 const QString &title = {});

/** Whether a and b name one existing file, also through symbolic and hard links (the same
 *  device and inode): for a program that must not write its output over its input. */
PELIDORA_EXPORT bool isSameFile(const QString &a, const QString &b);

/** Puts bytes in place of the file at path, or creates it, the way forms are saved: they
 *  go to a temporary file beside it, which takes its place only once complete and on disk,
 *  so a failure leaves the old file as it was and nothing half-written. Only a regular file,
 *  or a symbolic link to one (whose target is replaced), is replaced: a FIFO, a device or a
 *  directory is refused without being opened. False on any failure, with the reason in
 *  *error when given. */
PELIDORA_EXPORT bool replaceFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

/** Whether each opening of a panel writes the profile record: the class of the box's
 *  parent window, key Class of section [WndParent] in pelidora.ini in the user's
 *  configuration folder. On unless a program switches it off, for every box of the
 *  process, from the next opening on. */
PELIDORA_EXPORT void setProfileRecordEnabled(bool enabled);
PELIDORA_EXPORT bool profileRecordEnabled(); /**< see setProfileRecordEnabled */

/** The colour a stored colour value paints with now: 0x00BBGGRR, or 0x80000000 | n for
 *  the desktop's system colour n, looked up in the application's palette (an unknown n
 *  gives the window colour). */
PELIDORA_EXPORT QColor colorOfValue(quint32 value);

/** Today as the date boxes take it: the system date, looked up at each call. */
PELIDORA_EXPORT QDate today();

/** The day serial a stored DateSet holds for date: whole days from 30 December 1899, so
 *  2 is 1 January 1900 and 36526 is 1 January 2000. -1 (no date) for an invalid date or one
 *  outside the years 100 to 9999. */
PELIDORA_EXPORT qint32 daySerial(const QDate &date);

/** The locale's short date text with a four-digit year, as DateSet reads a held date; empty
 *  for an invalid date or one outside the years 100 to 9999. */
PELIDORA_EXPORT QString shortDateText(const QDate &date);

} // namespace pelidora
