// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/os/regularfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelidora::platform {

namespace {

constexpr int kMaxLinkHops = 40; // the kernel's own limit

// Temporary files are named ".NAME.pelidora-XXXXXX" beside NAME, NAME shortened so that the
// whole stays within a file name's 255 bytes.
constexpr qsizetype kMaxNameBytes = NAME_MAX;
constexpr char kTemporaryMark[] = ".pelidora-";
constexpr qsizetype kRandomChars = 6;
// A save writes its temporary file within seconds; one left this long was a killed save's.
constexpr time_t kStaleSeconds = 15 * 60;

[[noreturn]] void fail(FileError::Step step, const QString &reason)
{
    throw FileError{step, reason};
}

[[noreturn]] void failWithErrno(FileError::Step step)
{
    fail(step, qt_error_string(errno));
}

QString notRegular(mode_t mode)
{
    const char *what = S_ISDIR(mode) ? "a directory"
        : S_ISFIFO(mode)             ? "a FIFO"
        : S_ISCHR(mode)              ? "a character device"
        : S_ISBLK(mode)              ? "a block device"
        : S_ISSOCK(mode)             ? "a socket"
                                     : "of an unknown kind";
    return QStringLiteral("not a regular file (%1)").arg(QLatin1String(what));
}

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now, so that a failing close is seen.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The path at the end of a chain of symbolic links (path itself when it is none), which
// need not exist yet.
QByteArray finalTarget(QByteArray path)
{
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            if (errno == ENOENT)
                return path;
            failWithErrno(FileError::Step::Write);
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (length < 0)
            failWithErrno(FileError::Step::Write);
        link.truncate(length);
        path = link.startsWith('/') ? link : directoryOf(path) + '/' + link;
    }
    errno = ELOOP;
    failWithErrno(FileError::Step::Write);
}

// ".NAME.pelidora-" for the file name NAME, cut at a character so that the random part fits.
QByteArray temporaryStem(const QByteArray &name)
{
    const qsizetype room = kMaxNameBytes - 1 - qsizetype(sizeof kTemporaryMark - 1) - kRandomChars;
    qsizetype keep = qMin(name.size(), room);
    while (keep < name.size() && keep > 0 && (uchar(name.at(keep)) & 0xC0) == 0x80)
        --keep; // not inside a UTF-8 sequence
    return '.' + name.left(keep) + kTemporaryMark;
}

bool isRandomPart(QByteArrayView part)
{
    return part.size() == kRandomChars && std::all_of(part.begin(), part.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
           });
}

// Removes what saves of the file killed midway left in folder: regular files of exactly
// this stem's pattern, the user's own, untouched for a while (a save running now is not).
void removeStaleTemporaries(const QByteArray &folder, const QByteArray &stem)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (!name.startsWith(stem) || !isRandomPart(name.sliced(stem.size())))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid() && now - info.st_mtime > kStaleSeconds)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// A new file beside target that no one else has opened.
std::pair<int, QByteArray> createBeside(const QByteArray &target)
{
    static constexpr char kChars[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray stem = temporaryStem(target.mid(slash + 1));
    removeStaleTemporaries(directoryOf(target), stem);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = target.left(slash + 1) + stem;
        for (qsizetype i = 0; i < kRandomChars; ++i)
            name += kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0)
            return {fd, name};
        if (errno != EEXIST)
            failWithErrno(FileError::Step::Write);
    }
    failWithErrno(FileError::Step::Write);
}

// Gives the new file the old one's owner and group, or the group alone, as far as the
// process may; otherwise the file stays the process's own, as any new file would. Done
// before the permissions, since a change of owner clears the set-user and set-group bits.
void keepOwner(int fd, const struct stat &old)
{
    [[maybe_unused]] const bool kept =
        ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
}

void writeAll(int fd, const QByteArray &bytes)
{
    // Each write is checked to the end: a short write alone does not say that the disk is
    // full, the next one does.
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            failWithErrno(FileError::Step::Write);
        done += written;
    }
}

} // namespace

QByteArray readRegularFile(const QString &path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        failWithErrno(FileError::Step::Open);
    if (!S_ISREG(info.st_mode))
        fail(FileError::Step::Open, notRegular(info.st_mode));
    // Non-blocking, in case a FIFO took the file's place after the look above.
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        failWithErrno(FileError::Step::Open);
    if (::fstat(file.get(), &info) != 0)
        failWithErrno(FileError::Step::Open);
    if (!S_ISREG(info.st_mode))
        fail(FileError::Step::Open, notRegular(info.st_mode));

    QByteArray bytes(qMin<qint64>(info.st_size, maxBytes) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxBytes)
                fail(FileError::Step::TooLarge, {});
            bytes.resize(qMin<qint64>(2 * bytes.size(), maxBytes + 1));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failWithErrno(FileError::Step::Read);
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

void replaceRegularFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = finalTarget(QFile::encodeName(path));
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        failWithErrno(FileError::Step::Write);
    if (exists && !S_ISREG(old.st_mode))
        fail(FileError::Step::Write, notRegular(old.st_mode));

    auto [fd, temporary] = createBeside(target);
    Descriptor file(fd);
    try {
        if (exists) {
            keepOwner(file.get(), old);
            if (::fchmod(file.get(), old.st_mode & 07777) != 0)
                failWithErrno(FileError::Step::Write);
        }
        writeAll(file.get(), bytes);
        if (::fsync(file.get()) != 0 || !file.close())
            failWithErrno(FileError::Step::Write);
        if (::rename(temporary.constData(), target.constData()) != 0)
            failWithErrno(FileError::Step::Write);
    } catch (...) {
        ::unlink(temporary.constData());
        throw;
    }
    // The rename itself reaches the disk with the folder.
    Descriptor folder(::open(directoryOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first {
    }, second{};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

} // namespace pelidora::platform
