// The date box's drop-down: the drop button, opening and placing the month panel, the
// focus watch that closes it, takes a chosen day over and raises Click and DayMouseMove.

#include <pelidora/propertybag.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include "about/bas_menuabout.h"
#include "panel/daycell.h"
#include "panel/framepicture.h"
#include "panel/panellist.h"
#include "panel/window.h"
#include "platform/dayserial.h"
#include "platform/localedates.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace pelidora;
using Panel = pelidora::window;

namespace {

constexpr char kThunder[] = "PelidoraThunderForm"; // a host that takes modeless panels

int serialOf(int year, int month, int day)
{
    return core::serialFromCivil({year, month, day});
}

QLabel *button(ucvPelidora &box) { return box.findChild<QLabel *>(QStringLiteral("imgCombo")); }
Panel *panelOf(ucvPelidora &box) { return box.findChild<Panel *>(); }
QTimer *watchOf(ucvPelidora &box) { return box.findChild<QTimer *>(QStringLiteral("TimerHide")); }

// One tick of the focus watch, without waiting for the timer.
void tick(ucvPelidora &box)
{
    QVERIFY(QMetaObject::invokeMethod(watchOf(box), "timeout"));
}

// Keys as a user types them: to whatever has the focus.
void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// A shown, active form holding one date box; its window class tells the box how to show
// the panel. A Site in run mode and a property bag stand in for a stored form.
struct Form {
    QWidget widget;
    Site site{true};
    ucvPelidora *box = nullptr;

    explicit Form(const QString &windowClass = kThunder, const PropertyBag *stored = nullptr,
                  QPoint boxAt = {8, 8})
    {
        if (!windowClass.isEmpty())
            widget.setProperty("windowClass", windowClass);
        widget.resize(400, 120);
        if (stored) {
            box = new ucvPelidora(&site, &widget);
            box->ReadProperties(*stored);
        } else {
            box = new ucvPelidora(&widget);
        }
        box->move(boxAt);
        widget.show();
        widget.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&widget));
    }
};

// Clicks the drop button and waits until the (modeless) panel has the keyboard.
bool openModeless(ucvPelidora &box)
{
    QTest::mouseClick(button(box), Qt::LeftButton);
    Panel *panel = panelOf(box);
    return panel && panel->isVisible() && QTest::qWaitFor([panel] { return panel->isActiveWindow(); });
}

// Runs open(), which is to enter a modal show, and inside() once the panel is up and active.
// A panel still up after five seconds is hidden by force, and the result is false.
bool runModal(ucvPelidora &box, const std::function<void()> &open, const std::function<void(Panel &)> &inside)
{
    bool forced = false, ran = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Panel *panel = panelOf(box);
        if (panel && panel->isVisible() && panel->isActiveWindow()) {
            poll.stop();
            ran = true;
            inside(*panel);
        }
    });
    poll.start(1);
    QPointer<ucvPelidora> guarded(&box);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (Panel *panel = guarded ? panelOf(*guarded) : nullptr; panel && panel->isVisible()) {
            forced = true;
            panel->HidePelidora();
        }
    });
    guard.start(5000);
    open();
    // A modeless panel is still up here.
    return QTest::qWaitFor([&] { return ran || forced; }) && ran && !forced;
}

} // namespace

class tst_Dropdown : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_ws.profileWrites.clear(); }
    void panelIsMadeInRunModeOnly();
    void buttonAndAltDownOpenBelowTheStrip_data();
    void buttonAndAltDownOpenBelowTheStrip();
    void choosingRaisesClickOnce_data();
    void choosingRaisesClickOnce();
    void closingWithoutChoiceRaisesNoClick_data();
    void closingWithoutChoiceRaisesNoClick();
    void dragOnTheButton_data();
    void dragOnTheButton();
    void otherButtonsAndDisabledBoxes();
    void placement_data();
    void placement();
    void modalUnlessTheParentIsAThunderForm_data();
    void modalUnlessTheParentIsAThunderForm();
    void modalShowAlwaysEnds_data();
    void modalShowAlwaysEnds();
    void dayMouseMoveCarriesTheHighlightedCell();
    void heldDateChoosesTheOpeningDay_data();
    void heldDateChoosesTheOpeningDay();
    void panelWaitsForTheWindowSystemToActivateIt();

private:
    test::FakeWindowSystem m_ws;
    test::TodayPin m_today{2025, 6, 23};
    test::LocalePin m_locale{QStringLiteral("en_GB")};
};

void tst_Dropdown::panelIsMadeInRunModeOnly()
{
    PropertyBag bag;
    Site design(false);
    ucvPelidora designed(&design);
    designed.ReadProperties(bag);
    QVERIFY(!panelOf(designed));

    Site run(true);
    ucvPelidora stored(&run);
    stored.ReadProperties(bag);
    Panel *panel = panelOf(stored);
    QVERIFY(panel && panel->isWindow() && !panel->isVisible());
    QCOMPARE(panel->cboAnno()->count(), 201); // loaded
    stored.Terminate();
    QVERIFY(!panelOf(stored));

    // A box made in code gets its panel when it first opens.
    Form form;
    QVERIFY(!panelOf(*form.box));
    QVERIFY(openModeless(*form.box));
}

void tst_Dropdown::buttonAndAltDownOpenBelowTheStrip_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("drop button") << "imgCombo";
    QTest::newRow("Alt+Down in the day") << "txtDay";
    QTest::newRow("Alt+Down in the year") << "txtYear";
}

void tst_Dropdown::buttonAndAltDownOpenBelowTheStrip()
{
    QFETCH(QString, how);
    Form form;
    ucvPelidora &box = *form.box;
    box.setDateSet(QString::number(serialOf(2014, 3, 5)));
    if (how == "imgCombo") {
        QVERIFY(openModeless(box));
    } else {
        box.findChild<QLineEdit *>(how)->setFocus();
        type(Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(panelOf(box) && panelOf(box)->isActiveWindow());
    }
    Panel *panel = panelOf(box);
    QVERIFY(panel->FlagShowPelidora());
    QVERIFY(watchOf(box)->isActive());
    QCOMPARE(QApplication::focusWidget(), panel->lblDay());
    QCOMPARE(panel->lblDay()->text(), QStringLiteral("5"));
    QCOMPARE(panel->cboMese()->currentIndex(), 2);
    QCOMPARE(panel->cboAnno()->currentIndex(), 114);
    QVERIFY(panel->bDayOver(4));
    // Flush under the strip, left edges aligned.
    const QRect strip(box.mapToGlobal(QPoint(0, 0)), box.size());
    QCOMPARE(panel->geometry().topLeft(), strip.bottomLeft() + QPoint(0, 1));
    QCOMPARE(m_ws.profileWrites.size(), 1);
    const auto record = m_ws.profileWrites.at(0);
    QCOMPARE(QStringList({record.section, record.key, record.value, record.fileName}),
             QStringList({"WndParent", "Class", kThunder, "pelidora.ini"}));
}

void tst_Dropdown::choosingRaisesClickOnce_data()
{
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("keys"); // a day number to click, or keys typed into the panel
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("modal");
    QTest::addColumn<int>("chosen");
    const int march5 = serialOf(2014, 3, 5);
    QTest::newRow("click a day") << march5 << "17" << false << false << serialOf(2014, 3, 17);
    QTest::newRow("Enter x3 after Page Down") << march5 << "PgDn Enter Enter Enter" << false << false
                                              << serialOf(2014, 4, 5);
    QTest::newRow("Down past 2100") << serialOf(2100, 12, 31) << "Down Enter Enter Enter" << false << false
                                    << serialOf(1900, 1, 1);
    QTest::newRow("Up into a leap day") << serialOf(2000, 3, 1) << "Up Enter Enter Enter" << false << false
                                        << serialOf(2000, 2, 29);
    QTest::newRow("locked click") << march5 << "17" << true << false << march5;
    QTest::newRow("locked Enter x3") << march5 << "Down Enter Enter Enter" << true << false << march5;
    QTest::newRow("modal click") << march5 << "17" << false << true << serialOf(2014, 3, 17);
    QTest::newRow("modal Up past 1900") << serialOf(1900, 1, 1) << "Up Enter Enter Enter" << false << true
                                        << serialOf(2100, 12, 31);
}

void tst_Dropdown::choosingRaisesClickOnce()
{
    QFETCH(int, held);
    QFETCH(QString, keys);
    QFETCH(bool, locked);
    QFETCH(bool, modal);
    QFETCH(int, chosen);
    Form form(modal ? QString() : QString(kThunder));
    ucvPelidora &box = *form.box;
    box.setDateSet(QString::number(held));
    box.setLocked(locked);
    QSignalSpy clicks(&box, &ucvPelidora::Click);

    const auto choose = [&](Panel &panel) {
        if (const int day = keys.toInt()) {
            QTest::mouseClick(panel.btnDay(day - 1), Qt::LeftButton);
            return;
        }
        static const QHash<QString, Qt::Key> named{{"PgDn", Qt::Key_PageDown}, {"Up", Qt::Key_Up},
                                                   {"Down", Qt::Key_Down}, {"Enter", Qt::Key_Return}};
        for (const QString &key : keys.split(u' '))
            type(named.value(key));
    };
    if (modal) {
        QVERIFY(runModal(box, [&] { QTest::mouseClick(button(box), Qt::LeftButton); }, choose));
    } else {
        QVERIFY(openModeless(box));
        choose(*panelOf(box));
    }
    QVERIFY(!panelOf(box)->isVisible());
    if (!modal)
        QCOMPARE(clicks.count(), 0); // not from inside the panel's handler
    tick(box);
    tick(box);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!watchOf(box)->isActive());
    QCOMPARE(platform::dateSerial(box.DateSet()), std::optional<int>(chosen));
    // The keyboard is back in the strip.
    QTRY_COMPARE(QApplication::activeWindow(), &form.widget);
}

void tst_Dropdown::closingWithoutChoiceRaisesNoClick_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape in the day field") << "lblDay";
    QTest::newRow("Escape in the month list") << "cboMese";
    QTest::newRow("Escape in the year list") << "cboAnno";
    QTest::newRow("press on the drop button") << "button";
    QTest::newRow("click on another window") << "click";
    QTest::newRow("another window activated") << "switch";
    QTest::newRow("About") << "About";
}

void tst_Dropdown::closingWithoutChoiceRaisesNoClick()
{
    QFETCH(QString, how);
    Form form;
    ucvPelidora &box = *form.box;
    QWidget other;
    other.resize(100, 50);
    other.show();
    box.setDateSet(QString::number(serialOf(2014, 3, 5)));
    QSignalSpy clicks(&box, &ucvPelidora::Click);
    QVERIFY(openModeless(box));
    Panel *panel = panelOf(box);
    // A day was highlighted but not chosen.
    type(Qt::Key_Down);

    if (how == "button") {
        QTest::mousePress(button(box), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QVERIFY(!watchOf(box)->isActive());
        QTest::mouseRelease(button(box), Qt::LeftButton);
    } else if (how == "click") {
        QTest::mouseClick(&other, Qt::LeftButton);
    } else if (how == "switch") {
        other.activateWindow();
    } else if (how == "About") {
        QTimer::singleShot(0, [] { UnloadAbout(); }); // the About box goes at once
        box.About();
        QVERIFY(!panel->isVisible());
        QVERIFY(!watchOf(box)->isActive());
    } else {
        panel->findChild<QWidget *>(how)->setFocus();
        type(Qt::Key_Escape);
        QVERIFY(!panel->isVisible());
    }
    QTRY_VERIFY(!watchOf(box)->isActive()); // the watch's own ticks close it
    QVERIFY(!panel->isVisible());
    QVERIFY(!panel->FlagShowPelidora());
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(platform::dateSerial(box.DateSet()), std::optional<int>(serialOf(2014, 3, 5)));
}

void tst_Dropdown::dragOnTheButton_data()
{
    QTest::addColumn<QPoint>("to"); // where the pointer moves while held; pixels in the button
    QTest::addColumn<bool>("opens");
    QTest::newRow("stays inside") << QPoint(5, 5) << true;
    QTest::newRow("onto the left edge") << QPoint(0, 5) << false;
    QTest::newRow("onto the top edge") << QPoint(5, 0) << false;
    QTest::newRow("to the width") << QPoint(-1, 5) << false; // -1: the button's width
    QTest::newRow("to the height") << QPoint(5, -1) << false;
    QTest::newRow("far away") << QPoint(200, 90) << false;
}

void tst_Dropdown::dragOnTheButton()
{
    QFETCH(QPoint, to);
    QFETCH(bool, opens);
    Form form;
    QLabel *combo = button(*form.box);
    if (to.x() < 0)
        to.setX(combo->width());
    if (to.y() < 0)
        to.setY(combo->height());
    const qint64 up = form.box->findChild<QLabel *>("imgCboUp")->pixmap().cacheKey();
    const qint64 down = form.box->findChild<QLabel *>("imgCboDown")->pixmap().cacheKey();

    QTest::mousePress(combo, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(combo->pixmap().cacheKey(), down);
    QTest::mouseMove(combo, to);
    QCOMPARE(combo->pixmap().cacheKey(), opens ? down : up);
    QTest::mouseRelease(combo, Qt::LeftButton, {}, to);
    QCOMPARE(combo->pixmap().cacheKey(), up);
    QCOMPARE(panelOf(*form.box) && panelOf(*form.box)->isVisible(), opens);
}

void tst_Dropdown::otherButtonsAndDisabledBoxes()
{
    Form form;
    ucvPelidora &box = *form.box;
    QLabel *combo = button(box);
    const qint64 up = combo->pixmap().cacheKey();

    QTest::mouseClick(combo, Qt::RightButton);
    QTest::mouseClick(combo, Qt::MiddleButton);
    QVERIFY(!panelOf(box));
    // A left press ends with the release of any button.
    QTest::mousePress(combo, Qt::LeftButton);
    QTest::mouseRelease(combo, Qt::RightButton);
    QCOMPARE(combo->pixmap().cacheKey(), up);
    QVERIFY(panelOf(box) && panelOf(box)->isVisible());
    QTest::mouseRelease(combo, Qt::LeftButton); // ends nothing more
    QTest::mousePress(combo, Qt::LeftButton); // closes
    QTest::mouseRelease(combo, Qt::LeftButton);
    QVERIFY(!panelOf(box)->isVisible());

    box.setEnabledProperty(false);
    QTest::mouseClick(combo, Qt::LeftButton);
    QVERIFY(!panelOf(box)->isVisible());
    // Disabled in the middle of a press: the press ends without opening.
    box.setEnabledProperty(true);
    QTest::mousePress(combo, Qt::LeftButton);
    box.setEnabledProperty(false);
    box.setEnabledProperty(true);
    QTest::mouseRelease(combo, Qt::LeftButton);
    QCOMPARE(combo->pixmap().cacheKey(), up);
    QVERIFY(!panelOf(box)->isVisible());
}

void tst_Dropdown::placement_data()
{
    QTest::addColumn<int>("appearance");
    QTest::addColumn<QPoint>("boxAt");    // in the form
    // Pixels the screen reaches past the right and bottom edges of a panel put flush
    // below the box: 0 touches, negative falls short.
    QTest::addColumn<QSize>("room");
    QTest::addColumn<QString>("expected"); // vertical, horizontal
    QTest::newRow("below") << 0 << QPoint(8, 8) << QSize(500, 500) << "below aligned";
    QTest::newRow("touching the bottom") << 0 << QPoint(8, 8) << QSize(500, 0) << "below aligned";
    QTest::newRow("past the bottom") << 0 << QPoint(8, 8) << QSize(500, -1) << "above aligned";
    QTest::newRow("beyond the left edge") << 0 << QPoint(-60, 8) << QSize(500, 500) << "below left";
    QTest::newRow("near the right edge") << 0 << QPoint(8, 8) << QSize(-30, 500) << "below right";
    QTest::newRow("near both") << 0 << QPoint(8, 8) << QSize(-30, -1) << "above right";
    // The first opening places the panel with its 3D size, not the size it was loaded with.
    QTest::newRow("3D touching the bottom") << 1 << QPoint(8, 8) << QSize(500, 0) << "below aligned";
    QTest::newRow("3D near the right edge") << 1 << QPoint(8, 8) << QSize(-30, 500) << "below right";
}

void tst_Dropdown::placement()
{
    QFETCH(int, appearance);
    QFETCH(QPoint, boxAt);
    QFETCH(QSize, room);
    QFETCH(QString, expected);
    PropertyBag bag;
    bag.WriteProperty("Appearance", QVariant::fromValue(qint16(appearance)));
    Form form(kThunder, &bag, boxAt);
    ucvPelidora &box = *form.box;
    const Panel *panel = panelOf(box);
    const QSize size = (appearance ? panel->pic3D() : panel->pic1D())->size();
    const QRect strip(box.mapToGlobal(QPoint(0, 0)), box.size());
    const int width = strip.left() + size.width() + room.width();
    const int height = strip.bottom() + 1 + size.height() + room.height();
    m_ws.screenWidth = width * 15;
    m_ws.screenHeight = height * 15;
    QVERIFY(openModeless(box));
    m_ws.screenWidth.reset();
    m_ws.screenHeight.reset();

    const QRect at = panel->geometry();
    QCOMPARE(at.size(), size);
    const QString vertical = at.top() == strip.bottom() + 1 ? "below" : at.bottom() + 1 == strip.top() ? "above" : "?";
    const QString horizontal = at.left() == strip.left() ? "aligned" : at.left() == 0 ? "left"
        : at.right() + 1 == width ? "right" : "?";
    QCOMPARE(vertical + u' ' + horizontal, expected);
}

void tst_Dropdown::modalUnlessTheParentIsAThunderForm_data()
{
    QTest::addColumn<QString>("windowClass"); // empty: the parent's own class, QWidget
    QTest::addColumn<bool>("modal");
    QTest::newRow("host form") << kThunder << false;
    QTest::newRow("Thunder anywhere") << "xThunderRT6FormDC" << false;
    QTest::newRow("other case") << "PelidorathunderForm" << true;
    QTest::newRow("plain Qt parent") << "" << true;
}

void tst_Dropdown::modalUnlessTheParentIsAThunderForm()
{
    QFETCH(QString, windowClass);
    QFETCH(bool, modal);
    Form form(windowClass);
    ucvPelidora &box = *form.box;
    box.setLocked(true);
    bool returned = false, openWhileInside = false, topmost = false;
    QVERIFY(runModal(box, [&] {
        QTest::mouseClick(button(box), Qt::LeftButton);
        returned = true;
    }, [&](Panel &panel) {
        openWhileInside = !returned;
        topmost = panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QCOMPARE(QApplication::focusWidget(), panel.lblDay());
        type(Qt::Key_Escape);
    }));
    QTRY_VERIFY(!panelOf(box)->isVisible());
    QCOMPARE(openWhileInside, modal);
    QCOMPARE(topmost, !modal);
    QCOMPARE(m_ws.profileWrites.constLast().value,
             windowClass.isEmpty() ? QStringLiteral("QWidget") : windowClass);
}

void tst_Dropdown::modalShowAlwaysEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("HidePelidora") << "HidePelidora";
    QTest::newRow("About") << "About";
    QTest::newRow("Terminate") << "Terminate";
    QTest::newRow("box destroyed") << "delete";
    QTest::newRow("another window activated") << "switch";
}

void tst_Dropdown::modalShowAlwaysEnds()
{
    QFETCH(QString, how);
    auto form = std::make_unique<Form>(QString());
    QPointer<ucvPelidora> box(form->box);
    QWidget other;
    other.show();
    QVERIFY(runModal(*box, [&] { QTest::mouseClick(button(*box), Qt::LeftButton); }, [&](Panel &panel) {
        if (how == "Escape")
            type(Qt::Key_Escape);
        else if (how == "HidePelidora")
            panel.HidePelidora();
        else if (how == "About") {
            QTimer::singleShot(0, [] { UnloadAbout(); }); // the About box goes at once
            box->About();
        } else if (how == "Terminate")
            box->Terminate();
        else if (how == "delete")
            form.reset();
        else
            other.activateWindow();
    }));
    if (!box)
        return;
    QTRY_VERIFY(!watchOf(*box)->isActive());
    QVERIFY(!panelOf(*box) || !panelOf(*box)->isVisible());
}

void tst_Dropdown::dayMouseMoveCarriesTheHighlightedCell()
{
    Form form;
    ucvPelidora &box = *form.box;
    box.setDateSet(QString::number(serialOf(2024, 2, 10)));
    QVERIFY(openModeless(box));
    Panel *panel = panelOf(box);
    QSignalSpy moves(&box, &ucvPelidora::DayMouseMove);
    tick(box);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(moves.at(0), QVariantList({short(10), short(2), short(2024), 0.0f, 0.0f}));

    QTest::mouseMove(panel->btnDay(20), QPoint(6, 4));
    tick(box);
    tick(box); // the pointer rests: raised again with the same values
    QCOMPARE(moves.count(), 3);
    const QVariantList expected{short(21), short(2), short(2024), 90.0f, 60.0f};
    QCOMPARE(moves.at(1), expected);
    QCOMPARE(moves.at(2), expected);
    QCOMPARE(panel->lblDay()->text(), QStringLiteral("21"));
}

void tst_Dropdown::heldDateChoosesTheOpeningDay_data()
{
    QTest::addColumn<int>("held");
    QTest::addColumn<QDate>("shown");
    QTest::addColumn<int>("heldAfter");
    const QDate today(2025, 6, 23);
    QTest::newRow("no date") << -1 << today << -1;
    QTest::newRow("0 becomes 1") << 0 << today << 1;
    QTest::newRow("1") << 1 << today << 1;
    QTest::newRow("2150") << serialOf(2150, 5, 17) << QDate(2025, 5, 17) << serialOf(2025, 5, 17);
    QTest::newRow("29 Feb 2152") << serialOf(2152, 2, 29) << QDate(2025, 2, 28) << serialOf(2025, 2, 28);
}

void tst_Dropdown::heldDateChoosesTheOpeningDay()
{
    QFETCH(int, held);
    QFETCH(QDate, shown);
    QFETCH(int, heldAfter);
    // Held as a stored form brings it; opening commits the fields first.
    PropertyBag bag;
    bag.WriteProperty("DateSet", held);
    Form form(kThunder, &bag);
    ucvPelidora &box = *form.box;
    QVERIFY(openModeless(box));
    const Panel *panel = panelOf(box);
    QCOMPARE(panel->lblDay()->text(), QString::number(shown.day()));
    QCOMPARE(panel->cboMese()->currentIndex() + 1, shown.month());
    QCOMPARE(panel->cboAnno()->currentIndex() + 1900, shown.year());
    QVERIFY(panel->bDayOver(qint16(shown.day() - 1)));
    PropertyBag saved;
    box.WriteProperties(saved);
    QCOMPARE(saved.readLong("DateSet", 12345), heldAfter);
}

// Until the window system has activated a new panel, the focus is still in the strip; that
// does not count as leaving the panel, for a moment.
void tst_Dropdown::panelWaitsForTheWindowSystemToActivateIt()
{
    Form form;
    ucvPelidora &box = *form.box;
    QTest::mouseClick(button(box), Qt::LeftButton); // no events processed: not active yet
    Panel *panel = panelOf(box);
    QVERIFY(!panel->isActiveWindow());
    for (int i = 0; i < 5; ++i)
        tick(box);
    QVERIFY(panel->isVisible());
    QTRY_VERIFY(panel->isActiveWindow());
    // Once it has been active, leaving closes at the next tick.
    m_ws.focus = platform::windowSystem().handleOf(&form.widget);
    tick(box);
    m_ws.focus.reset();
    QVERIFY(!panel->isVisible());
}

QTEST_MAIN(tst_Dropdown)
#include "tst_dropdown.moc"
