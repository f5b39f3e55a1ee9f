// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "displaycheck.h"
#include "hostoptions.h"
#include "hosttranslations.h"
#include "platformnoise.h"
#include "runhost.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>

using namespace pelidora::host;

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    QString problem;
    const std::optional<HostOptions> options = parseHostArguments(args, &problem);
    if (!options || options->help) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runHost(args, out, err);
    }
    // Dumping and rendering need no display: don't let Qt look for one.
    const bool headless = options->headless();
    const auto display = displayProblem(headless, QProcessEnvironment::systemEnvironment());
    if (display) {
        std::fputs(qPrintable(display->message), stderr);
        return display->exitCode;
    }
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    installPlatformNoiseFilter();
    std::optional<PlatformStartGuard> starting(std::in_place);
    // The arguments are the host's, read once above: Qt would take a form or a picture
    // named like one of its own options (-reverse, -style ...), even after "--".
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    starting.reset();
    QApplication::setApplicationName(QStringLiteral("pelidora-host"));
    installHostTranslations();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runHost(args, out, err);
}
