#include "about/bas_menuabout.h"
#include "about/fabout.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

#include <pelidora/ucvPelidora.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <climits>
#include <cmath>
#include <functional>

using namespace pelidora;

namespace {

// Notes whether the box was already on screen when the information beep sounded.
class BeepWatch : public test::FakeWindowSystem
{
public:
    QList<bool> boxVisibleAtBeep;
    void MessageBeep(unsigned type) override
    {
        FakeWindowSystem::MessageBeep(type);
        boxVisibleAtBeep << (fabout::loadedInstance() && fabout::loadedInstance()->isVisible());
    }
};

template<typename T = QLabel>
T *child(QWidget *box, const char *name)
{
    return box->findChild<T *>(QLatin1String(name));
}

fabout *showModeless(const QString &comment = QString(), float seconds = 0.0f)
{
    ShowAboutBox(seconds, comment, 101, true, nullptr);
    fabout *box = fabout::loadedInstance();
    return box && QTest::qWaitForWindowExposed(box) ? box : nullptr;
}

// Shows the box modal through `show` and runs `inside` once it is up. False when the box
// had to be closed by force.
bool showModal(const std::function<void(fabout *)> &inside, const std::function<void()> &show)
{
    bool forced = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (fabout *box = fabout::loadedInstance(); box && box->isVisible()) {
            poll.stop();
            inside(box);
        }
    });
    poll.start(5);
    QTimer::singleShot(5000, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<fabout *>(w) && w->isVisible()) {
                forced = true;
                w->close();
            }
        }
    });
    show();
    return !forced;
}

bool showModal(const std::function<void(fabout *)> &inside, float seconds = 0.0f)
{
    return showModal(inside, [seconds] { ShowAboutBox(seconds, QString(), 101, false, nullptr); });
}

bool ink(const QImage &image, int x, int y) { return qGray(image.pixel(x, y)) < 160; }

// The lowest row of rect with a good share of its ink: the baseline, as descenders add only
// a few dots below it. -1 without ink.
int baselineRow(const QImage &image, const QRect &rect)
{
    QList<int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int n = 0;
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += ink(image, x, y);
        counts << n;
    }
    const int most = *std::max_element(counts.cbegin(), counts.cend());
    for (int i = int(counts.size()) - 1; most > 0 && i >= 0; --i)
        if (counts.at(i) * 4 >= most)
            return rect.top() + i;
    return -1;
}

int firstInkColumn(const QImage &image, const QRect &rect)
{
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (ink(image, x, y))
                return x;
    return -1;
}

} // namespace

class tst_fabout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void loadsCentred_data();
    void loadsCentred();
    void linksStandOnTheirBlankRuns_data();
    void linksStandOnTheirBlankRuns();
    void hugeCommentKeepsTheBoxOnTheScreen();
    void pointingAtALinkUnderlinesOnlyIt_data();
    void pointingAtALinkUnderlinesOnlyIt();
    void pressingALinkOpensItAndKeepsTheBox_data();
    void pressingALinkOpensItAndKeepsTheBox();
    void pictureChoice_data();
    void pictureChoice();
    void modelessAutoClose_data();
    void modelessAutoClose();
    void closingUnloadsAndTheNextShowingLoadsAfresh();
    void modalShowBeepsFirstAndReturnsOnceClosed_data();
    void modalShowBeepsFirstAndReturnsOnceClosed();
    void dateBoxAboutShowsTheModalBox();
    void showingAgainWhileModalDoesNotNestLoops();
    void boxUnloadedWhileLoadingIsNotShown();

private:
    test::TodayPin m_today{2026, 3, 14};
    test::LocalePin m_locale{QStringLiteral("en_US")};
};

void tst_fabout::init()
{
    module().gAppTitle = QStringLiteral("Pelidora");
    module().gAboutYears = QStringLiteral("2026");
}

void tst_fabout::cleanup()
{
    UnloadAbout();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_fabout::loadsCentred_data()
{
    QTest::addColumn<int>("screenWidth"); // twips
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("1000 x 800 px") << 15000 << 12000 << QPoint(281, 294); // (15000 - 6555) / 2 / 15
    QTest::newRow("smaller than the box") << 3000 << 3000 << QPoint(0, 0);
}

void tst_fabout::loadsCentred()
{
    test::FakeWindowSystem ws;
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    ws.screenWidth = screenWidth;
    ws.screenHeight = screenHeight;
    fabout *box = fabout::instance();
    QVERIFY(box->Loaded());
    QCOMPARE(box->windowTitle(), QStringLiteral("About"));
    QCOMPARE(box->size(), QSize(437, 212)); // 6555 x 3180 twips
    QTEST(box->pos(), "position");
    QCOMPARE(child(box, "lblweb")->text(), QString(kAuthorWeb)); // its blank run has that length
}

void tst_fabout::linksStandOnTheirBlankRuns_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("grows");
    QTest::newRow("no comment")  << QString() << false;
    QTest::newRow("three lines") << QStringLiteral("a\rb\rc") << false;
    QTest::newRow("four lines")  << QStringLiteral("a\rb\rc\rd") << true;
    QTest::newRow("wrapped")     << QStringLiteral("This comment is long enough to wrap twice in the "
                                                   "label of the box, so every line below it moves.") << true;
}

void tst_fabout::linksStandOnTheirBlankRuns()
{
    QFETCH(QString, comment);
    test::FakeWindowSystem ws;
    fabout *box = showModeless(comment);
    QVERIFY(box);
    QTEST(box->height() > 212, "grows");
    auto *about = child(box, "lblAbout");
    auto *mail = child(box, "lblmailto");
    auto *web = child(box, "lblweb");

    // The label alone, without the links over it.
    const QImage text = about->grab().toImage();
    const QRect mailRect = mail->geometry().translated(-about->pos());
    const QRect webRect = web->geometry().translated(-about->pos());
    QVERIFY(text.rect().contains(mailRect) && text.rect().contains(webRect));
    QCOMPARE(firstInkColumn(text, mailRect), -1);
    QCOMPARE(firstInkColumn(text, webRect), -1);
    // Right of the mail link its line goes on, after a gap and on the same baseline; the
    // web link's line is blank.
    const QRect rightOfMail(mailRect.right() + 1, mailRect.top(), text.width() - mailRect.right() - 1,
                            mailRect.height());
    QVERIFY(firstInkColumn(text, rightOfMail) > mailRect.right() + 8);
    const QImage mailImage = mail->grab().toImage();
    QCOMPARE(baselineRow(text, rightOfMail), mailRect.top() + baselineRow(mailImage, mailImage.rect()));
    QCOMPARE(firstInkColumn(text, QRect(0, webRect.top(), text.width(), webRect.height())), -1);
    QVERIFY(qAbs(web->y() - mail->y() - QFontMetrics(about->font()).lineSpacing()) <= 1);
    QVERIFY(child<QPushButton>(box, "btnOK")->y() > web->mapTo(box, QPoint(0, web->height())).y());
}

void tst_fabout::hugeCommentKeepsTheBoxOnTheScreen()
{
    test::FakeWindowSystem ws;
    ws.screenHeight = 400 * 15;
    fabout *box = showModeless(QStringLiteral("x") + QString(2000, u'\r') + QStringLiteral("y"));
    QVERIFY(box);
    QCOMPARE(box->height(), 400);
    const QRect ok = child<QPushButton>(box, "btnOK")->geometry();
    QVERIFY(box->rect().contains(ok));
    for (QLabel *link : {child(box, "lblmailto"), child(box, "lblweb")})
        QVERIFY(!link->isVisible() || link->mapTo(box, QPoint(0, link->height())).y() < ok.top());
}

void tst_fabout::pointingAtALinkUnderlinesOnlyIt_data()
{
    QTest::addColumn<QStringList>("path"); // what the pointer moves over, in order
    QTest::addColumn<QString>("underlined");
    QTest::addColumn<QString>("hand");
    QTest::newRow("mail")           << QStringList{"lblmailto"} << "lblmailto" << "lblmailto";
    QTest::newRow("mail then web")  << QStringList{"lblmailto", "lblweb"} << "lblweb" << "lblweb";
    QTest::newRow("web then mail")  << QStringList{"lblweb", "lblmailto"} << "lblmailto" << "lblmailto";
    QTest::newRow("mail then text") << QStringList{"lblmailto", "lblAbout"} << "" << "lblmailto";
    QTest::newRow("web then frame") << QStringList{"lblweb", "Frame1"} << "" << "lblweb";
}

void tst_fabout::pointingAtALinkUnderlinesOnlyIt()
{
    QFETCH(QStringList, path);
    QFETCH(QString, underlined);
    QFETCH(QString, hand);
    test::FakeWindowSystem ws;
    fabout *box = showModeless();
    QVERIFY(box);
    QTest::mouseMove(box, QPoint(1, 1)); // a move to where the pointer already is gets dropped
    for (const QString &name : path)
        QTest::mouseMove(box->findChild<QWidget *>(name), QPoint(4, 4));
    for (QLabel *link : {child(box, "lblmailto"), child(box, "lblweb")}) {
        QCOMPARE(link->font().underline(), link->objectName() == underlined);
        QCOMPARE(link->testAttribute(Qt::WA_SetCursor), link->objectName() == hand);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    const QCursor cursor = box->findChild<QLabel *>(hand)->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(8, 3));
}

void tst_fabout::pressingALinkOpensItAndKeepsTheBox_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("shellResult");
    QTest::addColumn<QString>("opened");
    const QString mailto = QLatin1String("mailto:") + kAuthorMail;
    QTest::newRow("mail")           << "lblmailto" << Qt::LeftButton << 42 << mailto;
    QTest::newRow("mail, right")    << "lblmailto" << Qt::RightButton << 42 << mailto;
    QTest::newRow("web, no opener") << "lblweb" << Qt::LeftButton << 31 << QString(kAuthorWeb);
}

void tst_fabout::pressingALinkOpensItAndKeepsTheBox()
{
    QFETCH(QString, link);
    QFETCH(Qt::MouseButton, button);
    test::FakeWindowSystem ws;
    QFETCH(int, shellResult);
    ws.shellResult = shellResult;
    fabout *box = showModeless();
    QVERIFY(box);
    QTest::mouseClick(box->findChild<QLabel *>(link), button, {}, QPoint(4, 4));
    QTEST(ws.opened.join(u'|'), "opened");
    QVERIFY(ws.messages.isEmpty());
    QVERIFY(fabout::loadedInstance() == box && box->isVisible());
}

void tst_fabout::pictureChoice_data()
{
    QTest::addColumn<bool>("givePicture");
    QTest::addColumn<int>("iconId");
    QTest::addColumn<QSize>("shown"); // empty: no picture
    QTest::newRow("picture wins over id") << true << 101 << QSize(16, 16);
    QTest::newRow("bitmap 101")           << false << 101 << QSize(32, 32);
    QTest::newRow("id below 1")           << false << 0 << QSize();
}

void tst_fabout::pictureChoice()
{
    QFETCH(bool, givePicture);
    QFETCH(int, iconId);
    QFETCH(QSize, shown);
    test::FakeWindowSystem ws;
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    ShowAboutBox(0.0f, QStringLiteral("Kept"), iconId, true, givePicture ? &picture : nullptr);
    QVERIFY(fabout::loadedInstance());
    QCOMPARE(child(fabout::loadedInstance(), "imgIcon")->pixmap().size(), shown.isEmpty() ? QSize(0, 0) : shown);
    QVERIFY(child(fabout::loadedInstance(), "lblAbout")->text().contains(QLatin1String("\nKept\n")));
}

void tst_fabout::modelessAutoClose_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<int>("interval"); // milliseconds; closes by itself when above 0
    QTest::newRow("50 ms")    << 0.05f << 50;
    QTest::newRow("none")     << 0.0f << 0;
    QTest::newRow("negative") << -1.0f << 0;
    QTest::newRow("NaN")      << std::nanf("") << 0;
    QTest::newRow("huge")     << 1e12f << INT_MAX;
}

void tst_fabout::modelessAutoClose()
{
    QFETCH(float, seconds);
    QFETCH(int, interval);
    test::FakeWindowSystem ws;
    QPointer<fabout> box = showModeless(QString(), seconds);
    QVERIFY(box);
    QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(box->Interval(), interval);
    QCOMPARE(child<QTimer>(box, "TimerHide")->isActive(), interval > 0);
    if (interval > 0 && interval < 1000)
        QTRY_VERIFY(box.isNull());
}

void tst_fabout::closingUnloadsAndTheNextShowingLoadsAfresh()
{
    test::FakeWindowSystem ws;
    QPointer<fabout> first = showModeless();
    QVERIFY(first);
    QTest::mouseClick(child<QPushButton>(first, "btnOK"), Qt::LeftButton);
    QVERIFY(first && !first->Loaded()); // destroyed once control returns to the event loop
    QVERIFY(!fabout::loadedInstance());
    QPointer<fabout> second = showModeless();
    QVERIFY(second && second != first && second->Loaded());
    QTRY_VERIFY(first.isNull());
}

void tst_fabout::modalShowBeepsFirstAndReturnsOnceClosed_data()
{
    QTest::addColumn<int>("key"); // 0: the window's close box; -1: nothing, the timer closes it
    QTest::newRow("Escape")    << int(Qt::Key_Escape);
    QTest::newRow("Enter")     << int(Qt::Key_Return);
    QTest::newRow("close box") << 0;
    QTest::newRow("timer")     << -1;
}

void tst_fabout::modalShowBeepsFirstAndReturnsOnceClosed()
{
    QFETCH(int, key);
    BeepWatch ws;
    QPointer<fabout> seen;
    bool modal = false;
    QVERIFY(showModal([&](fabout *box) {
        seen = box;
        modal = box->isModal();
        if (key > 0)
            QTest::keyClick(box, Qt::Key(key));
        else if (key == 0)
            box->close();
    }, key < 0 ? 0.05f : 0.0f));
    QVERIFY(modal);
    QVERIFY(seen.isNull()); // gone by the time the modal show returns
    QCOMPARE(ws.messageBeeps, QList<unsigned>{0x40});
    QCOMPARE(ws.boxVisibleAtBeep, QList<bool>{false});
}

void tst_fabout::dateBoxAboutShowsTheModalBox()
{
    BeepWatch ws;
    ucvPelidora dateBox;
    QString text;
    QSize picture;
    qint32 interval = -1;
    QVERIFY(showModal([&](fabout *box) {
        text = child(box, "lblAbout")->text();
        picture = child(box, "imgIcon")->pixmap().size();
        interval = box->Interval();
        QTest::keyClick(box, Qt::Key_Escape);
    }, [&] { dateBox.About(); }));
    QCOMPARE(text.section(u'\n', 0, 1), QStringLiteral("\nPelidora  -  version 1.10.12"));
    QCOMPARE(picture, QSize(32, 32));
    QCOMPARE(interval, 0);
    QCOMPARE(ws.boxVisibleAtBeep, QList<bool>{false});
}

void tst_fabout::showingAgainWhileModalDoesNotNestLoops()
{
    test::FakeWindowSystem ws;
    bool returned = false;
    QVERIFY(showModal([&](fabout *box) {
        ShowAbout(nullptr, QStringLiteral("again"), 101, false, nullptr);
        returned = fabout::loadedInstance() == box && box->isVisible();
        QTest::keyClick(box, Qt::Key_Escape);
    }));
    QVERIFY(returned);
    QCOMPARE(ws.messageBeeps.size(), 2);
}

void tst_fabout::boxUnloadedWhileLoadingIsNotShown()
{
    // The unload runs among the pending events that loading lets through.
    test::FakeWindowSystem ws;
    QTimer::singleShot(0, [] { UnloadAbout(); });
    QVERIFY(showModal([](fabout *) {}));
    QVERIFY(ws.messageBeeps.isEmpty());
}

QTEST_MAIN(tst_fabout)
#include "tst_fabout.moc"
