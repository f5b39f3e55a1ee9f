// pelidora-host's command line: dumping, rendering, refusing bad arguments and bad forms;
// and ./dev run, which opens it.

#include "displaycheck.h"
#include "platformnoise.h"

#include "support/hosthelpers.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace pelidora;
using namespace pelidora::test;

namespace {

// The demo form in en_GB with today pinned to 20 March 2024.
const char *const kDemoDump = R"([
  {"name": "dtDeparture", "class": "ucvPelidora", "left": 16, "top": 24, "properties": {
     "BackColor": 16777215, "ForeColor": 0, "Enabled": true, "Locked": false, "Appearance": 0,
     "DateSet": {"serial": 45366, "text": "15/03/2024"},
     "Font": {"Name": "DejaVu Sans", "Size": 10, "Bold": false, "Italic": false, "Underline": false, "Strikethrough": false},
     "MousePointer": 0, "PelidoraBackColor": 12632256}},
  {"name": "dtReturn", "class": "ucvPelidora", "left": 256, "top": 24, "properties": {
     "BackColor": 13434879, "ForeColor": 8388608, "Enabled": true, "Locked": false, "Appearance": 1,
     "DateSet": {"serial": -1, "text": "-1"},
     "Font": {"Name": "Liberation Serif", "Size": 12, "Bold": true, "Italic": false, "Underline": false, "Strikethrough": false},
     "MousePointer": 0, "PelidoraBackColor": 15132390}},
  {"name": "dtIssued", "class": "ucvPelidora", "left": 256, "top": 240, "properties": {
     "BackColor": 15790320, "ForeColor": 4210752, "Enabled": true, "Locked": true, "Appearance": 1,
     "DateSet": {"serial": 43101, "text": "01/01/2018"},
     "Font": {"Name": "Liberation Mono", "Size": 9, "Bold": false, "Italic": true, "Underline": false, "Strikethrough": false},
     "MousePointer": 0, "PelidoraBackColor": 12632256}}
])";

// A program in a process of its own (the built host unless named), with none of the
// display variables but those in set.
HostRun runProgram(const QStringList &args, const QProcessEnvironment &set = {},
                   const QString &program = QStringLiteral(PELIDORA_HOST_BINARY))
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(set);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    // Far beyond any run: a program still running then waits for a person.
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, QStringLiteral("still running after a minute")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2, // -2: crashed or aborted
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QJsonObject dumpedProperties(const QString &out, int box = 0)
{
    return QJsonDocument::fromJson(out.toUtf8()).array().at(box)[QLatin1String("properties")].toObject();
}

} // namespace

class tst_HostCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dumpOfDemoFormShowsEveryValue();
    void badArgumentsExitTwoWithUsage_data();
    void badArgumentsExitTwoWithUsage();
    void helpPrintsUsage();
    void headlessRunsAnswerTheFontMessage_data();
    void headlessRunsAnswerTheFontMessage();
    void dumpShowsOneViewOfDateSet_data();
    void dumpShowsOneViewOfDateSet();
    void dumpedValuesLoadAsAForm();
    void displayProblemsAreToldBeforeQtStarts_data();
    void displayProblemsAreToldBeforeQtStarts();
    void brokenFormExitsThreeAndLeavesFileAlone_data();
    void brokenFormExitsThreeAndLeavesFileAlone();
    void screenshotsShowTheFormAndAnOpenPanel();
    void failedPicturesExitOne_data();
    void failedPicturesExitOne();
    void programRunsEndAndTellPlainly_data();
    void programRunsEndAndTellPlainly();
    void onlyThePlatformsHarmlessNoiseIsDropped_data();
    void onlyThePlatformsHarmlessNoiseIsDropped();
    void devRunWithoutDisplayBuildsNothing_data();
    void devRunWithoutDisplayBuildsNothing();

private:
    FakeWindowSystem m_windowSystem;
    TodayPin m_today{2024, 3, 20};
    LocalePin m_locale{QStringLiteral("en_GB")};
    QTemporaryDir m_dir;
};

void tst_HostCommand::dumpOfDemoFormShowsEveryValue()
{
    const HostRun run = runHost({demoPath(), QStringLiteral("--dump")});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()), QJsonDocument::fromJson(kDemoDump));

    // Designing too, with the dates in the locale's order.
    const LocalePin monthFirst(QStringLiteral("en_US"));
    const HostRun design = runHost({QStringLiteral("--design"), demoPath(), QStringLiteral("--dump")});
    QCOMPARE(design.code, 0);
    QStringList shown;
    for (const int box : {0, 1, 2})
        shown << dumpedProperties(design.out, box)[QLatin1String("DateSet")][QLatin1String("text")].toString();
    QCOMPARE(shown, (QStringList{"3/15/2024", "-1", "1/1/2018"}));
}

void tst_HostCommand::badArgumentsExitTwoWithUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("problem");
    const QString demo = demoPath();
    QTest::newRow("nothing") << QStringList{} << "no form file";
    QTest::newRow("two forms") << QStringList{demo, demo} << "one form file at a time";
    QTest::newRow("empty screenshot file") << QStringList{demo, "--screenshot="} << "--screenshot needs a file name";
    QTest::newRow("panel in design") << QStringList{"--design", demo, "--open-panel", "dtReturn"} << "run mode only";
    QTest::newRow("panel in a dump") << QStringList{demo, "--dump", "--open-panel", "dtReturn"}
                                     << "--open-panel with --dump needs --screenshot";
    QTest::newRow("screenshot twice") << QStringList{demo, "--screenshot", "a.png", "--screenshot", "b.png"} << "more than once";
    QTest::newRow("no such box") << QStringList{demo, "--screenshot", m_dir.filePath("never.png"), "--open-panel", "dtNowhere"}
                                 << "no date box named \"dtNowhere\" (it has: dtDeparture, dtReturn, dtIssued)";
}

void tst_HostCommand::badArgumentsExitTwoWithUsage()
{
    QFETCH(QStringList, args);
    QFETCH(QString, problem);
    const HostRun run = runHost(args);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(problem), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFile::exists(m_dir.filePath("never.png")));
    if (!problem.startsWith(QLatin1String("no date box"))) // the parser's refusals show the usage
        QVERIFY(run.err.contains(QLatin1String("usage: pelidora-host")));
}

void tst_HostCommand::helpPrintsUsage()
{
    const HostRun run = runHost({QStringLiteral("--help")});
    QVERIFY2(run.code == 0 && run.out.startsWith(QLatin1String("usage: pelidora-host")), qPrintable(run.out + run.err));
    for (const char *option : {"--design", "--dump", "--screenshot OUT.png", "--window-screenshot OUT.png", "--open-panel NAME"})
        QVERIFY2(run.out.contains(QLatin1String("\n  ") + QLatin1String(option)), option);
}

void tst_HostCommand::headlessRunsAnswerTheFontMessage_data()
{
    QTest::addColumn<QStringList>("args"); // FORM stands for the form file
    QTest::addColumn<QByteArray>("size");
    const QString picture = m_dir.filePath(QStringLiteral("big.png"));
    QTest::newRow("dump, 12.00005") << QStringList{"FORM", "--dump"} << QByteArray("12.00005");
    QTest::newRow("dump, 14") << QStringList{"FORM", "--dump"} << QByteArray("14");
    QTest::newRow("design dump, 14") << QStringList{"--design", "FORM", "--dump"} << QByteArray("14");
    QTest::newRow("screenshot, 14") << QStringList{"FORM", "--screenshot", picture} << QByteArray("14");
    QTest::newRow("panel screenshot, 14") << QStringList{"FORM", "--screenshot", picture, "--open-panel", "a"}
                                          << QByteArray("14");
}

// No one could close the box offscreen: the message goes to stderr, and the form loads
// with the clamped font as after an OK.
void tst_HostCommand::headlessRunsAnswerTheFontMessage()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, size);
    const QString form = m_dir.filePath(QStringLiteral("big.json"));
    QVERIFY(writeFile(form, oneBoxForm(R"("Font": {"Name": "DejaVu Sans", "Size": )" + size + "}")));
    args.replaceInStrings(QStringLiteral("FORM"), form);
    const HostRun run = runProgram(args);
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(run.err, QStringLiteral("Pelidora: Can't assign font size greater than 12.\n"));
    if (args.contains(QLatin1String("--dump")))
        QCOMPARE(dumpedProperties(run.out)[QLatin1String("Font")][QLatin1String("Size")].toDouble(), 12.0);
    else
        QVERIFY(!QImage(args.at(2)).isNull());
}

void tst_HostCommand::dumpShowsOneViewOfDateSet_data()
{
    QTest::addColumn<qint64>("serial");
    QTest::addColumn<QString>("text");
    const QString noDay = QStringLiteral("(the stored serial is past 2100");
    QTest::newRow("a day") << qint64(36526) << "01/01/2000";
    QTest::newRow("the last day") << qint64(73415) << "31/12/2100";
    QTest::newRow("past the last day") << qint64(73416) << noDay;
    QTest::newRow("the last day of 9999") << qint64(2958465) << noDay;
    QTest::newRow("int max") << qint64(INT_MAX) << noDay;
    QTest::newRow("zero, no date") << qint64(0) << "-1";
    QTest::newRow("int min, no date") << qint64(INT_MIN) << "-1";
}

// The serial as stored beside the text read from it; never a text of another day.
void tst_HostCommand::dumpShowsOneViewOfDateSet()
{
    QFETCH(qint64, serial);
    QFETCH(QString, text);
    const QString form = m_dir.filePath(QStringLiteral("serial.json"));
    QVERIFY(writeFile(form, oneBoxForm("\"DateSet\": " + QByteArray::number(serial))));
    const HostRun run = runHost({form, QStringLiteral("--dump")});
    QCOMPARE(run.code, 0);
    const QJsonObject shown = dumpedProperties(run.out)[QLatin1String("DateSet")].toObject();
    QCOMPARE(shown[QLatin1String("serial")].toInteger(), serial);
    QVERIFY2(shown[QLatin1String("text")].toString().startsWith(text), qPrintable(shown[QLatin1String("text")].toString()));
}

// What a dump prints loads as a form, system colours included, and dumps the same again.
void tst_HostCommand::dumpedValuesLoadAsAForm()
{
    const QString first = m_dir.filePath(QStringLiteral("colours.json")), second = m_dir.filePath(QStringLiteral("again.json"));
    QVERIFY(writeFile(first, oneBoxForm(R"("BackColor": -2147483633, "ForeColor": -2147483640, "PelidoraBackColor": 255)")));
    const HostRun run = runHost({first, QStringLiteral("--dump")});
    QCOMPARE(run.code, 0);
    QJsonObject properties = dumpedProperties(run.out);
    QCOMPARE(properties[QLatin1String("BackColor")].toInteger(), -2147483633);
    properties[QLatin1String("DateSet")] = properties[QLatin1String("DateSet")][QLatin1String("serial")];
    QVERIFY(writeFile(second, oneBoxForm(QJsonDocument(properties).toJson(QJsonDocument::Compact).sliced(1).chopped(1))));
    const HostRun again = runHost({second, QStringLiteral("--dump")});
    QCOMPARE(again.err, QString());
    QCOMPARE(again.out, run.out);
}

void tst_HostCommand::displayProblemsAreToldBeforeQtStarts_data()
{
    QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("dump");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("problem"); // empty: none known beforehand
    const QString noDisplay = QStringLiteral("no display (DISPLAY and WAYLAND_DISPLAY are unset)");
    const QString xcb = QStringLiteral("QT_QPA_PLATFORM is \"xcb\", which needs a display, but DISPLAY is unset");
    QTest::newRow("nothing set, dump") << "" << "" << true << 0 << "";
    QTest::newRow("nothing set, window") << "" << "" << false << 1 << noDisplay;
    QTest::newRow("xcb, dump") << "xcb" << "" << true << 2 << xcb;
    QTest::newRow("xcb, window") << "xcb" << "" << false << 2 << xcb;
    QTest::newRow("xcb with options") << "xcb:nograb" << "" << true << 2 << "needs a display, but DISPLAY is unset";
    QTest::newRow("wayland, then xcb") << "wayland;xcb" << "" << true << 2 << "but WAYLAND_DISPLAY and DISPLAY are unset";
    QTest::newRow("xcb, falling back to offscreen") << "xcb;offscreen" << "" << true << 0 << "";
    QTest::newRow("X server not answering") << "xcb" << ":4711" << true << 2 << "";
}

// Told in plain words with exit code 2, never Qt's abort (134).
void tst_HostCommand::displayProblemsAreToldBeforeQtStarts()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(bool, dump);
    QFETCH(int, code);
    QFETCH(QString, problem);
    QProcessEnvironment env;
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    const auto told = host::displayProblem(dump, env);
    QCOMPARE(told.has_value(), !problem.isEmpty());
    if (told)
        QCOMPARE(told->exitCode, code);

    const QString form = m_dir.filePath(QStringLiteral("plain.json"));
    QVERIFY(writeFile(form, oneBoxForm("")));
    const HostRun run = runProgram(dump ? QStringList{form, "--dump"} : QStringList{form}, env);
    QVERIFY2(run.code == code, qPrintable(run.err));
    QVERIFY2(run.err.contains(problem.isEmpty() && code ? QStringLiteral("window system could not be started") : problem),
             qPrintable(run.err));
    QCOMPARE(run.out.isEmpty(), code != 0);
}

void tst_HostCommand::brokenFormExitsThreeAndLeavesFileAlone_data()
{
    QTest::addColumn<QByteArray>("content"); // "(absent)": no file at all
    QTest::addColumn<bool>("design");
    QTest::addColumn<QString>("place");
    for (const bool design : {false, true}) {
        const char *mode = design ? "designing" : "running";
        QTest::addRow("empty file, %s", mode) << QByteArray() << design << "line 1, column 1";
        QTest::addRow("fraction for a boolean, %s", mode)
            << oneBoxForm(R"("Locked": 0.5)") << design << "controls[0] (\"a\").properties.Locked: expected a boolean";
        QTest::addRow("unknown class, %s", mode) << oneBoxForm("", "Label") << design << "controls[0] (\"a\").class";
        QTest::addRow("no such file, %s", mode) << QByteArray("(absent)") << design << "cannot open";
    }
}

void tst_HostCommand::brokenFormExitsThreeAndLeavesFileAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, design);
    QFETCH(QString, place);
    const QString path = m_dir.filePath(QStringLiteral("broken.json"));
    QFile::remove(path);
    if (content != "(absent)")
        QVERIFY(writeFile(path, content));
    const HostRun run = runHost(design ? QStringList{"--design", path, "--dump"} : QStringList{path, "--dump"});
    QCOMPARE(run.code, 3);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QLatin1String("pelidora-host: ") + path + QLatin1String(": ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(place), qPrintable(run.err));
    QCOMPARE(fileBytes(path), content);
}

void tst_HostCommand::screenshotsShowTheFormAndAnOpenPanel()
{
    const QString closed = m_dir.filePath(QStringLiteral("closed.png"));
    const QString open = m_dir.filePath(QStringLiteral("open.png"));
    QCOMPARE(runHost({demoPath(), "--screenshot", closed}).code, 0);
    QCOMPARE(runHost({demoPath(), "--screenshot", open, "--open-panel", "DTDEPARTURE"}).code, 0);
    const QImage bare(closed), withPanel(open);
    QCOMPARE(bare.size(), QSize(460, 290));
    QVERIFY(withPanel.width() >= 460 && withPanel.height() >= 290);
    // dtReturn's fields are drawn in its own back colour, 0x00CCFFFF; below dtDeparture,
    // where its panel opens, the picture is no longer the bare form.
    int returnBack = 0, changed = 0;
    for (int y = 0; y < bare.height(); ++y) {
        for (int x = 0; x < bare.width(); ++x) {
            returnBack += bare.pixelColor(x, y) == QColor(0xFF, 0xFF, 0xCC);
            changed += QRect(16, 60, 184, 140).contains(x, y) && withPanel.pixelColor(x, y) != bare.pixelColor(x, y);
        }
    }
    QVERIFY2(returnBack > 200, qPrintable(QString::number(returnBack)));
    QVERIFY2(changed > 1000, qPrintable(QString::number(changed)));
}

void tst_HostCommand::failedPicturesExitOne_data()
{
    QTest::addColumn<QString>("picture"); // in the test's folder, or absolute
    QTest::addColumn<QString>("what");    // what stands there first: "fifo", "directory", "link" or "hard"
                                          // (to the form); "limit": an old picture, and the disk fills up
    QTest::addColumn<QString>("panel");   // of the one box of a disabled form
    QTest::addColumn<QString>("problem");
    const QString cannot = QStringLiteral("cannot write the picture ");
    QTest::newRow("unwritable picture") << "no/such/folder/form.png" << "" << ""
                                        << cannot + m_dir.filePath("no/such/folder/form.png") + ": No such file";
    QTest::newRow("panel of a disabled box") << "disabled.png" << "" << "a" << "the panel of a did not open";
    QTest::newRow("the form itself") << "disabled.json" << "" << "" << "it is the form file";
    QTest::newRow("a link to the form") << "link.png" << "link" << "" << "it is the form file";
    QTest::newRow("a hard link to the form") << "hard.png" << "hard" << "" << "it is the form file";
    QTest::newRow("FIFO") << "fifo.png" << "fifo" << "" << "not a regular file (a FIFO)";
    QTest::newRow("directory") << "folder.png" << "directory" << "" << "not a regular file (a directory)";
    QTest::newRow("device") << "/dev/full" << "" << "" << "/dev/full: not a regular file (a character device)";
    QTest::newRow("disk full midway") << "full.png" << "limit" << "" << "File too large";
}

// The form is still drawn where it can be; a picture not written leaves the path as it was.
void tst_HostCommand::failedPicturesExitOne()
{
    QFETCH(QString, picture);
    QFETCH(QString, what);
    QFETCH(QString, panel);
    QFETCH(QString, problem);
    const QString form = m_dir.filePath(QStringLiteral("disabled.json"));
    QVERIFY(writeFile(form, oneBoxForm(R"("Enabled": false)")));
    const QString path = QDir::isRelativePath(picture) ? m_dir.filePath(picture) : picture;
    if (what == "limit")
        QVERIFY(writeFile(path, "old"));
    else if (what == "link" || what == "hard")
        QVERIFY(what == "link" ? QFile::link(form, path) : link(QFile::encodeName(form), QFile::encodeName(path)) == 0);
    else
        makeAt(path, what);
    const QString before = whatStandsAt(path), formBefore = whatStandsAt(form);
    std::optional<FileSizeLimit> limit;
    if (what == "limit")
        limit.emplace(64);
    const QStringList openPanel = panel.isEmpty() ? QStringList() : QStringList{"--open-panel", panel};
    const HostRun run = runHost(QStringList{form, "--screenshot", path} + openPanel);
    limit.reset();
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(problem), qPrintable(run.err));
    QCOMPARE(whatStandsAt(form), formBefore);
    if (panel.isEmpty())
        QCOMPARE(whatStandsAt(path), before);
    else
        QCOMPARE(QImage(path).size(), QSize(300, 100));
    const QStringList left = hiddenIn(m_dir.path());
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
}

void tst_HostCommand::programRunsEndAndTellPlainly_data()
{
    QTest::addColumn<QString>("command"); // sh in the test's folder; $HOST is the program
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // on stderr
    // Names that are markup: a picture that is a FIFO would hang the window for ever.
    const QByteArray marked = R"({"format": "pelidora-form", "version": 1, "caption": "<h1>Big</h1>", "width": 300,
        "height": 100, "controls": [
        {"class": "ucvPelidora", "name": "<img src='fifo'>", "left": 8, "top": 8},
        {"class": "ucvPelidora", "name": "<h1 style='font-size:90px'>Big</h1>", "left": 8, "top": 40},
        {"class": "ucvPelidora", "name": "t\u001b]0;owned\u0007\u202e", "left": 8, "top": 70,
         "properties": {"Enabled": false}}]})";
    QVERIFY(writeFile(m_dir.filePath("<img src=fifo>.json"), marked));
    makeAt(m_dir.filePath("fifo"), "fifo");
    QVERIFY(writeFile(m_dir.filePath("plain.json"), oneBoxForm("")) && QFile::copy(m_dir.filePath("plain.json"), m_dir.filePath("-reverse")));
    const QString form = QStringLiteral("\"$HOST\" '<img src=fifo>.json' ");
    QTest::newRow("markup names, window") << form + "--window-screenshot w.png" << 0 << "";
    QTest::newRow("markup names, form") << form + "--screenshot f.png --open-panel \"<img src='fifo'>\"" << 0 << "";
    QTest::newRow("names listed") << form + "--screenshot f.png --open-panel x" << 2
                                  << R"(it has: <img src='fifo'>, <h1 style='font-size:90px'>Big</h1>, t\u001b]0;owned\u0007\u202e))";
    QTest::newRow("panel not opened") << form + "--screenshot f.png --open-panel \"$(printf 't\\033]0;owned\\007\\342\\200\\256')\"" << 1
                                      << R"(the panel of t\u001b]0;owned\u0007\u202e did not open)";
    QTest::newRow("line break in a path") << "\"$HOST\" \"$(printf 'no\\nsuch')\" --dump" << 3 << "no\\nsuch: cannot open";
    QTest::newRow("dump into a full disk") << "\"$HOST\" plain.json --dump >/dev/full" << 1 << "the dump could not be written";
    QTest::newRow("dump, output closed") << "\"$HOST\" plain.json --dump >&-" << 1 << "the dump could not be written";
    QTest::newRow("dump into a broken pipe") // a FIFO whose only reader is gone, SIGPIPE ignored
        << "trap '' PIPE; mkfifo pipe && exec 4<>pipe 5>pipe 4<&- && \"$HOST\" plain.json --dump >&5" << 1
        << "the dump could not be written";
    QTest::newRow("form that is the profile file")
        << "cp plain.json pelidora.ini && XDG_CONFIG_HOME=\"$PWD\" \"$HOST\" pelidora.ini --screenshot f.png --open-panel a"
           " && cmp plain.json pelidora.ini" << 0 << "";
    QTest::newRow("form named as Qt's option") << "\"$HOST\" --dump -- -reverse | grep -q '\"name\": \"a\"'" << 0 << "";
    QTest::newRow("picture named as Qt's option") << "\"$HOST\" plain.json --screenshot -reverse && test -s -reverse" << 0 << "";
}

// The real program, which ends, and tells what went wrong in plain text a terminal cannot
// take for its own controls.
void tst_HostCommand::programRunsEndAndTellPlainly()
{
    QFETCH(QString, command);
    QFETCH(int, code);
    QFETCH(QString, said);
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOST"), QStringLiteral(PELIDORA_HOST_BINARY));
    const HostRun run = runProgram({"-c", "cd \"$1\" && " + command, "sh", m_dir.path()}, env, "/bin/sh");
    QVERIFY2(run.code == code && run.err.contains(said), qPrintable(QString::number(run.code) + ": " + run.err));
    QVERIFY2(std::none_of(run.err.begin(), run.err.end(), [](QChar c) { return (c < u' ' && c != u'\n') || c == u'\u202e'; }),
             qPrintable(run.err));
}

void tst_HostCommand::onlyThePlatformsHarmlessNoiseIsDropped_data()
{
    QTest::addColumn<QtMsgType>("type");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("dropped");
    const QString xdg = QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'");
    QTest::newRow("no runtime folder") << QtWarningMsg << "default" << xdg << true;
    const QString unsupported = QStringLiteral("This plugin does not support ");
    QTest::newRow("size hints") << QtWarningMsg << "default" << unsupported + "propagateSizeHints()" << true;
    QTest::newRow("raise") << QtWarningMsg << "default" << unsupported + "raise()" << true;
    QTest::newRow("bare X server") << QtWarningMsg << "qt.qpa.xcb" << "XKeyboard extension not present on the X server"
                                   << true;
    QTest::newRow("as a critical") << QtCriticalMsg << "default" << xdg << false;
    QTest::newRow("another category") << QtWarningMsg << "pelidora" << xdg << false;
    QTest::newRow("a link not opened") << QtWarningMsg << "default"
                                       << unsupported + "QPlatformServices::openUrl() for 'https://x'." << false;
    QTest::newRow("no platform plugin") << QtWarningMsg << "qt.qpa.plugin"
                                        << "Could not find the Qt platform plugin \"xcb\" in \"\"" << false;
    QTest::newRow("X error") << QtWarningMsg << "qt.qpa.xcb" << "QXcbConnection: XCB error: 3 (BadWindow)" << false;
    QTest::newRow("the box's own") << QtWarningMsg << "default" << "Can't assign font size greater than 12." << false;
}

void tst_HostCommand::onlyThePlatformsHarmlessNoiseIsDropped()
{
    QFETCH(QtMsgType, type);
    QFETCH(QString, category);
    QFETCH(QString, message);
    QFETCH(bool, dropped);
    QCOMPARE(host::isPlatformNoise(type, category, message), dropped);
    if (type != QtWarningMsg || category != QLatin1String("default"))
        return;
    // Through the installed handler: what passes reaches the one before (the test's).
    const QtMessageHandler previous = host::installPlatformNoiseFilter();
    QVERIFY(host::installPlatformNoiseFilter() == previous);
    if (dropped)
        QTest::failOnWarning(QRegularExpression(QRegularExpression::escape(message)));
    else
        QTest::ignoreMessage(QtWarningMsg, qPrintable(message));
    qWarning("%s", qPrintable(message));
    qInstallMessageHandler(previous);
}

void tst_HostCommand::devRunWithoutDisplayBuildsNothing_data()
{
    QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM
    QTest::addColumn<bool>("xvfb");
    QTest::addColumn<QString>("advice");   // with a display: what cmake was asked to build
    QTest::newRow("xvfb-run at hand") << "" << true << "start a virtual one: xvfb-run -a ./dev run --design f.json\n";
    QTest::newRow("no xvfb-run") << "" << false
                                 << "start a virtual one: apt-get install xvfb, then xvfb-run -a ./dev run --design f.json\n";
    QTest::newRow("a display: the host alone") << "offscreen" << false << "--target pelidora-host";
}

// Told in one line before a build starts, so an empty build folder stays empty; with a
// display, only the host and what it links are built, not the tests.
void tst_HostCommand::devRunWithoutDisplayBuildsNothing()
{
    QFETCH(QString, platform);
    QFETCH(bool, xvfb);
    QFETCH(QString, advice);
    const QTemporaryDir build, tools;
    // Only what ./dev needs to get that far is on the PATH; no apt, and a cmake that only
    // says what it was asked.
    for (const char *tool : {"bash", "dirname", "nproc", "grep"})
        QVERIFY(QFile::link(QStandardPaths::findExecutable(QLatin1String(tool)), tools.filePath(QLatin1String(tool))));
    const auto script = [&](const char *name, const QByteArray &body) {
        const QString path = tools.filePath(QLatin1String(name));
        QVERIFY(writeFile(path, "#!" + QStandardPaths::findExecutable("sh").toUtf8() + "\n" + body)
                && QFile::setPermissions(path, QFile::ExeOwner | QFile::ReadOwner));
    };
    if (xvfb)
        script("xvfb-run", "exit 0\n");
    script("dpkg-query", "echo 'install ok installed'\n");
    script("cmake", "echo \"$*\" >&2\n");
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), tools.path());
    env.insert(QStringLiteral("PELIDORA_BUILD_DIR"), build.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    const HostRun run = runProgram({PELIDORA_SOURCE_DIR "/dev", "run", "--design", "f.json"}, env, tools.filePath("bash"));
    QCOMPARE(entriesIn(build.path()), QStringList());
    if (!platform.isEmpty()) {
        const QString built = run.err.section(u'\n', 1, 1);
        QVERIFY2(built.startsWith("--build " + build.path()) && built.endsWith(advice), qPrintable(run.err));
        return;
    }
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err, "./dev run: no display (DISPLAY and WAYLAND_DISPLAY are unset); " + advice);
}

QTEST_MAIN(tst_HostCommand)
#include "tst_hostcommand.moc"
