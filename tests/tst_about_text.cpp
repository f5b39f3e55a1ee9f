#include "about/bas_menuabout.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

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
    void lineBreakCountSaturates();
    void versionText_data();
    void versionText();
    void shellOpenMapsCodesToTexts_data();
    void shellOpenMapsCodesToTexts();
};

static const QString kTitleLine = QStringLiteral("Pelidora Demo  -  version 1.10.12");
static const QString kRightsLine = QStringLiteral("\u00A9 2025-2026 The Pelidora developers");

void tst_AboutText::init()
{
    module().gAppTitle = QStringLiteral("Pelidora Demo");
    module().gAboutYears = QStringLiteral("2025-2026");
}

void tst_AboutText::noCommentTextIsExact()
{
    // Title and years not set by a date box: the library's own.
    module().gAppTitle.clear();
    module().gAboutYears.clear();
    const QString expected = QStringLiteral("\rPelidora  -  version 1.10.12\r\r"
                                            "\u00A9 2026 The Pelidora developers\rMade in Example City\r\r"
                                            "for comments or bugs send e-mail to address:\r")
        + QString(20 + 12, u' ') + QStringLiteral("or check for updates on the web:\r") + QString(29, u' ');
    QCOMPARE(BuildAboutText(QString()), expected);
}

void tst_AboutText::linkLinesStayInPlace_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("titleLine");
    QTest::addColumn<QStringList>("commentLines"); // between the title and the rights line
    QTest::addColumn<int>("forCommentsLine");
    const QStringList none{""};
    QTest::newRow("no comment")      << QString() << 1 << none << 6;
    QTest::newRow("blanks only")     << QStringLiteral("   ") << 1 << none << 6;
    QTest::newRow("starts with CR")  << QStringLiteral("\rhidden") << 1 << none << 6;
    QTest::newRow("one line")        << QStringLiteral("  Beta  ") << 0 << QStringList{"  Beta  ", ""} << 6;
    QTest::newRow("two lines")       << QStringLiteral("a\rb") << 0 << QStringList{"a", "b", ""} << 6;
    QTest::newRow("three lines")     << QStringLiteral("a\rb\rc") << 0 << QStringList{"a", "b", "c"} << 6;
    QTest::newRow("four lines push") << QStringLiteral("a\rb\rc\rd") << 0 << QStringList{"a", "b", "c", "d"} << 7;
    QTest::newRow("LF breaks count") << QStringLiteral("a\nb\r\nc") << 0 << QStringList{"a", "b", "c"} << 6;
}

void tst_AboutText::linkLinesStayInPlace()
{
    QFETCH(QString, comment);
    QFETCH(int, titleLine);
    QFETCH(QStringList, commentLines);
    QFETCH(int, forCommentsLine);
    const QStringList lines = BuildAboutText(comment).split(u'\r');
    QCOMPARE(lines.size(), forCommentsLine + 3);
    QCOMPARE(lines.at(titleLine), kTitleLine);
    QCOMPARE(lines.mid(titleLine + 1, commentLines.size()), commentLines);
    QCOMPARE(lines.at(titleLine + 1 + commentLines.size()), kRightsLine);
    QCOMPARE(lines.at(forCommentsLine), QStringLiteral("for comments or bugs send e-mail to address:"));
    QCOMPARE(lines.at(forCommentsLine + 1),
             QString(kAuthorMail.size() + 12, u' ') + QStringLiteral("or check for updates on the web:"));
    QCOMPARE(lines.at(forCommentsLine + 2), QString(kAuthorWeb.size(), u' '));
}

void tst_AboutText::lineBreakCountSaturates()
{
    const QString comment = QStringLiteral("x") + QString(40000, u'\r') + QStringLiteral("y");
    QCOMPARE(CountLineBreaks(comment), qint16(32767));
    const QStringList lines = BuildAboutText(comment).split(u'\r');
    QCOMPARE(lines.at(40001), QStringLiteral("y")); // the whole comment, then the rest
    QCOMPARE(lines.at(40002), kRightsLine);
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

void tst_AboutText::shellOpenMapsCodesToTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2")  << 2 << "File not found.";
    QTest::newRow("3")  << 3 << "Path not found.";
    QTest::newRow("5")  << 5 << "Access denied.";
    QTest::newRow("27") << 27 << "Incomplete association type of file.";
    QTest::newRow("31") << 31 << "Missing association type of file.";
    QTest::newRow("0")  << 0 << "Generic access file error.";
    QTest::newRow("-1") << -1 << "Generic access file error.";
    QTest::newRow("32") << 32 << "Generic access file error.";
    QTest::newRow("33") << 33 << "";
}

void tst_AboutText::shellOpenMapsCodesToTexts()
{
    QFETCH(int, code);
    test::FakeWindowSystem ws;
    ws.shellResult = code;
    QTEST(ShellOpen(0, QStringLiteral("mailto:a@example.org")), "expected");
    QCOMPARE(ws.opened, QStringList{"mailto:a@example.org"});
}

QTEST_MAIN(tst_AboutText)
#include "tst_about_text.moc"
