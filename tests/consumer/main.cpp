// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Links the installed library as a program would and loads the installed Designer plugin
// given as the argument. What the library does is the other suites' business: this only
// proves that the installed package is whole.

#include <pelidora/platform.h>
#include <pelidora/ucvPelidora.h>
#include <pelidora/version.h>

#include <QApplication>
#include <QPluginLoader>

#include <cstdio>

// The installed, configured version header: one number in #if, ordered as versions are.
#if PELIDORA_VERSION < PELIDORA_VERSION_CHECK(1, 0, 0) || PELIDORA_VERSION_CHECK(1, 10, 0) <= PELIDORA_VERSION_CHECK(1, 9, 255)
#error "PELIDORA_VERSION does not order as versions do"
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool ok = true;
    // A class, a signal and a free function, each of which must be exported.
    pelidora::ucvPelidora box;
    QDate announced;
    QObject::connect(&box, &pelidora::ucvPelidora::dateChanged, [&announced](const QDate &date) { announced = date; });
    box.setDate(QDate(2000, 1, 1));
    if (announced != QDate(2000, 1, 1) || pelidora::daySerial(box.date()) != 36526) {
        std::fprintf(stderr, "FAILED: the date box of the installed library\n");
        ok = false;
    }
    if (argc > 1) {
        QPluginLoader designer(QString::fromLocal8Bit(argv[1]));
        if (designer.metaData().value("IID").toString() != "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"
            || !designer.instance()) {
            std::fprintf(stderr, "FAILED: the installed Designer plugin: %s\n", qPrintable(designer.errorString()));
            ok = false;
        }
    }
    std::printf("Pelidora %s consumer: %s\n", PELIDORA_VERSION_STRING, ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
