// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// libFuzzer target for a form's round trip: whatever reads, saves to text that reads back
// to an equal form, and saving that again gives the same bytes.

#include "formfuzz.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    formfuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<pelidora::Form> read = formfuzz::formOf(data, size);
    if (!read)
        return 0;
    const pelidora::Form &form = *read;
    const QByteArray saved = pelidora::formToJson(form);
    pelidora::Form back;
    try {
        back = pelidora::parseForm(saved, QStringLiteral("saved.json"));
    } catch (const pelidora::FormFileError &) {
        std::abort(); // a form that was read must read back
    }
    formfuzz::check(formfuzz::sameForm(form, back));
    formfuzz::check(pelidora::formToJson(back) == saved);
    return 0;
}
