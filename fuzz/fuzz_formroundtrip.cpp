// libFuzzer target for a form's round trip: whatever reads, saves to text that reads back
// to an equal form, and saving that again gives the same bytes.

#include "formfuzz.h"

namespace {

bool sameBag(const pelidora::PropertyBag &a, const pelidora::PropertyBag &b)
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

bool sameForm(const pelidora::Form &a, const pelidora::Form &b)
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    formfuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    pelidora::Form form;
    try {
        form = pelidora::parseForm(formfuzz::bytesOf(data, size), QStringLiteral("fuzz.json"));
    } catch (const pelidora::FormFileError &) {
        return 0;
    }
    const QByteArray saved = pelidora::formToJson(form);
    pelidora::Form back;
    try {
        back = pelidora::parseForm(saved, QStringLiteral("saved.json"));
    } catch (const pelidora::FormFileError &) {
        std::abort(); // a form that was read must read back
    }
    formfuzz::check(sameForm(form, back));
    formfuzz::check(pelidora::formToJson(back) == saved);
    return 0;
}
