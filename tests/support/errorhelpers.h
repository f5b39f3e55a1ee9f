// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What a call raises, in the terms the tests compare: a RuntimeError by its number, a
// FormFileError by its message.

#include <pelidora/formfile.h>
#include <pelidora/runtimeerror.h>

#include <QString>

namespace pelidora::test {

// The number; 0 for none.
inline int told(const RuntimeError *error) { return error ? error->number() : 0; }

// The message, which what() must repeat; "(no error)" for none.
inline QString told(const FormFileError *error)
{
    if (!error)
        return QStringLiteral("(no error)");
    return QString::fromStdString(error->what()) == error->message() ? error->message() : QStringLiteral("what() differs");
}

// What call raises of E, told as above.
template<typename E, typename F>
auto errorOf(F &&call)
{
    try {
        call();
    } catch (const E &error) {
        return told(&error);
    }
    return told(static_cast<const E *>(nullptr));
}

} // namespace pelidora::test
