// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What the tests of files share: putting something other than a regular file where a
// file would be, telling what stands at a path, what a save left in a folder, and a file
// size limit that makes a write fail midway as a full disk does.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelidora::test {

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(absent)");
}

// Puts at path what a row names instead of a regular file: a FIFO, a directory, a link to
// itself; anything else is left as it is.
inline void makeAt(const QString &path, const QString &what)
{
    const QByteArray name = QFile::encodeName(path);
    if (what == "fifo" || what == "directory" || what == "loop")
        QFile::remove(path);
    if (what == "fifo")
        QVERIFY(mkfifo(name.constData(), 0600) == 0);
    else if (what == "directory")
        QVERIFY(QDir().mkdir(path));
    else if (what == "loop")
        QVERIFY(symlink(name.constData(), name.constData()) == 0);
}

// What stands at path, without following a link, and a regular file's bytes. Never opens
// anything but a regular file.
inline QString whatStandsAt(const QString &path)
{
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "nothing";
    if (S_ISLNK(info.st_mode))
        return "link to " + QFile::symLinkTarget(path);
    if (S_ISREG(info.st_mode))
        return "file " + QString::fromUtf8(fileBytes(path));
    return S_ISFIFO(info.st_mode) ? "fifo" : S_ISDIR(info.st_mode) ? "directory"
        : S_ISCHR(info.st_mode)                                  ? "character device"
                                                                 : "other";
}

// Every entry of folder, hidden ones included.
inline QStringList entriesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The hidden entries of folder: where a save writes its temporary file.
inline QStringList hiddenIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::System | QDir::Hidden
                                                              | QDir::NoDotAndDotDot);
}

// While it lives, files cannot grow beyond bytes, and a write past that fails (with EFBIG)
// instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit small{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

} // namespace pelidora::test
