// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// JSON written the way form files are laid out: one member or item a line, four spaces a
// level, "key": value, empty containers as {} and [], numbers in their shortest exact form,
// text as UTF-8 with only what JSON requires escaped, and a newline at the end.

#include <QByteArray>
#include <QString>

#include <vector>

namespace pelidora::platform {

class JsonWriter
{
public:
    QByteArray take() { return std::move(m_out); }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(const QString &name);
    void value(const QString &text);
    void value(qint64 number);
    void value(bool flag);
    void value(double number); // one that is no number is written as null

private:
    void open(char bracket);
    void close(char bracket);
    void separate();
    void newline();
    void writeString(const QString &text);

    QByteArray m_out;
    std::vector<bool> m_first; // per open bracket: nothing written inside yet
    bool m_afterKey = false;
};

} // namespace pelidora::platform
