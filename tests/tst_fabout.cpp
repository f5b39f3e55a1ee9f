#include "about/bas_menuabout.h"
#include "about/fabout.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

#include <QGroupBox>
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

// Records whether the box was already on screen when the information beep sounded.
class BeepWatch : public test::FakeWindowSystem
{
public:
    QList<bool> boxVisibleAtBeep;
    void MessageBeep(unsigned type) override
    {
        FakeWindowSystem::MessageBeep(type);
        fabout *box = fabout::loadedInstance();
        boxVisibleAtBeep << (box && box->isVisible());
    }
};

template<typename T>
T *child(QWidget *box, const char *name)
{
    return box->findChild<T *>(QLatin1String(name));
}

fabout *showModeless(const QString &comment = QString(), float seconds = 0.0f)
{
    ShowAboutBox(seconds, comment, 101, true, nullptr);
    fabout *box = fabout::loadedInstance();
    if (box && !QTest::qWaitForWindowExposed(box))
        return nullptr;
    return box;
}

// Shows the box modal; `inside` runs in its loop and must close it. False when it had to
// be closed by force.
bool showModal(const std::function<void(fabout *)> &inside, float seconds = 0.0f)
{
    bool forced = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        fabout *box = fabout::loadedInstance();
        if (box && box->isVisible()) {
            poll.stop();
            inside(box);
        }
    });
    poll.start(5);
    QTimer::singleShot(5000, [&] { forced = fabout::loadedInstance(); UnloadAbout(); });
    ShowAboutBox(seconds, QString(), 101, false, nullptr);
    return !forced;
}

// Row of the text's baseline inside rect: the lowest row with a good share of the ink
// (descenders only add a few dots below it). -1 when the rect holds no ink.
int baselineRow(const QImage &image, const QRect &rect)
{
    QList<int> ink;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int n = 0;
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
        ink << n;
    }
    const int most = *std::max_element(ink.cbegin(), ink.cend());
    for (int i = int(ink.size()) - 1; most > 0 && i >= 0; --i) {
        if (ink.at(i) * 4 >= most)
            return rect.top() + i;
    }
    return -1;
}

int firstInkColumn(const QImage &image, const QRect &rect)
{
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 160)
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
    void loadsCentredWithItsDesignSize_data();
    void loadsCentredWithItsDesignSize();
    void linksStandOnTheirBlankRuns_data();
    void linksStandOnTheirBlankRuns();
    void hugeCommentKeepsTheBoxOnTheScreen();
    void pointingAtALinkUnderlinesOnlyIt_data();
    void pointingAtALinkUnderlinesOnlyIt();
    void pressingALinkOpensItAndKeepsTheBox_data();
    void pressingALinkOpensItAndKeepsTheBox();
    void pictureChoice_data();
    void pictureChoice();
    void intervalFromSeconds_data();
    void intervalFromSeconds();
    void modelessBoxClosesItselfAfterTheInterval();
    void closingUnloadsAndTheNextShowingLoadsAfresh();
    void beepSoundsBeforeTheBoxShows();
    void modalShowReturnsOnceClosed_data();
    void modalShowReturnsOnceClosed();
    void modalShowClosesItselfAfterTheInterval();
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

void tst_fabout::loadsCentredWithItsDesignSize_data()
{
    QTest::addColumn<int>("screenWidth"); // twips
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("1000 x 800 px") << 15000 << 12000 << QPoint(281, 294); // (15000 - 6555) / 2 / 15
    QTest::newRow("smaller than the box") << 3000 << 3000 << QPoint(0, 0);
}

void tst_fabout::loadsCentredWithItsDesignSize()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    test::FakeWindowSystem ws;
    ws.screenWidth = screenWidth;
    ws.screenHeight = screenHeight;
    fabout *box = fabout::instance();
    QVERIFY(box->Loaded());
    QCOMPARE(box->windowTitle(), QStringLiteral("About"));
    QCOMPARE(box->size(), QSize(437, 212)); // 6555 x 3180 twips at 15 twips per pixel
    QTEST(box->pos(), "position");
    QVERIFY(child<QLabel>(box, "lblmailto")->isVisibleTo(box));
    QCOMPARE(child<QLabel>(box, "lblweb")->text(), QString(kAuthorWeb));
}

void tst_fabout::linksStandOnTheirBlankRuns_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("grows");
    QTest::newRow("no comment")  << QString() << false;
    QTest::newRow("one line")    << QStringLiteral("Beta build") << false;
    QTest::newRow("three lines") << QStringLiteral("a\rb\rc") << false;
    QTest::newRow("four lines")  << QStringLiteral("a\rb\rc\rd") << true;
    QTest::newRow("wrapped")     << QStringLiteral("This comment is long enough to wrap twice in the "
                                                   "label of the box, so every line below it moves.")
                                 << true;
}

void tst_fabout::linksStandOnTheirBlankRuns()
{
    QFETCH(QString, comment);
    QFETCH(bool, grows);
    test::FakeWindowSystem ws;
    fabout *box = showModeless(comment);
    QVERIFY(box);
    auto *about = child<QLabel>(box, "lblAbout");
    auto *mail = child<QLabel>(box, "lblmailto");
    auto *web = child<QLabel>(box, "lblweb");
    QCOMPARE(box->height() > 212, grows);

    // The label alone, without the links over it, in the coordinates of the frame.
    const QImage text = about->grab().toImage();
    const auto inText = [&](const QRect &r) { return r.translated(-about->pos()).intersected(text.rect()); };
    const QRect mailRect = inText(mail->geometry());
    const QRect webRect = inText(web->geometry());
    QCOMPARE(mailRect, mail->geometry().translated(-about->pos()));
    QCOMPARE(webRect, web->geometry().translated(-about->pos()));
    QCOMPARE(firstInkColumn(text, mailRect), -1);
    QCOMPARE(firstInkColumn(text, webRect), -1);

    // On the mail link's line the text goes on to its right, with a gap and on the same
    // baseline; the web link's line is blank.
    const QRect rightOfMail(mailRect.right() + 1, mailRect.top(), text.width() - mailRect.right() - 1,
                            mailRect.height());
    const int after = firstInkColumn(text, rightOfMail);
    QVERIFY(after > mailRect.right() + 8);
    const QImage mailImage = mail->grab().toImage();
    QCOMPARE(baselineRow(text, rightOfMail), mailRect.top() + baselineRow(mailImage, mailImage.rect()));
    QCOMPARE(firstInkColumn(text, QRect(0, webRect.top(), text.width(), webRect.height())), -1);
    QVERIFY(qAbs(web->y() - mail->y() - QFontMetrics(about->font()).lineSpacing()) <= 1);

    auto *ok = child<QPushButton>(box, "btnOK");
    QVERIFY(ok->mapTo(box, QPoint(0, 0)).y() > web->mapTo(box, QPoint(0, web->height())).y());
    QVERIFY(box->rect().contains(ok->geometry()));
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
    for (const char *name : {"lblmailto", "lblweb"}) {
        auto *link = child<QLabel>(box, name);
        QVERIFY(!link->isVisible() || link->mapTo(box, QPoint(0, link->height())).y() < ok.top());
    }
}

void tst_fabout::pointingAtALinkUnderlinesOnlyIt_data()
{
    QTest::addColumn<QStringList>("path"); // widgets the pointer moves over, in order
    QTest::addColumn<bool>("mailUnderlined");
    QTest::addColumn<bool>("webUnderlined");
    QTest::newRow("mail")          << QStringList{"lblmailto"} << true << false;
    QTest::newRow("web")           << QStringList{"lblweb"} << false << true;
    QTest::newRow("mail then web") << QStringList{"lblmailto", "lblweb"} << false << true;
    QTest::newRow("web then mail") << QStringList{"lblweb", "lblmailto"} << true << false;
    QTest::newRow("mail then text") << QStringList{"lblmailto", "lblAbout"} << false << false;
    QTest::newRow("web then frame") << QStringList{"lblweb", "Frame1"} << false << false;
}

void tst_fabout::pointingAtALinkUnderlinesOnlyIt()
{
    QFETCH(QStringList, path);
    QFETCH(bool, mailUnderlined);
    QFETCH(bool, webUnderlined);
    test::FakeWindowSystem ws;
    fabout *box = showModeless();
    QVERIFY(box);
    QTest::mouseMove(box, QPoint(1, 1)); // a move to where the pointer already is gets dropped
    for (const QString &name : path)
        QTest::mouseMove(box->findChild<QWidget *>(name), QPoint(4, 4));
    auto *mail = child<QLabel>(box, "lblmailto");
    auto *web = child<QLabel>(box, "lblweb");
    QCOMPARE(mail->font().underline(), mailUnderlined);
    QCOMPARE(web->font().underline(), webUnderlined);
    // The hand belongs to the link last pointed at; the other shows the default pointer.
    QLabel *last = path.contains("lblweb") && path.indexOf("lblweb") > path.indexOf("lblmailto") ? web : mail;
    QLabel *other = last == web ? mail : web;
    QCOMPARE(last->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(last->cursor().hotSpot(), QPoint(8, 3));
    QVERIFY(!other->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(QColor(mail->palette().color(QPalette::WindowText)), QColor(0, 0, 255));
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
    QTest::newRow("web")            << "lblweb" << Qt::LeftButton << 42 << QString(kAuthorWeb);
    QTest::newRow("web, no opener") << "lblweb" << Qt::LeftButton << 31 << QString(kAuthorWeb);
}

void tst_fabout::pressingALinkOpensItAndKeepsTheBox()
{
    QFETCH(QString, link);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, shellResult);
    QFETCH(QString, opened);
    test::FakeWindowSystem ws;
    ws.shellResult = shellResult;
    fabout *box = showModeless();
    QVERIFY(box);
    auto *label = box->findChild<QLabel *>(link);
    QTest::mousePress(label, button, {}, QPoint(4, 4));
    QTest::mouseRelease(label, button, {}, QPoint(4, 4));
    QCOMPARE(ws.opened, QStringList{opened});
    QVERIFY(ws.messages.isEmpty());
    QCOMPARE(fabout::loadedInstance(), box);
    QVERIFY(box->isVisible());
}

void tst_fabout::pictureChoice_data()
{
    QTest::addColumn<bool>("givePicture");
    QTest::addColumn<int>("iconId");
    QTest::addColumn<QSize>("shown"); // empty: no picture
    QTest::newRow("picture wins over id") << true << 101 << QSize(16, 16);
    QTest::newRow("bitmap 101")           << false << 101 << QSize(32, 32);
    QTest::newRow("no such bitmap")       << false << 364 << QSize();
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
    fabout *box = fabout::loadedInstance();
    QVERIFY(box);
    const QPixmap pixmap = child<QLabel>(box, "imgIcon")->pixmap();
    QCOMPARE(pixmap.isNull(), shown.isEmpty());
    if (!shown.isEmpty())
        QCOMPARE(pixmap.size(), shown);
    QVERIFY(child<QLabel>(box, "lblAbout")->text().contains(QLatin1String("\nKept\n")));
}

void tst_fabout::intervalFromSeconds_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<int>("interval");
    QTest::newRow("3 s")      << 3.0f << 3000;
    QTest::newRow("50 ms")    << 0.05f << 50;
    QTest::newRow("none")     << 0.0f << 0;
    QTest::newRow("negative") << -1.0f << 0;
    QTest::newRow("NaN")      << std::nanf("") << 0;
    QTest::newRow("huge")     << 1e12f << INT_MAX;
}

void tst_fabout::intervalFromSeconds()
{
    QFETCH(float, seconds);
    QFETCH(int, interval);
    test::FakeWindowSystem ws;
    fabout *box = showModeless(QString(), seconds);
    QVERIFY(box);
    QCOMPARE(box->Interval(), interval);
    QCOMPARE(child<QTimer>(box, "TimerHide")->isActive(), interval > 0);
}

void tst_fabout::modelessBoxClosesItselfAfterTheInterval()
{
    test::FakeWindowSystem ws;
    QPointer<fabout> box = showModeless(QString(), 0.05f);
    QVERIFY(box);
    QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!box->isModal());
    QTRY_VERIFY(box.isNull());
    QVERIFY(!fabout::loadedInstance());
}

void tst_fabout::closingUnloadsAndTheNextShowingLoadsAfresh()
{
    test::FakeWindowSystem ws;
    QPointer<fabout> first = showModeless();
    QVERIFY(first);
    QTest::mouseClick(child<QPushButton>(first, "btnOK"), Qt::LeftButton);
    QVERIFY(!first.isNull() && !first->Loaded()); // destroyed once control returns to the loop
    QVERIFY(!fabout::loadedInstance());
    QPointer<fabout> second = showModeless();
    QVERIFY(second && second != first && second->Loaded());
    UnloadAbout();
    QVERIFY(!second->Loaded());
    QTRY_VERIFY(first.isNull() && second.isNull());
}

void tst_fabout::beepSoundsBeforeTheBoxShows()
{
    BeepWatch ws;
    QVERIFY(showModeless());
    QCOMPARE(ws.messageBeeps, QList<unsigned>{0x40});
    QCOMPARE(ws.boxVisibleAtBeep, QList<bool>{false});
}

void tst_fabout::modalShowReturnsOnceClosed_data()
{
    QTest::addColumn<int>("key"); // 0: the window's close box
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Enter")  << int(Qt::Key_Return);
    QTest::newRow("close box") << 0;
}

void tst_fabout::modalShowReturnsOnceClosed()
{
    QFETCH(int, key);
    test::FakeWindowSystem ws;
    QPointer<fabout> seen;
    bool modal = false;
    QVERIFY(showModal([&](fabout *box) {
        seen = box;
        modal = box->isVisible() && box->isModal();
        if (key)
            QTest::keyClick(box, Qt::Key(key));
        else
            box->close();
    }));
    QVERIFY(modal);
    QVERIFY(seen.isNull()); // gone as soon as the modal show returns
    QCOMPARE(ws.messageBeeps.size(), 1);
}

void tst_fabout::modalShowClosesItselfAfterTheInterval()
{
    test::FakeWindowSystem ws;
    QVERIFY(showModal([](fabout *) {}, 0.05f));
    QVERIFY(!fabout::loadedInstance());
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
    // The unload runs among the pending events the loading lets through.
    test::FakeWindowSystem ws;
    QTimer::singleShot(0, [] { UnloadAbout(); });
    bool forced = false;
    QTimer::singleShot(5000, [&] { forced = fabout::loadedInstance(); UnloadAbout(); });
    ShowAboutBox(0.0f, QString(), 101, false, nullptr);
    QVERIFY(!forced);
    QVERIFY(ws.messageBeeps.isEmpty());
    QVERIFY(!fabout::loadedInstance());
}

QTEST_MAIN(tst_fabout)
#include "tst_fabout.moc"
