#pragma once

// JSON read into a tree that keeps what a checker needs and a generic document model loses:
// object members in file order, repeated keys as they stand (so they can be named rather
// than one of them dropped), and each number as written.

#include <QByteArray>
#include <QString>

#include <utility>
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

// Reads one JSON value filling the whole of text (UTF-8; a leading byte order mark is
// skipped). Throws JsonSyntaxError on the first fault.
JsonValue parseJson(const QByteArray &text);

// Where a byte offset of text lies, line and column both from 1. The column counts
// characters, as an editor does, not bytes; a leading byte order mark takes no column.
std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &text, qsizetype offset);

} // namespace pelidora::platform
