#pragma once

// What the form file fuzz targets share: a Qt to make fonts with, and the promises every
// form file read keeps, whatever the bytes.

#include <pelidora/formfile.h>

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

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
        check(category != QChar::Other_Control && category != QChar::Other_Format
              && category != QChar::Separator_Line && category != QChar::Separator_Paragraph);
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

inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace formfuzz
