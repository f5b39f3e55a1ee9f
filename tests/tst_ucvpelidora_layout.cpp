#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include "platform/windowsystem.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace pelidora;

namespace {

QWidget *part(ucvPelidora &box, const char *name)
{
    return box.findChild<QWidget *>(QLatin1String(name));
}

StdFont fontOf(const QString &family, double points)
{
    QFont f(family);
    f.setPointSizeF(points);
    return StdFont(f);
}

ucvPelidora *boxWithFont(Site &site, const StdFont &font, QWidget *parent = nullptr)
{
    auto *box = new ucvPelidora(&site, parent);
    box->InitProperties();
    box->setFontObject(font);
    return box;
}

} // namespace

class tst_ucvPelidoraLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fontsAboveTwelvePointsAreClamped_data();
    void fontsAboveTwelvePointsAreClamped();
    void stripFollowsTheFont_data();
    void stripFollowsTheFont();
    void containerCannotResizeTheBox();
    void boxesShareTheLastAppliedSize();
    void backColorReachesOnlyTheFields();
    void artworkShipsAtTwoRatios_data();
    void artworkShipsAtTwoRatios();

private:
    test::FakeWindowSystem m_ws;
    test::TodayPin m_today{2025, 6, 23};
    test::LocalePin m_locale{"en_GB"};
};

void tst_ucvPelidoraLayout::fontsAboveTwelvePointsAreClamped_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("told");
    QTest::addColumn<double>("applied");
    QTest::newRow("8") << 8.0 << false << 8.0;
    QTest::newRow("11.99") << 11.99 << false << 11.99;
    QTest::newRow("12") << 12.0 << false << 12.0;
    QTest::newRow("12.00001 is 12 as currency") << 12.00001 << false << 12.00001;
    QTest::newRow("12.01") << 12.01 << true << 12.0;
    QTest::newRow("12.5") << 12.5 << true << 12.0;
    QTest::newRow("72") << 72.0 << true << 12.0;
}

void tst_ucvPelidoraLayout::fontsAboveTwelvePointsAreClamped()
{
    QFETCH(double, points);
    QFETCH(bool, told);
    QFETCH(double, applied);
    Site site(false);
    ucvPelidora box(&site);
    box.InitProperties();
    m_ws.messages.clear();
    const StdFont font = fontOf("DejaVu Sans", points);
    box.setFontObject(font);
    QCOMPARE(m_ws.messages.size(), told ? 1 : 0);
    if (told) {
        QCOMPARE(m_ws.messages[0].text, QString("Can't assign font size greater than 12."));
        QCOMPARE(m_ws.messages[0].style, 16);
        QCOMPARE(m_ws.messages[0].title, QString());
    }
    // The caller's font object is the box's, clamp included.
    QVERIFY(box.Font().isSameObject(font));
    QCOMPARE(font.size(), applied);
    QCOMPARE(box.font().pointSizeF(), applied);
    QCOMPARE(static_cast<QLineEdit *>(part(box, "txtYear"))->font().pointSizeF(), applied);
}

void tst_ucvPelidoraLayout::stripFollowsTheFont_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::newRow("DejaVu Sans 8") << "DejaVu Sans" << 8.0;
    QTest::newRow("Liberation Serif 12") << "Liberation Serif" << 12.0;
    QTest::newRow("DejaVu Sans Mono 10.5") << "DejaVu Sans Mono" << 10.5;
}

void tst_ucvPelidoraLayout::stripFollowsTheFont()
{
    QFETCH(QString, family);
    QFETCH(double, points);
    Site site(true);
    std::unique_ptr<ucvPelidora> box(boxWithFont(site, fontOf(family, points)));
    const QFontMetrics fm(box->font());
    const int h = fm.height();
    const int w2 = fm.horizontalAdvance("33");
    const int w4 = fm.horizontalAdvance("3333");
    // 165 twips of separator and 270 of button are 11 and 18 pixels at 15 twips a pixel.
    const double tx = platform::windowSystem().twipsPerPixelX();
    QCOMPARE(tx, 15.0);
    const QRect day = part(*box, "txtDay")->geometry();
    const QRect month = part(*box, "txtMonth")->geometry();
    const QRect year = part(*box, "txtYear")->geometry();
    const QRect slash1 = part(*box, "slash1")->geometry();
    const QRect slash2 = part(*box, "slash2")->geometry();
    const QRect combo = part(*box, "imgCombo")->geometry();
    QCOMPARE(day, QRect(0, 0, 2 * w2, h));
    QCOMPARE(slash1, QRect(2 * w2, 2, 11, h - 3));
    QCOMPARE(month, QRect(2 * w2 + 11, 0, 2 * w2, h));
    QCOMPARE(slash2, QRect(4 * w2 + 11, 2, 11, h - 3));
    QCOMPARE(year, QRect(4 * w2 + 22, 0, 2 * w4, h));
    QCOMPARE(combo, QRect(4 * w2 + 22 + 2 * w4, 0, 18, h));
    QCOMPARE(box->size(), QSize(combo.right() + 1, h));
    QCOMPARE(int(module().gCtlHeight), h * 15);
    QCOMPARE(int(module().gCtlWidth), (combo.right() + 1) * 15);
    QCOMPARE(box->sizeHint(), box->size());
}

void tst_ucvPelidoraLayout::containerCannotResizeTheBox()
{
    Site site(true);
    QWidget form;
    auto *layout = new QHBoxLayout(&form);
    ucvPelidora *box = boxWithFont(site, fontOf("DejaVu Sans", 9), &form);
    layout->addWidget(box);
    form.resize(600, 200);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize kept = box->sizeHint();
    QCOMPARE(box->size(), kept);
    box->resize(400, 80);
    QCOMPARE(box->size(), kept);
    box->setGeometry(5, 5, 10, 3);
    QCOMPARE(box->size(), kept);
}

// The size is module-wide: a resize of any box takes the last font's size.
void tst_ucvPelidoraLayout::boxesShareTheLastAppliedSize()
{
    Site site(true);
    QWidget form;
    ucvPelidora *small = boxWithFont(site, fontOf("DejaVu Sans", 8), &form);
    const QSize smallSize = small->size();
    ucvPelidora *large = boxWithFont(site, fontOf("Liberation Serif", 12), &form);
    const QSize largeSize = large->size();
    large->move(0, 40);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(largeSize.width() > smallSize.width());
    QCOMPARE(small->size(), smallSize); // until the container sizes it
    small->resize(smallSize + QSize(1, 1));
    QCOMPARE(small->size(), largeSize);
}

void tst_ucvPelidoraLayout::backColorReachesOnlyTheFields()
{
    ucvPelidora box;
    const QColor strip = box.palette().color(QPalette::Window);
    box.setBackColor(Qt::yellow);
    box.setForeColor(Qt::blue);
    const QImage image = box.grab().toImage();
    const QRect day = part(box, "txtDay")->geometry();
    const QRect slash = part(box, "slash1")->geometry();
    const auto at = [&](QPoint p) { return image.pixelColor(p * image.devicePixelRatio()); };
    QCOMPARE(at(day.topLeft() + QPoint(1, 1)), QColor(Qt::yellow));
    QCOMPARE(at({slash.left(), 0}), strip);
    QVERIFY(strip != QColor(Qt::yellow));
    for (const char *name : {"txtDay", "txtMonth", "txtYear"}) {
        QCOMPARE(part(box, name)->palette().color(QPalette::Base), QColor(Qt::yellow));
        QCOMPARE(part(box, name)->palette().color(QPalette::Text), QColor(Qt::blue));
    }
}

void tst_ucvPelidoraLayout::artworkShipsAtTwoRatios_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("separator") << "slash" << QSize(11, 18);
    QTest::newRow("button released") << "combo-up" << QSize(18, 21);
    QTest::newRow("button pressed") << "combo-down" << QSize(18, 21);
}

void tst_ucvPelidoraLayout::artworkShipsAtTwoRatios()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage one(":/control/" + name + ".png");
    const QImage two(":/control/" + name + "@2x.png");
    QCOMPARE(one.size(), size);
    QCOMPARE(two.size(), size * 2);
    QCOMPARE(two.devicePixelRatio(), 2.0);
    ucvPelidora box;
    QVERIFY(!static_cast<QLabel *>(part(box, "imgCombo"))->pixmap().isNull());
    QVERIFY(!static_cast<QLabel *>(part(box, "slash2"))->pixmap().isNull());
}

QTEST_MAIN(tst_ucvPelidoraLayout)
#include "tst_ucvpelidora_layout.moc"
