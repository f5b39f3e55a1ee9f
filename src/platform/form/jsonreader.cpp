// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The JSON text is tokenised and checked by nlohmann::json's event parser; this file builds
// the tree from its events and turns its faults into this project's messages, each placed
// where an editor would show the fault. The parser reports only how far it had read, so
// the place of a fault is worked out from where the last event ended and the parser's
// fixed reading rules (one byte read ahead after a number, none after anything else).

#include "platform/form/jsonreader.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <charconv>
#include <iterator>
#include <string>
#include <string_view>

namespace pelidora::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

qsizetype bodyStart(const QByteArray &text)
{
    return text.startsWith(kByteOrderMark.data()) ? qsizetype(kByteOrderMark.size()) : 0;
}

// Offset of the first byte that does not belong to well-formed UTF-8, or -1.
qsizetype invalidUtf8At(const QByteArray &text)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text.constData());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return i;
        }
        if (i + length > n || s[i + 1] < low || s[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return i;
        }
        i += length;
    }
    return -1;
}

// Valid UTF-8 to UTF-16, keeping a leading U+FEFF that QString::fromUtf8 would drop.
QString fromUtf8Exactly(std::string_view bytes)
{
    qsizetype marks = 0;
    while (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
        ++marks;
    }
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// Hands the text to the parser and records how far it has read.
class TrackedBytes
{
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    TrackedBytes(const char *at, const char **reached)
        : m_at(at)
        , m_reached(reached)
    {
    }
    reference operator*() const { return *m_at; }
    TrackedBytes &operator++()
    {
        *m_reached = ++m_at;
        return *this;
    }
    TrackedBytes operator++(int)
    {
        TrackedBytes before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackedBytes &other) const { return m_at == other.m_at; }

private:
    const char *m_at;
    const char **m_reached;
};

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

class TreeBuilder
{
public:
    using Json = nlohmann::json;

    TreeBuilder(const QByteArray &text, JsonKeeper *keeper)
        : m_text(text)
        , m_reached(text.constData())
        , m_end(bodyStart(text))
        , m_keeper(keeper)
    {
    }

    JsonValue run()
    {
        const char *begin = m_text.constData();
        const char *end = begin + m_text.size();
        Json::sax_parse(TrackedBytes(begin, &m_reached), TrackedBytes(end, &m_reached), this);
        // The parser takes a zero byte for the end of the text; here it is text like any other.
        const qsizetype reached = m_reached - begin;
        if (reached > 0 && m_text.at(reached - 1) == '\0')
            fail(tokenStart(false), QStringLiteral("unexpected text after the end of the form"));
        return std::move(m_root);
    }

    bool null() { return add(JsonValue{}); }

    bool boolean(bool flag)
    {
        JsonValue value;
        value.type = JsonValue::Type::Boolean;
        value.boolean = flag;
        return add(std::move(value));
    }

    // Only a number written with a minus sign arrives here.
    bool number_integer(Json::number_integer_t number)
    {
        return addNumber(number == 0 ? QByteArrayLiteral("-0") : QByteArray::number(qint64(number)));
    }

    bool number_unsigned(Json::number_unsigned_t number) { return addNumber(QByteArray::number(quint64(number))); }

    bool number_float(Json::number_float_t, const Json::string_t &text)
    {
        QByteArray written = QByteArray::fromStdString(text);
        // The parser swaps the decimal point for the C locale's own before converting.
        for (char &c : written) {
            if (!(std::isdigit(static_cast<unsigned char>(c)) || c == 'e' || c == 'E' || c == '+' || c == '-'))
                c = '.';
        }
        return addNumber(written);
    }

    bool string(Json::string_t &text)
    {
        JsonValue value;
        value.type = JsonValue::Type::String;
        if (!m_skipping)
            value.string = fromUtf8Exactly(text);
        return add(std::move(value));
    }

    bool binary(Json::binary_t &) { return true; } // not in JSON text

    bool start_object(std::size_t) { return open(JsonValue::Type::Object); }
    bool start_array(std::size_t) { return open(JsonValue::Type::Array); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(Json::string_t &text)
    {
        if (!m_skipping)
            m_keys.push_back(fromUtf8Exactly(text));
        m_last = Last::Key;
        m_end = reached();
        return true;
    }

    [[noreturn]] bool parse_error(std::size_t position, const std::string &, const nlohmann::detail::exception &error)
    {
        // position counts the bytes read, one more when the parser met the end of the text.
        const qsizetype read = qsizetype(position);
        const qsizetype size = m_text.size();
        if (error.id == 406) { // a number beyond the range of a double
            checkDepth();
            const qsizetype at = tokenStart(afterSeparator());
            fail(at, QStringLiteral("number %1 is out of range").arg(QString::fromLatin1(m_text.mid(at, read - at))));
        }
        // "... syntax error while parsing CONTEXT - PROBLEM; last read: '...'; expected ..."
        constexpr std::string_view kParsing = "while parsing ";
        const std::string_view what = error.what();
        const size_t from = what.find(kParsing);
        const std::string_view rest =
            from == std::string_view::npos ? std::string_view() : what.substr(from + kParsing.size());
        const size_t dash = rest.find(" - ");
        const std::string_view context = rest.substr(0, dash);
        std::string_view problem = dash == std::string_view::npos ? std::string_view() : rest.substr(dash + 3);
        problem = problem.substr(0, problem.find("; last read:"));
        const bool badToken = problem.starts_with("invalid");

        if (context == "object key") {
            const qsizetype at = tokenStart(m_last == Last::Value);
            if (at >= size)
                fail(size, QStringLiteral("unexpected end of file inside an object"));
            if (m_text.at(at) == '"' && badToken)
                stringFault(problem, read);
            fail(at, QStringLiteral("expected a key in double quotes"));
        }
        if (context == "object separator")
            expected(tokenStart(false), "':' after the key");
        if (context == "array")
            expected(tokenStart(false), "',' or ']'");
        if (context == "object")
            expected(tokenStart(false), "',' or '}'");
        if (m_depth == 0 && m_haveRoot)
            fail(tokenStart(false), QStringLiteral("unexpected text after the end of the form"));
        checkDepth();
        const qsizetype at = tokenStart(afterSeparator());
        if (at >= size)
            fail(size, QStringLiteral("unexpected end of file, expected a value"));
        const char first = m_text.at(at);
        if (first == '"' && badToken)
            stringFault(problem, read);
        if ((first == '-' || std::isdigit(static_cast<unsigned char>(first))) && badToken)
            numberFault(problem, read);
        fail(at, QStringLiteral("expected a value"));
    }

private:
    enum class Last { Nothing, Open, Key, Value }; // the last event seen
    using Keep = JsonKeeper::Keep;

    [[noreturn]] static void fail(qsizetype offset, const QString &problem) { throw JsonSyntaxError{offset, problem}; }

    [[noreturn]] void expected(qsizetype at, const char *what) const
    {
        if (at >= m_text.size())
            fail(m_text.size(), QStringLiteral("unexpected end of file, expected %1").arg(QLatin1String(what)));
        fail(at, QStringLiteral("expected %1").arg(QLatin1String(what)));
    }

    [[noreturn]] void stringFault(std::string_view problem, qsizetype read) const
    {
        if (contains(problem, "missing closing quote"))
            fail(m_text.size(), QStringLiteral("unexpected end of file inside a string"));
        if (contains(problem, "control character"))
            fail(read - 1, QStringLiteral("control character inside a string (write it as an escape)"));
        if (contains(problem, "forbidden character after backslash"))
            fail(read - 2, QStringLiteral("unknown escape in a string"));
        if (contains(problem, "4 hex digits"))
            fail(read - 1, QStringLiteral("expected four hexadecimal digits after \\u"));
        if (contains(problem, "must follow U+D800"))
            fail(read - 6, QStringLiteral("\\u escape of a lone low surrogate"));
        if (contains(problem, "must be followed by U+DC00"))
            fail(highSurrogateAt(read), QStringLiteral("\\u escape of a high surrogate without its low half"));
        fail(read - 1, QStringLiteral("not UTF-8 text"));
    }

    // Where the \u escape of a high surrogate starts, the parser having stopped after it.
    qsizetype highSurrogateAt(qsizetype read) const
    {
        const auto byteAt = [&](qsizetype i) { return i >= 0 && i < m_text.size() ? m_text.at(i) : '\0'; };
        if (byteAt(read - 6) == '\\' && byteAt(read - 5) == 'u')
            return read - 12; // followed by a whole \u escape of no low half
        if (byteAt(read - 2) == '\\')
            return read - 8; // followed by a backslash and no 'u'
        return read - 7;
    }

    [[noreturn]] static void numberFault(std::string_view problem, qsizetype read)
    {
        if (contains(problem, "after '-'"))
            fail(read - 1, QStringLiteral("expected a digit"));
        if (contains(problem, "after '.'"))
            fail(read - 1, QStringLiteral("expected a digit after the decimal point"));
        fail(read - 1, QStringLiteral("expected a digit in the exponent"));
    }

    qsizetype reached() const { return m_reached - m_text.constData(); }

    qsizetype skipSpace(qsizetype at) const
    {
        while (at < m_text.size()) {
            const char c = m_text.at(at);
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                break;
            ++at;
        }
        return at;
    }

    // Where the token after the last event starts, past the ',' or ':' the parser took.
    qsizetype tokenStart(bool pastSeparator) const
    {
        const qsizetype at = skipSpace(m_end);
        return pastSeparator ? skipSpace(at + 1) : at;
    }

    // Whether a value in the making follows a ':' or ','.
    bool afterSeparator() const { return m_last == Last::Key || m_last == Last::Value; }

    void checkDepth() const
    {
        if (m_depth > size_t(kMaxJsonDepth))
            fail(tokenStart(afterSeparator()), QStringLiteral("nested more than %1 levels deep").arg(kMaxJsonDepth));
    }

    // The keeper's verdict on the value about to be read; with Whole for a container, its
    // step stays on the path until it closes.
    Keep verdictFor(JsonValue::Type type)
    {
        if (!m_stack.empty()) {
            if (m_stack.back().type == JsonValue::Type::Array)
                m_path.emplace_back(m_counts.back());
            else
                m_path.emplace_back(m_keys.back());
        }
        static const JsonValue noContainer;
        const Keep verdict =
            m_keeper ? m_keeper->keep(m_path, type, m_stack.empty() ? noContainer : m_stack.back()) : Keep::Whole;
        if (verdict != Keep::Whole || !isContainer(type))
            leaveValue();
        return verdict;
    }

    void leaveValue()
    {
        if (!m_stack.empty())
            m_path.pop_back();
    }

    static bool isContainer(JsonValue::Type type)
    {
        return type == JsonValue::Type::Array || type == JsonValue::Type::Object;
    }

    bool open(JsonValue::Type type)
    {
        checkDepth();
        ++m_depth;
        m_last = Last::Open;
        m_end = reached();
        if (m_skipping) {
            ++m_skipping;
            return true;
        }
        const Keep verdict = verdictFor(type);
        if (verdict != Keep::Whole) {
            m_skipping = 1;
            m_skipped = {verdict, type};
            return true;
        }
        JsonValue container;
        container.type = type;
        m_stack.push_back(std::move(container));
        m_counts.push_back(0);
        return true;
    }

    bool close()
    {
        --m_depth;
        if (m_skipping) {
            if (--m_skipping == 0)
                finish(shell(m_skipped.second), m_skipped.first);
            m_last = Last::Value;
        } else {
            JsonValue container = std::move(m_stack.back());
            m_stack.pop_back();
            m_counts.pop_back();
            const bool taken = m_keeper && m_keeper->take(m_path, container);
            leaveValue();
            finish(std::move(container), taken ? Keep::Nothing : Keep::Whole);
        }
        m_end = reached();
        return true;
    }

    bool add(JsonValue value)
    {
        checkDepth();
        if (m_skipping) {
            m_last = Last::Value;
        } else {
            const Keep verdict = verdictFor(value.type);
            finish(std::move(value), verdict);
        }
        m_end = reached();
        return true;
    }

    bool addNumber(const QByteArray &written)
    {
        checkDepth();
        JsonValue value;
        value.type = JsonValue::Type::Number;
        value.numberText = written;
        const char *first = written.constData();
        const char *last = first + written.size();
        const auto [end, error] = std::from_chars(first, last, value.number);
        if (error != std::errc() || end != last)
            fail(tokenStart(afterSeparator()),
                 QStringLiteral("number %1 is out of range").arg(QString::fromLatin1(written)));
        if (m_skipping) {
            m_last = Last::Value;
        } else {
            const Keep verdict = verdictFor(JsonValue::Type::Number);
            finish(std::move(value), verdict);
        }
        // The parser read one byte past the number, unless the number ends the text.
        const qsizetype size = m_text.size();
        const bool endsText = reached() == size && m_text.endsWith(written)
            && !(written == "0" && size >= 2 && m_text.at(size - 2) == '0'); // "00": a 0, then a 0 read ahead
        m_end = endsText ? size : reached() - 1;
        return true;
    }

    static JsonValue shell(JsonValue::Type type)
    {
        JsonValue value;
        value.type = type;
        return value;
    }

    // A value read to its end goes into its container as the keeper wants it.
    void finish(JsonValue value, Keep verdict)
    {
        m_last = Last::Value;
        if (!m_stack.empty())
            ++m_counts.back();
        if (verdict == Keep::Nothing && !m_stack.empty()) {
            if (m_stack.back().type == JsonValue::Type::Object)
                m_keys.pop_back();
            return;
        }
        place(verdict == Keep::Whole ? std::move(value) : shell(value.type));
    }

    void place(JsonValue value)
    {
        if (m_stack.empty()) {
            m_root = std::move(value);
            m_haveRoot = true;
        } else if (m_stack.back().type == JsonValue::Type::Array) {
            m_stack.back().items.push_back(std::move(value));
        } else {
            m_stack.back().members.push_back({std::move(m_keys.back()), std::move(value)});
            m_keys.pop_back();
        }
    }

    const QByteArray &m_text;
    const char *m_reached;
    qsizetype m_end; // where the last event's token ends
    Last m_last = Last::Nothing;
    JsonKeeper *m_keeper;
    std::vector<JsonValue> m_stack;  // the open containers kept
    std::vector<qsizetype> m_counts; // the values read so far in each of them
    std::vector<QString> m_keys;     // the keys of their open members
    JsonPath m_path;                 // where the innermost open container kept stands
    size_t m_depth = 0;              // open containers, kept or not
    size_t m_skipping = 0;           // open containers inside one not kept
    std::pair<Keep, JsonValue::Type> m_skipped{Keep::Whole, JsonValue::Type::Null}; // that one's verdict and type
    JsonValue m_root;
    bool m_haveRoot = false;
};

} // namespace

JsonValue parseJson(const QByteArray &text, JsonKeeper *keeper)
{
    const qsizetype bad = invalidUtf8At(text);
    if (bad >= 0)
        throw JsonSyntaxError{bad, QStringLiteral("not UTF-8 text")};
    return TreeBuilder(text, keeper).run();
}

std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &text, qsizetype offset)
{
    offset = qBound(qsizetype(0), offset, text.size());
    qsizetype line = 1, column = 1;
    for (qsizetype i = bodyStart(text); i < offset; ++i) {
        const auto c = static_cast<unsigned char>(text.at(i));
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

} // namespace pelidora::platform
