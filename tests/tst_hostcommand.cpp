// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// pelidora-host's command line: dumping, rendering, refusing bad arguments and bad forms.

#include "platformnoise.h"

#include "support/hosthelpers.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pelidora;
using namespace pelidora::test;

namespace {

// A shell command in folder, with $HOST the built host and none of the display variables.
HostRun runShell(const QString &command, const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOST"), QStringLiteral(PELIDORA_HOST_BINARY));
    QProcess process;
    process.setProcessEnvironment(env);
    // "still CHECK" keeps the exit code of the command before it while CHECK holds, else 99.
    process.start(QStringLiteral("/bin/sh"), {"-c", "still() { s=$?; \"$@\" || s=99; return $s; }; cd \"$1\" && " + command,
                                              "sh", folder});
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
    void dumpShowsTheDatesInTheLocalesOrder();
    void badArgumentsExitTwoWithUsage_data();
    void badArgumentsExitTwoWithUsage();
    void helpPrintsUsage();
    void dumpShowsWhatTheBoxHoldsAndLoadsAgain_data();
    void dumpShowsWhatTheBoxHoldsAndLoadsAgain();
    void screenshotsShowTheFormAndAnOpenPanel();
    void programRunsEndAndTellPlainly_data();
    void programRunsEndAndTellPlainly();
    void onlyThePlatformsHarmlessNoiseIsDropped_data();
    void onlyThePlatformsHarmlessNoiseIsDropped();

private:
    FakeWindowSystem m_windowSystem;
    TodayPin m_today{2024, 3, 20};
    LocalePin m_locale{QStringLiteral("en_GB")};
    QTemporaryDir m_dir;
};

// Every value the dump shows is compared where a design is saved (tst_hostdesign); here,
// the dates as a program reads them, in the locale's order, running and designing.
void tst_HostCommand::dumpShowsTheDatesInTheLocalesOrder()
{
    const HostRun run = runHost({demoPath(), QStringLiteral("--dump")});
    const LocalePin monthFirst(QStringLiteral("en_US"));
    const HostRun design = runHost({QStringLiteral("--design"), demoPath(), QStringLiteral("--dump")});
    QCOMPARE(std::tuple(run.code, design.code, run.err + design.err), std::tuple(0, 0, QString()));
    QStringList shown;
    for (const QString &out : {run.out, design.out}) {
        for (const int box : {0, 1, 2})
            shown << dumpedProperties(out, box)[QLatin1String("DateSet")][QLatin1String("text")].toString();
    }
    QCOMPARE(shown, (QStringList{"15/03/2024", "-1", "01/01/2018", "3/15/2024", "-1", "1/1/2018"}));
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
    // A box that the form lacks: "names listed" in programRunsEndAndTellPlainly.
}

void tst_HostCommand::badArgumentsExitTwoWithUsage()
{
    QFETCH(QStringList, args);
    QFETCH(QString, problem);
    const HostRun run = runHost(args);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(problem), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(run.err.contains(QLatin1String("usage: pelidora-host")));
}

void tst_HostCommand::helpPrintsUsage()
{
    const HostRun run = runHost({QStringLiteral("--help")});
    QVERIFY2(run.code == 0 && run.out.startsWith(QLatin1String("usage: pelidora-host")), qPrintable(run.out + run.err));
    for (const char *option : {"--design", "--dump", "--screenshot OUT.png", "--window-screenshot OUT.png", "--open-panel NAME"})
        QVERIFY2(run.out.contains(QLatin1String("\n  ") + QLatin1String(option)), option);
}

void tst_HostCommand::dumpShowsWhatTheBoxHoldsAndLoadsAgain_data()
{
    QTest::addColumn<QByteArray>("properties"); // of the one box
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("shown"); // how the value starts, as compact JSON in an array
    QTest::newRow("the last day") << QByteArray(R"("DateSet": 73415)") << "DateSet"
                                  << R"([{"serial":73415,"text":"31/12/2100"}])";
    QTest::newRow("past the last day") << QByteArray(R"("DateSet": 73416)") << "DateSet"
                                       << R"([{"serial":73416,"text":"(the stored serial is past 2100)";
    QTest::newRow("past the last day, in a range")
        << QByteArray(R"("DateSet": 73416, "minimumDate": 36526, "maximumDate": 36526)") << "DateSet"
        << R"x([{"serial":73416,"text":"(the stored serial is past 2100, the box's last year; a read of DateSet gives 01/01/2000)"}])x";
    QTest::newRow("system colours")
        << QByteArray(R"("BackColor": -2147483633, "ForeColor": -2147483640, "PelidoraBackColor": 255)") << "BackColor"
        << "[-2147483633]";
    QTest::newRow("left out: the box's default") << QByteArray(R"("Locked": true)") << "Appearance" << "[0]";
}

// The serial as stored beside the text read from it, never a text of another day; colours
// as a form stores them. What a dump prints loads as a form and dumps the same again.
void tst_HostCommand::dumpShowsWhatTheBoxHoldsAndLoadsAgain()
{
    QFETCH(QByteArray, properties);
    QFETCH(QString, key);
    QFETCH(QString, shown);
    const QString first = m_dir.filePath(QStringLiteral("first.json")), again = m_dir.filePath(QStringLiteral("again.json"));
    QVERIFY(writeFile(first, oneBoxForm(properties)));
    const HostRun run = runHost({first, QStringLiteral("--dump")});
    QJsonObject dumped = dumpedProperties(run.out);
    const QByteArray value = QJsonDocument(QJsonArray{dumped[key]}).toJson(QJsonDocument::Compact);
    QVERIFY2(run.code == 0 && value.startsWith(shown.toUtf8()), value.constData());
    dumped[QLatin1String("DateSet")] = dumped[QLatin1String("DateSet")][QLatin1String("serial")];
    QVERIFY(writeFile(again, oneBoxForm(QJsonDocument(dumped).toJson(QJsonDocument::Compact).sliced(1).chopped(1))));
    const HostRun second = runHost({again, QStringLiteral("--dump")});
    QCOMPARE(std::pair(second.err, second.out), std::pair(QString(), run.out));
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

void tst_HostCommand::programRunsEndAndTellPlainly_data()
{
    QTest::addColumn<QString>("command"); // sh in the test's folder; $HOST is the program
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // on stderr
    QVERIFY(writeFile(m_dir.filePath("plain.json"), oneBoxForm("")) && QFile::copy(m_dir.filePath("plain.json"), m_dir.filePath("-reverse")));
    // The display, told in plain words before Qt starts, never Qt's abort (134).
    const QString noDisplay = QStringLiteral("no display (DISPLAY and WAYLAND_DISPLAY are unset)");
    const QString xcb = QStringLiteral("QT_QPA_PLATFORM is \"xcb\", which needs a display, but DISPLAY is unset");
    // (A dump without a display: the font rows below.)
    QTest::newRow("no display, window") << "\"$HOST\" plain.json" << 1 << noDisplay;
    QTest::newRow("xcb, dump") << "QT_QPA_PLATFORM=xcb \"$HOST\" plain.json --dump" << 2 << xcb;
    QTest::newRow("xcb with options") << "QT_QPA_PLATFORM=xcb:nograb \"$HOST\" plain.json --dump" << 2
                                      << "needs a display, but DISPLAY is unset";
    QTest::newRow("wayland, then xcb") << "QT_QPA_PLATFORM='wayland;xcb' \"$HOST\" plain.json --dump" << 2
                                       << "but WAYLAND_DISPLAY and DISPLAY are unset";
    QTest::newRow("xcb, falling back to offscreen") << "QT_QPA_PLATFORM='xcb;offscreen' \"$HOST\" plain.json --dump" << 0 << "";
    QTest::newRow("X server not answering") << "QT_QPA_PLATFORM=xcb DISPLAY=:4711 \"$HOST\" plain.json --dump" << 2
                                            << "window system could not be started";
    // Nobody could close a message box headless: the box's message is all that is said, on
    // stderr, and the form loads with the font clamped as after an OK.
    QVERIFY(writeFile(m_dir.filePath("big.json"), oneBoxForm(R"("Font": {"Name": "DejaVu Sans", "Size": 12.00005})"))
            && writeFile(m_dir.filePath("huge.json"), oneBoxForm(R"("Font": {"Name": "DejaVu Sans", "Size": 14})")));
    const QString toldAlone = QStringLiteral(" 2>err && test \"$(cat err)\" = \"Pelidora: Can't assign font size greater than 12.\"");
    QTest::newRow("font of 12.00005, dump") << "\"$HOST\" big.json --dump >out" + toldAlone + " && grep -q '\"Size\": 12,' out"
                                            << 0 << "";
    QTest::newRow("font of 14, design dump")
        << "\"$HOST\" --design huge.json --dump >out" + toldAlone + " && grep -q '\"Size\": 12,' out" << 0 << "";
    QTest::newRow("font of 14, panel screenshot") << "\"$HOST\" huge.json --screenshot p.png --open-panel a" + toldAlone
                                                         + " && test -s p.png" << 0 << "";
    // Names that are markup: a picture that is a FIFO would hang the window for ever.
    const QByteArray marked = R"({"format": "pelidora-form", "version": 1, "caption": "<h1>Big</h1>", "width": 300,
        "height": 100, "controls": [
        {"class": "ucvPelidora", "name": "<img src='fifo'>", "left": 8, "top": 8},
        {"class": "ucvPelidora", "name": "<h1 style='font-size:90px'>Big</h1>", "left": 8, "top": 40},
        {"class": "ucvPelidora", "name": "t\u001b]0;owned\u0007\u202e", "left": 8, "top": 70,
         "properties": {"Enabled": false}}]})";
    QVERIFY(writeFile(m_dir.filePath("<img src=fifo>.json"), marked));
    makeAt(m_dir.filePath("fifo"), "fifo");
    const QString form = QStringLiteral("\"$HOST\" '<img src=fifo>.json' ");
    QTest::newRow("markup names, window") << form + "--window-screenshot w.png && test -s w.png" << 0 << "";
    QTest::newRow("markup names, form") << form + "--screenshot f.png --open-panel \"<img src='fifo'>\" && test -s f.png" << 0 << "";
    QTest::newRow("names listed") << form + "--screenshot never.png --open-panel x; still test ! -e never.png" << 2
                                  << R"(has no date box named "x" (it has: <img src='fifo'>, <h1 style='font-size:90px'>Big</h1>, )"
                                     R"(t\u001b]0;owned\u0007\u202e))";
    // The form is still drawn where it can be.
    QTest::newRow("panel not opened")
        << form + "--screenshot unopened.png --open-panel \"$(printf 't\\033]0;owned\\007\\342\\200\\256')\"; still test -s unopened.png"
        << 1 << R"(the panel of t\u001b]0;owned\u0007\u202e did not open)";
    // A picture not written leaves what stood at the path, and the form file is never written
    // over. (A directory, a device or a full disk there is the form file's matrix in
    // tst_formfile: pictures are saved by the same code.)
    QTest::newRow("unwritable picture") << "\"$HOST\" plain.json --screenshot no/such/f.png" << 1
                                        << "cannot write the picture no/such/f.png: No such file";
    QTest::newRow("FIFO for a picture") << "\"$HOST\" plain.json --screenshot fifo; still test -p fifo" << 1
                                        << "cannot write the picture fifo: not a regular file (a FIFO)";
    QTest::newRow("picture over the form")
        << "cp plain.json f.json && \"$HOST\" f.json --screenshot f.json; still cmp -s plain.json f.json" << 1
        << "cannot write the picture f.json: it is the form file";
    QTest::newRow("picture over a hard link to the form")
        << "ln plain.json hard.png && \"$HOST\" plain.json --screenshot hard.png; still cmp -s plain.json hard.png" << 1
        << "cannot write the picture hard.png: it is the form file";
    // What a form file may not hold, or a path that is none, is tst_formfile's; here, that
    // the host tells it in either mode and leaves the file alone.
    QVERIFY(writeFile(m_dir.filePath("broken.json"), oneBoxForm(R"("Locked": 0.5)")));
    const QString broken = QStringLiteral("cp broken.json b.json && \"$HOST\" %1 b.json --dump; still cmp -s broken.json b.json");
    const QString notBoolean = QStringLiteral(R"(pelidora-host: b.json: controls[0] ("a").properties.Locked: expected a boolean)");
    QTest::newRow("broken form, running") << broken.arg("") << 3 << notBoolean;
    QTest::newRow("broken form, designing") << broken.arg("--design") << 3 << notBoolean;
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
// take for its own controls. It leaves no temporary file behind.
void tst_HostCommand::programRunsEndAndTellPlainly()
{
    QFETCH(QString, command);
    QFETCH(int, code);
    QFETCH(QString, said);
    const HostRun run = runShell(command, m_dir.path());
    QVERIFY2(run.code == code && run.err.contains(said), qPrintable(QString::number(run.code) + ": " + run.err));
    QVERIFY2(code == 0 || run.out.isEmpty(), qPrintable(run.out)); // nothing half done
    QVERIFY2(std::none_of(run.err.begin(), run.err.end(), [](QChar c) { return (c < u' ' && c != u'\n') || c == u'\u202e'; }),
             qPrintable(run.err));
    QCOMPARE(hiddenIn(m_dir.path()), QStringList());
}

// What the platform says of what it lacks headless is hidden; the same words said otherwise,
// and every other message, are kept. (The patterns themselves are the filter's own list.)
void tst_HostCommand::onlyThePlatformsHarmlessNoiseIsDropped_data()
{
    QTest::addColumn<QtMsgType>("type");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("dropped");
    const QString xdg = QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'");
    QTest::newRow("no runtime folder") << QtWarningMsg << "default" << xdg << true;
    QTest::newRow("bare X server") << QtWarningMsg << "qt.qpa.xcb" << "XKeyboard extension not present on the X server"
                                   << true;
    QTest::newRow("as a critical") << QtCriticalMsg << "default" << xdg << false;
    QTest::newRow("another category") << QtWarningMsg << "pelidora" << xdg << false;
    QTest::newRow("a link not opened") << QtWarningMsg << "default"
                                       << "This plugin does not support QPlatformServices::openUrl() for 'https://x'." << false;
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

QTEST_MAIN(tst_HostCommand)
#include "tst_hostcommand.moc"
