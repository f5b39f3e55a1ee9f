#include "hostoptions.h"
#include "hosttranslations.h"
#include "platformnoise.h"
#include "runhost.h"

#include <QApplication>
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
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_LINUX
    if (!headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("pelidora-host: no display (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                   "  Start a virtual one:   xvfb-run -a pelidora-host FORM.json\n"
                   "  Or render a picture:   pelidora-host FORM.json --screenshot form.png\n",
                   stderr);
        return ExitFailure;
    }
#endif

    installPlatformNoiseFilter();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pelidora-host"));
    installHostTranslations();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runHost(QApplication::arguments().mid(1), out, err);
}
