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
    enum Number : int {
        Overflow = 6,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        InvalidPropertyValue = 380,
        NotSettableAtRunTime = 393,
    };

    explicit RuntimeError(int number, QString description = {});

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

    /** The standard text of the numbers above; empty for others. */
    static QString standardDescription(int number);

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace pelidora
