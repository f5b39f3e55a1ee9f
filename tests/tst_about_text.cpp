#include "about/bas_menuabout.h"
#include "about/fabout.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

#include <pelidora/translations.h>

#include <QPointer>
#include <QTest>

using namespace pelidora;

class tst_AboutText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void noCommentTextIsExact();
    void linkLinesStayInPlace_data();
    void linkLinesStayInPlace();
    void versionTextDropsOnlyAZeroMinorAndRevision();
    void shellOpenMapsCodesToTexts_data();
    void shellOpenMapsCodesToTexts();
    void translatedLinesKeepTheirPlaces();
};

// The e-mail line, then blank runs under the two link labels.
static const QStringList kLinkLines{QStringLiteral("for comments or bugs send e-mail to address:"),
                                    QString(20 + 12, u' ') + QStringLiteral("or check for updates on the web:"),
                                    QString(29, u' ')};

void tst_AboutText::noCommentTextIsExact()
{
    // Title and years not set by a date box: the library's own.
    module().gAppTitle.clear();
    module().gAboutYears.clear();
    const QString expected = QStringLiteral("\rPelidora  -  version 1.10.12\r\r"
                                            "\u00A9 2026 The Pelidora developers\rMade in Example City\r\r");
    QCOMPARE(BuildAboutText(QString()), expected + kLinkLines.join(u'\r'));
    QCOMPARE(CountLineBreaks(QString(40000, u'\r')), qint16(32767));
}

void tst_AboutText::linkLinesStayInPlace_data()
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
    QTest::newRow("four lines push") << QStringLiteral("a\rb\rc\rd") << 0 << QStringList{"a", "b", "c", "d"} << 7;
    QTest::newRow("LF breaks count") << QStringLiteral("a\nb\r\nc") << 0 << QStringList{"a", "b", "c"} << 6;
    QTest::newRow("40000 breaks, beyond 16 bits") << "x" + QString(40000, u'\r') + "y" << 0
                                                  << QStringList{"x"} + QStringList(39999, QString()) + QStringList{"y"}
                                                  << 40004;
}

void tst_AboutText::linkLinesStayInPlace()
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

void tst_AboutText::versionTextDropsOnlyAZeroMinorAndRevision()
{
    QCOMPARE(versionText(1, 10, 12), QStringLiteral("1.10.12"));
    QCOMPARE(versionText(2, 0, 0), QStringLiteral("2.0"));
    QCOMPARE(versionText(2, 0, 5), QStringLiteral("2.0.5"));
    QCOMPARE(versionText(2, 3, 0), QStringLiteral("2.3.0"));
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

void tst_AboutText::translatedLinesKeepTheirPlaces()
{
    module().gAppTitle.clear();
    module().gAboutYears.clear();
    test::FakeWindowSystem ws;
    QPointer<fabout> box = fabout::instance();
    QVERIFY(installTranslator(QLocale("it_IT")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(box->windowTitle(), QStringLiteral("Informazioni"));
    QCOMPARE(BuildAboutText(QString()).split(u'\r'),
             QStringList({"", "Pelidora  -  versione 1.10.12", "", "\u00A9 2026 The Pelidora developers",
                          "Realizzato a Example City", "", "per commenti o errori scrivere all'indirizzo:",
                          QString(20 + 12, u' ') + "o cercare aggiornamenti sul web:", QString(29, u' ')}));
    // What ShellOpen returns stays English; whoever shows it translates it.
    ws.shellResult = 2;
    QCOMPARE(ShellOpen(0, QStringLiteral("mailto:a@example.org")), QStringLiteral("File not found."));
    QCOMPARE(QCoreApplication::translate("pelidora::fabout", "File not found."), QStringLiteral("File non trovato."));

    QVERIFY(!installTranslator(QLocale::c()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(box->windowTitle(), QStringLiteral("About"));
    delete box;
}

QTEST_MAIN(tst_AboutText)
#include "tst_about_text.moc"
