#pragma once

#include <pelidora/global.h>
#include <pelidora/stdfont.h>

#include <QList>
#include <QString>
#include <QVariant>

namespace pelidora {

// The kinds of value a property bag holds, as a host stores them.
enum class ValueKind {
    Long,    // signed 32-bit integer (qint32)
    Integer, // signed 16-bit integer (qint16)
    Boolean, // bool
    Font,    // StdFont
};

// Named, typed values saved with a form. Keys match without regard to case; a key keeps
// the spelling it was first written with.
class PELIDORA_EXPORT PropertyBag
{
public:
    // The stored value, or defaultValue when the key is absent.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = {}) const;

    // Stores value; a value equal to defaultValue is left out (and an earlier value under
    // that key removed), so the reader's default applies. Throws RuntimeError 13 for a
    // QVariant that is none of the kinds above.
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = {});

    // Typed reads: the stored value (or the default) converted to the kind. A value of
    // another kind raises RuntimeError 13 (type mismatch), an integer outside the kind's
    // range RuntimeError 6 (overflow); the error text names the key.
    qint32 readLong(const QString &name, qint32 defaultValue) const;
    qint16 readInteger(const QString &name, qint16 defaultValue) const;
    bool readBoolean(const QString &name, bool defaultValue) const;
    StdFont readFont(const QString &name, const StdFont &defaultValue) const;

    bool contains(const QString &name) const;
    void remove(const QString &name);
    QStringList keys() const;  // in the order first written
    bool isEmpty() const { return m_entries.isEmpty(); }
    void clear() { m_entries.clear(); }

    static bool isStorable(const QVariant &value);
    static ValueKind kindOf(const QVariant &value); // of a storable value
    // Equal values of storable kinds: integers by number whatever their width, fonts by
    // attributes.
    static bool sameValue(const QVariant &a, const QVariant &b);

private:
    struct Entry {
        QString key;
        QVariant value;
    };
    qsizetype indexOf(const QString &name) const;
    QList<Entry> m_entries;
};

} // namespace pelidora
