#include "about/bas_ecrypttext.h"
#include "about/bas_handcursor.h"
#include "about/bas_menuabout.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

#include <QBitmap>
#include <QImage>
#include <QTest>

using namespace pelidora;

class tst_AboutText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void noCommentTextIsExact();
    void linkLinesStayInPlace_data();
    void linkLinesStayInPlace();
    void emptyTitleAndYearsFallBack();
    void versionText_data();
    void versionText();
    void countLineBreaks_data();
    void countLineBreaks();
    void commentWithThousandsOfLinesIsShownWhole();
    void webCaptionIsTheOpenedAddress();
    void shellOpenMapsCodesToTexts_data();
    void shellOpenMapsCodesToTexts();
    void handCursorHasItsHotSpotOnTheFingertip();
    void bitmapResources_data();
    void bitmapResources();
};

static const QString kTitleLine = QStringLiteral("Pelidora  -  version 1.10.12");
static const QString kForComments = QStringLiteral("for comments or bugs send e-mail to address:");

void tst_AboutText::init()
{
    module().gAppTitle = QStringLiteral("Pelidora");
    module().gAboutYears = QStringLiteral("2026");
}

void tst_AboutText::noCommentTextIsExact()
{
    const QString expected = QStringLiteral("\rPelidora  -  version 1.10.12\r\r"
                                            "\u00A9 2026 The Pelidora developers\r"
                                            "Made in Example City\r\r"
                                            "for comments or bugs send e-mail to address:\r")
        + QString(20 + 12, u' ') + QStringLiteral("or check for updates on the web:\r")
        + QString(29, u' ');
    QCOMPARE(BuildAboutText(QString()), expected);
}

void tst_AboutText::linkLinesStayInPlace_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("titleLine");
    QTest::addColumn<QStringList>("commentLines"); // between the title and the rights line
    QTest::addColumn<int>("forCommentsLine");

    const QStringList none{""};
    QTest::newRow("no comment")          << QString() << 1 << none << 6;
    QTest::newRow("blanks only")         << QStringLiteral("   ") << 1 << none << 6;
    QTest::newRow("starts with CR")      << QStringLiteral("\rhidden") << 1 << none << 6;
    QTest::newRow("one line")            << QStringLiteral("Beta build") << 0
                                         << QStringList{"Beta build", ""} << 6;
    QTest::newRow("one line, padded")    << QStringLiteral("  Beta  ") << 0
                                         << QStringList{"  Beta  ", ""} << 6;
    QTest::newRow("two lines")           << QStringLiteral("a\rb") << 0
                                         << QStringList{"a", "b", ""} << 6;
    QTest::newRow("three lines")         << QStringLiteral("a\rb\rc") << 0
                                         << QStringList{"a", "b", "c"} << 6;
    QTest::newRow("four lines push down") << QStringLiteral("a\rb\rc\rd") << 0
                                          << QStringList{"a", "b", "c", "d"} << 7;
    QTest::newRow("LF breaks count")     << QStringLiteral("a\nb\r\nc") << 0
                                         << QStringList{"a", "b", "c"} << 6;
    QTest::newRow("blanks then CR")      << QStringLiteral(" \rb") << 0
                                         << QStringList{" ", "b", ""} << 6;
}

void tst_AboutText::linkLinesStayInPlace()
{
    QFETCH(QString, comment);
    QFETCH(int, titleLine);
    QFETCH(QStringList, commentLines);
    QFETCH(int, forCommentsLine);

    const QString text = BuildAboutText(comment);
    QVERIFY(!text.contains(u'\n'));
    const QStringList lines = text.split(u'\r');
    QCOMPARE(lines.size(), forCommentsLine + 3);
    QCOMPARE(lines.at(titleLine), kTitleLine);
    if (titleLine == 1)
        QCOMPARE(lines.at(0), QString());
    QCOMPARE(lines.mid(titleLine + 1, commentLines.size()), commentLines);
    const int rightsLine = titleLine + 1 + int(commentLines.size());
    QCOMPARE(lines.at(rightsLine), QStringLiteral("\u00A9 2026 The Pelidora developers"));
    QCOMPARE(lines.at(rightsLine + 1), QString(kAuthorCity));
    QCOMPARE(lines.at(forCommentsLine), kForComments);
    QCOMPARE(lines.at(forCommentsLine + 1),
             QString(kAuthorMail.size() + 12, u' ') + QStringLiteral("or check for updates on the web:"));
    QCOMPARE(lines.at(forCommentsLine + 2), QString(kAuthorWeb.size(), u' '));
}

void tst_AboutText::emptyTitleAndYearsFallBack()
{
    module().gAppTitle.clear();
    module().gAboutYears.clear();
    QStringList lines = BuildAboutText(QString()).split(u'\r');
    QCOMPARE(lines.at(1), kTitleLine);
    QCOMPARE(lines.at(3), QStringLiteral("\u00A9 2026 The Pelidora developers"));

    module().gAppTitle = QStringLiteral("Host");
    module().gAboutYears = QStringLiteral("2024-2026");
    lines = BuildAboutText(QString()).split(u'\r');
    QCOMPARE(lines.at(1), QStringLiteral("Host  -  version 1.10.12"));
    QCOMPARE(lines.at(3), QStringLiteral("\u00A9 2024-2026 The Pelidora developers"));
}

void tst_AboutText::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("this library")      << 1 << 10 << 12 << "1.10.12";
    QTest::newRow("minor, revision 0") << 2 << 0 << 0 << "2.0";
    QTest::newRow("minor 0 only")      << 2 << 0 << 5 << "2.0.5";
    QTest::newRow("revision 0 only")   << 2 << 3 << 0 << "2.3.0";
}

void tst_AboutText::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QTEST(pelidora::versionText(major, minor, revision), "expected");
}

void tst_AboutText::countLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty")          << QString() << 0;
    QTest::newRow("none")           << QStringLiteral("abc") << 0;
    QTest::newRow("LF is not CR")   << QStringLiteral("a\nb") << 0;
    QTest::newRow("CR LF")          << QStringLiteral("a\r\nb") << 1;
    QTest::newRow("ends with CR")   << QStringLiteral("a\rb\r") << 2;
    QTest::newRow("beyond 16 bits") << QString(40000, u'\r') << 32767;
}

void tst_AboutText::countLineBreaks()
{
    QFETCH(QString, text);
    QTEST(int(CountLineBreaks(text)), "expected");
}

void tst_AboutText::commentWithThousandsOfLinesIsShownWhole()
{
    const QString comment = QStringLiteral("x") + QString(40000, u'\r') + QStringLiteral("y");
    const QStringList lines = BuildAboutText(comment).split(u'\r');
    QCOMPARE(lines.at(0), kTitleLine);
    QCOMPARE(lines.at(40001), QStringLiteral("y"));
    QCOMPARE(lines.at(lines.size() - 3), kForComments);
}

void tst_AboutText::webCaptionIsTheOpenedAddress()
{
    // The blank run under the caption is as long as the opened address.
    QCOMPARE(BuildWebAddress(), QString(kAuthorWeb));
    QVERIFY(!BuildHolderName().trimmed().isEmpty());
}

void tst_AboutText::shellOpenMapsCodesToTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2")        << 2 << "File not found.";
    QTest::newRow("3")        << 3 << "Path not found.";
    QTest::newRow("5")        << 5 << "Access denied.";
    QTest::newRow("27")       << 27 << "Incomplete association type of file.";
    QTest::newRow("31")       << 31 << "Missing association type of file.";
    QTest::newRow("0")        << 0 << "Generic access file error.";
    QTest::newRow("8")        << 8 << "Generic access file error.";
    QTest::newRow("negative") << -1 << "Generic access file error.";
    QTest::newRow("32")       << 32 << "Generic access file error.";
    QTest::newRow("33")       << 33 << "";
    QTest::newRow("42")       << 42 << "";
}

void tst_AboutText::shellOpenMapsCodesToTexts()
{
    QFETCH(int, code);
    test::FakeWindowSystem ws;
    ws.shellResult = code;
    QTEST(ShellOpen(0, QStringLiteral("mailto:a@example.org")), "expected");
    QCOMPARE(ws.opened, QStringList{"mailto:a@example.org"});
}

void tst_AboutText::handCursorHasItsHotSpotOnTheFingertip()
{
    const QCursor hand = handCursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(8, 3));
    const QImage shape = hand.bitmap().toImage();
    const QImage mask = hand.mask().toImage();
    QCOMPARE(shape.size(), QSize(32, 32));
    // Bitmap and mask set: black. Mask clear: see-through.
    QVERIFY(mask.pixelIndex(8, 3) && shape.pixelIndex(8, 3));
    QVERIFY(!mask.pixelIndex(0, 0));
    QVERIFY(mask.pixelIndex(8, 6) && !shape.pixelIndex(8, 6)); // white inside the finger
}

void tst_AboutText::bitmapResources_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size"); // empty: no such bitmap
    QTest::newRow("About picture") << 101 << QSize(32, 32);
    QTest::newRow("unknown")       << 364 << QSize();
    QTest::newRow("zero")          << 0 << QSize();
    QTest::newRow("negative")      << -101 << QSize();
}

void tst_AboutText::bitmapResources()
{
    QFETCH(int, id);
    QFETCH(QSize, size);
    const QPixmap pixmap = bitmapResource(id);
    QCOMPARE(pixmap.isNull(), size.isEmpty());
    if (!size.isEmpty())
        QCOMPARE(pixmap.size(), size);
}

QTEST_MAIN(tst_AboutText)
#include "tst_about_text.moc"
