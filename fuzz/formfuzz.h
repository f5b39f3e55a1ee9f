// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What the form file fuzz targets share: a Qt to make fonts with, and the promises every
// form file read keeps, whatever the bytes.

#include <pelidora/formfile.h>

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace formfuzz {

inline void startQt()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

inline void check(bool promise)
{
    if (!promise)
        std::abort();
}

// An error names the source and shows nothing a terminal would act on.
inline void checkMessage(const pelidora::FormFileError &error, const QString &source)
{
    const QString message = error.message();
    check(message.startsWith(source + QStringLiteral(": ")));
    for (const QChar c : message) {
        const auto category = c.category();
        check(category != QChar::Other_Control && category != QChar::Other_Format && category != QChar::Separator_Line
              && category != QChar::Separator_Paragraph);
    }
}

// A form that was read holds only what a host can show.
inline void checkForm(const pelidora::Form &form)
{
    constexpr int kMax = 16777215;
    check(form.size.width() >= 1 && form.size.width() <= kMax && form.size.height() >= 1 && form.size.height() <= kMax);
    for (const pelidora::FormControl &control : form.controls) {
        check(pelidora::isRegisteredControlClass(control.className));
        check(!control.name.trimmed().isEmpty());
        check(qAbs(control.position.x()) <= kMax && qAbs(control.position.y()) <= kMax);
    }
}

inline bool sameBag(const pelidora::PropertyBag &a, const pelidora::PropertyBag &b)
{
    if (a.keys() != b.keys())
        return false;
    for (const QString &key : a.keys()) {
        const QVariant x = a.ReadProperty(key), y = b.ReadProperty(key);
        if (!pelidora::PropertyBag::sameValue(x, y) || x.typeId() != y.typeId())
            return false;
        // Fonts compare sizes to 1/10000 point; the file keeps them exactly.
        if (pelidora::PropertyBag::kindOf(x) == pelidora::ValueKind::Font
            && x.value<pelidora::StdFont>().size() != y.value<pelidora::StdFont>().size())
            return false;
    }
    return true;
}

// The same form: values, their kinds and the order of keys alike, fonts to the exact size.
inline bool sameForm(const pelidora::Form &a, const pelidora::Form &b)
{
    if (a.caption != b.caption || a.size != b.size || a.controls.size() != b.controls.size())
        return false;
    for (qsizetype i = 0; i < a.controls.size(); ++i) {
        const pelidora::FormControl &x = a.controls.at(i), &y = b.controls.at(i);
        if (x.className != y.className || x.name != y.name || x.position != y.position
            || !sameBag(x.properties, y.properties))
            return false;
    }
    return true;
}

inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The form the bytes hold, if they hold one.
inline std::optional<pelidora::Form> formOf(const std::uint8_t *data, std::size_t size)
{
    try {
        return pelidora::parseForm(bytesOf(data, size), QStringLiteral("fuzz.json"));
    } catch (const pelidora::FormFileError &) {
        return std::nullopt;
    }
}

} // namespace formfuzz
