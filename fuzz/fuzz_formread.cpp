// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// libFuzzer target for the form reader: any bytes give a form or a FormFileError that names
// the source and shows no raw control characters; nothing else escapes and nothing crashes.

#include "formfuzz.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    formfuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString source = QStringLiteral("fuzz.json");
    try {
        formfuzz::checkForm(pelidora::parseForm(formfuzz::bytesOf(data, size), source));
    } catch (const pelidora::FormFileError &error) {
        formfuzz::checkMessage(error, source);
    }
    return 0;
}
