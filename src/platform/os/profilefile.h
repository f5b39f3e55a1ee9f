// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// One value of a profile file ("key=value" lines under "[section]" headers) updated in
// place. Every other byte of the file stays as it was: comments, blank and odd lines,
// other sections, repeated keys and the line endings. Section and key names match without
// regard to case, the first of each counting. Lines end in LF, CR LF or CR alone.

#include <QByteArray>
#include <QString>

namespace pelidora::platform {

// Files above this are left alone and the value is not written: updating costs the same
// whatever a profile file has collected.
inline constexpr qint64 kMaxProfileBytes = 1024 * 1024;

// text with key set to value in section: the key's first line in the section replaced, or
// a line added at the end of the section, or the section added at the end of the text.
// value is written as given, CR and LF becoming spaces so that it stays on its line; new
// lines end as the text's first line does (LF in an empty text).
QByteArray withProfileValue(const QByteArray &text, const QString &section, const QString &key, const QString &value);

// Sets the value in the file at path, creating it when missing. Only a regular file (or a
// symbolic link to one, whose target is updated) of at most kMaxProfileBytes is read and
// replaced, without ever waiting on the path; the new text goes to a temporary file beside
// it that then takes its place. An unchanged text is not written again. A file that reads
// as a form file (its first character but blanks is '{') is never written into. False when
// the value could not be written; the file is then as it was.
bool updateProfileFile(const QString &path, const QString &section, const QString &key, const QString &value);

} // namespace pelidora::platform
