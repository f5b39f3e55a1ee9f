// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "hostoptions.h"

#include <QCommandLineParser>

namespace pelidora::host {

std::optional<HostOptions> parseHostArguments(const QStringList &args, QString *error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption design(QStringLiteral("design"), {});
    const QCommandLineOption dump(QStringLiteral("dump"), {});
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), {}, QStringLiteral("file"));
    const QCommandLineOption windowScreenshot(QStringLiteral("window-screenshot"), {}, QStringLiteral("file"));
    const QCommandLineOption openPanel(QStringLiteral("open-panel"), {}, QStringLiteral("name"));
    parser.addOptions({help, design, dump, screenshot, windowScreenshot, openPanel});

    auto refuse = [error](const QString &why) -> std::optional<HostOptions> {
        if (error)
            *error = why;
        return std::nullopt;
    };

    if (!parser.parse(QStringList{QStringLiteral("pelidora-host")} + args))
        return refuse(parser.errorText());

    HostOptions options;
    options.help = parser.isSet(help);
    if (options.help)
        return options;
    for (const QCommandLineOption *once : {&screenshot, &windowScreenshot, &openPanel}) {
        if (parser.values(*once).size() > 1)
            return refuse(QStringLiteral("--%1 given more than once").arg(once->names().constFirst()));
    }
    options.design = parser.isSet(design);
    options.dump = parser.isSet(dump);
    options.screenshotPath = parser.value(screenshot);
    options.windowScreenshotPath = parser.value(windowScreenshot);
    options.openPanel = parser.value(openPanel);

    const QStringList forms = parser.positionalArguments();
    if (forms.isEmpty())
        return refuse(QStringLiteral("no form file given"));
    if (forms.size() > 1)
        return refuse(QStringLiteral("one form file at a time (got %1)").arg(forms.size()));
    options.formPath = forms.constFirst();
    if (options.formPath.isEmpty())
        return refuse(QStringLiteral("the form file name is empty"));

    if (parser.isSet(screenshot) && options.screenshotPath.isEmpty())
        return refuse(QStringLiteral("--screenshot needs a file name"));
    if (parser.isSet(windowScreenshot) && options.windowScreenshotPath.isEmpty())
        return refuse(QStringLiteral("--window-screenshot needs a file name"));
    if (parser.isSet(openPanel) && options.openPanel.isEmpty())
        return refuse(QStringLiteral("--open-panel needs the name of a date box"));
    // A designed form has no panels.
    if (!options.openPanel.isEmpty() && options.design)
        return refuse(QStringLiteral("--open-panel works in run mode only, not with --design"));
    // A dump lists properties and shows no window: only a picture can show the panel.
    if (!options.openPanel.isEmpty() && options.dump && options.screenshotPath.isEmpty()
        && options.windowScreenshotPath.isEmpty())
        return refuse(QStringLiteral("--open-panel with --dump needs --screenshot: a dump shows no panel"));
    return options;
}

QString hostUsage()
{
    return QStringLiteral(
        "usage: pelidora-host [--design] FORM.json [--dump]\n"
        "                     [--screenshot OUT.png] [--window-screenshot OUT.png] [--open-panel NAME]\n"
        "\n"
        "  FORM.json              run the form: its date boxes are live, an event log shows\n"
        "                         their Click and DayMouseMove events\n"
        "  --design               design the form: add, move and delete date boxes, set their\n"
        "                         properties, save\n"
        "  --dump                 print every date box's properties as JSON and exit\n"
        "  --screenshot OUT.png   render the form to a PNG and exit (no display needed)\n"
        "  --window-screenshot OUT.png\n"
        "                         render the whole window, form and side column, to a PNG\n"
        "  --open-panel NAME      open the month panel of date box NAME first (with a\n"
        "                         screenshot)\n"
        "  -h, --help             show this text\n"
        "\n"
        "exit codes: 0 ok, 1 picture or dump not written, panel not opened or no display,\n"
        "            2 bad arguments or a QT_QPA_PLATFORM that cannot start, 3 unreadable or\n"
        "            malformed form file\n");
}

} // namespace pelidora::host
