// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// libFuzzer target for saving at the size limit. A form that reads is repeated (its
// controls, or its caption when it has none) as often as still saves within the 16 MiB a
// reader takes: that saves, reads back to an equal form and the same bytes; one repetition
// more is refused, and the saved file stays as it was.

#include "formfuzz.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace {

constexpr qsizetype kLimit = 16 * 1024 * 1024;

// The form times over. Copies after the first are named NAME~0000001 ..., all of one width,
// so that each copy adds the same number of bytes to the saved text.
std::optional<pelidora::Form> repeated(const pelidora::Form &form, qsizetype times)
{
    pelidora::Form result = form;
    if (form.controls.isEmpty()) {
        result.caption = (form.caption.isEmpty() ? QStringLiteral("x") : form.caption).repeated(times);
        return result;
    }
    result.controls.reserve(form.controls.size() * times);
    for (qsizetype copy = 1; copy < times; ++copy) {
        for (const pelidora::FormControl &control : form.controls) {
            result.controls << control;
            result.controls.last().name += QStringLiteral("~%1").arg(copy, 7, 10, QLatin1Char('0'));
        }
    }
    QSet<QString> names;
    names.reserve(result.controls.size());
    for (const pelidora::FormControl &control : std::as_const(result.controls))
        names.insert(control.name.toCaseFolded());
    if (names.size() != result.controls.size())
        return std::nullopt; // a copy's name is taken by another control already
    return result;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<pelidora::Form> read = formfuzz::formOf(data, size);
    if (!read)
        return 0;
    const pelidora::Form &form = *read;
    const auto savedSize = [&](qsizetype times) {
        const std::optional<pelidora::Form> big = repeated(form, times);
        return big ? pelidora::formToJson(*big).size() : -1;
    };
    const qsizetype two = savedSize(2), step = savedSize(3) - two;
    if (two < 0 || step <= 0 || two > kLimit)
        return 0;
    const qsizetype times = 2 + (kLimit - two) / step;

    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("scaled.json"));
    const std::optional<pelidora::Form> most = repeated(form, times), tooMany = repeated(form, times + 1);
    if (!most || !tooMany)
        return 0;
    try {
        pelidora::writeForm(path, *most);
    } catch (const pelidora::FormFileError &) {
        std::abort(); // within the limit, a form that was read saves
    }
    const QByteArray saved = fileBytes(path);
    formfuzz::check(saved.size() <= kLimit && saved.size() > kLimit - step);
    const pelidora::Form back = pelidora::readForm(path);
    formfuzz::check(formfuzz::sameForm(*most, back));
    formfuzz::check(pelidora::formToJson(back) == saved);
    try {
        pelidora::writeForm(path, *tooMany);
        std::abort();
    } catch (const pelidora::FormFileError &error) {
        formfuzz::check(error.message().contains(QStringLiteral("more than the 16 MiB")));
    }
    formfuzz::check(fileBytes(path) == saved);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    formfuzz::startQt();
    return 0;
}
