// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

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
//               "left": 20, "top": 20,        required, pixels, [-16777215, 16777215]
//               "properties": {               optional; keys from the class, ignoring case
//                   "BackColor": 16777215,    Long: integral, signed 32-bit
//                   "Appearance": 1,          Integer: integral, signed 16-bit
//                   "Enabled": true,          Boolean, or an integral number: 0 false, any other true
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
// file and are written in the bag's order, so saved files diff line by line. The JSON goes
// through a tree of our own (platform/form/jsonreader.h) rather than QJsonObject, which sorts
// its keys and quietly merges repeated ones.

#include <pelidora/formfile.h>

#include "platform/form/jsonreader.h"
#include "platform/form/jsonwriter.h"
#include "platform/os/regularfile.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>
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

using platform::JsonMember;
using platform::JsonValue;
using platform::JsonWriter;

constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
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

// Every registered class's property names, folded.
QSet<QString> foldedPropertyNames()
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    QSet<QString> names;
    for (const Schema &schema : std::as_const(r.classes)) {
        for (const auto &entry : schema)
            names.insert(entry.first.toCaseFolded());
    }
    return names;
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

// Text from the file as a message quotes it: what a terminal would act on or hide (control
// characters, direction overrides, line separators) is shown as a JSON escape.
QString visible(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const qsizetype units = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        const char32_t code = units == 2 ? QChar::surrogateToUcs4(c, text.at(i + 1)) : c.unicode();
        const auto category = QChar::category(code);
        if (category != QChar::Other_Control && category != QChar::Other_Format && category != QChar::Separator_Line
            && category != QChar::Separator_Paragraph) {
            result += text.mid(i, units);
        } else if (c == QLatin1Char('\n')) {
            result += QLatin1String("\\n");
        } else if (c == QLatin1Char('\r')) {
            result += QLatin1String("\\r");
        } else if (c == QLatin1Char('\t')) {
            result += QLatin1String("\\t");
        } else {
            for (qsizetype k = i; k < i + units; ++k)
                result += QStringLiteral("\\u%1").arg(text.at(k).unicode(), 4, 16, QLatin1Char('0'));
        }
        i += units - 1;
    }
    return result;
}

QString joined(const QString &place, const QString &key)
{
    return place.isEmpty() ? visible(key) : place + QLatin1Char('.') + visible(key);
}

// Checks a form as its JSON is read. What a check will not look at is not kept: a value
// that can only be refused by its type keeps its type alone, and nothing after the first
// refused key of an object (but a control's name, which its messages give) is kept at all.
// Each control becomes a FormControl as soon as it is read, and after the first refused
// control the rest are only read, so memory follows what the form holds, not the text.
// The messages are those the checks give on the whole tree: a syntax fault anywhere comes
// first, then the form's own keys, then the first refused control.
class FormChecker : public platform::JsonKeeper
{
public:
    explicit FormChecker(const QString &source)
        : m_source(source)
        , m_propertyNames(foldedPropertyNames())
    {
    }

    Keep keep(const platform::JsonPath &path, JsonValue::Type type, const JsonValue &container) override
    {
        const bool nested = type == JsonValue::Type::Object || type == JsonValue::Type::Array;
        const auto keyOf = [&](size_t depth) { return std::get_if<QString>(&path[depth]); };
        switch (path.size()) {
        case 0: // the form
            return type == JsonValue::Type::Object ? Keep::Whole : Keep::Shell;
        case 1: { // a member of the form
            const QString &key = *keyOf(0);
            if (m_formRefused)
                return Keep::Nothing;
            if (!isOneOf(key, kFormKeys) || hasKey(container, key, Qt::CaseSensitive)) {
                m_formRefused = true;
                return Keep::Shell;
            }
            if (key == QLatin1String("controls"))
                return type == JsonValue::Type::Array ? Keep::Whole : Keep::Shell;
            return nested ? Keep::Shell : Keep::Whole;
        }
        case 2: { // a control
            m_controlRefused = false;
            if (m_controlError)
                return Keep::Nothing;
            if (type == JsonValue::Type::Object)
                return Keep::Whole;
            JsonValue shell;
            shell.type = type;
            addControl(shell, std::get<qsizetype>(path[1])); // refused
            return Keep::Nothing;
        }
        case 3: { // a member of a control
            const QString &key = *keyOf(2);
            if (m_controlRefused) // only the name is looked at then
                return key == QLatin1String("name") && !hasKey(container, key, Qt::CaseSensitive)
                    ? (nested ? Keep::Shell : Keep::Whole)
                    : Keep::Nothing;
            if (!isOneOf(key, kControlKeys) || hasKey(container, key, Qt::CaseSensitive)) {
                m_controlRefused = true;
                return Keep::Shell;
            }
            if (key == QLatin1String("properties")) {
                m_bagRefused = false;
                return type == JsonValue::Type::Object ? Keep::Whole : Keep::Shell;
            }
            return nested ? Keep::Shell : Keep::Whole;
        }
        case 4: { // a property
            const QString &key = *keyOf(3);
            if (m_bagRefused)
                return Keep::Nothing;
            if (!m_propertyNames.contains(key.toCaseFolded()) || hasKey(container, key, Qt::CaseInsensitive)) {
                m_bagRefused = true;
                return Keep::Shell;
            }
            m_fontRefused = false;
            // No property is a string or an array: those are refused by their type.
            return type == JsonValue::Type::Array || type == JsonValue::Type::String ? Keep::Shell : Keep::Whole;
        }
        case 5: { // an attribute of a font
            const QString &key = *keyOf(4);
            if (m_fontRefused)
                return Keep::Nothing;
            if (!isFontAttribute(key) || hasKey(container, key, Qt::CaseInsensitive)) {
                m_fontRefused = true;
                return Keep::Shell;
            }
            return nested ? Keep::Shell : Keep::Whole;
        }
        default: return Keep::Shell;
        }
    }

    bool take(const platform::JsonPath &path, JsonValue &value) override
    {
        if (path.size() != 2)
            return false;
        addControl(value, std::get<qsizetype>(path[1]));
        return true;
    }

    void addControl(const JsonValue &value, qsizetype index)
    {
        try {
            FormControl control = readControl(value, index);
            // Folded per character, as QString::compare without case does.
            const QString folded = control.name.toCaseFolded();
            if (const auto earlier = m_indexByName.constFind(folded); earlier != m_indexByName.constEnd())
                fail(controlPlace(index, control.name) + QStringLiteral(".name"),
                     QStringLiteral("the name is already used by %1 (names ignore case)")
                         .arg(controlPlace(*earlier, m_controls.at(*earlier).name)));
            m_indexByName.insert(folded, index);
            m_controls << std::move(control);
        } catch (const FormFileError &error) {
            m_controlError = error;
        }
    }

    Form form(const JsonValue &root)
    {
        if (root.type != JsonValue::Type::Object)
            fail({}, QStringLiteral("expected a form object, found %1").arg(found(root)));
        checkKeys(root, {}, {"format", "version", "caption", "width", "height", "controls"});

        const JsonValue *format = require(root, {}, "format");
        if (format->type != JsonValue::Type::String || format->string != QLatin1String("pelidora-form"))
            fail(QStringLiteral("format"), QStringLiteral("not a Pelidora form file (expected \"pelidora-form\")"));
        const qint64 version =
            integer(*require(root, {}, "version"), QStringLiteral("version"), 0, std::numeric_limits<qint32>::max());
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
        if (m_controlError)
            throw *m_controlError;
        result.controls = std::move(m_controls);
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
        return name.isEmpty() ? place : QStringLiteral("%1 (\"%2\")").arg(place, visible(name));
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
                fail(joined(place, key),
                     QStringLiteral("unknown key (expected one of %1)").arg(names.join(QStringLiteral(", "))));
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
            fail(classPlace,
                 spelling.isEmpty() ? QStringLiteral("unknown control class \"%1\"").arg(visible(result.className))
                                    : QStringLiteral("unknown control class \"%1\" (class names are exact: \"%2\")")
                                          .arg(visible(result.className), spelling));
        }
        // Beyond what a widget can hold, a place overflows Qt's geometry arithmetic.
        constexpr qint64 min = -kMaxExtentPx, max = kMaxExtentPx;
        result.position =
            QPoint(int(integer(*require(value, place, "left"), place + QStringLiteral(".left"), min, max)),
                   int(integer(*require(value, place, "top"), place + QStringLiteral(".top"), min, max)));
        if (const JsonValue *properties = find(value, "properties"))
            result.properties = readBag(*properties, place + QStringLiteral(".properties"), result.className, *schema);
        return result;
    }

    PropertyBag readBag(const JsonValue &value, const QString &place, const QString &className,
                        const Schema &schema) const
    {
        if (value.type != JsonValue::Type::Object)
            fail(place, QStringLiteral("expected an object, found %1").arg(found(value)));
        PropertyBag result;
        for (const JsonMember &member : value.members) {
            const QString keyPlace = joined(place, member.key);
            for (const QString &earlier : result.keys()) {
                if (earlier.compare(member.key, Qt::CaseInsensitive) == 0)
                    fail(keyPlace,
                         QStringLiteral("same property as \"%1\" (property names ignore case)").arg(visible(earlier)));
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
            return QVariant::fromValue(
                qint32(integer(value, place, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max())));
        case ValueKind::Integer:
            return QVariant::fromValue(
                qint16(integer(value, place, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max())));
        case ValueKind::Boolean:
            // Hosts store booleans as 0 and -1 too: any integral number but 0 is true.
            if (value.type == JsonValue::Type::Number && std::trunc(value.number) == value.number)
                return QVariant::fromValue(value.number != 0);
            return QVariant::fromValue(boolean(value, place));
        case ValueKind::Font: return QVariant::fromValue(readFont(value, place));
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
                fail(keyPlace,
                     QStringLiteral("unknown font attribute (expected Name, Size, Bold, Italic, "
                                    "Underline or Strikethrough)"));
            if (fields[index])
                fail(keyPlace,
                     QStringLiteral("same attribute as \"%1\" (attribute names ignore case)")
                         .arg(visible(fields[index]->key)));
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
            fail(placeOf(Size),
                 QStringLiteral("%1 is out of range (above 0, at most %2 points)")
                     .arg(QString::fromLatin1(size.numberText))
                     .arg(kMaxFontPoints));
        font.setPointSizeF(size.number);
        auto flag = [&](int k) { return fields[k] && boolean(fields[k]->value, placeOf(k)); };
        font.setBold(flag(Bold));
        font.setItalic(flag(Italic));
        font.setUnderline(flag(Underline));
        font.setStrikeOut(flag(Strikethrough));
        return StdFont(font);
    }

    static constexpr std::array kFormKeys{"format", "version", "caption", "width", "height", "controls"};
    static constexpr std::array kControlKeys{"class", "name", "left", "top", "properties"};

    template<size_t N>
    static bool isOneOf(const QString &key, const std::array<const char *, N> &names)
    {
        return std::any_of(names.begin(), names.end(), [&](const char *name) { return key == QLatin1String(name); });
    }

    static bool isFontAttribute(const QString &key)
    {
        static constexpr std::array names{"Name", "Size", "Bold", "Italic", "Underline", "Strikethrough"};
        return std::any_of(names.begin(), names.end(), [&](const char *name) {
            return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
        });
    }

    static bool hasKey(const JsonValue &object, const QString &key, Qt::CaseSensitivity cs)
    {
        return std::any_of(object.members.begin(), object.members.end(),
                           [&](const JsonMember &member) { return member.key.compare(key, cs) == 0; });
    }

    QString m_source;
    QSet<QString> m_propertyNames;
    QList<FormControl> m_controls;           // read so far
    QHash<QString, qsizetype> m_indexByName; // of those, by folded name
    std::optional<FormFileError> m_controlError;
    bool m_formRefused = false;    // a key of the form was refused
    bool m_controlRefused = false; // ... of the control being read
    bool m_bagRefused = false;     // ... of its properties
    bool m_fontRefused = false;    // ... of the font being read
};

Form parseFormAs(const QByteArray &json, const QString &source)
{
    FormChecker checker(source);
    JsonValue root;
    try {
        root = platform::parseJson(json, &checker);
    } catch (const platform::JsonSyntaxError &error) {
        const auto [line, column] = platform::lineAndColumn(json, error.offset);
        throw FormFileError(
            QStringLiteral("%1: line %2, column %3: %4").arg(source).arg(line).arg(column).arg(error.problem));
    }
    return checker.form(root);
}

// ---- Writing

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
    // A form names its class in code and in .ui files alike, so only an identifier will do.
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(className).hasMatch())
        throw std::invalid_argument(QStringLiteral("registerControlClass(\"%1\"): a class name is a letter or _ "
                                                   "followed by letters, digits or _")
                                        .arg(visible(className))
                                        .toStdString());
    for (qsizetype i = 0; i < properties.size(); ++i) {
        if (properties.at(i).first.isEmpty())
            throw std::invalid_argument(
                QStringLiteral("registerControlClass(%1): empty property name").arg(className).toStdString());
        for (qsizetype k = 0; k < i; ++k) {
            if (properties.at(k).first.compare(properties.at(i).first, Qt::CaseInsensitive) == 0)
                throw std::invalid_argument(
                    QStringLiteral("registerControlClass(%1): \"%2\" and \"%3\" are the same key")
                        .arg(className, properties.at(k).first, properties.at(i).first)
                        .toStdString());
        }
    }
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    // The library registers its own classes as it loads; replacing their keys would make
    // every form holding them unreadable.
    for (const QLatin1StringView own : {QLatin1StringView("ucvPelidora")}) {
        if (className.compare(own, Qt::CaseInsensitive) == 0 && r.classes.contains(own))
            throw std::invalid_argument(QStringLiteral("registerControlClass(\"%1\"): %2 is the library's own class")
                                            .arg(className, own)
                                            .toStdString());
    }
    r.classes.insert(className, properties);
}

QString visibleText(const QString &text)
{
    return visible(text);
}

bool isRegisteredControlClass(const QString &className)
{
    return schemaOf(className).has_value();
}

Form readForm(const QString &path)
{
    const QString shown = visible(path);
    QByteArray json;
    try {
        json = platform::readRegularFile(path, kMaxFileBytes);
    } catch (const platform::FileError &error) {
        switch (error.step) {
        case platform::FileError::Step::TooLarge:
            throw FormFileError(QStringLiteral("%1: too large for a form file (more than %2 MiB)")
                                    .arg(shown)
                                    .arg(kMaxFileBytes / (1024 * 1024)));
        case platform::FileError::Step::Read:
            throw FormFileError(QStringLiteral("%1: cannot read: %2").arg(shown, error.reason));
        default: throw FormFileError(QStringLiteral("%1: cannot open: %2").arg(shown, error.reason));
        }
    }
    return parseFormAs(json, shown);
}

Form parseForm(const QByteArray &json, const QString &sourceName)
{
    return parseFormAs(json, sourceName);
}

void writeForm(const QString &path, const Form &form)
{
    const QString source = QStringLiteral("%1: not saved").arg(visible(path));
    const QByteArray json = formToJson(form);
    // What could not be read back is not written, so a save never replaces a good file
    // with one that fails to load.
    if (json.size() > kMaxFileBytes)
        throw FormFileError(
            QStringLiteral("%1: the form would take %2 bytes, more than the %3 MiB a form file may hold")
                .arg(source)
                .arg(json.size())
                .arg(kMaxFileBytes / (1024 * 1024)));
    parseFormAs(json, source);
    try {
        platform::replaceRegularFile(path, json);
    } catch (const platform::FileError &error) {
        throw FormFileError(QStringLiteral("%1: %2").arg(source, error.reason));
    }
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
