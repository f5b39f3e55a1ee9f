#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>

#include <QTest>

#include <variant>

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

// Reads name as the kind; the value as a QVariant, or the error number.
std::variant<QVariant, int> readAs(const PropertyBag &bag, const QString &name, ValueKind kind, QString *text)
{
    try {
        switch (kind) {
        case ValueKind::Long: return QVariant(bag.readLong(name, 77));
        case ValueKind::Integer: return integer(bag.readInteger(name, 77));
        case ValueKind::Boolean: return QVariant(bag.readBoolean(name, true));
        case ValueKind::Font: return QVariant::fromValue(bag.readFont(name, StdFont(QFont("Default", 8))));
        }
    } catch (const RuntimeError &e) {
        *text = e.description();
        return e.number();
    }
    return 0;
}

} // namespace

class tst_PropertyBag : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keysIgnoreCaseAndKeepFirstSpelling();
    void valueEqualToDefaultIsLeftOut_data();
    void valueEqualToDefaultIsLeftOut();
    void typedReads_data();
    void typedReads();
    void unstorableValueIsRefused_data();
    void unstorableValueIsRefused();
    void fontsAreStoredAsValues();
};

void tst_PropertyBag::keysIgnoreCaseAndKeepFirstSpelling()
{
    PropertyBag bag;
    bag.WriteProperty("ForeColor", 0x123456, 0);
    bag.WriteProperty("Locked", true, false);
    QCOMPARE(bag.readLong("Forecolor", 0), 0x123456);
    bag.WriteProperty("FORECOLOR", 0x654321, 0);
    QCOMPARE(bag.keys(), QStringList({"ForeColor", "Locked"}));
    QCOMPARE(bag.ReadProperty("forecolor"), QVariant(0x654321));
    bag.remove("LOCKED");
    QCOMPARE(bag.keys(), QStringList({"ForeColor"}));
}

void tst_PropertyBag::valueEqualToDefaultIsLeftOut_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("stored");
    QTest::newRow("long equal")             << QVariant(0xFFFFFF) << QVariant(0xFFFFFF) << false;
    QTest::newRow("long differs")           << QVariant(0xFFFFFE) << QVariant(0xFFFFFF) << true;
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

void tst_PropertyBag::valueEqualToDefaultIsLeftOut()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, stored);
    PropertyBag bag;
    bag.WriteProperty("Key", 12345, 0); // an earlier value goes when the default is written
    bag.WriteProperty("key", value, defaultValue);
    QCOMPARE(bag.contains("KEY"), stored);
    if (stored)
        QVERIFY(PropertyBag::sameValue(bag.ReadProperty("Key"), value));
}

void tst_PropertyBag::typedReads_data()
{
    QTest::addColumn<QVariant>("stored"); // invalid: the key is absent
    QTest::addColumn<ValueKind>("kind");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<int>("error");
    const QVariant none;
    QTest::newRow("absent long")           << none << ValueKind::Long << QVariant(77) << 0;
    QTest::newRow("absent font")           << none << ValueKind::Font << font("Default", 8) << 0;
    QTest::newRow("long from integer")     << integer(-5) << ValueKind::Long << QVariant(-5) << 0;
    QTest::newRow("integer from long max") << QVariant(32767) << ValueKind::Integer << integer(32767) << 0;
    QTest::newRow("integer overflow")      << QVariant(32768) << ValueKind::Integer << none << 6;
    QTest::newRow("integer underflow")     << QVariant(-32769) << ValueKind::Integer << none << 6;
    QTest::newRow("long from boolean")     << QVariant(true) << ValueKind::Long << none << 13;
    QTest::newRow("integer from font")     << font("Serif", 10) << ValueKind::Integer << none << 13;
    QTest::newRow("boolean false")         << QVariant(false) << ValueKind::Boolean << QVariant(false) << 0;
    QTest::newRow("boolean from -1")       << integer(-1) << ValueKind::Boolean << QVariant(true) << 0;
    QTest::newRow("boolean from long 0")   << QVariant(0) << ValueKind::Boolean << QVariant(false) << 0;
    QTest::newRow("boolean from 1")        << QVariant(1) << ValueKind::Boolean << none << 13;
    QTest::newRow("boolean from colour")   << QVariant(0xC0C0C0) << ValueKind::Boolean << none << 13;
    QTest::newRow("boolean from font")     << font("Serif", 10) << ValueKind::Boolean << none << 13;
    QTest::newRow("font")                  << font("Serif", 10) << ValueKind::Font << font("Serif", 10) << 0;
    QTest::newRow("font from long")        << QVariant(10) << ValueKind::Font << none << 13;
}

void tst_PropertyBag::typedReads()
{
    QFETCH(QVariant, stored);
    QFETCH(ValueKind, kind);
    QFETCH(QVariant, expected);
    QFETCH(int, error);
    PropertyBag bag;
    if (stored.isValid())
        bag.WriteProperty("PelidoraBackColor", stored);
    QString text;
    const auto result = readAs(bag, "pelidorabackcolor", kind, &text);
    if (error) {
        QCOMPARE(std::get<int>(result), error);
        QVERIFY2(text.contains("\"pelidorabackcolor\""), qPrintable(text));
    } else {
        QVERIFY2(std::holds_alternative<QVariant>(result), qPrintable(text));
        QCOMPARE(std::get<QVariant>(result).typeId(), expected.typeId());
        QVERIFY(PropertyBag::sameValue(std::get<QVariant>(result), expected));
    }
}

void tst_PropertyBag::unstorableValueIsRefused_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("string")  << QVariant(QStringLiteral("12"));
    QTest::newRow("qint64")  << QVariant(qint64(1));
    QTest::newRow("uint")    << QVariant(0xFFFFFFFFu);
    QTest::newRow("double")  << QVariant(1.5);
    QTest::newRow("invalid") << QVariant();
}

void tst_PropertyBag::unstorableValueIsRefused()
{
    QFETCH(QVariant, value);
    PropertyBag bag;
    bag.WriteProperty("DateSet", 40000);
    try {
        bag.WriteProperty("DateSet", value);
        QFAIL("no error");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), 13);
        QVERIFY(e.description().contains("\"DateSet\""));
    }
    QCOMPARE(bag.readLong("DateSet", 0), 40000);
}

void tst_PropertyBag::fontsAreStoredAsValues()
{
    StdFont control(QFont("DejaVu Sans", 14));
    PropertyBag bag;
    bag.WriteProperty("Font", QVariant::fromValue(control));
    control.setSize(12); // the control's clamp after saving must not reach the saved form
    StdFont read = bag.readFont("Font", StdFont());
    QCOMPARE(read.size(), 14.0);
    read.setSize(8);
    QCOMPARE(bag.readFont("Font", StdFont()).size(), 14.0);
    QVERIFY(!bag.ReadProperty("Font").value<StdFont>().isSameObject(read));
}

QTEST_MAIN(tst_PropertyBag)
#include "tst_propertybag.moc"
