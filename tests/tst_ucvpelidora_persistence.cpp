// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/formfile.h>
#include <pelidora/runtimeerror.h>

#include "support/boxhelpers.h"
#include "support/errorhelpers.h"
#include "support/filehelpers.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pelidora;
using namespace pelidora::test;

class tst_ucvPelidoraPersistence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newBoxHasTheDefaults();
    void everyWriteRaisesItsNoticeOrAnError_data();
    void everyWriteRaisesItsNoticeOrAnError();
    void ownStatesReachTheParts();
    void rangeWritesFollowQDateEditsRules_data();
    void rangeWritesFollowQDateEditsRules();
    void storedFormsSaveAsTheyWereRead_data();
    void storedFormsSaveAsTheyWereRead();

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
    row("PelidoraBackColor", QColor(Qt::green));
    row("Enabled", false);
    row("MousePointer", QVariant::fromValue(short(2)));
    row("font (QWidget's)", QFont("DejaVu Sans", 10), false, 0, "Font");
    // QWidget's enabled: ownStatesReachTheParts; DateSet and the range: the range table.
    row("Appearance at run time", 1, true, RuntimeError::NotSettableAtRunTime);
    row("Appearance at run time, past 16 bits", 70000, true, RuntimeError::NotSettableAtRunTime);
    row("Appearance 32768", 32768, false, RuntimeError::Overflow);
    row("MousePointer -32769", -32769, false, RuntimeError::Overflow);
}

void tst_ucvPelidoraPersistence::everyWriteRaisesItsNoticeOrAnError()
{
    QFETCH(bool, userMode);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(int, error);
    QFETCH(QString, notice);
    // No exception crosses Qt: a write Qt made is refused without one, heard by the host's
    // writeRefused or else warned of. A direct call raises through the site (the box's own
    // warns), and a host whose callers cannot take exceptions hears of it instead.
    struct ReportingSite : Site {
        ReportingSite(bool userMode) : Site(userMode)
        {
            connect(this, &Site::writeRefused, this, [this](const QString &, int n) { refused << n; });
        }
        QList<int> errors, refused;
        void raiseError(const RuntimeError &e) override { errors << e.number(); }
    };
    enum { Throwing, Reporting, Own };
    const QString warning = QString("Pelidora: %1 not set: run-time error %2: %3")
                                .arg(property).arg(error).arg(RuntimeError::standardDescription(error));
    for (const int kind : {Throwing, Reporting, Own}) {
        ReportingSite reportingSite(userMode);
        Site throwingSite(userMode);
        const std::unique_ptr<ucvPelidora> box(kind == Own ? new ucvPelidora(static_cast<QWidget *>(nullptr))
                                               : new ucvPelidora(kind == Reporting ? &reportingSite : &throwingSite));
        box->site()->setUserMode(userMode);
        QSignalSpy notices(box->site(), &Site::propertyChanged);
        for (int i = error ? (kind == Reporting ? 0 : kind == Own ? 3 : 2) : 0; i > 0; --i)
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QCOMPARE(errorOf<RuntimeError>([&] { QVERIFY(box->setProperty(qPrintable(property), value)); }), 0);
        if (error) { // a direct call, then a style sheet's qproperty- on a shown box
            QCOMPARE(errorOf<RuntimeError>([&] {
                         property == "Appearance" ? box->setAppearance(value.toInt()) : box->setMousePointer(value.toInt());
                     }), kind == Throwing ? error : 0);
            box->setStyleSheet(QString("pelidora--ucvPelidora { qproperty-%1: %2; }").arg(property).arg(value.toInt()));
            box->show();
        }
        QCOMPARE(reportingSite.errors, kind == Reporting && error ? QList<int>{error} : QList<int>{});
        QCOMPARE(reportingSite.refused, kind == Reporting && error ? (QList<int>{error, error}) : QList<int>{});
        QCOMPARE(notices.count(), error ? 0 : 1);
        if (error)
            QCOMPARE(QVariantList({box->Appearance(), box->MousePointer()}), QVariantList({ucvPelidora::Flat, 0}));
        else
            QCOMPARE(notices.at(0).at(0).toString(), notice);
    }
}

// A box on a disabled form keeps its own Enabled, and comes back to life with the form;
// MousePointer is the box's cursor, the fields keep their own.
void tst_ucvPelidoraPersistence::ownStatesReachTheParts()
{
    QWidget form; // a window always has a cursor; a child may have none of its own
    Site site(false);
    auto &box = *new ucvPelidora(&site, &form);
    box.InitProperties();
    const auto enabled = [&] {
        QList<bool> parts;
        for (const char *name : {"txtDay", "txtMonth", "txtYear", "imgCombo"})
            parts << part(box, name)->isEnabled();
        return parts;
    };
    // QWidget's own setEnabled is an Enabled write too; the form's state is none.
    QSignalSpy notices(&site, &Site::propertyChanged);
    box.setEnabled(false);
    QCOMPARE(enabled(), QList<bool>(4, false));
    form.setEnabled(false);
    box.setEnabledProperty(true);
    QVERIFY(box.Enabled());
    PropertyBag bag;
    box.WriteProperties(bag);
    QVERIFY(!bag.contains("Enabled"));
    form.setEnabled(true);
    QCOMPARE(enabled(), QList<bool>(4, true));
    QCOMPARE(notices, QList<QVariantList>({{QString("Enabled")}, {QString("Enabled")}}));

    // 0 and 4 (an icon: no such shape) put the default back.
    for (const auto &[pointer, shape] : std::initializer_list<std::pair<short, int>>{
             {2, Qt::CrossCursor}, {0, -1}, {13, Qt::BusyCursor}, {4, -1}}) {
        box.setMousePointer(pointer);
        QCOMPARE(box.testAttribute(Qt::WA_SetCursor), shape >= 0);
        if (shape >= 0)
            QCOMPARE(int(box.cursor().shape()), shape);
    }
    QCOMPARE(field(box, "txtDay")->cursor().shape(), Qt::IBeamCursor);

    box.setLocked(true);
    for (const char *name : {"txtDay", "txtMonth", "txtYear"})
        QVERIFY(field(box, name)->isReadOnly());
}

void tst_ucvPelidoraPersistence::rangeWritesFollowQDateEditsRules_data()
{
    QTest::addColumn<QDate>("held");          // before; invalid: no date
    QTest::addColumn<BoxAction>("action");
    QTest::addColumn<QDate>("min");
    QTest::addColumn<QDate>("max");
    QTest::addColumn<QList<QDate>>("changed"); // dateChanged, in order
    QTest::addColumn<QStringList>("notices");
    QTest::addColumn<int>("rangeChanges");     // dateRangeChanged
    const QDate april15(2010, 4, 15), limitMin(1900, 1, 1), limitMax(2100, 12, 31);
    const auto row = [](const char *name, QDate held, BoxAction action, QDate min, QDate max, QList<QDate> changed,
                        QStringList notices, int rangeChanges) {
        QTest::newRow(name) << held << action << min << max << changed << notices << rangeChanges;
    };
    row("minimum before the date", april15, [](ucvPelidora &b) { b.setMinimumDate({2000, 1, 1}); },
        {2000, 1, 1}, limitMax, {}, {"minimumDate"}, 1);
    // The first day the box holds, 1 January 1900, is a date like any other.
    row("minimum past the first day", QDate(1900, 1, 1), [](ucvPelidora &b) { b.setMinimumDate({2011, 3, 1}); },
        {2011, 3, 1}, limitMax, {{2011, 3, 1}}, {"minimumDate", "DateSet"}, 1);
    row("minimum after the maximum moves it", april15, [](ucvPelidora &b) {
        b.setMaximumDate({2020, 1, 1});
        b.setMinimumDate({2030, 1, 1});
    }, {2030, 1, 1}, {2030, 1, 1}, {{2030, 1, 1}}, {"maximumDate", "minimumDate", "maximumDate", "DateSet"}, 2);
    row("both, the maximum first", april15, [](ucvPelidora &b) { b.setDateRange({2020, 6, 1}, {2019, 1, 1}); },
        {2020, 6, 1}, {2020, 6, 1}, {{2020, 6, 1}}, {"minimumDate", "maximumDate", "DateSet"}, 1);
    row("an invalid date changes nothing", april15, [](ucvPelidora &b) {
        b.setMinimumDate({});
        b.setMaximumDate({});
        b.setDateRange({}, {2011, 1, 1});
    }, limitMin, limitMax, {}, {}, 0);
    row("beyond the limits: the limits", april15, [](ucvPelidora &b) { b.setDateRange({1800, 1, 1}, {2500, 1, 1}); },
        limitMin, limitMax, {}, {"minimumDate", "maximumDate"}, 0);
    row("cleared", april15, [](ucvPelidora &b) {
        b.setDateRange({2010, 1, 1}, {2010, 12, 31});
        b.clearMinimumDate();
        QVERIFY(b.metaObject()->property(b.metaObject()->indexOfProperty("maximumDate")).reset(&b));
    }, limitMin, limitMax, {}, {"minimumDate", "maximumDate", "minimumDate", "maximumDate"}, 3);
    row("no date held", QDate(), [](ucvPelidora &b) { b.setDateRange({2011, 1, 1}, {2011, 12, 31}); },
        {2011, 1, 1}, {2011, 12, 31}, {}, {"minimumDate", "maximumDate"}, 1);
    // DateSet stores what it is given; a later range moves it.
    row("a DateSet of 2150, then a maximum", april15, [](ucvPelidora &b) {
        b.setDateSet("15/03/2150");
        b.setMaximumDate({2050, 12, 31});
    }, limitMin, {2050, 12, 31}, {{2150, 3, 15}, {2050, 12, 31}}, {"DateSet", "maximumDate", "DateSet"}, 1);
    // A stored form: the date as stored, whatever the range; the bounds as setDateRange takes them.
    const auto stored = [](qint32 dateSet, qint32 min, qint32 max) {
        return [=](ucvPelidora &b) {
            PropertyBag bag;
            bag.WriteProperty("DateSet", dateSet);
            bag.WriteProperty("minimumDate", min);
            bag.WriteProperty("maximumDate", max);
            b.ReadProperties(bag);
        };
    };
    row("stored, the date past the range", april15,
        stored(serialOf(2150, 3, 15), serialOf(2024, 12, 20), serialOf(2025, 1, 10)), {2024, 12, 20}, {2025, 1, 10},
        {{2150, 3, 15}}, {}, 1);
    row("stored beyond the limits", april15, stored(serialOf(2010, 4, 15), -5, INT_MAX), limitMin, limitMax, {}, {}, 0);
    row("stored, a boolean", april15, [](ucvPelidora &b) {
        PropertyBag bag;
        bag.WriteProperty("maximumDate", true);
        QCOMPARE(errorOf<RuntimeError>([&] { b.ReadProperties(bag); }), int(RuntimeError::TypeMismatch));
    }, limitMin, limitMax, {QDate(2025, 6, 23)}, {}, 0);
}

void tst_ucvPelidoraPersistence::rangeWritesFollowQDateEditsRules()
{
    QFETCH(QDate, held);
    QFETCH(BoxAction, action);
    QFETCH(QList<QDate>, changed);
    Site site(false);
    ucvPelidora box(&site);
    box.setDate(held);
    QList<QDate> changes;
    QObject::connect(&box, &ucvPelidora::dateChanged, [&](const QDate &date) { changes << date; });
    QSignalSpy ranges(&box, &ucvPelidora::dateRangeChanged);
    QSignalSpy notices(&site, &Site::propertyChanged);
    action(box);
    QTEST(box.minimumDate(), "min");
    QTEST(box.maximumDate(), "max");
    QCOMPARE(changes, changed);
    QStringList said;
    for (const QList<QVariant> &notice : notices)
        said << notice.at(0).toString();
    QTEST(said, "notices");
    QTEST(int(ranges.count()), "rangeChanges");
    if (!ranges.isEmpty())
        QCOMPARE(ranges.constLast(), QVariantList({box.minimumDate(), box.maximumDate()}));
}

void tst_ucvPelidoraPersistence::storedFormsSaveAsTheyWereRead_data()
{
    QTest::addColumn<QString>("file");
    // Each box's values differ from their defaults (a system colour among them), none is
    // today's date; a box with no date leaves the rest out.
    QTest::newRow("an older build's") << QFINDTESTDATA("data/saved/older_build.json");
    // Its stored date past the maximum stays as stored.
    QTest::newRow("with a range") << QFINDTESTDATA("data/saved/with_range.json");
}

// Read without a notice and written back unchanged, each colour also read and written back
// as it was through the meta-object, as a property browser does.
void tst_ucvPelidoraPersistence::storedFormsSaveAsTheyWereRead()
{
    QFETCH(QString, file);
    const QByteArray json = fileBytes(file);
    Form form = parseForm(json, file);
    for (FormControl &control : form.controls) {
        Site site(false);
        ucvPelidora box(&site);
        QSignalSpy notices(&site, &Site::propertyChanged);
        box.ReadProperties(control.properties); // reads "Forecolor": the keys ignore case
        QCOMPARE(notices.count(), 0);
        const QLineEdit *year = field(box, "txtYear");
        QCOMPARE(std::tuple(year->isEnabled(), year->isReadOnly(), year->palette().color(QPalette::Base),
                            year->palette().color(QPalette::Active, QPalette::Text)),
                 std::tuple(box.Enabled(), box.Locked(), box.BackColor(), box.ForeColor()));
        for (const char *name : {"BackColor", "ForeColor", "PelidoraBackColor"})
            QVERIFY(box.setProperty(name, box.property(name)));
        control.properties.clear();
        box.WriteProperties(control.properties);
    }
    QCOMPARE(formToJson(form), json);
}

QTEST_MAIN(tst_ucvPelidoraPersistence)
#include "tst_ucvpelidora_persistence.moc"
