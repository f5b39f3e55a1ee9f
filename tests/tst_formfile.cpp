// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/formfile.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "support/errorhelpers.h"
#include "support/filehelpers.h"
#include "support/formhelpers.h"

#include <fcntl.h>
#include <optional>

using namespace pelidora;
using namespace pelidora::test;

// Declared ahead of the rows: moc loses track of escaped quotes inside raw strings.
class tst_FormFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void savedFileIsStableAndReadsBack();
    void badFormIsRefusedNamingThePlace_data();
    void badFormIsRefusedNamingThePlace();
    void numbersAreReadAsBooleans();
    void pathThatCannotBeUsedIsNamedAndKept_data();
    void pathThatCannotBeUsedIsNamedAndKept();
    void saveKeepsWhatStandsAtThePath_data();
    void saveKeepsWhatStandsAtThePath();
    void temporaryNamesFitAndOnlyStaleOnesGo();
    void reRegisteringAClassReplacesItsKeys();
};

namespace {

// A form as writeForm writes it: key order as written, fonts spelled out, text escaped.
// Byte order marks (<BOM> in the file) open strings and tell names apart; places stand at a
// widget's limits.
QByteArray sample()
{
    return fileBytes(QFINDTESTDATA("data/saved/written_by_writeform.json")).replace("<BOM>", "\xEF\xBB\xBF");
}

// A control of the class registered below unless another is named.
QByteArray box(const QByteArray &name, const QByteArray &props, const QByteArray &cls = "TestBox")
{
    return controlJson(cls, name, props);
}

} // namespace

void tst_FormFile::initTestCase()
{
    registerControlClass("TestBox", {{"BackColor", ValueKind::Long}, {"Appearance", ValueKind::Integer},
                                     {"Enabled", ValueKind::Boolean}, {"Font", ValueKind::Font}});
}

void tst_FormFile::savedFileIsStableAndReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("demo.json");
    writeForm(path, parseForm(sample(), "demo.json"));
    QCOMPARE(fileBytes(path), sample());
    const Form read = readForm(path);
    QCOMPARE(formToJson(read), sample());
    QCOMPARE(read.caption, QStringLiteral("\uFEFF\uFEFFDémo \"quoted\"\n2nd line"));
    QCOMPARE(read.controls.at(0).properties.ReadProperty("appearance").typeId(), int(QMetaType::Short));
}

void tst_FormFile::badFormIsRefusedNamingThePlace_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message"); // how the error starts
    const auto row = [](const char *name, const QByteArray &json, const QString &message) {
        QTest::newRow(name) << json << "t.json: " + message;
    };
    const auto prop = [&](const char *name, const QByteArray &properties, const QString &message) {
        row(name, formJson(box("A", properties)), R"(controls[0] ("A").properties.)" + message);
    };
    const QByteArray ok = box("A", {});
    row("boolean given a fraction", formJson(ok + "," + box("B", R"("Enabled": 0.5)")),
        R"(controls[1] ("B").properties.Enabled: expected a boolean, found a number)");
    prop("boolean given a string", R"("Enabled": "true")", "Enabled: expected a boolean, found a string");
    prop("long given a fraction", R"("BackColor": 2.5)", "BackColor: expected an integer, found 2.5");
    prop("long beyond 32 bits", R"("BackColor": 2147483648)",
         "BackColor: 2147483648 is out of range (-2147483648 to 2147483647)");
    prop("integer beyond 16 bits", R"("Appearance": -32769)", "Appearance: -32769 is out of range (-32768 to 32767)");
    prop("font size zero", R"("Font": {"Name": "Serif", "Size": 0})", "Font.Size: 0 is out of range");
    prop("font attribute misspelt", R"("Font": {"Name":"A", "Size":9, "Bolt":1})", "Font.Bolt: unknown font attribute");
    row("date box bound given a date text", formJson(box("A", R"("minimumDate": "2024-12-20")", "ucvPelidora")),
        R"(controls[0] ("A").properties.minimumDate: expected an integer, found a string)");
    prop("key twice ignoring case", R"("Enabled": true, "enabled": false)", R"(enabled: same property as "Enabled")");
    row("unknown class", formJson(box("A", {}, "Other")), R"(controls[0] ("A").class: unknown control class "Other")");
    row("names equal ignoring case", formJson(ok + "," + box("a", {})),
        R"(controls[1] ("a").name: the name is already used by controls[0] ("A"))");
    row("empty name", formJson(box("", {})), "controls[0].name: a control needs a name");
    row("unknown form key", formJson(ok, R"("colour": 1, )"), "colour: unknown key");
    row("newer version", formJson(ok).replace(R"("version":1)", R"("version":2)"),
        "version: version 2 is not supported");
    row("version 0", formJson(ok).replace(R"("version":1)", R"("version":0)"), "version: version 0 is not supported");
    row("truncated", "{\n\"format\":\"pelidora-form\",\n\"controls\":[", "line 3, column 13: unexpected end of file");
    row("truncated after a key", "{\"format\"", "line 1, column 10: unexpected end of file, expected ':' after the key");
    row("not UTF-8", "{\"caption\": \"\xFF\"}", "line 1, column 14: not UTF-8");
    row("lone surrogate", R"({"caption": "\udc00"})", "line 1, column 14: \\u escape of a lone low surrogate");
    row("nested too deep", QByteArray(200, '['), "line 1, column 66: nested more than 64");
    row("left beyond a widget", formJson(QByteArray(ok).replace(R"("left":0)", R"("left":2147483600)")),
        R"(controls[0] ("A").left: 2147483600 is out of range (-16777215 to 16777215))");
    row("control characters in a name", formJson(box(R"(\u001b[2J\u0007A\nB\u202e)", R"("Colour": 1)")),
        R"(controls[0] ("\u001b[2J\u0007A\nB\u202e").properties.Colour: class TestBox has no such property)");
    prop("control characters in a key", R"("Co\u0085lour\ud834\udd73": 1)",
         R"(Co\u0085lour\ud834\udd73: class TestBox has no such property)");
}

void tst_FormFile::badFormIsRefusedNamingThePlace()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QString error = errorOf<FormFileError>([&] { parseForm(json, "t.json"); });
    QVERIFY2(error.startsWith(message), qPrintable(error));
}

// As hosts store them: 0 false, -1 (or any other integral number) true; saved as JSON's own.
void tst_FormFile::numbersAreReadAsBooleans()
{
    const Form read = parseForm(formJson(box("A", R"("Enabled": -1)") + "," + box("B", R"("Enabled": 1)") + ","
                                         + box("C", R"("Enabled": 0)")),
                                "t.json");
    QList<bool> enabled;
    for (const FormControl &control : read.controls)
        enabled << control.properties.readBoolean("Enabled", false);
    QCOMPARE(enabled, QList<bool>({true, true, false}));
    QVERIFY(formToJson(read).contains(R"("Enabled": false)"));
}

void tst_FormFile::pathThatCannotBeUsedIsNamedAndKept_data()
{
    QTest::addColumn<QString>("what"); // at the path: see makeAt; or a device
    QTest::addColumn<bool>("read");    // tried: reading it, saving over it
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("reason"); // what the message must say beyond "cannot open" or "not saved"
    QTest::newRow("missing") << "missing" << true << false << "No such file";
    QTest::newRow("FIFO, never opened") << "fifo" << true << true << "not a regular file (a FIFO)";
    QTest::newRow("directory") << "directory" << true << true << "not a regular file (a directory)";
    QTest::newRow("link loop") << "loop" << true << true << "Too many levels of symbolic links";
    QTest::newRow("device") << "/dev/null" << true << false << "not a regular file (a character device)";
    QTest::newRow("directory read-only") << "read-only" << false << true << "";
    QTest::newRow("disk full midway") << "limit" << false << true << "File too large"; // a short write alone says nothing
    QTest::newRow("class not registered") << "class" << false << true
                                          << R"(controls[0] ("DateBox1").class: unknown control class)";
    QTest::newRow("too large to read back") << "large" << false << true << "more than the 16 MiB a form file may hold";
}

// Neither a read nor a failed save waits on what stands there or changes it.
void tst_FormFile::pathThatCannotBeUsedIsNamedAndKept()
{
    QFETCH(QString, what);
    QFETCH(bool, read);
    QFETCH(bool, save);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = what.startsWith('/') ? what : dir.filePath("demo.json");
    if (save)
        QVERIFY(writeFile(path, "{ \"old\": 1 }"));
    makeAt(path, what);
    const QString readError = read ? errorOf<FormFileError>([&] { readForm(path); }) : QString();
    QVERIFY2(!read || readError.startsWith(path + ": cannot open: " + reason), qPrintable(readError));
    if (!save)
        return;
    const QString before = whatStandsAt(path);
    Form form = parseForm(sample(), "demo.json");
    if (what == "class")
        form.controls[0].className = "Unregistered";
    if (what == "large")
        form.caption = QString(16 * 1024 * 1024, u'x');
    if (what == "read-only")
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (what == "read-only" && QFileInfo(dir.path()).isWritable())
        QSKIP("running with rights that ignore directory permissions");
    std::optional<FileSizeLimit> limit;
    if (what == "limit")
        limit.emplace(64);
    const QString message = errorOf<FormFileError>([&] { writeForm(path, form); });
    limit.reset();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(message.startsWith(path + ": not saved: ") && message.contains(reason), qPrintable(message));
    QCOMPARE(whatStandsAt(path), before);
    QCOMPARE(entriesIn(dir.path()), QStringList{"demo.json"});
}

void tst_FormFile::saveKeepsWhatStandsAtThePath_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("symbolic link") << "link";
    QTest::newRow("permissions") << "mode";
    QTest::newRow("owner and group") << "owner";
    QTest::newRow("hard link, split") << "hard";
}

void tst_FormFile::saveKeepsWhatStandsAtThePath()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString target = dir.filePath("target.json"), path = dir.filePath("form.json");
    QVERIFY(writeFile(target, "old"));
    const QByteArray name = QFile::encodeName(target);
    if (how == "owner" && chown(name.constData(), 1234, 4321) != 0)
        QSKIP("running without the right to give files away");
    const QByteArray pathName = QFile::encodeName(path);
    QVERIFY(how == "link" ? symlink("target.json", pathName.constData()) == 0
            : how == "hard" ? link(name.constData(), pathName.constData()) == 0
                            : rename(name.constData(), pathName.constData()) == 0);
    QVERIFY(chmod(pathName.constData(), 0640) == 0);

    writeForm(path, parseForm(sample(), "demo.json"));
    struct stat info {};
    QVERIFY(stat(pathName.constData(), &info) == 0);
    QCOMPARE(fileBytes(path), sample());
    QCOMPARE(info.st_mode & 07777, 0640u);
    if (how == "link")
        QCOMPARE(whatStandsAt(path), "link to " + target);
    if (how == "owner")
        QVERIFY(info.st_uid == 1234 && info.st_gid == 4321);
    if (how == "hard") // a rename cannot keep a hard link: the other name keeps the old bytes
        QCOMPARE(fileBytes(target), QByteArray("old"));
}

// A temporary name fits beside the longest file name. A save killed midway leaves its
// temporary file; the next save of that file removes it, and nothing else.
void tst_FormFile::temporaryNamesFitAndOnlyStaleOnesGo()
{
    QTemporaryDir dir;
    const Form form = parseForm(sample(), "demo.json");
    const QString longest = QString(125, u'é') + ".json"; // 255 bytes
    writeForm(dir.filePath(longest), form);
    QCOMPARE(fileBytes(dir.filePath(longest)), sample());

    const QStringList stale{".form.json.pelidora-a1B2c3", ".form.json.pelidora-ZZZZZZ"};
    QStringList kept{".form.json.bak", ".form.json.pelidora-a1B2c", ".form.json.pelidora-a1B2c3d", ".form.json.pelidora-a1_2c3",
                     ".other.json.pelidora-a1B2c3", ".form.json.pelidora-fresh1", ".form.json.pelidora-folder",
                     ".form.json.pelidora-linked"};
    if (geteuid() == 0) // only root can give a file away
        kept << ".form.json.pelidora-others";
    for (const QString &name : stale + kept) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        QVERIFY(name.endsWith("folder") ? mkdir(path.constData(), 0700) == 0
                : name.endsWith("linked") ? symlink("form.json", path.constData()) == 0
                                          : writeFile(dir.filePath(name), "part"));
        QVERIFY(!name.endsWith("others") || chown(path.constData(), 1234, 1234) == 0);
        const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        QVERIFY(name.endsWith("fresh1") || utimensat(AT_FDCWD, path.constData(), hourAgo, AT_SYMLINK_NOFOLLOW) == 0);
    }
    writeForm(dir.filePath("form.json"), form);
    kept << longest << "form.json";
    kept.sort();
    QStringList left = entriesIn(dir.path());
    left.sort();
    QCOMPARE(left, kept);
}

void tst_FormFile::reRegisteringAClassReplacesItsKeys()
{
    registerControlClass("Twice", {{"Old", ValueKind::Long}});
    registerControlClass("Twice", {{"New", ValueKind::Boolean}});
    QCOMPARE(parseForm(formJson(box("A", R"("new": true)", "Twice")), "t.json").controls.at(0).properties.keys(),
             QStringList{"new"});
    QVERIFY_THROWS_EXCEPTION(FormFileError, parseForm(formJson(box("A", R"("Old": 1)", "Twice")), "t.json"));
    for (const char *refused : {"ucvPelidora", "UCVPELIDORA", "Two words", "9Box", "Box-1"})
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, registerControlClass(refused, {{"Key", ValueKind::Long}}));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             registerControlClass("Bad", {{"Key", ValueKind::Long}, {"KEY", ValueKind::Long}}));
}

QTEST_MAIN(tst_FormFile)
#include "tst_formfile.moc"
