// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/os/profilefile.h"

#include "platform/os/regularfile.h"

#include <QFileInfo>

namespace pelidora::platform {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

struct Line {
    qsizetype begin;      // first byte
    qsizetype contentEnd; // where its line ending starts
    qsizetype end;        // after its line ending (LF, CR LF or CR; none on a last line without one)
};

QList<Line> linesOf(const QByteArray &text)
{
    QList<Line> lines;
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype at = begin;
        while (at < text.size() && text.at(at) != '\n' && text.at(at) != '\r')
            ++at;
        const qsizetype ending = at + 1 < text.size() && text.at(at) == '\r' && text.at(at + 1) == '\n' ? 2 : 1;
        const qsizetype end = qMin(at + ending, text.size());
        lines.append({begin, at, end});
        begin = end;
    }
    return lines;
}

// A form file (JSON) named like the profile file: a record written into it would break it.
bool readsAsForm(const QByteArray &text)
{
    for (qsizetype i = text.startsWith(kByteOrderMark) ? 3 : 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return c == '{';
    }
    return false;
}

bool sameName(const QByteArray &utf8, const QString &name)
{
    return QString::fromUtf8(utf8).compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray withProfileValue(const QByteArray &text, const QString &section, const QString &key, const QString &value)
{
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    const QList<Line> lines = linesOf(text);
    const QByteArray eol = !lines.isEmpty() && lines.first().end > lines.first().contentEnd
        ? text.mid(lines.first().contentEnd, lines.first().end - lines.first().contentEnd)
        : QByteArrayLiteral("\n");
    const QByteArray record = key.toUtf8() + '=' + oneLine.toUtf8();

    bool inSection = false;
    qsizetype sectionEnd = -1; // after the section's last line that is not blank
    for (const Line &line : lines) {
        QByteArray content = text.mid(line.begin, line.contentEnd - line.begin);
        if (line.begin == 0 && content.startsWith(kByteOrderMark))
            content.remove(0, 3);
        content = content.trimmed();
        if (content.startsWith('[')) {
            if (inSection)
                break;
            const qsizetype close = content.indexOf(']');
            inSection = close > 0 && sameName(content.mid(1, close - 1).trimmed(), section);
            if (inSection)
                sectionEnd = line.end;
            continue;
        }
        if (!inSection || content.isEmpty())
            continue;
        sectionEnd = line.end;
        if (content.startsWith(';') || content.startsWith('#'))
            continue;
        const qsizetype equals = content.indexOf('=');
        if (equals >= 0 && sameName(content.left(equals).trimmed(), key))
            return text.left(line.begin) + record + text.mid(line.contentEnd);
    }

    QByteArray result = text;
    if (sectionEnd < 0) {
        if (!result.isEmpty() && !result.endsWith('\n') && !result.endsWith('\r'))
            result += eol;
        return result + '[' + section.toUtf8() + ']' + eol + record + eol;
    }
    const bool lineEnded = text.at(sectionEnd - 1) == '\n' || text.at(sectionEnd - 1) == '\r';
    return result.insert(sectionEnd, (lineEnded ? QByteArray() : eol) + record + eol);
}

bool updateProfileFile(const QString &path, const QString &section, const QString &key, const QString &value)
{
    const QFileInfo info(path);
    if (info.exists() && info.size() > kMaxProfileBytes)
        return false;
    try {
        const QByteArray old = info.exists() ? readRegularFile(path, kMaxProfileBytes) : QByteArray();
        if (readsAsForm(old))
            return false;
        const QByteArray updated = withProfileValue(old, section, key, value);
        if (!info.exists() || updated != old)
            replaceRegularFile(path, updated);
        return true;
    } catch (const FileError &) {
        return false;
    }
}

} // namespace pelidora::platform
