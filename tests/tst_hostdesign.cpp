// Designing a form in pelidora-host: the property browser, moving, adding and deleting
// boxes, the unsaved-changes marker, and saving what a run then reads back.

#include "designoverlay.h"
#include "designwindow.h"
#include "formcanvas.h"
#include "formhost.h"
#include "propertybrowser.h"
#include "runhost.h"
#include "runwindow.h"

#include "support/testsupport.h"

#include <pelidora/formfile.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

using namespace pelidora;
using host::DesignWindow;
using host::PropertyBrowser;

namespace {

QJsonArray dumpInRunMode(const QString &path)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = host::runHost({path, QStringLiteral("--dump")}, outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (code != 0)
        qWarning().noquote() << err;
    return QJsonDocument::fromJson(out.toUtf8()).array();
}

QJsonObject boxIn(const QJsonArray &dump, const QString &name)
{
    for (const QJsonValue &box : dump) {
        if (box[QLatin1String("name")].toString() == name)
            return box.toObject();
    }
    return {};
}

QPoint centreOf(const QWidget *box)
{
    return box->geometry().center();
}

} // namespace

class tst_HostDesign : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void browserOffersTheDesignableProperties_data();
    void browserOffersTheDesignableProperties();
    void savedDesignRunsWithAllNineValues();
    void modifiedMarkerFollowsChanges_data();
    void modifiedMarkerFollowsChanges();
    void refusedWriteIsShownNamingTheProperty_data();
    void refusedWriteIsShownNamingTheProperty();
    void oversizedFontIsClampedIntoANewFontObject();
    void designedBoxesTakeNeitherPointerNorKeys();
    void addedBoxesGetFreeNamesAndPlaces();
    void renameToATakenNameIsRefused();
    void runSavesAndShowsTheFormLive();
    void failedLoadKeepsTheFormOnScreen();
    void failedSaveIsReportedAndKeepsTheMarker();

private:
    QString copyOfDemo();

    test::FakeWindowSystem m_windowSystem;
    test::TodayPin m_today{2024, 3, 20};
    test::LocalePin m_locale{QStringLiteral("en_GB")};
    QTemporaryDir m_dir;
};

void tst_HostDesign::init()
{
    m_windowSystem.messages.clear();
}

QString tst_HostDesign::copyOfDemo()
{
    const QString path = m_dir.filePath(QStringLiteral("%1.json").arg(QLatin1String(QTest::currentTestFunction())));
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(PELIDORA_SOURCE_DIR "/examples/demo.json"), path))
        qFatal("cannot copy the demo form");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void tst_HostDesign::browserOffersTheDesignableProperties_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("help");
    QTest::newRow("BackColor") << "BackColor" << "QToolButton"
                               << "Returns/sets the background color used to display text and graphics in an object.";
    QTest::newRow("Locked") << "Locked" << "QCheckBox" << "Returns/sets a value that determines whether you can edit an object.";
    QTest::newRow("Appearance") << "Appearance" << "QComboBox"
                                << "Returns/sets whether or not an object is painted at run time with 3-D effects.";
    QTest::newRow("Font") << "Font" << "QToolButton" << "Returns a Font object.";
    QTest::newRow("DateSet") << "DateSet" << "QLineEdit" << "Returns/sets the date selected from user.";
    QTest::newRow("MousePointer") << "MousePointer" << "QSpinBox"
                                  << "Returns/sets the type of mouse pointer displayed when over part of an object.";
}

void tst_HostDesign::browserOffersTheDesignableProperties()
{
    QFETCH(QString, property);
    QFETCH(QString, editor);
    QFETCH(QString, help);
    PropertyBrowser browser;
    QCOMPARE(browser.propertyNames(), (QStringList{"BackColor", "ForeColor", "Locked", "Appearance", "Font", "DateSet",
                                                   "PelidoraBackColor", "Enabled", "MousePointer"}));
    QWidget *widget = browser.editor(property);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), editor);
    QCOMPARE(widget->toolTip(), help);
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("Flat"));
        QCOMPARE(combo->itemText(1), QStringLiteral("3D"));
    }
}

void tst_HostDesign::savedDesignRunsWithAllNineValues()
{
    const QString path = copyOfDemo();
    const QJsonArray before = dumpInRunMode(path);
    DesignWindow window;
    window.load(path);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtDeparture"));
    window.overlay()->select(box);
    PropertyBrowser *browser = window.browser();
    QCOMPARE(browser->target(), box);

    browser->setColorPicker([](const QColor &, const QString &property, QWidget *) -> std::optional<QColor> {
        if (property == QLatin1String("BackColor"))
            return QColor(0x12, 0x34, 0x56);
        if (property == QLatin1String("ForeColor"))
            return QColor(0xFF, 0x00, 0x00);
        return QColor(0x00, 0x80, 0x40);
    });
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPointSizeF(11.5);
    chosen.setUnderline(true);
    browser->setFontPicker([chosen](const QFont &, QWidget *) { return std::optional<QFont>(chosen); });

    for (const char *name : {"BackColor", "ForeColor", "PelidoraBackColor", "Font"})
        qobject_cast<QToolButton *>(browser->editor(QLatin1String(name)))->click();
    qobject_cast<QCheckBox *>(browser->editor(QStringLiteral("Locked")))->click();
    qobject_cast<QCheckBox *>(browser->editor(QStringLiteral("Enabled")))->click();
    QTest::keyClick(browser->editor(QStringLiteral("Appearance")), Qt::Key_Down);
    auto *date = qobject_cast<QLineEdit *>(browser->editor(QStringLiteral("DateSet")));
    date->selectAll();
    QTest::keyClicks(date, QStringLiteral("24/12/2025"));
    QTest::keyClick(date, Qt::Key_Return);
    qobject_cast<QSpinBox *>(browser->editor(QStringLiteral("MousePointer")))->setValue(11);
    // And a drag, which the form file keeps as the position.
    QTest::mousePress(window.overlay(), Qt::LeftButton, {}, centreOf(box));
    QTest::mouseMove(window.overlay(), centreOf(box) + QPoint(37, 21));
    QTest::mouseRelease(window.overlay(), Qt::LeftButton, {}, centreOf(box));
    QCOMPARE(box->pos(), QPoint(56, 48)); // (16, 24) + (37, 21), on the 8-pixel grid

    QVERIFY(window.isWindowModified());
    QVERIFY(window.save());
    QVERIFY(!window.isWindowModified());
    QCOMPARE(m_windowSystem.messages.size(), 0);

    const QJsonArray after = dumpInRunMode(path);
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "name": "dtDeparture", "class": "ucvPelidora", "left": 56, "top": 48, "properties": {
        "BackColor": 5649426, "ForeColor": 255, "Enabled": false, "Locked": true, "Appearance": 1,
        "DateSet": {"serial": 46015, "text": "24/12/2025"},
        "Font": {"Name": "Liberation Sans", "Size": 11.5, "Bold": false, "Italic": false, "Underline": true,
                 "Strikethrough": false},
        "MousePointer": 11, "PelidoraBackColor": 4227072}})").object();
    QCOMPARE(boxIn(after, QStringLiteral("dtDeparture")), expected);
    for (const char *other : {"dtReturn", "dtIssued"})
        QCOMPARE(boxIn(after, QLatin1String(other)), boxIn(before, QLatin1String(other)));
}

void tst_HostDesign::modifiedMarkerFollowsChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("property") << "property";
    QTest::newRow("move") << "move";
    QTest::newRow("add") << "add";
    QTest::newRow("delete key") << "delete";
    QTest::newRow("rename") << "rename";
}

void tst_HostDesign::modifiedMarkerFollowsChanges()
{
    QFETCH(QString, change);
    DesignWindow window;
    window.load(copyOfDemo());
    QVERIFY(!window.isWindowModified());
    QVERIFY(window.windowTitle().contains(QLatin1String("[*]")));
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtReturn"));
    window.overlay()->select(box);

    if (change == QLatin1String("property"))
        box->setLocked(true); // the site's notice alone marks the form
    else if (change == QLatin1String("move"))
        QTest::keyClick(window.overlay(), Qt::Key_Left);
    else if (change == QLatin1String("add"))
        window.addBox();
    else if (change == QLatin1String("delete"))
        QTest::keyClick(window.overlay(), Qt::Key_Delete);
    else if (change == QLatin1String("rename"))
        Q_EMIT window.browser()->renameRequested(box, QStringLiteral("dtBack"));
    QVERIFY(window.isWindowModified());

    QVERIFY(window.save());
    QVERIFY(!window.isWindowModified());
    // Reading the saved form back is no change.
    window.load(window.host()->path());
    QVERIFY(!window.isWindowModified());
}

void tst_HostDesign::refusedWriteIsShownNamingTheProperty_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("error");
    QTest::newRow("appearance at run time") << true << 1 << "Run-time error 393";
    QTest::newRow("appearance past 16 bits") << false << 70000 << "Run-time error 6";
}

void tst_HostDesign::refusedWriteIsShownNamingTheProperty()
{
    QFETCH(bool, userMode);
    QFETCH(int, value);
    QFETCH(QString, error);
    Site site(userMode);
    ucvPelidora box(&site);
    box.InitProperties();
    PropertyBrowser browser;
    browser.setTarget(&box);

    QVERIFY(!browser.writeProperty(QStringLiteral("Appearance"), value));
    QCOMPARE(m_windowSystem.messages.size(), 1);
    const QString text = m_windowSystem.messages.constFirst().text;
    QVERIFY2(text.contains(QLatin1String("Appearance")) && text.contains(error), qPrintable(text));
    QCOMPARE(m_windowSystem.messages.constFirst().style & 0xF0, 16);
    QCOMPARE(box.Appearance(), ucvPelidora::Flat);
    QCOMPARE(qobject_cast<QComboBox *>(browser.editor(QStringLiteral("Appearance")))->currentText(), QStringLiteral("Flat"));
}

void tst_HostDesign::oversizedFontIsClampedIntoANewFontObject()
{
    Site site(false);
    ucvPelidora box(&site);
    box.InitProperties();
    const StdFont before = box.Font();
    PropertyBrowser browser;
    browser.setTarget(&box);
    browser.setFontPicker([](const QFont &, QWidget *) {
        QFont big(QStringLiteral("DejaVu Sans"));
        big.setPointSizeF(14);
        return std::optional<QFont>(big);
    });
    qobject_cast<QToolButton *>(browser.editor(QStringLiteral("Font")))->click();

    // The box tells the user itself; the browser adds nothing.
    QCOMPARE(m_windowSystem.messages.size(), 1);
    QCOMPARE(m_windowSystem.messages.constFirst().text, QStringLiteral("Can't assign font size greater than 12."));
    QCOMPARE(box.Font().size(), 12.0);
    QVERIFY(!box.Font().isSameObject(before));
    QVERIFY(qobject_cast<QToolButton *>(browser.editor(QStringLiteral("Font")))->text().contains(QLatin1String("12 pt")));
}

void tst_HostDesign::designedBoxesTakeNeitherPointerNorKeys()
{
    DesignWindow window;
    window.load(copyOfDemo());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtIssued"));
    const QString date = box->DateSet();

    QTest::mouseClick(window.overlay(), Qt::LeftButton, {}, centreOf(box));
    QCOMPARE(window.overlay()->selected(), box);
    QCOMPARE(window.browser()->target(), box);
    QCOMPARE(QApplication::focusWidget(), window.overlay());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0102"));
    QCOMPARE(box->DateSet(), date);
    const auto fields = box->findChildren<QWidget *>();
    for (QWidget *field : fields)
        QVERIFY2(field->isWindow() || field->focusPolicy() == Qt::NoFocus, qPrintable(field->objectName()));

    // A click on the empty form selects nothing; Delete then deletes nothing.
    QTest::mouseClick(window.overlay(), Qt::LeftButton, {}, QPoint(440, 150));
    QCOMPARE(window.overlay()->selected(), nullptr);
    QTest::keyClick(window.overlay(), Qt::Key_Delete);
    QCOMPARE(window.host()->boxes().size(), 3);
}

void tst_HostDesign::addedBoxesGetFreeNamesAndPlaces()
{
    DesignWindow window;
    window.load(copyOfDemo());
    ucvPelidora *first = window.addBox();
    ucvPelidora *second = window.addBox();
    QCOMPARE(first->objectName(), QStringLiteral("ucvPelidora1"));
    QCOMPARE(second->objectName(), QStringLiteral("ucvPelidora2"));
    QCOMPARE(window.overlay()->selected(), second);
    const QList<ucvPelidora *> boxes = window.host()->boxes();
    QCOMPARE(boxes.size(), 5);
    const QRect form(QPoint(0, 0), window.host()->formSize());
    for (ucvPelidora *added : {first, second}) {
        QVERIFY(form.contains(added->geometry()));
        for (ucvPelidora *other : boxes)
            QVERIFY2(other == added || !other->geometry().intersects(added->geometry()), qPrintable(other->objectName()));
    }
}

void tst_HostDesign::renameToATakenNameIsRefused()
{
    DesignWindow window;
    window.load(copyOfDemo());
    ucvPelidora *box = window.host()->boxNamed(QStringLiteral("dtIssued"));
    window.overlay()->select(box);
    auto *name = qobject_cast<QLineEdit *>(window.browser()->nameEditor());
    name->setText(QStringLiteral("DTRETURN"));
    Q_EMIT name->editingFinished();

    QCOMPARE(box->objectName(), QStringLiteral("dtIssued"));
    QCOMPARE(name->text(), QStringLiteral("dtIssued"));
    QCOMPARE(m_windowSystem.messages.size(), 1);
    QVERIFY(m_windowSystem.messages.constFirst().text.contains(QLatin1String("already used")));
    QVERIFY(!window.isWindowModified());
}

void tst_HostDesign::runSavesAndShowsTheFormLive()
{
    DesignWindow window;
    window.load(copyOfDemo());
    window.host()->boxNamed(QStringLiteral("dtReturn"))->setLocked(true);
    host::RunWindow *run = window.runForm();
    QVERIFY(run);
    QVERIFY(!window.isWindowModified());
    ucvPelidora *box = run->host()->boxNamed(QStringLiteral("dtReturn"));
    QVERIFY(box->site()->UserMode());
    QVERIFY(box->Locked());
    QVERIFY(run->isVisible());
}

void tst_HostDesign::failedLoadKeepsTheFormOnScreen()
{
    DesignWindow window;
    const QString good = copyOfDemo();
    window.load(good);
    const QString broken = m_dir.filePath(QStringLiteral("broken.json"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // The second box is bad: the first must not stay behind half-loaded.
    file.write(R"({"format": "pelidora-form", "version": 1, "width": 200, "height": 80, "controls": [
        {"class": "ucvPelidora", "name": "x", "left": 0, "top": 0},
        {"class": "Label", "name": "y", "left": 0, "top": 40}]})");
    file.close();

    QVERIFY_THROWS_EXCEPTION(FormFileError, window.load(broken));
    QStringList names;
    for (const ucvPelidora *box : window.host()->boxes())
        names << box->objectName();
    QCOMPARE(names, (QStringList{"dtDeparture", "dtReturn", "dtIssued"}));
    QCOMPARE(window.canvas()->findChildren<ucvPelidora *>().size(), 3);
    QCOMPARE(window.host()->path(), good);
    QCOMPARE(window.canvas()->size(), QSize(460, 290));
}

void tst_HostDesign::failedSaveIsReportedAndKeepsTheMarker()
{
    QDir folder(m_dir.path());
    QVERIFY(folder.mkpath(QStringLiteral("forms")));
    const QString path = folder.filePath(QStringLiteral("forms/demo.json"));
    QVERIFY(QFile::copy(QStringLiteral(PELIDORA_SOURCE_DIR "/examples/demo.json"), path));
    DesignWindow window;
    window.load(path);
    window.host()->boxNamed(QStringLiteral("dtReturn"))->setLocked(true);
    // The folder is gone and a plain file stands in its place: nothing can be written there.
    QVERIFY(QDir(folder.filePath(QStringLiteral("forms"))).removeRecursively());
    QFile blocker(folder.filePath(QStringLiteral("forms")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QVERIFY(!window.save());
    QCOMPARE(m_windowSystem.messages.size(), 1);
    QVERIFY2(m_windowSystem.messages.constFirst().text.startsWith(path), qPrintable(m_windowSystem.messages.constFirst().text));
    QVERIFY(window.isWindowModified());
}

QTEST_MAIN(tst_HostDesign)
#include "tst_hostdesign.moc"
