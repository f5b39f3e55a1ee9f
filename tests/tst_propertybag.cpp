// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>

#include <QTest>

using namespace pelidora;

Q_DECLARE_METATYPE(pelidora::ValueKind)

namespace {

QVariant integer(qint16 n) { return QVariant::fromValue(n); }
QVariant font(const QString &family, double points, bool bold = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return QVariant::fromValue(StdFont(f));
}

} // namespace

class tst_PropertyBag : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void valueEqualToDefaultIsLeftOut_data();
    void valueEqualToDefaultIsLeftOut();
    void typedReads_data();
    void typedReads();
    void fontsAreStoredAsValues();
};

void tst_PropertyBag::valueEqualToDefaultIsLeftOut_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("stored");
    QTest::newRow("integer vs long 0")      << integer(0) << QVariant(0) << false;
    QTest::newRow("integer vs long 1 vs 0") << integer(1) << QVariant(0) << true;
    QTest::newRow("boolean equal")          << QVariant(true) << QVariant(true) << false;
    QTest::newRow("false is not 0")         << QVariant(false) << QVariant(0) << true;
    QTest::newRow("-1 is not true")         << integer(-1) << QVariant(true) << true;
    QTest::newRow("fonts alike")            << font("DejaVu Sans", 9.75) << font("DejaVu Sans", 9.75) << false;
    QTest::newRow("font bolder")            << font("DejaVu Sans", 9.75, true) << font("DejaVu Sans", 9.75) << true;
    QTest::newRow("font 1/100 pt larger")   << font("DejaVu Sans", 9.76) << font("DejaVu Sans", 9.75) << true;
    QTest::newRow("no default")             << QVariant(0) << QVariant() << true;
}

// Keys match without regard to case and keep the spelling they were first written with.
void tst_PropertyBag::valueEqualToDefaultIsLeftOut()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, stored);
    PropertyBag bag;
    bag.WriteProperty("Key", 12345, 0); // an earlier value goes when the default is written
    bag.WriteProperty("key", value, defaultValue);
    QCOMPARE(bag.keys(), stored ? QStringList{"Key"} : QStringList());
    if (stored)
        QVERIFY(PropertyBag::sameValue(bag.ReadProperty("KEY"), value));
    bag.remove("kEY");
    QVERIFY(bag.isEmpty());
}

void tst_PropertyBag::typedReads_data()
{
    QTest::addColumn<QVariant>("stored"); // invalid: the key is absent
    QTest::addColumn<ValueKind>("kind");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<int>("error");
    const QVariant none;
    QTest::newRow("absent")                << none << ValueKind::Long << QVariant(77) << 0;
    QTest::newRow("long from integer")     << integer(-5) << ValueKind::Long << QVariant(-5) << 0;
    QTest::newRow("integer from long max") << QVariant(32767) << ValueKind::Integer << integer(32767) << 0;
    QTest::newRow("integer overflow")      << QVariant(32768) << ValueKind::Integer << none << 6;
    QTest::newRow("integer underflow")     << QVariant(-32769) << ValueKind::Integer << none << 6;
    QTest::newRow("long from boolean")     << QVariant(true) << ValueKind::Long << none << 13;
    QTest::newRow("boolean false")         << QVariant(false) << ValueKind::Boolean << QVariant(false) << 0;
    QTest::newRow("boolean from -1")       << integer(-1) << ValueKind::Boolean << QVariant(true) << 0;
    QTest::newRow("boolean from 1")        << QVariant(1) << ValueKind::Boolean << QVariant(true) << 0;
    QTest::newRow("boolean from long 0")   << QVariant(0) << ValueKind::Boolean << QVariant(false) << 0;
    QTest::newRow("boolean from font")     << font("Serif", 10) << ValueKind::Boolean << none << 13;
    QTest::newRow("font")                  << font("Serif", 10) << ValueKind::Font << font("Serif", 10) << 0;
    QTest::newRow("font from long")        << QVariant(10) << ValueKind::Font << none << 13;
    QTest::newRow("qint64 refused")         << QVariant(qint64(1)) << ValueKind::Long << none << 13;
}

void tst_PropertyBag::typedReads()
{
    QFETCH(QVariant, stored);
    QFETCH(ValueKind, kind);
    QFETCH(QVariant, expected);
    QFETCH(int, error);
    PropertyBag bag;
    const QString key = "pelidorabackcolor";
    try {
        if (stored.isValid())
            bag.WriteProperty("PelidoraBackColor", stored);
        const QVariant read = kind == ValueKind::Long  ? QVariant(bag.readLong(key, 77))
            : kind == ValueKind::Integer               ? integer(bag.readInteger(key, 77))
            : kind == ValueKind::Boolean               ? QVariant(bag.readBoolean(key, true))
                                                       : QVariant::fromValue(bag.readFont(key, StdFont()));
        QCOMPARE(error, 0);
        QVERIFY(PropertyBag::sameValue(read, expected));
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), error);
        QVERIFY2(e.description().contains('"' + key + '"', Qt::CaseInsensitive), qPrintable(e.description()));
    }
}

void tst_PropertyBag::fontsAreStoredAsValues()
{
    StdFont control(QFont("DejaVu Sans", 14));
    PropertyBag bag;
    bag.WriteProperty("Font", QVariant::fromValue(control));
    control.setSize(12); // the control's clamp after saving must not reach the saved form
    QVERIFY_THROWS_EXCEPTION(RuntimeError, bag.WriteProperty("Font", 1.5)); // and leaves the bag as it was
    StdFont read = bag.readFont("Font", StdFont());
    QCOMPARE(read.size(), 14.0);
    read.setSize(8);
    QCOMPARE(bag.readFont("Font", StdFont()).size(), 14.0);
}

QTEST_MAIN(tst_PropertyBag)
#include "tst_propertybag.moc"
