#include <pelidora/runtimeerror.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include "platform/dayserial.h"
#include "platform/localedates.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace pelidora;

namespace {

constexpr int kTodayYear = 2025, kTodayMonth = 6, kTodayDay = 23;

int serialOf(int year, int month, int day)
{
    return core::serialFromCivil({year, month, day});
}

QLineEdit *field(ucvPelidora &box, const char *name)
{
    return box.findChild<QLineEdit *>(QLatin1String(name));
}

QStringList fieldsOf(ucvPelidora &box)
{
    return {field(box, "txtDay")->text(), field(box, "txtMonth")->text(), field(box, "txtYear")->text()};
}

// The runtime error number a call raises; 0 when it raises none.
template<typename F>
int errorOf(F &&call)
{
    try {
        call();
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

} // namespace

class tst_ucvPelidoraPersistence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void newBoxHasTheDefaults();
    void everyValueSurvivesSaveAndReload_data();
    void everyValueSurvivesSaveAndReload();
    void defaultsAreLeftOutOfTheBag();
    void foreColorIsReadUnderForecolor();
    void dateOfTheSavingDayFollowsToday();
    void badStoredValuesAreRaised_data();
    void badStoredValuesAreRaised();
    void appearanceIsDesignTimeOnly_data();
    void appearanceIsDesignTimeOnly();
    void everyWriteRaisesItsNotice_data();
    void everyWriteRaisesItsNotice();
    void enabledAndLockedReachTheParts();
    void enabledIsTheBoxsOwnState();
    void mousePointerSetsTheBoxCursor_data();
    void mousePointerSetsTheBoxCursor();
    void fontClampNeverChangesTheHostsFont();

private:
    test::FakeWindowSystem m_ws;
    test::TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
    std::optional<test::LocalePin> m_locale;
};

void tst_ucvPelidoraPersistence::init()
{
    m_locale.reset();
    m_locale.emplace("en_GB");
}

void tst_ucvPelidoraPersistence::newBoxHasTheDefaults()
{
    ucvPelidora box;
    QCOMPARE(serialOf(kTodayYear, kTodayMonth, kTodayDay), platform::dateSerial(box.DateSet()).value_or(0));
    QCOMPARE(fieldsOf(box), QStringList({"23", "06", "2025"}));
    QCOMPARE(box.BackColor(), QColor(Qt::white));
    QCOMPARE(box.ForeColor(), QColor(Qt::black));
    QCOMPARE(box.Appearance(), ucvPelidora::Flat);
    QCOMPARE(box.PelidoraBackColor(), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(box.Locked(), false);
    QCOMPARE(box.MousePointer(), short(0));
    QVERIFY(box.Enabled());
    QVERIFY(box.hwnd() > 0);
    QCOMPARE(field(box, "txtDay")->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(field(box, "txtDay")->palette().color(QPalette::Text), QColor(Qt::black));
}

void tst_ucvPelidoraPersistence::everyValueSurvivesSaveAndReload_data()
{
    QTest::addColumn<quint32>("backColor");
    QTest::addColumn<quint32>("foreColor");
    QTest::addColumn<quint32>("pelidoraBackColor");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("appearance");
    QTest::addColumn<int>("dateSet");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<int>("mousePointer");
    QTest::newRow("all changed") << 0x00FFFFu << 0x800000u << 0x0000FFu << false << true << 1
                                 << serialOf(1998, 11, 23) << 11.0 << 11;
    QTest::newRow("system colours kept") << 0x8000000Fu << 0x80000012u << 0x80000005u << true
                                         << false << 0 << serialOf(2000, 2, 29) << 8.0 << 3;
    QTest::newRow("no date") << 0xFFFFFFu << 0x000000u << 0xC0C0C0u << true << false << 0 << -1
                             << 9.0 << 0;
}

void tst_ucvPelidoraPersistence::everyValueSurvivesSaveAndReload()
{
    QFETCH(quint32, backColor);
    QFETCH(quint32, foreColor);
    QFETCH(quint32, pelidoraBackColor);
    QFETCH(bool, enabled);
    QFETCH(bool, locked);
    QFETCH(int, appearance);
    QFETCH(int, dateSet);
    QFETCH(double, fontSize);
    QFETCH(int, mousePointer);

    // The stored form of a design, as a host reads it from its file.
    PropertyBag stored;
    stored.WriteProperty("BackColor", QVariant::fromValue(qint32(backColor)));
    stored.WriteProperty("ForeColor", QVariant::fromValue(qint32(foreColor)));
    stored.WriteProperty("PelidoraBackColor", QVariant::fromValue(qint32(pelidoraBackColor)));
    stored.WriteProperty("Enabled", enabled);
    stored.WriteProperty("Locked", locked);
    stored.WriteProperty("Appearance", QVariant::fromValue(qint16(appearance)));
    stored.WriteProperty("DateSet", QVariant::fromValue(qint32(dateSet)));
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(fontSize);
    font.setBold(true);
    stored.WriteProperty("Font", QVariant::fromValue(StdFont(font)));
    stored.WriteProperty("MousePointer", QVariant::fromValue(qint16(mousePointer)));

    Site site(false);
    ucvPelidora first(&site);
    first.ReadProperties(stored);
    PropertyBag saved;
    first.WriteProperties(saved);

    // What the container left out is the reader's default.
    const QHash<QString, QVariant> defaults{
        {"BackColor", QVariant::fromValue(qint32(0xFFFFFF))},
        {"ForeColor", QVariant::fromValue(qint32(0))},
        {"PelidoraBackColor", QVariant::fromValue(qint32(0xC0C0C0))},
        {"Enabled", true},
        {"Locked", false},
        {"Appearance", QVariant::fromValue(qint16(0))},
        {"DateSet", QVariant::fromValue(qint32(m_today.serial()))},
        {"Font", QVariant::fromValue(site.AmbientFont())},
        {"MousePointer", QVariant::fromValue(qint16(0))},
    };
    QCOMPARE(stored.keys().size(), 9);
    for (const QString &key : stored.keys())
        QVERIFY2(PropertyBag::sameValue(saved.ReadProperty(key, defaults.value(key)), stored.ReadProperty(key)),
                 qPrintable(key));

    // And a box loaded from what was saved shows the same.
    ucvPelidora second(&site);
    second.ReadProperties(saved);
    QCOMPARE(second.BackColor(), first.BackColor());
    QCOMPARE(second.Enabled(), enabled);
    QCOMPARE(second.Locked(), locked);
    QCOMPARE(int(second.Appearance()), appearance);
    QCOMPARE(second.MousePointer(), short(mousePointer));
    QCOMPARE(second.Font().size(), fontSize);
    QVERIFY(second.Font().bold());
    QCOMPARE(fieldsOf(second), fieldsOf(first));
}

// A container may drop values equal to their defaults; a new box saves nothing then.
void tst_ucvPelidoraPersistence::defaultsAreLeftOutOfTheBag()
{
    Site site(false);
    ucvPelidora box(&site);
    box.InitProperties();
    PropertyBag bag;
    box.WriteProperties(bag);
    QCOMPARE(bag.keys(), QStringList());
}

void tst_ucvPelidoraPersistence::foreColorIsReadUnderForecolor()
{
    Site site(false);
    ucvPelidora box(&site);
    box.InitProperties();
    box.setForeColor(QColor(0, 0, 128));
    PropertyBag bag;
    box.WriteProperties(bag);
    QVERIFY(bag.keys().contains("ForeColor"));
    QCOMPARE(bag.readLong("ForeColor", 0), 0x800000);

    PropertyBag lowerCase;
    lowerCase.WriteProperty("Forecolor", QVariant::fromValue(qint32(0x0000FF)));
    ucvPelidora loaded(&site);
    loaded.ReadProperties(lowerCase);
    QCOMPARE(loaded.ForeColor(), QColor(255, 0, 0));
    QCOMPARE(field(loaded, "txtYear")->palette().color(QPalette::Text), QColor(255, 0, 0));
}

void tst_ucvPelidoraPersistence::dateOfTheSavingDayFollowsToday()
{
    Site site(false);
    PropertyBag bag;
    {
        ucvPelidora box(&site);
        box.InitProperties(); // today, 23 June 2025
        box.WriteProperties(bag);
    }
    QVERIFY(!bag.contains("DateSet"));
    test::TodayPin later(2026, 1, 2);
    ucvPelidora reloaded(&site);
    reloaded.ReadProperties(bag);
    QCOMPARE(fieldsOf(reloaded), QStringList({"02", "01", "2026"}));

    // Any other date is stored as held; typing not yet committed is not saved.
    reloaded.setDateSet("15/03/2010");
    field(reloaded, "txtYear")->setText("1999");
    PropertyBag other;
    reloaded.WriteProperties(other);
    QCOMPARE(other.readLong("DateSet", 0), serialOf(2010, 3, 15));
}

void tst_ucvPelidoraPersistence::badStoredValuesAreRaised_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("font stored as a number") << "Font" << QVariant::fromValue(qint32(12)) << int(RuntimeError::TypeMismatch);
    QTest::newRow("colour stored as a font") << "BackColor" << QVariant::fromValue(StdFont()) << int(RuntimeError::TypeMismatch);
    QTest::newRow("Appearance beyond 16 bits") << "Appearance" << QVariant::fromValue(qint32(70000)) << int(RuntimeError::Overflow);
    QTest::newRow("Enabled stored as a colour") << "Enabled" << QVariant::fromValue(qint32(0xFFFFFF)) << int(RuntimeError::TypeMismatch);
}

void tst_ucvPelidoraPersistence::badStoredValuesAreRaised()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(int, error);
    Site site(true);
    ucvPelidora box(&site);
    PropertyBag bag;
    bag.WriteProperty(key, value);
    QCOMPARE(errorOf([&] { box.ReadProperties(bag); }), error);
}

void tst_ucvPelidoraPersistence::appearanceIsDesignTimeOnly_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("kept");
    QTest::newRow("run time") << true << 1 << int(RuntimeError::NotSettableAtRunTime) << 0;
    QTest::newRow("run time, any value") << true << 70000 << int(RuntimeError::NotSettableAtRunTime) << 0;
    QTest::newRow("design time 3D") << false << 1 << 0 << 1;
    QTest::newRow("design time, any 16-bit value") << false << -32768 << 0 << -32768;
    QTest::newRow("design time, 32768 overflows") << false << 32768 << int(RuntimeError::Overflow) << 0;
    QTest::newRow("design time, -40000 overflows") << false << -40000 << int(RuntimeError::Overflow) << 0;
}

void tst_ucvPelidoraPersistence::appearanceIsDesignTimeOnly()
{
    QFETCH(bool, userMode);
    QFETCH(int, value);
    QFETCH(int, error);
    QFETCH(int, kept);
    Site site(userMode);
    ucvPelidora box(&site);
    box.InitProperties();
    QSignalSpy notices(&site, &Site::propertyChanged);
    QCOMPARE(errorOf([&] { box.setAppearance(value); }), error);
    QCOMPARE(int(box.Appearance()), kept);
    QCOMPARE(notices.count(), error ? 0 : 1);
}

void tst_ucvPelidoraPersistence::everyWriteRaisesItsNotice_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("BackColor") << "BackColor" << QVariant(QColor(Qt::yellow));
    QTest::newRow("ForeColor") << "ForeColor" << QVariant(QColor(Qt::red));
    QTest::newRow("Locked") << "Locked" << QVariant(true);
    QTest::newRow("Appearance") << "Appearance" << QVariant::fromValue(ucvPelidora::ThreeD);
    QTest::newRow("Font") << "Font" << QVariant::fromValue(StdFont(QFont("DejaVu Sans", 10)));
    QTest::newRow("DateSet") << "DateSet" << QVariant("36526");
    QTest::newRow("PelidoraBackColor") << "PelidoraBackColor" << QVariant(QColor(Qt::green));
    QTest::newRow("Enabled") << "Enabled" << QVariant(false);
    QTest::newRow("MousePointer") << "MousePointer" << QVariant::fromValue(short(2));
}

// Through the meta-object, as a property browser writes.
void tst_ucvPelidoraPersistence::everyWriteRaisesItsNotice()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    Site site(false);
    ucvPelidora box(&site);
    box.InitProperties();
    QSignalSpy notices(&site, &Site::propertyChanged);
    QVERIFY(box.setProperty(qPrintable(property), value));
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toString(), property);
}

void tst_ucvPelidoraPersistence::enabledAndLockedReachTheParts()
{
    ucvPelidora box;
    const QList<QWidget *> fields{field(box, "txtDay"), field(box, "txtMonth"), field(box, "txtYear")};
    QWidget *button = box.findChild<QLabel *>("imgCombo");
    QVERIFY(button);

    box.setEnabledProperty(false);
    for (QWidget *w : fields)
        QVERIFY(!w->isEnabled());
    QVERIFY(!button->isEnabled());
    box.setEnabledProperty(true);
    for (QWidget *w : fields)
        QVERIFY(w->isEnabled());
    QVERIFY(button->isEnabled());

    box.setLocked(true);
    for (QWidget *w : fields)
        QVERIFY(static_cast<QLineEdit *>(w)->isReadOnly());
    QVERIFY(button->isEnabled());
}

// A box on a disabled form keeps its own Enabled, and comes back to life with the form.
void tst_ucvPelidoraPersistence::enabledIsTheBoxsOwnState()
{
    QWidget form;
    Site site(false);
    auto *box = new ucvPelidora(&site, &form);
    box->InitProperties();
    form.setEnabled(false);
    box->setEnabledProperty(true);
    QVERIFY(box->Enabled());
    PropertyBag bag;
    box->WriteProperties(bag);
    QVERIFY(!bag.contains("Enabled"));
    form.setEnabled(true);
    QVERIFY(field(*box, "txtDay")->isEnabled());
}

void tst_ucvPelidoraPersistence::mousePointerSetsTheBoxCursor_data()
{
    QTest::addColumn<int>("pointer");
    QTest::addColumn<int>("shape"); // -1: no cursor of its own
    QTest::newRow("0 default") << 0 << -1;
    QTest::newRow("2 cross") << 2 << int(Qt::CrossCursor);
    QTest::newRow("4 icon: no such shape") << 4 << -1;
    QTest::newRow("11 hourglass") << 11 << int(Qt::WaitCursor);
    QTest::newRow("13 arrow and hourglass") << 13 << int(Qt::BusyCursor);
    QTest::newRow("15 size all") << 15 << int(Qt::SizeAllCursor);
    QTest::newRow("99 custom") << 99 << -1;
}

void tst_ucvPelidoraPersistence::mousePointerSetsTheBoxCursor()
{
    QFETCH(int, pointer);
    QFETCH(int, shape);
    QWidget form; // a window always has a cursor; a child may have none of its own
    auto &box = *new ucvPelidora(&form);
    box.setMousePointer(14); // something else first, so the default must be put back
    box.setMousePointer(short(pointer));
    QCOMPARE(box.MousePointer(), short(pointer));
    QCOMPARE(box.testAttribute(Qt::WA_SetCursor), shape >= 0);
    if (shape >= 0)
        QCOMPARE(int(box.cursor().shape()), shape);
    // The fields keep their own text cursor.
    QCOMPARE(field(box, "txtDay")->cursor().shape(), Qt::IBeamCursor);
}

void tst_ucvPelidoraPersistence::fontClampNeverChangesTheHostsFont()
{
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setPointSizeF(20);
    const StdFont ambient(big);
    Site site(false, ambient);
    ucvPelidora box(&site);
    box.InitProperties();
    QCOMPARE(box.Font().size(), 12.0);
    QCOMPARE(ambient.size(), 20.0);
    QCOMPARE(m_ws.messages.size(), 1);
}

QTEST_MAIN(tst_ucvPelidoraPersistence)
#include "tst_ucvpelidora_persistence.moc"
