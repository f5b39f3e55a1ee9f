// pelidora-host's command line: dumping, rendering, refusing bad arguments and bad forms;
// and ./dev run, which opens it.

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

} // namespace

class tst_HostCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dumpOfDemoFormShowsEveryValue();
    void badArgumentsExitTwoWithUsage_data();
    void badArgumentsExitTwoWithUsage();
    void helpPrintsUsage();
    void brokenFormExitsThreeAndLeavesFileAlone_data();
    void brokenFormExitsThreeAndLeavesFileAlone();
    void screenshotsShowTheFormAndAnOpenPanel();
    void failedPicturesExitOne_data();
    void failedPicturesExitOne();
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
    for (const QJsonValue &box : QJsonDocument::fromJson(design.out.toUtf8()).array())
        shown << box[QLatin1String("properties")][QLatin1String("DateSet")][QLatin1String("text")].toString();
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
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.startsWith(QLatin1String("usage: pelidora-host")));
}

void tst_HostCommand::brokenFormExitsThreeAndLeavesFileAlone_data()
{
    QTest::addColumn<QByteArray>("content"); // "absent": no file at all
    QTest::addColumn<bool>("design");
    QTest::addColumn<QString>("place");
    for (const bool design : {false, true}) {
        const char *mode = design ? "designing" : "running";
        QTest::addRow("empty file, %s", mode) << QByteArray() << design << "line 1, column 1";
        QTest::addRow("fraction for a boolean, %s", mode)
            << oneBoxForm(R"("Locked": 0.5)") << design << "controls[0] (\"a\").properties.Locked: expected a boolean";
        QTest::addRow("unknown class, %s", mode) << oneBoxForm("", "Label") << design << "controls[0] (\"a\").class";
        QTest::addRow("no such file, %s", mode) << QByteArray("absent") << design << "cannot open";
    }
}

void tst_HostCommand::brokenFormExitsThreeAndLeavesFileAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, design);
    QFETCH(QString, place);
    const QString path = m_dir.filePath(QStringLiteral("broken.json"));
    QFile::remove(path);
    if (content != "absent")
        QVERIFY(writeFile(path, content));
    const HostRun run = runHost(design ? QStringList{"--design", path, "--dump"} : QStringList{path, "--dump"});
    QCOMPARE(run.code, 3);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QLatin1String("pelidora-host: ") + path + QLatin1String(": ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(place), qPrintable(run.err));
    QFile file(path);
    QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("absent"), content);
}

void tst_HostCommand::screenshotsShowTheFormAndAnOpenPanel()
{
    const QString closed = m_dir.filePath(QStringLiteral("closed.png"));
    const QString open = m_dir.filePath(QStringLiteral("open.png"));
    QCOMPARE(runHost({demoPath(), QStringLiteral("--screenshot"), closed}).code, 0);
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
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("panel"); // of the one box of a disabled form
    QTest::addColumn<QString>("problem");
    QTest::newRow("unwritable picture") << "no/such/folder/form.png" << ""
                                        << "cannot write the picture " + m_dir.filePath("no/such/folder/form.png");
    QTest::newRow("panel of a disabled box") << "disabled.png" << "a" << "the panel of a did not open";
}

// The form is still drawn where it can be.
void tst_HostCommand::failedPicturesExitOne()
{
    QFETCH(QString, picture);
    QFETCH(QString, panel);
    QFETCH(QString, problem);
    const QString form = m_dir.filePath(QStringLiteral("disabled.json"));
    QVERIFY(writeFile(form, oneBoxForm(R"("Enabled": false)")));
    const QString path = m_dir.filePath(picture);
    QStringList args{form, QStringLiteral("--screenshot"), path};
    if (!panel.isEmpty())
        args << QStringLiteral("--open-panel") << panel;
    const HostRun run = runHost(args);
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(problem), qPrintable(run.err));
    QCOMPARE(QImage(path).size(), panel.isEmpty() ? QSize(0, 0) : QSize(300, 100));
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
    QTest::addColumn<bool>("xvfb");
    QTest::addColumn<QString>("advice");
    QTest::newRow("xvfb-run at hand") << true << "start a virtual one: xvfb-run -a ./dev run --design f.json\n";
    QTest::newRow("no xvfb-run") << false
                                 << "start a virtual one: apt-get install xvfb, then xvfb-run -a ./dev run --design f.json\n";
}

// Told in one line before a build starts, so an empty build folder stays empty.
void tst_HostCommand::devRunWithoutDisplayBuildsNothing()
{
    QFETCH(bool, xvfb);
    QFETCH(QString, advice);
    const QTemporaryDir build, tools;
    // Only what ./dev needs to get that far is on the PATH; no cmake, no apt.
    for (const char *tool : {"bash", "dirname", "nproc"})
        QVERIFY(QFile::link(QStandardPaths::findExecutable(QLatin1String(tool)), tools.filePath(QLatin1String(tool))));
    if (xvfb)
        QVERIFY(writeFile(tools.filePath(QStringLiteral("xvfb-run")), "#!/bin/sh\nexit 0\n")
                && QFile::setPermissions(tools.filePath(QStringLiteral("xvfb-run")), QFile::ExeOwner | QFile::ReadOwner));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("PATH"), tools.path());
    env.insert(QStringLiteral("PELIDORA_BUILD_DIR"), build.path());
    QProcess dev;
    dev.setProcessEnvironment(env);
    dev.start(tools.filePath(QStringLiteral("bash")), {QStringLiteral(PELIDORA_SOURCE_DIR "/dev"), QStringLiteral("run"),
                                                       QStringLiteral("--design"), QStringLiteral("f.json")});
    QVERIFY(dev.waitForFinished(60000));
    QCOMPARE(dev.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(dev.readAllStandardError()),
             "./dev run: no display (DISPLAY and WAYLAND_DISPLAY are unset); " + advice);
    QCOMPARE(QDir(build.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

QTEST_MAIN(tst_HostCommand)
#include "tst_hostcommand.moc"
