// Uses the installed library without a QApplication: a property bag and a form text.

#include <pelidora/formfile.h>
#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/version.h>

#include <cstdio>

int main()
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

    std::printf("Pelidora %s consumer: %s\n", PELIDORA_VERSION_STRING, failures ? "failed" : "ok");
    return failures ? 1 : 0;
}
