#include <pelidora/formfile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace pelidora;

namespace {

QVariant font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return QVariant::fromValue(StdFont(f));
}

Form sampleForm()
{
    Form form{"Démo \"quoted\"\n2nd line", QSize(480, 300), {}};
    FormControl first{"TestBox", "DateBox1", QPoint(20, -4), {}};
    first.properties.WriteProperty("Enabled", false);
    first.properties.WriteProperty("BackColor", 0x00FFFFFF);
    first.properties.WriteProperty("Appearance", QVariant::fromValue(qint16(-1)));
    first.properties.WriteProperty("Font", font("DejaVu Sans", 9.75, true));
    form.controls << first << FormControl{"TestBox", "DateBox2", QPoint(20, 60), {}};
    return form;
}

void compareForms(const Form &actual, const Form &expected)
{
    QCOMPARE(actual.caption, expected.caption);
    QCOMPARE(actual.size, expected.size);
    QCOMPARE(actual.controls.size(), expected.controls.size());
    for (qsizetype i = 0; i < actual.controls.size(); ++i) {
        const FormControl &a = actual.controls.at(i), &e = expected.controls.at(i);
        QCOMPARE(a.className, e.className);
        QCOMPARE(a.name, e.name);
        QCOMPARE(a.position, e.position);
        QCOMPARE(a.properties.keys(), e.properties.keys());
        for (const QString &key : e.properties.keys())
            QVERIFY2(PropertyBag::sameValue(a.properties.ReadProperty(key), e.properties.ReadProperty(key)),
                     qPrintable(key));
    }
}

QByteArray box(const QByteArray &name, const QByteArray &properties, const QByteArray &cls = "TestBox")
{
    return R"({"class": ")" + cls + R"(", "name": ")" + name + R"(", "left": 0, "top": 0, "properties": {)"
        + properties + "}}";
}

QByteArray form(const QByteArray &controls, const QByteArray &extra = {})
{
    return R"({"format": "pelidora-form", "version": 1, "width": 480, "height": 300, )" + extra
        + R"("controls": [)" + controls + "]}";
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(absent)");
}

} // namespace

class tst_FormFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void writtenFormReadsBackEqual();
    void layoutIsStableAndOrdered();
    void badFormIsRefusedNamingThePlace_data();
    void badFormIsRefusedNamingThePlace();
    void unreadableFileNamesTheReason_data();
    void unreadableFileNamesTheReason();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void reRegisteringAClassReplacesItsKeys();
};

void tst_FormFile::initTestCase()
{
    registerControlClass("TestBox", {{"BackColor", ValueKind::Long}, {"Appearance", ValueKind::Integer},
                                     {"Enabled", ValueKind::Boolean}, {"Font", ValueKind::Font}});
}

void tst_FormFile::writtenFormReadsBackEqual()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("demo.json");
    writeForm(path, sampleForm());
    const Form read = readForm(path);
    compareForms(read, sampleForm());
    QCOMPARE(read.controls.at(0).properties.ReadProperty("appearance").typeId(), int(QMetaType::Short));
    QCOMPARE(read.controls.at(0).properties.ReadProperty("BackColor").typeId(), int(QMetaType::Int));
    QCOMPARE(formToJson(read), fileBytes(path));
}

void tst_FormFile::layoutIsStableAndOrdered()
{
    const QByteArray expected = R"({
    "format": "pelidora-form",
    "version": 1,
    "caption": "Demo",
    "width": 480,
    "height": 300,
    "controls": [
        {
            "class": "TestBox",
            "name": "DateBox1",
            "left": 20,
            "top": 20,
            "properties": {
                "Enabled": false,
                "BackColor": 255,
                "Font": {
                    "Name": "DejaVu Sans",
                    "Size": 9.75,
                    "Bold": true,
                    "Italic": false,
                    "Underline": false,
                    "Strikethrough": false
                }
            }
        },
        {
            "class": "TestBox",
            "name": "DateBox2",
            "left": 20,
            "top": 60,
            "properties": {}
        }
    ]
}
)";
    QCOMPARE(formToJson(parseForm(expected, "demo.json")), expected);
}

void tst_FormFile::badFormIsRefusedNamingThePlace_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message"); // how the error starts
    const QByteArray ok = box("DateBox1", {});
    const QString box1 = R"(t.json: controls[0] ("DateBox1"))";
    QTest::newRow("boolean given a number")
        << form(ok + "," + box("DateBox2", R"("Enabled": 1)"))
        << R"(t.json: controls[1] ("DateBox2").properties.Enabled: expected a boolean, found a number)";
    QTest::newRow("long given a string") << form(box("DateBox1", R"("BackColor": "red")"))
        << box1 + ".properties.BackColor: expected an integer, found a string";
    QTest::newRow("long given a fraction") << form(box("DateBox1", R"("BackColor": 2.5)"))
        << box1 + ".properties.BackColor: expected an integer, found 2.5";
    QTest::newRow("long beyond 32 bits") << form(box("DateBox1", R"("BackColor": 2147483648)"))
        << box1 + ".properties.BackColor: 2147483648 is out of range (-2147483648 to 2147483647)";
    QTest::newRow("integer beyond 16 bits") << form(box("DateBox1", R"("Appearance": -32769)"))
        << box1 + ".properties.Appearance: -32769 is out of range (-32768 to 32767)";
    QTest::newRow("font given a number") << form(box("DateBox1", R"("Font": 9)"))
        << box1 + ".properties.Font: expected a font object, found a number";
    QTest::newRow("font without size") << form(box("DateBox1", R"("Font": {"Name": "Serif"})"))
        << box1 + R"(.properties.Font: missing "Size")";
    QTest::newRow("font size zero") << form(box("DateBox1", R"("Font": {"Name": "Serif", "Size": 0})"))
        << box1 + ".properties.Font.Size: 0 is out of range";
    QTest::newRow("font attribute misspelt")
        << form(box("DateBox1", R"("Font": {"Name": "Serif", "Size": 9, "Bolt": true})"))
        << box1 + ".properties.Font.Bolt: unknown font attribute";
    QTest::newRow("unknown property") << form(box("DateBox1", R"("Colour": 1)"))
        << box1 + ".properties.Colour: class TestBox has no such property";
    QTest::newRow("key twice ignoring case") << form(box("DateBox1", R"("Enabled": true, "enabled": false)"))
        << box1 + R"(.properties.enabled: same property as "Enabled")";
    QTest::newRow("unknown class") << form(box("DateBox1", {}, "NoSuchBox"))
        << box1 + R"(.class: unknown control class "NoSuchBox")";
    QTest::newRow("class in the wrong case") << form(box("DateBox1", {}, "testbox"))
        << box1 + R"(.class: unknown control class "testbox" (class names are exact: "TestBox"))";
    QTest::newRow("names equal ignoring case") << form(ok + "," + box("datebox1", {}))
        << R"(t.json: controls[1] ("datebox1").name: the name is already used by controls[0] ("DateBox1"))";
    QTest::newRow("empty name") << form(box("", {})) << "t.json: controls[0].name: a control needs a name";
    QTest::newRow("unknown form key") << form(ok, R"("colour": 1, )") << "t.json: colour: unknown key";
    QTest::newRow("not an object") << QByteArray("[]") << "t.json: expected a form object, found an array";
    QTest::newRow("other format") << QByteArray(R"({"format": "other"})") << "t.json: format: not a Pelidora form file";
    QTest::newRow("newer version") << form(ok).replace(R"("version": 1)", R"("version": 2)")
        << "t.json: version: version 2 is not supported";
    QTest::newRow("truncated") << QByteArray("{\n    \"format\": \"pelidora-form\",\n    \"controls\": [")
        << "t.json: line 3, column 18: unexpected end of file";
    QTest::newRow("missing comma") << QByteArray("{\n  \"format\": \"pelidora-form\"\n  \"version\": 1}")
        << "t.json: line 3, column 3: expected ',' or '}'";
    QTest::newRow("columns count characters") << QByteArray("{\"caption\": \"\xC3\xA9\xE2\x82\xAC\", x")
        << "t.json: line 1, column 19: expected a key";
    QTest::newRow("not UTF-8") << QByteArray("{\"caption\": \"\xFF\"}") << "t.json: line 1, column 14: not UTF-8";
    QTest::newRow("lone surrogate") << QByteArray(R"({"caption": "\udc00"})")
        << "t.json: line 1, column 14: \\u escape of a lone low surrogate";
    QTest::newRow("nested too deep") << QByteArray(200, '[') << "t.json: line 1, column 66: nested more than 64";
}

void tst_FormFile::badFormIsRefusedNamingThePlace()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    try {
        parseForm(json, "t.json");
        QFAIL("accepted");
    } catch (const FormFileError &e) {
        QVERIFY2(e.message().startsWith(message), qPrintable(e.message()));
        QCOMPARE(QString::fromStdString(e.what()), e.message());
    }
}

void tst_FormFile::unreadableFileNamesTheReason_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing")   << "missing.json" << "No such file or directory";
    QTest::newRow("directory") << "."            << "directory";
}

void tst_FormFile::unreadableFileNamesTheReason()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    try {
        readForm(path);
        QFAIL("read");
    } catch (const FormFileError &e) {
        QVERIFY2(e.message().startsWith(path + ": ") && e.message().contains(reason), qPrintable(e.message()));
    }
}

void tst_FormFile::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("directory missing") << "missing";
    QTest::newRow("directory read-only") << "read-only";
    QTest::newRow("file size limit") << "limit";
    QTest::newRow("class not registered") << "class";
}

void tst_FormFile::failedSaveKeepsTheOldFile()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString folder = how == "missing" ? dir.filePath("no/such/folder") : dir.path();
    const QString path = folder + "/demo.json";
    const QByteArray old = "{ \"old\": \"form\" }";
    if (how != "missing") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    }
    Form form = sampleForm();
    if (how == "class")
        form.controls[1].className = "Unregistered";
    if (how == "read-only") {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(folder).isWritable()) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("running with rights that ignore directory permissions");
        }
    }

    QString message;
    rlimit saved{};
    void (*oldHandler)(int) = SIG_DFL;
    if (how == "limit") { // the disk fills up in the middle of the save
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit small{64, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    try {
        writeForm(path, form);
    } catch (const FormFileError &e) {
        message = e.message();
    }
    if (how == "limit") {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(message.startsWith(path + ": not saved: "), qPrintable(message));
    if (how == "class")
        QVERIFY2(message.contains(R"(controls[1] ("DateBox2").class: unknown control class)"), qPrintable(message));
    if (how == "limit") // the OS reason, which a short write does not give by itself
        QVERIFY2(message.endsWith("File too large"), qPrintable(message));
    QCOMPARE(fileBytes(path), how == "missing" ? QByteArray("(absent)") : old);
    if (how != "missing")
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"demo.json"});
}

void tst_FormFile::reRegisteringAClassReplacesItsKeys()
{
    registerControlClass("Twice", {{"Old", ValueKind::Long}});
    registerControlClass("Twice", {{"New", ValueKind::Boolean}});
    QCOMPARE(parseForm(form(box("A", R"("new": true)", "Twice")), "t.json").controls.at(0).properties.keys(),
             QStringList{"new"});
    QVERIFY_THROWS_EXCEPTION(FormFileError, parseForm(form(box("A", R"("Old": 1)", "Twice")), "t.json"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             registerControlClass("Bad", {{"Key", ValueKind::Long}, {"KEY", ValueKind::Long}}));
}

QTEST_MAIN(tst_FormFile)
#include "tst_formfile.moc"
