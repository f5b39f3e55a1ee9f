// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>

#include <limits>

namespace pelidora {

namespace {

bool isInteger(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::Int || type == QMetaType::Short;
}

// Widened without loss: both integer kinds fit 64 bits.
qint64 integerOf(const QVariant &value)
{
    return value.typeId() == QMetaType::Short ? qint64(value.value<qint16>()) : qint64(value.value<qint32>());
}

QString describe(const QVariant &value)
{
    if (!PropertyBag::isStorable(value))
        return value.isValid() ? QStringLiteral("a %1").arg(QString::fromLatin1(value.typeName()))
                               : QStringLiteral("an empty value");
    switch (PropertyBag::kindOf(value)) {
    case ValueKind::Long: return QStringLiteral("the Long %1").arg(integerOf(value));
    case ValueKind::Integer: return QStringLiteral("the Integer %1").arg(integerOf(value));
    case ValueKind::Boolean:
        return value.toBool() ? QStringLiteral("the Boolean True") : QStringLiteral("the Boolean False");
    case ValueKind::Font: return QStringLiteral("a Font");
    }
    return {};
}

[[noreturn]] void typeMismatch(const QString &name, const QVariant &value, ValueKind wanted)
{
    throw RuntimeError(RuntimeError::TypeMismatch,
                       QStringLiteral("Type mismatch: property \"%1\" holds %2, not %3 %4")
                           .arg(name, describe(value),
                                wanted == ValueKind::Integer ? QStringLiteral("an") : QStringLiteral("a"),
                                PropertyBag::kindName(wanted)));
}

template<typename Int>
Int narrowed(const QString &name, const QVariant &value, ValueKind wanted)
{
    if (!isInteger(value))
        typeMismatch(name, value, wanted);
    const qint64 number = integerOf(value);
    if (number < std::numeric_limits<Int>::min() || number > std::numeric_limits<Int>::max())
        throw RuntimeError(RuntimeError::Overflow,
                           QStringLiteral("Overflow: property \"%1\" holds %2, outside the %3 range %4 to %5")
                               .arg(name)
                               .arg(number)
                               .arg(PropertyBag::kindName(wanted))
                               .arg(std::numeric_limits<Int>::min())
                               .arg(std::numeric_limits<Int>::max()));
    return Int(number);
}

} // namespace

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const qsizetype i = indexOf(name);
    if (i < 0)
        return defaultValue;
    const QVariant &value = m_entries.at(i).value;
    if (value.typeId() == qMetaTypeId<StdFont>())
        return QVariant::fromValue(value.value<StdFont>().clone());
    return value;
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    if (!isStorable(value))
        throw RuntimeError(RuntimeError::TypeMismatch,
                           QStringLiteral("Type mismatch: property \"%1\" cannot hold %2").arg(name, describe(value)));
    const qsizetype i = indexOf(name);
    if (sameValue(value, defaultValue)) {
        if (i >= 0)
            m_entries.removeAt(i);
        return;
    }
    const QVariant stored =
        value.typeId() == qMetaTypeId<StdFont>() ? QVariant::fromValue(value.value<StdFont>().clone()) : value;
    if (i >= 0)
        m_entries[i].value = stored;
    else
        m_entries.append({name, stored});
}

qint32 PropertyBag::readLong(const QString &name, qint32 defaultValue) const
{
    const qsizetype i = indexOf(name);
    return i < 0 ? defaultValue : narrowed<qint32>(name, m_entries.at(i).value, ValueKind::Long);
}

qint16 PropertyBag::readInteger(const QString &name, qint16 defaultValue) const
{
    const qsizetype i = indexOf(name);
    return i < 0 ? defaultValue : narrowed<qint16>(name, m_entries.at(i).value, ValueKind::Integer);
}

bool PropertyBag::readBoolean(const QString &name, bool defaultValue) const
{
    const qsizetype i = indexOf(name);
    if (i < 0)
        return defaultValue;
    const QVariant &value = m_entries.at(i).value;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isInteger(value))
        return integerOf(value) != 0;
    typeMismatch(name, value, ValueKind::Boolean);
}

StdFont PropertyBag::readFont(const QString &name, const StdFont &defaultValue) const
{
    const qsizetype i = indexOf(name);
    if (i < 0)
        return defaultValue;
    const QVariant &value = m_entries.at(i).value;
    if (value.typeId() != qMetaTypeId<StdFont>())
        typeMismatch(name, value, ValueKind::Font);
    return value.value<StdFont>().clone();
}

bool PropertyBag::contains(const QString &name) const
{
    return indexOf(name) >= 0;
}

void PropertyBag::remove(const QString &name)
{
    const qsizetype i = indexOf(name);
    if (i >= 0)
        m_entries.removeAt(i);
}

QStringList PropertyBag::keys() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        result << entry.key;
    return result;
}

bool PropertyBag::isStorable(const QVariant &value)
{
    return isInteger(value) || value.typeId() == QMetaType::Bool || value.typeId() == qMetaTypeId<StdFont>();
}

ValueKind PropertyBag::kindOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int: return ValueKind::Long;
    case QMetaType::Short: return ValueKind::Integer;
    case QMetaType::Bool: return ValueKind::Boolean;
    default:
        if (value.typeId() == qMetaTypeId<StdFont>())
            return ValueKind::Font;
        throw RuntimeError(RuntimeError::TypeMismatch,
                           QStringLiteral("Type mismatch: a property cannot hold %1").arg(describe(value)));
    }
}

bool PropertyBag::sameValue(const QVariant &a, const QVariant &b)
{
    if (!isStorable(a) || !isStorable(b))
        return false;
    if (isInteger(a) || isInteger(b))
        return isInteger(a) && isInteger(b) && integerOf(a) == integerOf(b);
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Bool)
        return a.toBool() == b.toBool();
    return a.value<StdFont>() == b.value<StdFont>();
}

QString PropertyBag::kindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Long: return QStringLiteral("Long");
    case ValueKind::Integer: return QStringLiteral("Integer");
    case ValueKind::Boolean: return QStringLiteral("Boolean");
    case ValueKind::Font: return QStringLiteral("Font");
    }
    return {};
}

qsizetype PropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).key.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace pelidora
