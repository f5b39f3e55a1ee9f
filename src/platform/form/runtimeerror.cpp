// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/runtimeerror.h>

namespace pelidora {

RuntimeError::RuntimeError(int number, QString description)
    : m_number(number)
    , m_description(description.isEmpty() ? standardDescription(number) : std::move(description))
{
    m_what = QStringLiteral("Run-time error %1: %2").arg(m_number).arg(m_description).toUtf8();
}

QString RuntimeError::standardDescription(int number)
{
    switch (number) {
    case Overflow: return QStringLiteral("Overflow");
    case SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case TypeMismatch: return QStringLiteral("Type mismatch");
    case InvalidPropertyValue: return QStringLiteral("Invalid property value");
    case NotSettableAtRunTime: return QStringLiteral("Property can't be set at run time");
    default: return {};
    }
}

} // namespace pelidora
