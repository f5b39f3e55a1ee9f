// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// JSON read into a tree that keeps what a checker needs and a generic document model loses:
// object members in file order, repeated keys as they stand (so they can be named rather
// than one of them dropped), and each number as written.

#include <QByteArray>
#include <QString>

#include <utility>
#include <variant>
#include <vector>

namespace pelidora::platform {

struct JsonMember;

struct JsonValue {
    enum class Type { Null, Boolean, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    QByteArray numberText; // as written, for messages
    QString string;        // exactly as written: a leading U+FEFF stays
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;
};

struct JsonMember {
    QString key;
    JsonValue value;
};

// What is wrong with the text and the byte offset where it lies.
struct JsonSyntaxError {
    qsizetype offset;
    QString problem;
};

inline constexpr int kMaxJsonDepth = 64; // forms need 5; deeper input would only cost memory

// Where a value stands: from the root, the key of each member and the index of each item.
using JsonPath = std::vector<std::variant<QString, qsizetype>>;

// Decides, while the text is read, what of it the tree keeps: memory then follows what a
// reader looks at, not what the text holds.
class JsonKeeper
{
public:
    enum class Keep {
        Whole,   // the value as read
        Shell,   // its type alone: what it holds is read and checked, but not kept
        Nothing, // left out of its container
    };
    virtual ~JsonKeeper() = default;
    // For a value about to be read at path, of type, into container (the innermost open
    // object or array as kept so far; a null value for the root).
    virtual Keep keep(const JsonPath &path, JsonValue::Type type, const JsonValue &container) = 0;
    // A container kept whole, read to its end: true when the keeper took it over, leaving
    // nothing in the tree.
    virtual bool take(const JsonPath &path, JsonValue &value) = 0;
};

// Reads one JSON value filling the whole of text (UTF-8; a leading byte order mark is
// skipped). Throws JsonSyntaxError on the first fault; syntax is checked to the end of the
// text, whatever keeper leaves out.
JsonValue parseJson(const QByteArray &text, JsonKeeper *keeper = nullptr);

// Where a byte offset of text lies, line and column both from 1. The column counts
// characters, as an editor does, not bytes; a leading byte order mark takes no column.
std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &text, qsizetype offset);

} // namespace pelidora::platform
