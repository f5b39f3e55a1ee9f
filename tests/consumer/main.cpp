// Uses the installed library as a program would: a property bag and a form text without a
// QApplication, then a date box in an offscreen application; loads the installed Designer
// plugin given as the argument.

#include <pelidora/formfile.h>
#include <pelidora/platform.h>
#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/translations.h>
#include <pelidora/ucvPelidora.h>
#include <pelidora/version.h>

#include <QApplication>
#include <QPluginLoader>

#include <cstdio>

// A version is one number in #if, ordered as versions are.
#if PELIDORA_VERSION < PELIDORA_VERSION_CHECK(1, 0, 0) \
    || PELIDORA_VERSION_CHECK(1, 10, 0) <= PELIDORA_VERSION_CHECK(1, 9, 255) \
    || PELIDORA_VERSION_CHECK(1, 255, 255) >= PELIDORA_VERSION_CHECK(2, 0, 0)
#error "PELIDORA_VERSION does not order as versions do"
#endif

int main(int argc, char **argv)
{
    using namespace pelidora;
    int failures = 0;
    auto check = [&failures](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "FAILED: %s\n", what);
            ++failures;
        }
    };

    try {
        PropertyBag bag;
        bag.WriteProperty("ForeColor", 0x808000, 0);
        bag.WriteProperty("Locked", false, false);
        check(bag.readLong("Forecolor", 0) == 0x808000, "a key read in another case");
        check(!bag.contains("Locked"), "a value equal to its default left out");
        try {
            bag.readInteger("ForeColor", 0);
            check(false, "a 16-bit read of a larger value overflows");
        } catch (const RuntimeError &e) {
            check(e.number() == RuntimeError::Overflow, "the overflow error number");
        }

        registerControlClass("ConsumerBox", {{"ForeColor", ValueKind::Long}});
        const Form form{"Consumer", QSize(200, 80), {FormControl{"ConsumerBox", "Box1", QPoint(8, 8), bag}}};
        const Form back = parseForm(formToJson(form), "consumer");
        check(back.controls.size() == 1 && back.controls.at(0).properties.readLong("FORECOLOR", 0) == 0x808000,
              "a form read back from its text");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "FAILED: unexpected error: %s\n", e.what());
        ++failures;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        check(isRegisteredControlClass("ucvPelidora"), "the date box registered for form files");
        ucvPelidora box;
        box.setDateSet("36526");
        const QString shown = box.DateSet();
        check(shown != "-1", "a date written as a day serial reads back as a date");
        ucvPelidora other;
        other.setDateSet(shown);
        check(other.DateSet() == shown, "the date text read back writes the same date");
        box.setDateSet("no date");
        check(box.DateSet() == "-1", "a text that is no date leaves no date");

        QDate announced;
        QObject::connect(&box, &ucvPelidora::dateChanged, [&announced](const QDate &date) { announced = date; });
        box.setDate(QDate(2000, 1, 1));
        check(announced == QDate(2000, 1, 1) && box.date() == announced, "a QDate held and announced");
        check(daySerial(box.date()) == 36526 && box.DateSet() == shortDateText(box.date()),
              "the date's serial and text as DateSet has them");

        check(installTranslator(QLocale("it_IT"))
                  && QCoreApplication::translate("pelidora::ucvPelidora", "Open calendar") == "Apri calendario",
              "the Italian catalog carried by the library");
        check(!installTranslator(QLocale("en_GB"))
                  && QCoreApplication::translate("pelidora::ucvPelidora", "Open calendar") == "Open calendar",
              "English needs no catalog");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "FAILED: unexpected error from the date box: %s\n", e.what());
        ++failures;
    }

    if (argc > 1) {
        QPluginLoader designer(QString::fromLocal8Bit(argv[1]));
        check(designer.metaData().value("IID").toString() == "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"
                  && designer.instance(),
              qPrintable("the installed Designer plugin loads: " + designer.errorString()));
    }

    std::printf("Pelidora %s consumer: %s\n", PELIDORA_VERSION_STRING, failures ? "failed" : "ok");
    return failures ? 1 : 0;
}
