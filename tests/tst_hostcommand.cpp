// pelidora-host's command line: dumping, rendering, refusing bad arguments and bad forms.

#include "runhost.h"

#include "support/testsupport.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace pelidora;

namespace {

struct HostRun {
    int code;
    QString out;
    QString err;
};

HostRun runHost(const QStringList &args)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = host::runHost(args, outStream, errStream);
    outStream.flush();
    errStream.flush();
    return {code, out, err};
}

QString demoPath()
{
    return QStringLiteral(PELIDORA_SOURCE_DIR "/examples/demo.json");
}

QByteArray oneBoxForm(const QByteArray &properties, const QByteArray &className = "ucvPelidora")
{
    return R"({"format": "pelidora-form", "version": 1, "width": 300, "height": 100, "controls": [
        {"class": ")" + className + R"(", "name": "a", "left": 8, "top": 8, "properties": {)" + properties + "}}]}";
}

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
    void designDumpShowsDatesInLocaleOrder();
    void dumpOfBoxWithoutStoredDateShowsToday();
    void badArgumentsExitTwoWithUsage_data();
    void badArgumentsExitTwoWithUsage();
    void unknownPanelBoxExitsTwoNamingTheBoxes();
    void helpPrintsUsage();
    void brokenFormExitsThreeAndLeavesFileAlone_data();
    void brokenFormExitsThreeAndLeavesFileAlone();
    void missingFormExitsThreeWithoutCreatingIt();
    void screenshotIsFormSizedPictureOfTheBoxes();
    void screenshotWithOpenPanelShowsThePanel();
    void panelThatCannotOpenFailsButStillDrawsTheForm();
    void unwritableScreenshotFails();

private:
    test::FakeWindowSystem m_windowSystem;
    test::TodayPin m_today{2024, 3, 20};
    test::LocalePin m_locale{QStringLiteral("en_GB")};
    QTemporaryDir m_dir;
};

void tst_HostCommand::dumpOfDemoFormShowsEveryValue()
{
    const HostRun run = runHost({demoPath(), QStringLiteral("--dump")});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err, QString());
    QJsonParseError error;
    const QJsonDocument dump = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(dump, QJsonDocument::fromJson(kDemoDump));
}

void tst_HostCommand::designDumpShowsDatesInLocaleOrder()
{
    const test::LocalePin monthFirst(QStringLiteral("en_US"));
    const HostRun run = runHost({QStringLiteral("--design"), demoPath(), QStringLiteral("--dump")});
    QCOMPARE(run.code, 0);
    QStringList shown;
    for (const QJsonValue &box : QJsonDocument::fromJson(run.out.toUtf8()).array())
        shown << box[QLatin1String("properties")][QLatin1String("DateSet")][QLatin1String("text")].toString();
    QCOMPARE(shown, (QStringList{"3/15/2024", "-1", "1/1/2018"}));
}

void tst_HostCommand::dumpOfBoxWithoutStoredDateShowsToday()
{
    const QString path = m_dir.filePath(QStringLiteral("today.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oneBoxForm(R"("Locked": true)"));
    file.close();

    const HostRun run = runHost({path, QStringLiteral("--dump")});
    QCOMPARE(run.code, 0);
    const QJsonValue dateSet = QJsonDocument::fromJson(run.out.toUtf8())[0][QLatin1String("properties")][QLatin1String("DateSet")];
    QCOMPARE(dateSet[QLatin1String("serial")].toInt(), m_today.serial());
    QCOMPARE(dateSet[QLatin1String("text")].toString(), QStringLiteral("20/03/2024"));
}

void tst_HostCommand::badArgumentsExitTwoWithUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("problem");
    const QString demo = demoPath();
    QTest::newRow("nothing") << QStringList{} << "no form file";
    QTest::newRow("two forms") << QStringList{demo, demo} << "one form file at a time";
    QTest::newRow("unknown option") << QStringList{demo, "--colour"} << "colour";
    QTest::newRow("screenshot without file") << QStringList{demo, "--screenshot"} << "screenshot";
    QTest::newRow("empty screenshot file") << QStringList{demo, "--screenshot="} << "--screenshot needs a file name";
    QTest::newRow("panel in design") << QStringList{"--design", demo, "--open-panel", "dtReturn"} << "run mode only";
    QTest::newRow("screenshot twice") << QStringList{demo, "--screenshot", "a.png", "--screenshot", "b.png"} << "more than once";
}

void tst_HostCommand::badArgumentsExitTwoWithUsage()
{
    QFETCH(QStringList, args);
    QFETCH(QString, problem);
    const HostRun run = runHost(args);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(problem), qPrintable(run.err));
    QVERIFY(run.err.contains(QLatin1String("usage: pelidora-host")));
    QCOMPARE(run.out, QString());
}

void tst_HostCommand::unknownPanelBoxExitsTwoNamingTheBoxes()
{
    const QString picture = m_dir.filePath(QStringLiteral("never.png"));
    const HostRun run = runHost({demoPath(), "--screenshot", picture, "--open-panel", "dtNowhere"});
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(QLatin1String("no date box named \"dtNowhere\"")), qPrintable(run.err));
    QVERIFY(run.err.contains(QLatin1String("dtDeparture, dtReturn, dtIssued")));
    QVERIFY(!QFile::exists(picture));
}

void tst_HostCommand::helpPrintsUsage()
{
    const HostRun run = runHost({QStringLiteral("--help")});
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.startsWith(QLatin1String("usage: pelidora-host")));
}

void tst_HostCommand::brokenFormExitsThreeAndLeavesFileAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("place");
    const struct {
        const char *name;
        QByteArray content;
        const char *place;
    } rows[] = {
        {"empty file", "", "line 1, column 1"},
        {"other format", R"({"format": "form", "version": 1})", "format: not a Pelidora form file"},
        {"number for a boolean", oneBoxForm(R"("Locked": 1)"), "controls[0] (\"a\").properties.Locked: expected a boolean"},
        {"unknown property", oneBoxForm(R"("Colour": 255)"), "properties.Colour: class ucvPelidora has no such property"},
        {"appearance past 16 bits", oneBoxForm(R"("Appearance": 40000)"), "properties.Appearance: 40000 is out of range"},
        {"unknown class", oneBoxForm("", "Label"), "controls[0] (\"a\").class"},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.name) << row.content << QString::fromUtf8(row.place);
        QTest::addRow("%s, designing", row.name) << row.content << QString::fromUtf8(row.place);
    }
}

void tst_HostCommand::brokenFormExitsThreeAndLeavesFileAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, place);
    const bool design = QString::fromLatin1(QTest::currentDataTag()).endsWith(QLatin1String("designing"));
    const QString path = m_dir.filePath(QStringLiteral("broken.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    const QDateTime written = QFileInfo(path).lastModified();

    QStringList args{path, QStringLiteral("--dump")};
    if (design)
        args << QStringLiteral("--design");
    const HostRun run = runHost(args);
    QCOMPARE(run.code, 3);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QLatin1String("pelidora-host: ") + path + QLatin1String(": ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(place), qPrintable(run.err));

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QCOMPARE(QFileInfo(path).lastModified(), written);
}

void tst_HostCommand::missingFormExitsThreeWithoutCreatingIt()
{
    const QString path = m_dir.filePath(QStringLiteral("absent.json"));
    const HostRun run = runHost({QStringLiteral("--design"), path, QStringLiteral("--dump")});
    QCOMPARE(run.code, 3);
    QVERIFY2(run.err.contains(path + QLatin1String(": cannot open")), qPrintable(run.err));
    QVERIFY(!QFile::exists(path));
}

void tst_HostCommand::screenshotIsFormSizedPictureOfTheBoxes()
{
    const QString path = m_dir.filePath(QStringLiteral("form.png"));
    const HostRun run = runHost({demoPath(), QStringLiteral("--screenshot"), path});
    QCOMPARE(run.code, 0);
    const QImage image(path);
    QCOMPARE(image.size(), QSize(460, 290));
    // dtReturn's fields are drawn in its own back colour, 0x00CCFFFF.
    int returnBack = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            returnBack += image.pixelColor(x, y) == QColor(0xFF, 0xFF, 0xCC);
    }
    QVERIFY2(returnBack > 200, qPrintable(QString::number(returnBack)));
}

void tst_HostCommand::screenshotWithOpenPanelShowsThePanel()
{
    const QString closed = m_dir.filePath(QStringLiteral("closed.png"));
    const QString open = m_dir.filePath(QStringLiteral("open.png"));
    QCOMPARE(runHost({demoPath(), QStringLiteral("--screenshot"), closed}).code, 0);
    const HostRun run = runHost({demoPath(), QStringLiteral("--screenshot"), open, QStringLiteral("--open-panel"),
                                 QStringLiteral("DTDEPARTURE")});
    QCOMPARE(run.code, 0);
    const QImage withPanel(open);
    QVERIFY(withPanel.width() >= 460 && withPanel.height() >= 290);
    // Below the box, where the panel opens, the picture is no longer the bare form.
    const QImage bare(closed);
    int changed = 0;
    for (int y = 60; y < 200; ++y) {
        for (int x = 16; x < 200; ++x)
            changed += withPanel.pixelColor(x, y) != bare.pixelColor(x, y);
    }
    QVERIFY2(changed > 1000, qPrintable(QString::number(changed)));
}

void tst_HostCommand::panelThatCannotOpenFailsButStillDrawsTheForm()
{
    const QString form = m_dir.filePath(QStringLiteral("disabled.json"));
    QFile file(form);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oneBoxForm(R"("Enabled": false)"));
    file.close();
    const QString picture = m_dir.filePath(QStringLiteral("disabled.png"));
    const HostRun run = runHost({form, QStringLiteral("--screenshot"), picture, QStringLiteral("--open-panel"),
                                 QStringLiteral("a")});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QLatin1String("the panel of a did not open")), qPrintable(run.err));
    QCOMPARE(QImage(picture).size(), QSize(300, 100));
}

void tst_HostCommand::unwritableScreenshotFails()
{
    const QString path = m_dir.filePath(QStringLiteral("no/such/folder/form.png"));
    const HostRun run = runHost({demoPath(), QStringLiteral("--screenshot"), path});
    QCOMPARE(run.code, 1);
    QVERIFY(run.err.contains(path));
}

QTEST_MAIN(tst_HostCommand)
#include "tst_hostcommand.moc"
