// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/bas_menuabout.h"
#include "about/fabout.h"
#include "shared/mpelidora.h"
#include "support/imagehelpers.h"
#include "support/testsupport.h"

#include <pelidora/translations.h>
#include <pelidora/ucvPelidora.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <climits>
#include <functional>
#include <optional>
#include <thread>

using namespace pelidora;

namespace {

// Notes whether the box was already on screen when the information beep sounded.
class BeepWatch : public test::FakeWindowSystem
{
public:
    QList<bool> boxVisibleAtBeep;
    void messageBeep(unsigned type) override
    {
        FakeWindowSystem::messageBeep(type);
        boxVisibleAtBeep << (fabout::loadedInstance() && fabout::loadedInstance()->isVisible());
    }
};

template<typename T = QLabel>
T *child(QWidget *box, const char *name) { return box->findChild<T *>(QLatin1String(name)); }

fabout *showModeless(const QString &comment = QString(), float seconds = 0.0f)
{
    ShowAboutBox(seconds, comment, 101, true, nullptr);
    fabout *box = fabout::loadedInstance();
    return box && QTest::qWaitForWindowExposed(box) ? box : nullptr;
}

// Shows the box modal through `show` and runs `inside` from its event loop once it is up.
// False when a box left open had to be closed by force.
bool showModal(const std::function<void(fabout *)> &inside, const std::function<void()> &show = {})
{
    const auto shown = []() -> QWidget * {
        fabout *box = fabout::loadedInstance();
        return box && box->isVisible() ? box : nullptr;
    };
    return !test::runInLoop(shown, [&](QWidget *box) { inside(static_cast<fabout *>(box)); },
                            [&] { show ? show() : ShowAboutBox(0.0f, QString(), 101, false, nullptr); },
                            [] { UnloadAbout(); return true; }, false)
                .forced;
}

} // namespace

class tst_fabout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_ws.emplace(); }
    void cleanup();
    void boxIsCentredAndStaysOnTheScreen();
    void linksStandOnTheirBlankRuns();
    void pointingAtALinkUnderlinesItAndPressingOpensIt();
    void modelessBoxShowsThePictureAndStaysOnTop();
    void modalShowBeepsFirstAndReturnsOnceClosed_data();
    void modalShowBeepsFirstAndReturnsOnceClosed();
    void modalShowingNeverStrandsALoop();
    void noCommentTextIsExactInEachLanguage();
    void linkLinesStayInPlace_data();
    void linkLinesStayInPlace();

private:
    test::TodayPin m_today{2026, 3, 14};
    test::LocalePin m_locale{QStringLiteral("en_US")};
    std::optional<BeepWatch> m_ws;
};

void tst_fabout::cleanup()
{
    UnloadAbout();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    m_ws.reset();
}

void tst_fabout::boxIsCentredAndStaysOnTheScreen()
{
    m_ws->screenWidth = 15000; // twips
    m_ws->screenHeight = 12000;
    fabout *box = fabout::instance();
    QCOMPARE(QRect(box->pos(), box->size()), QRect(281, 294, 437, 212)); // (15000 - 6555) / 2 / 15; 6555 x 3180 twips
    QCOMPARE(child(box, "lblweb")->text(), QString(kAuthorWeb)); // its blank run has that length
    UnloadAbout();
    m_ws->screenHeight = 3000;
    QCOMPARE(fabout::instance()->pos(), QPoint(281, 0)); // a short screen keeps the title bar on it
    UnloadAbout();

    // A huge comment on a screen smaller than the box: the box grows to the screen's height,
    // its title bar stays visible, and OK stays on it with no link over it.
    m_ws->screenWidth = 3000;
    m_ws->screenHeight = 400 * 15;
    box = showModeless(QStringLiteral("x") + QString(2000, u'\r') + QStringLiteral("y"));
    QVERIFY(box);
    QCOMPARE(QRect(box->pos(), box->size()), QRect(0, 0, 437, 400));
    const QRect ok = child<QPushButton>(box, "btnOK")->geometry();
    QVERIFY(box->rect().contains(ok));
    for (QLabel *link : {child(box, "lblmailto"), child(box, "lblweb")})
        QVERIFY(!link->isVisible() || link->mapTo(box, QPoint(0, link->height())).y() < ok.top());
}

// Under a comment that wraps, so that every line below it moves.
void tst_fabout::linksStandOnTheirBlankRuns()
{
    fabout *box = showModeless(QStringLiteral("This comment is long enough to wrap twice in the "
                                              "label of the box, so every line below it moves."));
    QVERIFY(box && box->height() > 212);
    QLabel *about = child(box, "lblAbout"), *mail = child(box, "lblmailto"), *web = child(box, "lblweb");

    // The label alone, without the links over it.
    const QImage text = about->grab().toImage();
    const QRect mailRect = mail->geometry().translated(-about->pos());
    const QRect webRect = web->geometry().translated(-about->pos());
    // Right of the mail link its line goes on, after a gap; the web link's line is blank.
    const QRect rightOfMail(mailRect.topRight() + QPoint(1, 0), QPoint(text.width() - 1, mailRect.bottom()));
    QCOMPARE(QList<int>({test::firstInkColumn(text, mailRect), test::firstInkColumn(text, webRect),
                         test::firstInkColumn(text, QRect(0, webRect.top(), text.width(), webRect.height()))}),
             QList<int>({-1, -1, -1}));
    QVERIFY(test::firstInkColumn(text, rightOfMail) > mailRect.right() + 8);
    QVERIFY(qAbs(web->y() - mail->y() - QFontMetrics(about->font()).lineSpacing()) <= 1);
    QVERIFY(child<QPushButton>(box, "btnOK")->y() > web->mapTo(box, QPoint(0, web->height())).y());
}

void tst_fabout::pointingAtALinkUnderlinesItAndPressingOpensIt()
{
    fabout *box = showModeless();
    QVERIFY(box);
    QLabel *mail = child(box, "lblmailto"), *web = child(box, "lblweb");
    // Underlined mail, underlined web, hand on mail, hand on web.
    const auto looks = [&] {
        return QList<bool>{mail->font().underline(), web->font().underline(), mail->testAttribute(Qt::WA_SetCursor),
                           web->testAttribute(Qt::WA_SetCursor)};
    };
    const auto pointAt = [&](const char *name) { QTest::mouseMove(child<QWidget>(box, name), QPoint(4, 4)); };
    QTest::mouseMove(box, QPoint(1, 1)); // a move to where the pointer already is gets dropped
    pointAt("lblmailto");
    QCOMPARE(looks(), QList<bool>({true, false, true, false}));
    pointAt("lblweb");
    QCOMPARE(looks(), QList<bool>({false, true, false, true}));
    pointAt("Frame1"); // the hand stays on the link last pointed at
    QCOMPARE(looks(), QList<bool>({false, false, false, true}));
    pointAt("lblmailto");
    pointAt("lblAbout");
    QCOMPARE(looks(), QList<bool>({false, false, true, false}));
    QCOMPARE(mail->cursor().hotSpot(), QPoint(8, 3)); // our hand, not a standard cursor

    // A link that cannot be opened says why under the links while the pointer is on it;
    // nothing else of the box changes.
    const QImage before = box->grab().toImage();
    QLabel *error = child(box, "openError");
    m_ws->shellResult = 31;
    QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(error->isVisible());
    QCOMPARE(error->text(), QStringLiteral("Missing association type of file."));
    QVERIFY(error->y() > web->geometry().bottom() && error->x() == web->x());
    QVERIFY(error->mapTo(box, QPoint(0, error->height())).y() <= child<QPushButton>(box, "btnOK")->y());
    pointAt("Frame1");
    QVERIFY(!error->isVisible());
    QCOMPARE(box->grab().toImage(), before);
    m_ws->shellResult = 42;
    QTest::mouseClick(mail, Qt::RightButton, {}, QPoint(4, 4));
    QVERIFY(!error->isVisible());
    QCOMPARE(m_ws->opened, QStringList({QString(kAuthorWeb), "mailto:" + kAuthorMail}));
    QVERIFY(m_ws->messages.isEmpty());
    QVERIFY(fabout::loadedInstance() == box && box->isVisible());
}

// A delay that is no number or beyond the range gives no auto-close or the longest, never
// a wrapped interval; the modal timer row sees a delay close the box.
void tst_fabout::modelessBoxShowsThePictureAndStaysOnTop()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    ShowAboutBox(0.0f, QStringLiteral("Kept"), 101, true, &picture); // the given picture wins
    QCOMPARE(child(fabout::loadedInstance(), "imgIcon")->pixmap().size(), QSize(16, 16));
    QVERIFY(child(fabout::loadedInstance(), "lblAbout")->text().contains(QLatin1String("\nKept\n")));
    ShowAboutBox(0.0f, QString(), 0, true, nullptr); // an id below 1 shows none
    QVERIFY(child(fabout::loadedInstance(), "imgIcon")->pixmap().isNull());

    for (const auto &[seconds, interval] : {std::pair(float(qQNaN()), 0), std::pair(1e12f, INT_MAX)}) {
        fabout *box = showModeless(QString(), seconds);
        QVERIFY(box && box->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(std::tuple(box->Interval(), child<QTimer>(box, "TimerHide")->isActive()),
                 std::tuple(interval, interval > 0));
    }
    // Showing again without a delay stops the running clock instead of firing it at once.
    fabout *again = showModeless();
    QVERIFY(again && !child<QTimer>(again, "TimerHide")->isActive());
}

void tst_fabout::modalShowBeepsFirstAndReturnsOnceClosed_data()
{
    QTest::addColumn<int>("key"); // -1: nothing, the timer closes it
    QTest::addColumn<bool>("viaDateBox");
    QTest::newRow("Escape")         << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter")          << int(Qt::Key_Return) << false;
    QTest::newRow("timer")          << -1 << false;
    QTest::newRow("date box About") << int(Qt::Key_Escape) << true;
}

void tst_fabout::modalShowBeepsFirstAndReturnsOnceClosed()
{
    QFETCH(int, key);
    QFETCH(bool, viaDateBox);
    ucvPelidora dateBox;
    QPointer<fabout> seen;
    QStringList facts; // modal, picture width, interval, loaded after closing
    QVERIFY(showModal([&](fabout *box) {
        seen = box;
        facts << QString::number(box->isModal()) << QString::number(child(box, "imgIcon")->pixmap().width())
              << QString::number(box->Interval());
        if (key > 0)
            QTest::keyClick(box, Qt::Key(key));
        facts << QString::number(key >= 0 && (box->Loaded() || fabout::loadedInstance()));
    }, [&] { viaDateBox ? dateBox.About() : ShowAboutBox(key < 0 ? 0.05f : 0.0f, QString(), 101, false, nullptr); }));
    // Bitmap 101; only the timer row closes by itself.
    QCOMPARE(facts, QStringList({"1", "32", key < 0 ? "50" : "0", "0"}));
    QVERIFY(seen.isNull()); // gone by the time the modal show returns
    QCOMPARE(m_ws->messageBeeps, QList<unsigned>{0x40});
    QCOMPARE(m_ws->boxVisibleAtBeep, QList<bool>{false});
}

void tst_fabout::modalShowingNeverStrandsALoop()
{
    // Unloaded by one of the pending events that loading lets through: never shown.
    QTimer::singleShot(0, [] { UnloadAbout(); });
    QVERIFY(showModal([](fabout *) {}));
    QVERIFY(m_ws->messageBeeps.isEmpty());

    // Shown again while up: no second modal loop, which would have to end first.
    bool returned = false;
    QVERIFY(showModal([&](fabout *box) {
        ShowAbout(nullptr, QStringLiteral("again"), 101, false, nullptr);
        returned = fabout::loadedInstance() == box && box->isVisible();
        QTest::keyClick(box, Qt::Key_Escape);
    }));
    QVERIFY(returned);
    QCOMPARE(m_ws->messageBeeps.size(), 2);
}

// The e-mail line, then blank runs under the two link labels.
static const QStringList kLinkLines{QStringLiteral("for comments or bugs send e-mail to address:"),
                                    QString(20 + 12, u' ') + QStringLiteral("or check for updates on the web:"),
                                    QString(29, u' ')};

// Title and years not set by a date box: the library's own. Translated, each line keeps its place.
void tst_fabout::noCommentTextIsExactInEachLanguage()
{
    module().gAppTitle.clear();
    module().gAboutYears.clear();
    QCOMPARE(BuildAboutText(QString()).split(u'\r'),
             QStringList({"", "Pelidora  -  version 1.10.12", "", "\u00A9 2026 The Pelidora developers",
                          "Made in Example City", ""}) + kLinkLines);
    QCOMPARE(CountLineBreaks(QString(40000, u'\r')), qint16(32767));
    // Only a zero minor and revision together are left out.
    QCOMPARE(QStringList({versionText(1, 10, 12), versionText(2, 0, 0), versionText(2, 0, 5), versionText(2, 3, 0)}),
             QStringList({"1.10.12", "2.0", "2.0.5", "2.3.0"}));

    QPointer<fabout> box = fabout::instance();
    QVERIFY(installTranslator(QLocale("it_IT")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(box->windowTitle(), QStringLiteral("Informazioni"));
    QCOMPARE(BuildAboutText(QString()).split(u'\r'),
             QStringList({"", "Pelidora  -  versione 1.10.12", "", "\u00A9 2026 The Pelidora developers",
                          "Realizzato a Example City", "", "per commenti o errori scrivere all'indirizzo:",
                          QString(20 + 12, u' ') + "o cercare aggiornamenti sul web:", QString(29, u' ')}));
    // What ShellOpen returns for a failing code stays English; whoever shows it translates it.
    QStringList texts;
    for (const int code : {2, 3, 5, 27, 31, 32, 33}) {
        m_ws->shellResult = code;
        texts << ShellOpen(0, QStringLiteral("mailto:a@example.org"));
    }
    QCOMPARE(texts, QStringList({"File not found.", "Path not found.", "Access denied.",
                                 "Incomplete association type of file.", "Missing association type of file.",
                                 "Generic access file error.", ""}));
    QCOMPARE(QCoreApplication::translate("pelidora::fabout", "File not found."), QStringLiteral("File non trovato."));
    // A catalog belongs to the application's thread: from another one nothing is installed.
    bool installedElsewhere = true;
    std::thread([&] { installedElsewhere = installTranslator(QLocale("it_IT")); }).join();
    QVERIFY(!installedElsewhere);
    QVERIFY(!installTranslator(QLocale::c()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(box->windowTitle(), QStringLiteral("About"));
    delete box;
}

void tst_fabout::linkLinesStayInPlace_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("titleLine");
    QTest::addColumn<QStringList>("commentLines"); // between the title and the rights line
    QTest::addColumn<int>("forCommentsLine");
    const QStringList none{""};
    QTest::newRow("blanks only")     << QStringLiteral("   ") << 1 << none << 6;
    QTest::newRow("starts with CR")  << QStringLiteral("\rhidden") << 1 << none << 6;
    QTest::newRow("one line")        << QStringLiteral("  Beta  ") << 0 << QStringList{"  Beta  ", ""} << 6;
    QTest::newRow("two lines")       << QStringLiteral("a\rb") << 0 << QStringList{"a", "b", ""} << 6;
    QTest::newRow("three lines")     << QStringLiteral("a\rb\rc") << 0 << QStringList{"a", "b", "c"} << 6;
    QTest::newRow("LF breaks count") << QStringLiteral("a\nb\r\nc") << 0 << QStringList{"a", "b", "c"} << 6;
    QTest::newRow("40000 breaks, beyond 16 bits") << "x" + QString(40000, u'\r') + "y" << 0
                                                  << QStringList{"x"} + QStringList(39999, QString()) + QStringList{"y"}
                                                  << 40004;
}

void tst_fabout::linkLinesStayInPlace()
{
    QFETCH(QString, comment);
    QFETCH(int, titleLine);
    QFETCH(QStringList, commentLines);
    QFETCH(int, forCommentsLine);
    module().gAppTitle = QStringLiteral("Pelidora Demo");
    module().gAboutYears = QStringLiteral("2025-2026");
    const QStringList lines = BuildAboutText(comment).split(u'\r');
    QCOMPARE(lines.at(titleLine), QStringLiteral("Pelidora Demo  -  version 1.10.12"));
    QCOMPARE(lines.mid(titleLine + 1, commentLines.size() + 1),
             commentLines + QStringList{QStringLiteral("\u00A9 2025-2026 The Pelidora developers")});
    QCOMPARE(lines.mid(forCommentsLine), kLinkLines);
}

QTEST_MAIN(tst_fabout)
#include "tst_fabout.moc"
