#include <pelidora/runtimeerror.h>

#include "support/boxhelpers.h"
#include "support/errorhelpers.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pelidora;
using namespace pelidora::test;

namespace {

// Stored values as the bag holds them: 32-bit longs, 16-bit integers.
QVariant longValue(quint32 value) { return QVariant::fromValue(qint32(value)); }
QVariant integerValue(int value) { return QVariant::fromValue(qint16(value)); }

// A box's stored values, as a designer left them.
struct Design {
    quint32 backColor, foreColor, pelidoraBackColor;
    bool enabled, locked;
    int appearance, dateSet, mousePointer;
};

} // namespace

Q_DECLARE_METATYPE(Design)

class tst_ucvPelidoraPersistence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newBoxHasTheDefaults();
    void everyValueSurvivesSaveAndReload_data();
    void everyValueSurvivesSaveAndReload();
    void badStoredValueIsRaised();
    void everyWriteRaisesItsNoticeOrAnError_data();
    void everyWriteRaisesItsNoticeOrAnError();
    void styleSheetWritesCannotEndTheProgram();
    void enabledAndLockedReachTheParts();
    void mousePointerSetsTheBoxCursor();

private:
    FakeWindowSystem m_ws;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
    LocalePin m_locale{"en_GB"};
};

void tst_ucvPelidoraPersistence::newBoxHasTheDefaults()
{
    Site site(false);
    ucvPelidora box(&site);
    // InitProperties puts the parts back as well as the values.
    box.setLocked(true);
    box.setMousePointer(2);
    box.InitProperties();
    QCOMPARE(fieldsOf(box), QStringList({"23", "06", "2025"}));
    QCOMPARE(QList<QColor>({box.BackColor(), box.ForeColor(), box.PelidoraBackColor()}),
             QList<QColor>({Qt::white, Qt::black, QColor(0xC0, 0xC0, 0xC0)}));
    QVERIFY(!field(box, "txtDay")->isReadOnly());
    QCOMPARE(box.cursor().shape(), Qt::ArrowCursor);
    // A container may drop values equal to their defaults: a new box saves nothing then,
    // and reloaded on another day it holds that day.
    PropertyBag bag;
    box.WriteProperties(bag);
    QCOMPARE(bag.keys(), QStringList());
    {
        TodayPin later(2026, 1, 2);
        ucvPelidora reloaded(&site);
        reloaded.ReadProperties(bag);
        QCOMPARE(fieldsOf(reloaded), QStringList({"02", "01", "2026"}));
    }
    platform::pinToday(m_today.serial()); // a pin leaves today unpinned when it goes

    // Any other date is stored as held; typing not yet committed is not saved.
    box.setDateSet("15/03/2010");
    field(box, "txtYear")->setText("1999");
    box.WriteProperties(bag);
    QCOMPARE(bag.readLong("DateSet", 0), serialOf(2010, 3, 15));

    // The host's font is the box's, clamped to 12 points in the box only.
    const StdFont ambient(QFont("DejaVu Sans", 20));
    Site large(false, ambient);
    ucvPelidora clamped(&large);
    clamped.InitProperties();
    QCOMPARE(std::tuple(clamped.Font().size(), ambient.size(), m_ws.messages.size()), std::tuple(12.0, 20.0, 1));
}

void tst_ucvPelidoraPersistence::everyValueSurvivesSaveAndReload_data()
{
    QTest::addColumn<Design>("design");
    QTest::newRow("all changed") << Design{0x00FFFF, 0x800000, 0x0000FF, false, true, 1, serialOf(1998, 11, 23), 11};
    QTest::newRow("system colours kept")
        << Design{0x8000000F, 0x80000012, 0x80000005, true, false, 0, serialOf(2000, 2, 29), 3};
    QTest::newRow("no date, the rest left out") << Design{0xFFFFFF, 0, 0xC0C0C0, true, false, 0, -1, 0};
}

void tst_ucvPelidoraPersistence::everyValueSurvivesSaveAndReload()
{
    QFETCH(Design, design);
    // Stored as a container that drops defaults keeps it; keys as the box writes them.
    PropertyBag stored;
    stored.WriteProperty("BackColor", longValue(design.backColor), longValue(0xFFFFFF));
    stored.WriteProperty("ForeColor", longValue(design.foreColor), longValue(0));
    stored.WriteProperty("PelidoraBackColor", longValue(design.pelidoraBackColor), longValue(0xC0C0C0));
    stored.WriteProperty("Enabled", design.enabled, true);
    stored.WriteProperty("Locked", design.locked, false);
    stored.WriteProperty("Appearance", integerValue(design.appearance), integerValue(0));
    stored.WriteProperty("DateSet", longValue(design.dateSet), longValue(m_today.serial()));
    stored.WriteProperty("Font", QVariant::fromValue(StdFont({"DejaVu Serif", 11, QFont::Bold})), QVariant::fromValue(StdFont()));
    stored.WriteProperty("MousePointer", integerValue(design.mousePointer), integerValue(0));

    Site site(false);
    ucvPelidora box(&site);
    QSignalSpy notices(&site, &Site::propertyChanged);
    box.ReadProperties(stored); // reads "Forecolor": the keys ignore case
    QCOMPARE(notices.count(), 0);
    const QLineEdit *year = field(box, "txtYear");
    QCOMPARE(std::tuple(year->isEnabled(), year->isReadOnly()), std::tuple(design.enabled, design.locked));
    QCOMPARE(std::tuple(year->palette().color(QPalette::Base), year->palette().color(QPalette::Active, QPalette::Text)),
             std::tuple(box.BackColor(), box.ForeColor()));
    // Each colour read and written back as it was, as a property browser does.
    for (const char *name : {"BackColor", "ForeColor", "PelidoraBackColor"})
        QVERIFY(box.setProperty(name, box.property(name)));
    QCOMPARE(QList<quint32>({box.BackColorValue(), box.ForeColorValue(), box.PelidoraBackColorValue()}),
             QList<quint32>({design.backColor, design.foreColor, design.pelidoraBackColor}));
    PropertyBag saved;
    box.WriteProperties(saved);
    const auto sorted = [](QStringList keys) { keys.sort(); return keys; };
    QCOMPARE(sorted(saved.keys()), sorted(stored.keys()));
    for (const QString &key : stored.keys())
        QVERIFY2(PropertyBag::sameValue(saved.ReadProperty(key), stored.ReadProperty(key)), qPrintable(key));
}

void tst_ucvPelidoraPersistence::badStoredValueIsRaised()
{
    Site site(true);
    ucvPelidora box(&site);
    PropertyBag bag;
    bag.WriteProperty("Font", longValue(12));
    QCOMPARE(errorOf<RuntimeError>([&] { box.ReadProperties(bag); }), int(RuntimeError::TypeMismatch));
}

// Through the meta-object, as a property browser writes.
void tst_ucvPelidoraPersistence::everyWriteRaisesItsNoticeOrAnError_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("notice");
    const auto row = [](const char *name, QVariant value, bool userMode = false, int error = 0,
                        const char *notice = nullptr) {
        const QString property = QString(name).section(u' ', 0, 0);
        QTest::newRow(name) << userMode << property << value << error << (notice ? QString(notice) : property);
    };
    row("BackColor", QColor(Qt::yellow));
    row("ForeColor", QColor(Qt::red));
    row("Locked", true);
    row("Appearance", QVariant::fromValue(ucvPelidora::ThreeD));
    row("Font", QVariant::fromValue(StdFont(QFont("DejaVu Sans", 10))));
    row("DateSet", "36526");
    row("PelidoraBackColor", QColor(Qt::green));
    row("Enabled", false);
    row("MousePointer", QVariant::fromValue(short(2)));
    row("font (QWidget's)", QFont("DejaVu Sans", 10), false, 0, "Font");
    row("enabled (QWidget's)", false, false, 0, "Enabled");
    row("Appearance at run time", 1, true, RuntimeError::NotSettableAtRunTime);
    row("Appearance at run time, past 16 bits", 70000, true, RuntimeError::NotSettableAtRunTime);
    row("Appearance 32768", 32768, false, RuntimeError::Overflow);
    row("Appearance -40000", -40000, false, RuntimeError::Overflow);
    row("MousePointer 40000", 40000, false, RuntimeError::Overflow);
    row("MousePointer -32769", -32769, false, RuntimeError::Overflow);
}

void tst_ucvPelidoraPersistence::everyWriteRaisesItsNoticeOrAnError()
{
    QFETCH(bool, userMode);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(int, error);
    QFETCH(QString, notice);
    // A host whose callers cannot take exceptions hears of the error instead, and a box that
    // no host made warns (Qt calls setProperty itself); the write changes nothing either way.
    struct ReportingSite : Site {
        using Site::Site;
        QList<int> errors;
        void raiseError(const RuntimeError &e) override { errors << e.number(); }
    };
    enum { Throwing, Reporting, Own };
    for (const int kind : {Throwing, Reporting, Own}) {
        ReportingSite reportingSite(userMode);
        Site throwingSite(userMode);
        const std::unique_ptr<ucvPelidora> box(kind == Own ? new ucvPelidora(static_cast<QWidget *>(nullptr))
                                               : new ucvPelidora(kind == Reporting ? &reportingSite : &throwingSite));
        box->site()->setUserMode(userMode);
        QSignalSpy notices(box->site(), &Site::propertyChanged);
        if (kind == Own && error)
            QTest::ignoreMessage(QtWarningMsg, qPrintable(QString("Pelidora: %1 not set: run-time error %2: %3")
                                                              .arg(property).arg(error)
                                                              .arg(RuntimeError::standardDescription(error))));
        QCOMPARE(errorOf<RuntimeError>([&] { QVERIFY(box->setProperty(qPrintable(property), value)); }),
                 kind == Throwing ? error : 0);
        QCOMPARE(reportingSite.errors, kind == Reporting && error ? QList<int>{error} : QList<int>{});
        QCOMPARE(notices.count(), error ? 0 : 1);
        if (error)
            QCOMPARE(QVariantList({box->Appearance(), box->MousePointer()}), QVariantList({ucvPelidora::Flat, 0}));
        else
            QCOMPARE(notices.at(0).at(0).toString(), notice);
    }
}

// Qt writes a style sheet's qproperty- values at each polish of the box: at run time the
// refused Appearance is told, and the program goes on.
void tst_ucvPelidoraPersistence::styleSheetWritesCannotEndTheProgram()
{
    QWidget form;
    auto *box = new ucvPelidora(&form);
    QVERIFY(showActive(form));
    QTest::ignoreMessage(QtWarningMsg, "Pelidora: Appearance not set: run-time error 393: Property can't be set at run time");
    form.setStyleSheet("pelidora--ucvPelidora { qproperty-Appearance: ThreeD; }");
    box->ensurePolished();
    QCOMPARE(box->Appearance(), ucvPelidora::Flat);
}

// A box on a disabled form keeps its own Enabled, and comes back to life with the form.
void tst_ucvPelidoraPersistence::enabledAndLockedReachTheParts()
{
    QWidget form;
    Site site(false);
    auto &box = *new ucvPelidora(&site, &form);
    box.InitProperties();
    const auto enabled = [&] {
        QList<bool> parts;
        for (const char *name : {"txtDay", "txtMonth", "txtYear", "imgCombo"})
            parts << part(box, name)->isEnabled();
        return parts;
    };
    box.setEnabledProperty(false);
    QCOMPARE(enabled(), QList<bool>(4, false));
    form.setEnabled(false);
    box.setEnabledProperty(true);
    QVERIFY(box.Enabled());
    PropertyBag bag;
    box.WriteProperties(bag);
    QVERIFY(!bag.contains("Enabled"));
    form.setEnabled(true);
    QCOMPARE(enabled(), QList<bool>(4, true));

    // QWidget's own setEnabled is an Enabled write too; the form's state is none.
    QSignalSpy notices(&site, &Site::propertyChanged);
    box.setEnabledProperty(false);
    box.setEnabled(true);
    form.setEnabled(false);
    form.setEnabled(true);
    QCOMPARE(enabled(), QList<bool>(4, true));
    QCOMPARE(notices.count(), 2);

    box.setLocked(true);
    for (const char *name : {"txtDay", "txtMonth", "txtYear"})
        QVERIFY(field(box, name)->isReadOnly());
    QVERIFY(part(box, "imgCombo")->isEnabled());
}

void tst_ucvPelidoraPersistence::mousePointerSetsTheBoxCursor()
{
    QWidget form; // a window always has a cursor; a child may have none of its own
    auto &box = *new ucvPelidora(&form);
    // 0 and 4 (an icon: no such shape) put the default back.
    for (const auto &[pointer, shape] : std::initializer_list<std::pair<short, int>>{
             {2, Qt::CrossCursor}, {0, -1}, {13, Qt::BusyCursor}, {4, -1}}) {
        box.setMousePointer(pointer);
        QCOMPARE(box.testAttribute(Qt::WA_SetCursor), shape >= 0);
        if (shape >= 0)
            QCOMPARE(int(box.cursor().shape()), shape);
    }
    // The fields keep their own text cursor.
    QCOMPARE(field(box, "txtDay")->cursor().shape(), Qt::IBeamCursor);
}

QTEST_MAIN(tst_ucvPelidoraPersistence)
#include "tst_ucvpelidora_persistence.moc"
