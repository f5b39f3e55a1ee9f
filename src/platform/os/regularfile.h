// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Whole files read and replaced safely. Only a regular file, or a symbolic link to one, is
// read or replaced: anything else at the path (a FIFO, a device, a directory, a loop of
// links) is refused before it is opened, and opening never waits. A replacement is atomic:
// the new bytes go to a temporary file beside the old one (".NAME.pelidora-XXXXXX", NAME
// shortened to fit), which takes the old file's place only once complete and on disk, so a
// failure leaves the old file byte for byte. Such files that a killed save left behind are
// removed by the next save of the same file once they are 15 minutes old.

#include <QByteArray>
#include <QString>

namespace pelidora::platform {

struct FileError {
    enum class Step { Open, Read, TooLarge, Write };
    Step step;
    QString reason; // the system's words where it has them
};

// The bytes of the regular file at path; throws FileError, with Step::TooLarge when it
// holds more than maxBytes.
QByteArray readRegularFile(const QString &path, qint64 maxBytes);

// Puts bytes in place of the regular file at path, or creates it. Through a symbolic link
// the link's final target is replaced and the link kept. The new file gets the old one's
// permissions, and its owner and group where the process may give them. Hard links to
// the old file keep the old contents. Throws FileError (Step::Write).
void replaceRegularFile(const QString &path, const QByteArray &bytes);

// Whether a and b are one existing file (the same device and inode), through symbolic and
// hard links.
bool sameFile(const QString &a, const QString &b);

} // namespace pelidora::platform
