// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Written by hand rather than through a JSON library's serialiser: such serialisers write a
// whole double as 10.0 and do not always find the shortest digits, and saved files must not
// change from one version to the next.

#include "platform/form/jsonwriter.h"

#include <charconv>
#include <cmath>

namespace pelidora::platform {

void JsonWriter::key(const QString &name)
{
    separate();
    writeString(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::value(const QString &text)
{
    separate();
    writeString(text);
}

void JsonWriter::value(qint64 number)
{
    separate();
    m_out += QByteArray::number(number);
}

void JsonWriter::value(bool flag)
{
    separate();
    m_out += flag ? "true" : "false";
}

void JsonWriter::value(double number)
{
    separate();
    if (!std::isfinite(number)) {
        m_out += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    m_out.append(buffer, result.ptr - buffer);
}

void JsonWriter::open(char bracket)
{
    separate();
    m_out += bracket;
    m_first.push_back(true);
}

void JsonWriter::close(char bracket)
{
    const bool empty = m_first.back();
    m_first.pop_back();
    if (!empty)
        newline();
    m_out += bracket;
    if (m_first.empty())
        m_out += '\n';
}

// Before a value: a comma after a sibling and a fresh line, unless a key precedes it.
void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_first.empty())
        return;
    if (!m_first.back())
        m_out += ',';
    m_first.back() = false;
    newline();
}

void JsonWriter::newline()
{
    m_out += '\n';
    m_out += QByteArray(qsizetype(m_first.size()) * 4, ' ');
}

void JsonWriter::writeString(const QString &text)
{
    m_out += '"';
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"': m_out += "\\\""; break;
        case '\\': m_out += "\\\\"; break;
        case '\b': m_out += "\\b"; break;
        case '\f': m_out += "\\f"; break;
        case '\n': m_out += "\\n"; break;
        case '\r': m_out += "\\r"; break;
        case '\t': m_out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                m_out += QByteArray("\\u00") + QByteArray::number(int(c), 16).rightJustified(2, '0');
            else
                m_out += c;
        }
    }
    m_out += '"';
}

} // namespace pelidora::platform
