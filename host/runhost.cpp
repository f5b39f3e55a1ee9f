// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "runhost.h"

#include "consolemessagesink.h"
#include "designwindow.h"
#include "formcanvas.h"
#include "formdump.h"
#include "formhost.h"
#include "formshot.h"
#include "hostoptions.h"
#include "runwindow.h"

#include <pelidora/formfile.h>
#include <pelidora/platform.h>
#include <pelidora/ucvPelidora.h>

#include <QApplication>
#include <QBuffer>
#include <QFileDevice>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QTextStream>
#include <QTimer>

namespace pelidora::host {

namespace {

template<typename Window>
bool loadInto(Window &window, const HostOptions &options, QTextStream &err)
{
    try {
        window.load(options.formPath);
        // Every new widget has posted its polish request. Left for later (a run that shows
        // nothing has no later), each widget's destruction would look through all of them.
        QCoreApplication::sendPostedEvents();
        return true;
    } catch (const FormFileError &error) {
        err << "pelidora-host: " << error.message() << Qt::endl;
        return false;
    }
}

// Written whole or not at all: a failure leaves whatever stood at path as it was. The form
// file is never written over, whatever link leads to it.
bool savePicture(const QImage &image, const QString &path, const QString &formPath, QTextStream &err)
{
    QString problem;
    QByteArray png;
    QBuffer buffer(&png);
    if (isSameFile(path, formPath))
        problem = QStringLiteral("it is the form file");
    else if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        problem = QStringLiteral("the picture could not be made");
    else if (replaceFile(path, png, &problem))
        return true;
    err << "pelidora-host: cannot write the picture " << visibleText(path) << ": " << problem << Qt::endl;
    return false;
}

// Shows the window without a desktop and writes the pictures asked for.
int shoot(QWidget &window, QWidget *form, ucvPelidora *panelBox, const HostOptions &options, QTextStream &err)
{
    if (options.screenshotPath.isEmpty() && options.windowScreenshotPath.isEmpty())
        return ExitOk;
    window.move(0, 0);
    window.show();
    QCoreApplication::processEvents();

    QImage formPicture, windowPicture;
    auto take = [&] {
        if (!options.screenshotPath.isEmpty())
            formPicture = renderWithPanels(form);
        if (!options.windowScreenshotPath.isEmpty())
            windowPicture = renderWithPanels(&window);
    };
    bool ok = true;
    if (panelBox && !openPanel(panelBox, take)) {
        err << "pelidora-host: the panel of " << visibleText(panelBox->objectName())
            << " did not open (is the box disabled?); the picture shows the form without it" << Qt::endl;
        ok = false;
    } else if (!panelBox) {
        take();
    }
    window.hide();

    if (!options.screenshotPath.isEmpty())
        ok = savePicture(formPicture, options.screenshotPath, options.formPath, err) && ok;
    if (!options.windowScreenshotPath.isEmpty())
        ok = savePicture(windowPicture, options.windowScreenshotPath, options.formPath, err) && ok;
    return ok ? ExitOk : ExitFailure;
}

// A dump nobody received (a full disk, a closed or broken pipe) is a failure.
bool dump(const FormHost &host, QTextStream &out, QTextStream &err)
{
    out << QJsonDocument(dumpBoxes(host)).toJson(QJsonDocument::Indented);
    out.flush();
    if (out.status() == QTextStream::Ok)
        return true;
    const auto *file = qobject_cast<const QFileDevice *>(out.device());
    err << "pelidora-host: the dump could not be written: "
        << (file && file->error() != QFileDevice::NoError ? file->errorString() : QStringLiteral("write failed"))
        << Qt::endl;
    return false;
}

int runForm(const HostOptions &options, QTextStream &out, QTextStream &err)
{
    RunWindow window;
    if (!loadInto(window, options, err))
        return ExitBadForm;

    ucvPelidora *panelBox = nullptr;
    if (!options.openPanel.isEmpty()) {
        panelBox = window.host()->boxNamed(options.openPanel);
        if (!panelBox) {
            QStringList names;
            for (const ucvPelidora *box : window.host()->boxes())
                names << visibleText(box->objectName());
            err << "pelidora-host: --open-panel: " << visibleText(options.formPath) << " has no date box named \""
                << visibleText(options.openPanel)
                << "\" (it has: " << (names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", ")))
                << ")" << Qt::endl;
            return ExitBadArguments;
        }
    }
    if (options.dump && !dump(*window.host(), out, err))
        return ExitFailure;
    if (options.headless())
        return shoot(window, window.canvas(), panelBox, options, err);

    window.show();
    if (panelBox)
        QTimer::singleShot(0, panelBox, [panelBox] { openPanel(panelBox, {}); });
    return QApplication::exec();
}

int runDesign(const HostOptions &options, QTextStream &out, QTextStream &err)
{
    DesignWindow window;
    if (!loadInto(window, options, err))
        return ExitBadForm;
    if (options.dump && !dump(*window.host(), out, err))
        return ExitFailure;
    if (options.headless())
        return shoot(window, window.canvas(), nullptr, options, err);
    window.show();
    return QApplication::exec();
}

} // namespace

int runHost(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString problem;
    const std::optional<HostOptions> options = parseHostArguments(args, &problem);
    if (!options) {
        err << "pelidora-host: " << visibleText(problem) << "\n\n" << hostUsage();
        err.flush();
        return ExitBadArguments;
    }
    if (options->help) {
        out << hostUsage();
        out.flush();
        return ExitOk;
    }
    // Nobody could answer a message box here; the run goes on as after an OK.
    const QString platform = QGuiApplication::platformName();
    std::optional<ConsoleMessageSink> noBoxes;
    if (options->headless() || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        noBoxes.emplace(err);
    return options->design ? runDesign(*options, out, err) : runForm(*options, out, err);
}

} // namespace pelidora::host
