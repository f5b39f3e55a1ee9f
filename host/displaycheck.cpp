// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "displaycheck.h"

#include "runhost.h"

#include <QProcessEnvironment>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace pelidora::host {

namespace {

const char kAdvice[] = "  Start a virtual one:   xvfb-run -a pelidora-host FORM.json\n"
                       "  Or render a picture:   pelidora-host FORM.json --screenshot form.png\n";

// What a platform plugin needs from the environment; empty when it needs nothing we can
// check beforehand.
QString neededVariable(const QString &platform)
{
    if (platform == QLatin1String("xcb"))
        return QStringLiteral("DISPLAY");
    if (platform.startsWith(QLatin1String("wayland")))
        return QStringLiteral("WAYLAND_DISPLAY");
    return {};
}

QtMessageHandler g_previous = nullptr;

void exitOnFatal(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        if (g_previous)
            g_previous(type, context, message);
        return;
    }
    // Qt's own last words advise reinstalling; the reason is in its warnings just above.
    std::fprintf(stderr,
                 "pelidora-host: the window system could not be started (QT_QPA_PLATFORM=%s, DISPLAY=%s);"
                 " Qt's reason is above.\n%s",
                 qgetenv("QT_QPA_PLATFORM").constData(), qgetenv("DISPLAY").constData(), kAdvice);
    std::fflush(stderr);
    std::_Exit(ExitBadArguments);
}

} // namespace

std::optional<DisplayProblem> displayProblem(bool headless, const QProcessEnvironment &env)
{
    const QString asked = env.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (asked.isEmpty()) {
        if (headless || !env.value(QStringLiteral("DISPLAY")).isEmpty()
            || !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
            return std::nullopt;
        return DisplayProblem{ExitFailure,
                              QStringLiteral("pelidora-host: no display (DISPLAY and WAYLAND_DISPLAY are unset).\n")
                                  + QLatin1String(kAdvice)};
    }
    // "name:options", or several names separated by ';', tried in turn.
    QStringList missing;
    for (const QString &entry : asked.split(u';', Qt::SkipEmptyParts)) {
        const QString variable = neededVariable(entry.section(u':', 0, 0).trimmed());
        if (variable.isEmpty() || !env.value(variable).isEmpty())
            return std::nullopt;
        if (!missing.contains(variable))
            missing << variable;
    }
    if (missing.isEmpty())
        return std::nullopt;
    return DisplayProblem{
        ExitBadArguments,
        QStringLiteral("pelidora-host: QT_QPA_PLATFORM is \"%1\", which needs a display, but %2 unset.\n")
                .arg(asked,
                     missing.join(QLatin1String(" and "))
                         + (missing.size() > 1 ? QLatin1String(" are") : QLatin1String(" is")))
            + (headless ? QStringLiteral("  --dump and --screenshot need none: unset QT_QPA_PLATFORM.\n")
                        : QString::fromLatin1(kAdvice))};
}

PlatformStartGuard::PlatformStartGuard()
{
    g_previous = qInstallMessageHandler(exitOnFatal);
}

PlatformStartGuard::~PlatformStartGuard()
{
    qInstallMessageHandler(g_previous);
}

} // namespace pelidora::host
