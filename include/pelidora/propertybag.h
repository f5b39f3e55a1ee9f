// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>
#include <pelidora/stdfont.h>

#include <QList>
#include <QString>
#include <QVariant>

namespace pelidora {

/** The kinds of value a property bag holds, as a host stores them. An Integer is made with
 *  QVariant::fromValue(qint16(n)): QVariant(qint16(n)) holds an int, which is a Long. */
enum class ValueKind {
    Long,    /**< signed 32-bit integer (qint32) */
    Integer, /**< signed 16-bit integer (qint16) */
    Boolean, /**< bool */
    Font,    /**< StdFont */
};

/** Named, typed values saved with a form. Keys match without regard to case; a key keeps
 *  the spelling it was first written with. A bag holds values, not objects: a font is
 *  copied in on write and out on read (StdFont::clone), so changing a control's font later
 *  never changes what was saved, and changing a font read back never changes the bag. */
class PELIDORA_EXPORT PropertyBag
{
public:
    /** The stored value, or defaultValue when the key is absent. */
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = {}) const;

    /** Stores value; a value equal to defaultValue (sameValue) is left out, and an earlier
     *  value under that key removed, so the reader's default applies. Without a default
     *  every value is stored. Throws RuntimeError 13 for a QVariant that is none of the
     *  kinds above (qint64, uint, QString ... included); the bag is then unchanged. */
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = {});

    /** Typed reads: the stored value, or the default when the key is absent. Long and
     *  Integer take either integer kind, checking the range (RuntimeError 6, overflow).
     *  Boolean takes a bool, or an integer as hosts store booleans (0 false, -1 true): any
     *  number but 0 is true. Any other kind raises RuntimeError 13 (type mismatch): a bool
     *  read as an integer, a font read as a scalar, a scalar read as a font. The error text
     *  names the key. */
    qint32 readLong(const QString &name, qint32 defaultValue) const;
    qint16 readInteger(const QString &name, qint16 defaultValue) const;       /**< @copydoc readLong */
    bool readBoolean(const QString &name, bool defaultValue) const;           /**< @copydoc readLong */
    StdFont readFont(const QString &name, const StdFont &defaultValue) const; /**< @copydoc readLong */

    bool contains(const QString &name) const;            /**< the key, without regard to case */
    void remove(const QString &name);                    /**< the key, without regard to case */
    QStringList keys() const;                            /**< in the order first written */
    bool isEmpty() const { return m_entries.isEmpty(); } /**< no key at all */
    void clear() { m_entries.clear(); }                  /**< removes every key */

    /** Of a kind a bag holds (ValueKind): qint32, qint16, bool or StdFont. */
    static bool isStorable(const QVariant &value);
    /** Of a storable value; RuntimeError 13 for any other. */
    static ValueKind kindOf(const QVariant &value);
    /** Equal values of storable kinds: integers by number whatever their width, fonts by
     *  attributes. A bool never equals an integer; anything unstorable equals nothing. */
    static bool sameValue(const QVariant &a, const QVariant &b);
    static QString kindName(ValueKind kind); /**< "Long", "Integer", "Boolean", "Font" */

private:
    struct Entry {
        QString key;
        QVariant value;
    };
    qsizetype indexOf(const QString &name) const;
    QList<Entry> m_entries;
};

} // namespace pelidora
