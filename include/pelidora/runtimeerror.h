// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>

#include <QString>

#include <exception>

namespace pelidora {

/** A numbered run-time error raised to the caller of a property or method, the way a
 *  component host reports them. The number is what callers test; the text is for people. */
class PELIDORA_EXPORT RuntimeError : public std::exception
{
public:
    /** The numbers the library raises. */
    enum Number : int {
        Overflow = 6,               /**< a number beyond its type's range */
        SubscriptOutOfRange = 9,    /**< an index beyond a list */
        TypeMismatch = 13,          /**< a value of the wrong kind */
        InvalidPropertyValue = 380, /**< a value the property does not take */
        NotSettableAtRunTime = 393, /**< a property only a form's design may set */
    };

    /** An error @p number; without @p description, standardDescription(number). */
    explicit RuntimeError(int number, QString description = {});

    int number() const noexcept { return m_number; }                          /**< what callers test */
    const QString &description() const noexcept { return m_description; }     /**< for people */
    const char *what() const noexcept override { return m_what.constData(); } /**< the description, UTF-8 */

    /** The standard text of the numbers above; empty for others. */
    static QString standardDescription(int number);

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace pelidora
