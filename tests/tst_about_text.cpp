// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/bas_menuabout.h"
#include "about/fabout.h"
#include "shared/mpelidora.h"
#include "support/testsupport.h"

#include <pelidora/translations.h>

#include <QPointer>
#include <QTest>

#include <thread>

using namespace pelidora;

class tst_AboutText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void noCommentTextIsExactInEachLanguage();
    void linkLinesStayInPlace_data();
    void linkLinesStayInPlace();
};

// The e-mail line, then blank runs under the two link labels.
static const QStringList kLinkLines{QStringLiteral("for comments or bugs send e-mail to address:"),
                                    QString(20 + 12, u' ') + QStringLiteral("or check for updates on the web:"),
                                    QString(29, u' ')};

// Title and years not set by a date box: the library's own. Translated, each line keeps its place.
void tst_AboutText::noCommentTextIsExactInEachLanguage()
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

    test::FakeWindowSystem ws;
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
        ws.shellResult = code;
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

QTEST_MAIN(tst_AboutText)
#include "tst_about_text.moc"
