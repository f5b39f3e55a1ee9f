// A form file is UTF-8 JSON:
//
//   {
//       "format": "pelidora-form",            required, exactly this
//       "version": 1,                         required; only 1 is read
//       "caption": "Demo",                    optional, default empty
//       "width": 480, "height": 300,          required, pixels, [1, 16777215]
//       "controls": [                         required, in tab order
//           {
//               "class": "ucvPelidora",       a registered control class (exact spelling)
//               "name": "DateBox1",           non-empty, unique on the form ignoring case
//               "left": 20, "top": 20,        required, pixels, signed 32-bit
//               "properties": {               optional; keys from the class, ignoring case
//                   "BackColor": 16777215,    Long: integral, signed 32-bit
//                   "Appearance": 1,          Integer: integral, signed 16-bit
//                   "Enabled": true,          Boolean
//                   "Font": { "Name": "DejaVu Sans", "Size": 9.75, "Bold": false,
//                             "Italic": false, "Underline": false, "Strikethrough": false }
//               }
//           }
//       ]
//   }
//
// A font needs Name and Size (points, above 0, at most 1000); the four flags default to
// false. Every other key is refused, so a misspelt key is an error rather than a value
// silently lost. Member order is kept both ways: properties come back in the order of the
// file and are written in the bag's order, so saved files diff line by line. That is why
// this file reads and writes JSON itself: QJsonObject sorts its keys and quietly merges
// repeated ones.

#include <pelidora/formfile.h>

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace pelidora {

FormFileError::FormFileError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

namespace {

constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
constexpr int kMaxDepth = 64;           // ours needs 5; deeper input would only eat the stack
constexpr qint64 kMaxExtentPx = 16777215; // the largest widget Qt makes
constexpr double kMaxFontPoints = 1000;

using Schema = QList<std::pair<QString, ValueKind>>;

struct Registry {
    QMutex mutex;
    QHash<QString, Schema> classes;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

std::optional<Schema> schemaOf(const QString &className)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.classes.constFind(className);
    if (it == r.classes.constEnd())
        return std::nullopt;
    return *it;
}

QString registeredSpelling(const QString &className)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    for (auto it = r.classes.constBegin(); it != r.classes.constEnd(); ++it) {
        if (it.key().compare(className, Qt::CaseInsensitive) == 0)
            return it.key();
    }
    return {};
}

// ---- JSON that remembers member order and where each value starts

struct JsonMember;

struct JsonValue {
    enum class Type { Null, Boolean, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    QByteArray numberText; // as written, for messages
    QString string;
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;
};

struct JsonMember {
    QString key;
    JsonValue value;
};

struct SyntaxError {
    qsizetype offset;
    QString problem;
};

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

class JsonReader
{
public:
    explicit JsonReader(const QByteArray &text, qsizetype start)
        : m_text(text)
        , m_pos(start)
    {
    }

    JsonValue document()
    {
        skipSpace();
        JsonValue value = parseValue(0);
        skipSpace();
        if (m_pos < m_text.size())
            fail(QStringLiteral("unexpected text after the end of the form"));
        return value;
    }

private:
    [[noreturn]] void fail(const QString &problem) const { throw SyntaxError{m_pos, problem}; }

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text.at(m_pos); }

    void skipSpace()
    {
        while (!atEnd()) {
            const char c = m_text.at(m_pos);
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_pos;
        }
    }

    void expect(char c, const char *what)
    {
        skipSpace();
        if (peek() != c)
            fail(atEnd() ? QStringLiteral("unexpected end of file, expected %1").arg(QLatin1String(what))
                         : QStringLiteral("expected %1").arg(QLatin1String(what)));
        ++m_pos;
    }

    JsonValue parseValue(int depth)
    {
        if (depth > kMaxDepth)
            fail(QStringLiteral("nested more than %1 levels deep").arg(kMaxDepth));
        if (atEnd())
            fail(QStringLiteral("unexpected end of file, expected a value"));
        const char c = peek();
        switch (c) {
        case '{': return parseObject(depth);
        case '[': return parseArray(depth);
        case '"': {
            JsonValue value;
            value.type = JsonValue::Type::String;
            value.string = parseString();
            return value;
        }
        case 't': return literal("true", JsonValue::Type::Boolean, true);
        case 'f': return literal("false", JsonValue::Type::Boolean, false);
        case 'n': return literal("null", JsonValue::Type::Null, false);
        default:
            if (c == '-' || (c >= '0' && c <= '9'))
                return parseNumber();
            fail(QStringLiteral("expected a value"));
        }
    }

    JsonValue literal(const char *word, JsonValue::Type type, bool boolean)
    {
        const qsizetype length = qsizetype(qstrlen(word));
        if (m_text.mid(m_pos, length) != word)
            fail(QStringLiteral("expected a value"));
        m_pos += length;
        JsonValue value;
        value.type = type;
        value.boolean = boolean;
        return value;
    }

    JsonValue parseObject(int depth)
    {
        JsonValue value;
        value.type = JsonValue::Type::Object;
        ++m_pos;
        skipSpace();
        if (peek() == '}') {
            ++m_pos;
            return value;
        }
        for (;;) {
            skipSpace();
            if (peek() != '"')
                fail(atEnd() ? QStringLiteral("unexpected end of file inside an object")
                             : QStringLiteral("expected a key in double quotes"));
            JsonMember member;
            member.key = parseString();
            expect(':', "':' after the key");
            skipSpace();
            member.value = parseValue(depth + 1);
            value.members.push_back(std::move(member));
            skipSpace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            expect('}', "',' or '}'");
            return value;
        }
    }

    JsonValue parseArray(int depth)
    {
        JsonValue value;
        value.type = JsonValue::Type::Array;
        ++m_pos;
        skipSpace();
        if (peek() == ']') {
            ++m_pos;
            return value;
        }
        for (;;) {
            skipSpace();
            value.items.push_back(parseValue(depth + 1));
            skipSpace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            expect(']', "',' or ']'");
            return value;
        }
    }

    int hexDigits()
    {
        int unit = 0;
        for (int k = 0; k < 4; ++k, ++m_pos) {
            const char c = peek();
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                fail(QStringLiteral("expected four hexadecimal digits after \\u"));
            unit = unit * 16 + digit;
        }
        return unit;
    }

    // The input is known to be valid UTF-8, and the bytes that end a run ('"', '\\') are
    // ASCII, so every run decodes whole.
    QString parseString()
    {
        ++m_pos;
        QString result;
        qsizetype runStart = m_pos;
        auto flushRun = [&] {
            result += QString::fromUtf8(m_text.constData() + runStart, m_pos - runStart);
        };
        for (;;) {
            if (atEnd())
                fail(QStringLiteral("unexpected end of file inside a string"));
            const unsigned char c = static_cast<unsigned char>(m_text.at(m_pos));
            if (c == '"') {
                flushRun();
                ++m_pos;
                return result;
            }
            if (c < 0x20)
                fail(QStringLiteral("control character inside a string (write it as an escape)"));
            if (c != '\\') {
                ++m_pos;
                continue;
            }
            flushRun();
            ++m_pos;
            const char e = peek();
            ++m_pos;
            switch (e) {
            case '"': result += QLatin1Char('"'); break;
            case '\\': result += QLatin1Char('\\'); break;
            case '/': result += QLatin1Char('/'); break;
            case 'b': result += QLatin1Char('\b'); break;
            case 'f': result += QLatin1Char('\f'); break;
            case 'n': result += QLatin1Char('\n'); break;
            case 'r': result += QLatin1Char('\r'); break;
            case 't': result += QLatin1Char('\t'); break;
            case 'u': {
                const qsizetype escapeAt = m_pos - 2;
                const int unit = hexDigits();
                if (QChar::isLowSurrogate(unit)) {
                    m_pos = escapeAt;
                    fail(QStringLiteral("\\u escape of a lone low surrogate"));
                }
                if (QChar::isHighSurrogate(unit)) {
                    if (m_text.mid(m_pos, 2) != "\\u") {
                        m_pos = escapeAt;
                        fail(QStringLiteral("\\u escape of a high surrogate without its low half"));
                    }
                    m_pos += 2;
                    const int second = hexDigits();
                    if (!QChar::isLowSurrogate(second)) {
                        m_pos = escapeAt;
                        fail(QStringLiteral("\\u escape of a high surrogate without its low half"));
                    }
                    result += QChar(char16_t(unit));
                    result += QChar(char16_t(second));
                } else {
                    result += QChar(char16_t(unit));
                }
                break;
            }
            default:
                m_pos -= 2;
                fail(QStringLiteral("unknown escape in a string"));
            }
            runStart = m_pos;
        }
    }

    JsonValue parseNumber()
    {
        const qsizetype start = m_pos;
        auto digits = [&] {
            const qsizetype from = m_pos;
            while (peek() >= '0' && peek() <= '9')
                ++m_pos;
            return m_pos > from;
        };
        if (peek() == '-')
            ++m_pos;
        if (peek() == '0')
            ++m_pos;
        else if (!digits())
            fail(QStringLiteral("expected a digit"));
        if (peek() == '.') {
            ++m_pos;
            if (!digits())
                fail(QStringLiteral("expected a digit after the decimal point"));
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_pos;
            if (peek() == '+' || peek() == '-')
                ++m_pos;
            if (!digits())
                fail(QStringLiteral("expected a digit in the exponent"));
        }
        JsonValue value;
        value.type = JsonValue::Type::Number;
        value.numberText = m_text.mid(start, m_pos - start);
        const char *first = m_text.constData() + start;
        const auto [end, error] = std::from_chars(first, m_text.constData() + m_pos, value.number);
        if (error != std::errc() || end != m_text.constData() + m_pos) {
            m_pos = start;
            fail(QStringLiteral("number %1 is out of range").arg(QString::fromLatin1(value.numberText)));
        }
        return value;
    }

    const QByteArray &m_text;
    qsizetype m_pos;
};

// Line and column, both from 1; the column counts characters, not bytes.
std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &text, qsizetype start, qsizetype offset)
{
    offset = qBound(qsizetype(0), offset, text.size());
    qsizetype line = 1, column = 1;
    for (qsizetype i = start; i < offset; ++i) {
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

// ---- Checking a parsed document against the format and the registered classes

QString found(const JsonValue &value)
{
    switch (value.type) {
    case JsonValue::Type::Null: return QStringLiteral("null");
    case JsonValue::Type::Boolean: return QStringLiteral("a boolean");
    case JsonValue::Type::Number: return QStringLiteral("a number");
    case JsonValue::Type::String: return QStringLiteral("a string");
    case JsonValue::Type::Array: return QStringLiteral("an array");
    case JsonValue::Type::Object: return QStringLiteral("an object");
    }
    return {};
}

QString joined(const QString &place, const QString &key)
{
    return place.isEmpty() ? key : place + QLatin1Char('.') + key;
}

class FormChecker
{
public:
    explicit FormChecker(const QString &source)
        : m_source(source)
    {
    }

    Form form(const JsonValue &root)
    {
        if (root.type != JsonValue::Type::Object)
            fail({}, QStringLiteral("expected a form object, found %1").arg(found(root)));
        checkKeys(root, {}, {"format", "version", "caption", "width", "height", "controls"});

        const JsonValue *format = require(root, {}, "format");
        if (format->type != JsonValue::Type::String || format->string != QLatin1String("pelidora-form"))
            fail(QStringLiteral("format"), QStringLiteral("not a Pelidora form file (expected \"pelidora-form\")"));
        const qint64 version = integer(*require(root, {}, "version"), QStringLiteral("version"), 0,
                                       std::numeric_limits<qint32>::max());
        if (version != 1)
            fail(QStringLiteral("version"),
                 QStringLiteral("version %1 is not supported (this library reads version 1)").arg(version));

        Form result;
        if (const JsonValue *caption = find(root, "caption"))
            result.caption = string(*caption, QStringLiteral("caption"));
        result.size = QSize(int(integer(*require(root, {}, "width"), QStringLiteral("width"), 1, kMaxExtentPx)),
                            int(integer(*require(root, {}, "height"), QStringLiteral("height"), 1, kMaxExtentPx)));

        const JsonValue *controls = require(root, {}, "controls");
        if (controls->type != JsonValue::Type::Array)
            fail(QStringLiteral("controls"), QStringLiteral("expected an array, found %1").arg(found(*controls)));
        QStringList places;
        for (size_t i = 0; i < controls->items.size(); ++i) {
            FormControl control = readControl(controls->items[i], qsizetype(i));
            for (qsizetype k = 0; k < result.controls.size(); ++k) {
                if (result.controls.at(k).name.compare(control.name, Qt::CaseInsensitive) == 0)
                    fail(controlPlace(qsizetype(i), control.name) + QStringLiteral(".name"),
                         QStringLiteral("the name is already used by %1 (names ignore case)").arg(places.at(k)));
            }
            places << controlPlace(qsizetype(i), control.name);
            result.controls << std::move(control);
        }
        return result;
    }

private:
    [[noreturn]] void fail(const QString &place, const QString &problem) const
    {
        throw FormFileError(place.isEmpty() ? QStringLiteral("%1: %2").arg(m_source, problem)
                                            : QStringLiteral("%1: %2: %3").arg(m_source, place, problem));
    }

    static QString controlPlace(qsizetype index, const QString &name)
    {
        const QString place = QStringLiteral("controls[%1]").arg(index);
        return name.isEmpty() ? place : QStringLiteral("%1 (\"%2\")").arg(place, name);
    }

    static const JsonValue *find(const JsonValue &object, const char *key)
    {
        for (const JsonMember &member : object.members) {
            if (member.key == QLatin1String(key))
                return &member.value;
        }
        return nullptr;
    }

    const JsonValue *require(const JsonValue &object, const QString &place, const char *key) const
    {
        const JsonValue *value = find(object, key);
        if (!value)
            fail(place, QStringLiteral("missing \"%1\"").arg(QLatin1String(key)));
        return value;
    }

    // Structural keys are ours and spelt exactly.
    void checkKeys(const JsonValue &object, const QString &place, std::initializer_list<const char *> allowed) const
    {
        for (size_t i = 0; i < object.members.size(); ++i) {
            const QString &key = object.members[i].key;
            bool known = false;
            for (const char *name : allowed)
                known = known || key == QLatin1String(name);
            if (!known) {
                QStringList names;
                for (const char *name : allowed)
                    names << QLatin1String(name);
                fail(joined(place, key), QStringLiteral("unknown key (expected one of %1)").arg(names.join(QStringLiteral(", "))));
            }
            for (size_t k = 0; k < i; ++k) {
                if (object.members[k].key == key)
                    fail(joined(place, key), QStringLiteral("appears twice"));
            }
        }
    }

    QString string(const JsonValue &value, const QString &place) const
    {
        if (value.type != JsonValue::Type::String)
            fail(place, QStringLiteral("expected a string, found %1").arg(found(value)));
        return value.string;
    }

    bool boolean(const JsonValue &value, const QString &place) const
    {
        if (value.type != JsonValue::Type::Boolean)
            fail(place, QStringLiteral("expected a boolean, found %1").arg(found(value)));
        return value.boolean;
    }

    qint64 integer(const JsonValue &value, const QString &place, qint64 min, qint64 max) const
    {
        if (value.type != JsonValue::Type::Number)
            fail(place, QStringLiteral("expected an integer, found %1").arg(found(value)));
        const QString text = QString::fromLatin1(value.numberText);
        if (std::trunc(value.number) != value.number)
            fail(place, QStringLiteral("expected an integer, found %1").arg(text));
        if (value.number < double(min) || value.number > double(max))
            fail(place, QStringLiteral("%1 is out of range (%2 to %3)").arg(text).arg(min).arg(max));
        return qint64(value.number);
    }

    FormControl readControl(const JsonValue &value, qsizetype index) const
    {
        QString place = controlPlace(index, {});
        if (value.type != JsonValue::Type::Object)
            fail(place, QStringLiteral("expected a control object, found %1").arg(found(value)));
        // The name labels every later message, so it is checked first.
        const QString name = string(*require(value, place, "name"), place + QStringLiteral(".name"));
        if (name.trimmed().isEmpty())
            fail(place + QStringLiteral(".name"), QStringLiteral("a control needs a name"));
        place = controlPlace(index, name);
        checkKeys(value, place, {"class", "name", "left", "top", "properties"});

        FormControl result;
        result.name = name;
        const QString classPlace = place + QStringLiteral(".class");
        result.className = string(*require(value, place, "class"), classPlace);
        const std::optional<Schema> schema = schemaOf(result.className);
        if (!schema) {
            const QString spelling = registeredSpelling(result.className);
            fail(classPlace, spelling.isEmpty()
                     ? QStringLiteral("unknown control class \"%1\"").arg(result.className)
                     : QStringLiteral("unknown control class \"%1\" (class names are exact: \"%2\")")
                           .arg(result.className, spelling));
        }
        constexpr qint64 min = std::numeric_limits<qint32>::min(), max = std::numeric_limits<qint32>::max();
        result.position = QPoint(int(integer(*require(value, place, "left"), place + QStringLiteral(".left"), min, max)),
                                 int(integer(*require(value, place, "top"), place + QStringLiteral(".top"), min, max)));
        if (const JsonValue *properties = find(value, "properties"))
            result.properties = readBag(*properties, place + QStringLiteral(".properties"), result.className, *schema);
        return result;
    }

    PropertyBag readBag(const JsonValue &value, const QString &place, const QString &className, const Schema &schema) const
    {
        if (value.type != JsonValue::Type::Object)
            fail(place, QStringLiteral("expected an object, found %1").arg(found(value)));
        PropertyBag result;
        for (const JsonMember &member : value.members) {
            const QString keyPlace = joined(place, member.key);
            for (const QString &earlier : result.keys()) {
                if (earlier.compare(member.key, Qt::CaseInsensitive) == 0)
                    fail(keyPlace, QStringLiteral("same property as \"%1\" (property names ignore case)").arg(earlier));
            }
            const auto it = std::find_if(schema.cbegin(), schema.cend(), [&](const auto &entry) {
                return entry.first.compare(member.key, Qt::CaseInsensitive) == 0;
            });
            if (it == schema.cend())
                fail(keyPlace, QStringLiteral("class %1 has no such property").arg(className));
            result.WriteProperty(member.key, propertyValue(member.value, keyPlace, it->second));
        }
        return result;
    }

    QVariant propertyValue(const JsonValue &value, const QString &place, ValueKind kind) const
    {
        switch (kind) {
        case ValueKind::Long:
            return QVariant::fromValue(qint32(integer(value, place, std::numeric_limits<qint32>::min(),
                                                      std::numeric_limits<qint32>::max())));
        case ValueKind::Integer:
            return QVariant::fromValue(qint16(integer(value, place, std::numeric_limits<qint16>::min(),
                                                      std::numeric_limits<qint16>::max())));
        case ValueKind::Boolean:
            return QVariant::fromValue(boolean(value, place));
        case ValueKind::Font:
            return QVariant::fromValue(readFont(value, place));
        }
        return {};
    }

    StdFont readFont(const JsonValue &value, const QString &place) const
    {
        if (value.type != JsonValue::Type::Object)
            fail(place, QStringLiteral("expected a font object, found %1").arg(found(value)));
        enum { Name, Size, Bold, Italic, Underline, Strikethrough, Count };
        static const char *const names[Count] = {"Name", "Size", "Bold", "Italic", "Underline", "Strikethrough"};
        const JsonMember *fields[Count] = {};
        for (const JsonMember &member : value.members) {
            const QString keyPlace = joined(place, member.key);
            int index = -1;
            for (int k = 0; k < Count; ++k) {
                if (member.key.compare(QLatin1String(names[k]), Qt::CaseInsensitive) == 0)
                    index = k;
            }
            if (index < 0)
                fail(keyPlace, QStringLiteral("unknown font attribute (expected Name, Size, Bold, Italic, "
                                              "Underline or Strikethrough)"));
            if (fields[index])
                fail(keyPlace, QStringLiteral("same attribute as \"%1\" (attribute names ignore case)")
                                   .arg(fields[index]->key));
            fields[index] = &member;
        }
        if (!fields[Name])
            fail(place, QStringLiteral("missing \"Name\""));
        if (!fields[Size])
            fail(place, QStringLiteral("missing \"Size\""));
        auto placeOf = [&](int k) { return joined(place, fields[k]->key); };
        QFont font;
        font.setFamily(string(fields[Name]->value, placeOf(Name)));
        const JsonValue &size = fields[Size]->value;
        if (size.type != JsonValue::Type::Number)
            fail(placeOf(Size), QStringLiteral("expected a number, found %1").arg(found(size)));
        if (!(size.number > 0 && size.number <= kMaxFontPoints))
            fail(placeOf(Size), QStringLiteral("%1 is out of range (above 0, at most %2 points)")
                                    .arg(QString::fromLatin1(size.numberText)).arg(kMaxFontPoints));
        font.setPointSizeF(size.number);
        auto flag = [&](int k) { return fields[k] && boolean(fields[k]->value, placeOf(k)); };
        font.setBold(flag(Bold));
        font.setItalic(flag(Italic));
        font.setUnderline(flag(Underline));
        font.setStrikeOut(flag(Strikethrough));
        return StdFont(font);
    }

    QString m_source;
};

Form parseFormAs(const QByteArray &json, const QString &source)
{
    // A byte order mark is not JSON, but editors add it; offsets stay those of the file.
    const qsizetype start = json.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    JsonValue root;
    try {
        const qsizetype bad = invalidUtf8At(json);
        if (bad >= 0)
            throw SyntaxError{bad, QStringLiteral("not UTF-8 text")};
        root = JsonReader(json, start).document();
    } catch (const SyntaxError &error) {
        const auto [line, column] = lineAndColumn(json, start, error.offset);
        throw FormFileError(QStringLiteral("%1: line %2, column %3: %4").arg(source).arg(line).arg(column).arg(error.problem));
    }
    return FormChecker(source).form(root);
}

// ---- Writing

class JsonWriter
{
public:
    QByteArray take() { return std::move(m_out); }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(const QString &name)
    {
        separate();
        writeString(name);
        m_out += ": ";
        m_afterKey = true;
    }

    void value(const QString &text)
    {
        separate();
        writeString(text);
    }
    void value(qint64 number)
    {
        separate();
        m_out += QByteArray::number(number);
    }
    void value(bool flag)
    {
        separate();
        m_out += flag ? "true" : "false";
    }
    void value(double number)
    {
        separate();
        // A size that is no number is written as null, so the check on saving names it.
        if (!std::isfinite(number)) {
            m_out += "null";
            return;
        }
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
        m_out.append(buffer, result.ptr - buffer);
    }

private:
    void open(char bracket)
    {
        separate();
        m_out += bracket;
        m_first.push_back(true);
    }

    void close(char bracket)
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
    void separate()
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

    void newline()
    {
        m_out += '\n';
        m_out += QByteArray(qsizetype(m_first.size()) * 4, ' ');
    }

    void writeString(const QString &text)
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

    QByteArray m_out;
    std::vector<bool> m_first; // per open bracket: nothing written inside yet
    bool m_afterKey = false;
};

void writeValue(JsonWriter &writer, const QVariant &value)
{
    switch (PropertyBag::kindOf(value)) {
    case ValueKind::Long: writer.value(qint64(value.value<qint32>())); break;
    case ValueKind::Integer: writer.value(qint64(value.value<qint16>())); break;
    case ValueKind::Boolean: writer.value(value.toBool()); break;
    case ValueKind::Font: {
        const StdFont font = value.value<StdFont>();
        writer.beginObject();
        writer.key(QStringLiteral("Name"));
        writer.value(font.name());
        writer.key(QStringLiteral("Size"));
        writer.value(font.size());
        writer.key(QStringLiteral("Bold"));
        writer.value(font.bold());
        writer.key(QStringLiteral("Italic"));
        writer.value(font.italic());
        writer.key(QStringLiteral("Underline"));
        writer.value(font.underline());
        writer.key(QStringLiteral("Strikethrough"));
        writer.value(font.strikeout());
        writer.endObject();
        break;
    }
    }
}

} // namespace

void registerControlClass(const QString &className, const QList<std::pair<QString, ValueKind>> &properties)
{
    if (className.isEmpty())
        throw std::invalid_argument("registerControlClass: empty class name");
    for (qsizetype i = 0; i < properties.size(); ++i) {
        if (properties.at(i).first.isEmpty())
            throw std::invalid_argument(QStringLiteral("registerControlClass(%1): empty property name")
                                            .arg(className).toStdString());
        for (qsizetype k = 0; k < i; ++k) {
            if (properties.at(k).first.compare(properties.at(i).first, Qt::CaseInsensitive) == 0)
                throw std::invalid_argument(QStringLiteral("registerControlClass(%1): \"%2\" and \"%3\" are the same key")
                                                .arg(className, properties.at(k).first, properties.at(i).first)
                                                .toStdString());
        }
    }
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    r.classes.insert(className, properties);
}

bool isRegisteredControlClass(const QString &className)
{
    return schemaOf(className).has_value();
}

Form readForm(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FormFileError(QStringLiteral("%1: cannot open: %2").arg(path, file.errorString()));
    const QByteArray json = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw FormFileError(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    if (json.size() > kMaxFileBytes)
        throw FormFileError(QStringLiteral("%1: too large for a form file (more than %2 MiB)")
                                .arg(path).arg(kMaxFileBytes / (1024 * 1024)));
    return parseFormAs(json, path);
}

Form parseForm(const QByteArray &json, const QString &sourceName)
{
    return parseFormAs(json, sourceName);
}

void writeForm(const QString &path, const Form &form)
{
    const QString source = QStringLiteral("%1: not saved").arg(path);
    const QByteArray json = formToJson(form);
    // What could not be read back is not written, so a save never replaces a good file
    // with one that fails to load.
    parseFormAs(json, source);
    // Unbuffered: commit() in Qt 6.4 overlooks a failed final flush (a full disk) and
    // would put a truncated file in place. Writing until done also brings out the OS
    // reason, which a short write alone does not report.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FormFileError(QStringLiteral("%1: %2").arg(source, file.errorString()));
    for (qsizetype done = 0; done < json.size();) {
        const qint64 written = file.write(json.constData() + done, json.size() - done);
        if (written <= 0)
            throw FormFileError(QStringLiteral("%1: %2").arg(source, file.errorString()));
        done += written;
    }
    if (!file.commit())
        throw FormFileError(QStringLiteral("%1: %2").arg(source, file.errorString()));
}

QByteArray formToJson(const Form &form)
{
    JsonWriter writer;
    writer.beginObject();
    writer.key(QStringLiteral("format"));
    writer.value(QStringLiteral("pelidora-form"));
    writer.key(QStringLiteral("version"));
    writer.value(qint64(1));
    writer.key(QStringLiteral("caption"));
    writer.value(form.caption);
    writer.key(QStringLiteral("width"));
    writer.value(qint64(form.size.width()));
    writer.key(QStringLiteral("height"));
    writer.value(qint64(form.size.height()));
    writer.key(QStringLiteral("controls"));
    writer.beginArray();
    for (const FormControl &control : form.controls) {
        writer.beginObject();
        writer.key(QStringLiteral("class"));
        writer.value(control.className);
        writer.key(QStringLiteral("name"));
        writer.value(control.name);
        writer.key(QStringLiteral("left"));
        writer.value(qint64(control.position.x()));
        writer.key(QStringLiteral("top"));
        writer.value(qint64(control.position.y()));
        writer.key(QStringLiteral("properties"));
        writer.beginObject();
        for (const QString &name : control.properties.keys()) {
            writer.key(name);
            writeValue(writer, control.properties.ReadProperty(name));
        }
        writer.endObject();
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();
    return writer.take();
}

} // namespace pelidora
