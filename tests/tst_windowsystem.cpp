#include "platform/profilefile.h"
#include "platform/windowsystem.h"
#include "support/filehelpers.h"
#include "support/testsupport.h"

#include <pelidora/platform.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

using namespace pelidora;

class tst_WindowSystem : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handlesAreStableAndNeverReused();
    void parentClassAndRectOfAChild();
    void installedReplacementSeesTheSameHandles();
    void installedSinkTakesMessagesAndSounds();
    void hiddenCaretReturnsWithTheNextFocus();
    void focusInAnOpenListBelongsToTheList();
    void profileValueKeepsTheRestOfTheFile_data();
    void profileValueKeepsTheRestOfTheFile();
    void profileFileIsWrittenSafelyEveryTime_data();
    void profileFileIsWrittenSafelyEveryTime();
    void shellOpensLocalDocumentsAndSomeAddresses_data();
    void shellOpensLocalDocumentsAndSomeAddresses();

private:
    platform::WindowSystem &ws = platform::windowSystem(); // the desktop's
};

void tst_WindowSystem::handlesAreStableAndNeverReused()
{
    QCOMPARE(ws.handleOf(nullptr), 0);
    qint32 first;
    {
        QWidget a;
        first = ws.handleOf(&a);
        QVERIFY(first > 0);
        QCOMPARE(ws.handleOf(&a), first);
        QCOMPARE(ws.widgetOf(first), &a);
    }
    QCOMPARE(ws.widgetOf(first), nullptr); // gone with its widget
    QWidget b;
    QVERIFY(ws.handleOf(&b) > first);
    QCOMPARE(ws.widgetOf(0), nullptr);
}

void tst_WindowSystem::parentClassAndRectOfAChild()
{
    QWidget form;
    form.setGeometry(100, 120, 300, 200);
    QWidget child(&form);
    child.setGeometry(10, 20, 50, 30);

    const qint32 hChild = ws.handleOf(&child);
    const qint32 hForm = ws.parentHandle(hChild);
    QCOMPARE(ws.widgetOf(hForm), &form);
    QCOMPARE(ws.parentHandle(hForm), 0); // a top-level window has no parent

    QCOMPARE(ws.classNameOf(hForm), QStringLiteral("QWidget"));
    form.setProperty("windowClass", QStringLiteral("ThunderTestForm"));
    QCOMPARE(ws.classNameOf(hForm), QStringLiteral("ThunderTestForm"));
    QCOMPARE(ws.classNameOf(123456789), QString());

    QRect rect;
    QVERIFY(ws.windowRect(hChild, &rect));
    QCOMPARE(rect, QRect(110, 140, 50, 30)); // global, not within the form
    QVERIFY(!ws.windowRect(123456789, &rect));
}

void tst_WindowSystem::installedReplacementSeesTheSameHandles()
{
    QWidget w;
    const qint32 h = platform::windowSystem().handleOf(&w);
    test::FakeWindowSystem fake;
    QCOMPARE(&platform::windowSystem(), static_cast<platform::WindowSystem *>(&fake));
    QCOMPARE(fake.widgetOf(h), &w);
    platform::windowSystem().beep();
    QCOMPARE(fake.beeps, 1);
}

// What a headless host installs: the library's messages and the host's own reach it, and
// nothing waits for a person.
void tst_WindowSystem::installedSinkTakesMessagesAndSounds()
{
    struct Sink : MessageSink {
        QStringList heard;
        void showMessage(const QString &text, Icon icon, const QString &title) override
        {
            heard << QStringLiteral("%1|%2|%3").arg(text).arg(int(icon)).arg(title);
        }
        void beep() override { heard << QStringLiteral("beep"); }
    } sink;
    QCOMPARE(setMessageSink(&sink), nullptr);
    showMessage("Can't set it.", MessageSink::Icon::Warning, "pelidora-host");
    QCOMPARE(ws.showMessage("Can't assign font size greater than 12.", platform::WindowSystem::MbIconCritical), 1);
    ws.beep();
    ws.messageBeep(platform::WindowSystem::MbIconAsterisk);
    QCOMPARE(setMessageSink(nullptr), &sink);
    QCOMPARE(sink.heard, QStringList({"Can't set it.|48|pelidora-host",
                                      "Can't assign font size greater than 12.|16|Pelidora", "beep", "beep"}));
}

void tst_WindowSystem::hiddenCaretReturnsWithTheNextFocus()
{
    QWidget form;
    auto *edit = new QLineEdit(&form);
    auto *other = new QLineEdit(&form);
    other->move(0, 40);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());

    QVERIFY(ws.hideCaret(ws.handleOf(edit)));
    QCOMPARE(edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, edit), 0);
    QVERIFY(ws.hideCaret(ws.handleOf(edit))); // twice is harmless

    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QVERIFY(edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, edit) > 0);

    QVERIFY(!ws.hideCaret(ws.handleOf(&form))); // not a text field
}

void tst_WindowSystem::focusInAnOpenListBelongsToTheList()
{
    QWidget form;
    auto *list = new QComboBox(&form);
    list->addItems({QStringLiteral("1900"), QStringLiteral("1901")});
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    QVERIFY(QApplication::focusWidget() != list); // Qt hands the focus to the popup
    QCOMPARE(ws.widgetOf(ws.focusedHandle()), list);
}

void tst_WindowSystem::profileValueKeepsTheRestOfTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    const QString v = QStringLiteral("ThunderForm");
    QTest::newRow("empty") << QByteArray() << v << QByteArray("[WndParent]\nClass=ThunderForm\n");
    QTest::newRow("other sections and comments") << QByteArray("; mine\n[Other]\nA=1\n") << v
                                                 << QByteArray("; mine\n[Other]\nA=1\n[WndParent]\nClass=ThunderForm\n");
    QTest::newRow("no final line end") << QByteArray("x=1") << v << QByteArray("x=1\n[WndParent]\nClass=ThunderForm\n");
    QTest::newRow("key replaced") << QByteArray("[WndParent]\n; note\nClass=Old\nOther = 2\n") << v
                                  << QByteArray("[WndParent]\n; note\nClass=ThunderForm\nOther = 2\n");
    QTest::newRow("CR LF") << QByteArray("[WndParent]\r\nClass=Old\r\n[Next]\r\n") << v
                           << QByteArray("[WndParent]\r\nClass=ThunderForm\r\n[Next]\r\n");
    QTest::newRow("CR LF, key added") << QByteArray("[WndParent]\r\nA=1") << v
                                      << QByteArray("[WndParent]\r\nA=1\r\nClass=ThunderForm\r\n");
    QTest::newRow("added before the blank lines") << QByteArray("[WndParent]\nA=1\n\n[Next]\n") << v
                                                  << QByteArray("[WndParent]\nA=1\nClass=ThunderForm\n\n[Next]\n");
    QTest::newRow("names without case and blanks") << QByteArray(" [ wndparent ] ; x\n  CLASS  = Old\n") << v
                                                   << QByteArray(" [ wndparent ] ; x\nClass=ThunderForm\n");
    QTest::newRow("the first of repeats") << QByteArray("[WndParent]\nClass=a\nClass=b\n[WndParent]\nClass=c\n") << v
                                          << QByteArray("[WndParent]\nClass=ThunderForm\nClass=b\n[WndParent]\nClass=c\n");
    QTest::newRow("another section's key") << QByteArray("[Other]\nClass=x\n") << v
                                           << QByteArray("[Other]\nClass=x\n[WndParent]\nClass=ThunderForm\n");
    QTest::newRow("commented out") << QByteArray("[WndParent]\n;Class=Old\n#Class=Old\n") << v
                                   << QByteArray("[WndParent]\n;Class=Old\n#Class=Old\nClass=ThunderForm\n");
    QTest::newRow("odd lines") << QByteArray("]] [\n=\n\x01\xff\n[WndParent\n") << v
                               << QByteArray("]] [\n=\n\x01\xff\n[WndParent\n[WndParent]\nClass=ThunderForm\n");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[WndParent]\nClass=a\n") << v
                                     << QByteArray("\xEF\xBB\xBF[WndParent]\nClass=ThunderForm\n");
    QTest::newRow("value as given") << QByteArray() << QStringLiteral(R"( a,b=c;d "e" \f [x] é )")
                                    << QByteArray("[WndParent]\nClass= a,b=c;d \"e\" \\f [x] \xC3\xA9 \n");
    QTest::newRow("CR and LF become blanks") << QByteArray("[WndParent]\nClass=a\nB=1\n")
                                             << QStringLiteral("Thunder\r\nForm\rX\nY")
                                             << QByteArray("[WndParent]\nClass=Thunder  Form X Y\nB=1\n");
}

void tst_WindowSystem::profileValueKeepsTheRestOfTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QCOMPARE(platform::withProfileValue(before, "WndParent", "Class", value), after);
}

void tst_WindowSystem::profileFileIsWrittenSafelyEveryTime_data()
{
    QTest::addColumn<QString>("what"); // at pelidora.ini: see makeAt; "large", "link", "edited", "no folder"
    QTest::addColumn<int>("result");
    QTest::newRow("no file yet") << "" << 1;
    QTest::newRow("edited by hand since") << "edited" << 1;
    QTest::newRow("symbolic link") << "link" << 1;
    QTest::newRow("FIFO") << "fifo" << 0;
    QTest::newRow("directory") << "directory" << 0;
    QTest::newRow("link loop") << "loop" << 0;
    QTest::newRow("above 1 MiB") << "large" << 0;
    QTest::newRow("folder cannot be made") << "no folder" << 0;
}

// Never waits on what stands there, and touches nothing it cannot update in place.
void tst_WindowSystem::profileFileIsWrittenSafelyEveryTime()
{
    QFETCH(QString, what);
    QFETCH(int, result);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", what == "no folder" ? QByteArray("/proc/no-such-folder") : home.path().toLocal8Bit());
    const QString path = home.filePath("pelidora.ini"), target = home.filePath("real.ini");
    const QByteArray large = "; " + QByteArray(platform::kMaxProfileBytes, 'x') + "\n[WndParent]\nClass=Old\n";
    if (what == "large")
        QVERIFY(test::writeFile(path, large));
    else if (what == "link")
        QVERIFY(test::writeFile(target, "; mine\n") && QFile::link(target, path));
    else
        test::makeAt(path, what);
    if (what == "edited") {
        QVERIFY(ws.writeProfileValue("WndParent", "Class", "ThunderForm", "pelidora.ini"));
        QVERIFY(test::writeFile(path, "[WndParent]\nClass=Edited\n"));
    }
    const QString before = test::whatStandsAt(path);

    QCOMPARE(ws.writeProfileValue("WndParent", "Class", "ThunderForm", "pelidora.ini"), result);
    const QByteArray record("[WndParent]\nClass=ThunderForm\n");
    if (what == "link") {
        QCOMPARE(test::whatStandsAt(path), "link to " + target);
        QCOMPARE(test::fileBytes(target), "; mine\n" + record);
    } else if (result) {
        QCOMPARE(test::fileBytes(path), record);
    } else {
        QCOMPARE(test::whatStandsAt(path), before);
    }
    QCOMPARE(QDir(home.path()).entryList(QDir::Hidden | QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot).filter(
                 QRegularExpression("^\\.")),
             QStringList());
}

void tst_WindowSystem::shellOpensLocalDocumentsAndSomeAddresses_data()
{
    QTest::addColumn<QString>("document"); // "~": the test's folder
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("handed");   // what the opener gets; "~" as above
    const QString none;
    QTest::newRow("blank") << "   " << 2 << none;
    QTest::newRow("no such file") << "~/missing.txt" << 2 << none;
    QTest::newRow("no such file, like an option") << "--help" << 2 << none;
    QTest::newRow("file like an option") << "~/-n notes.txt" << 42 << "file://~/-n%20notes.txt";
    QTest::newRow("relative to the current folder") << "-n notes.txt" << 42 << "file://~/-n%20notes.txt";
    QTest::newRow("folder") << "~" << 42 << "file://~";
    QTest::newRow("file: URL") << "file://~/-n%20notes.txt" << 42 << "file://~/-n%20notes.txt";
    QTest::newRow("missing file: URL") << "file:///no/such/file" << 2 << none;
    QTest::newRow("web") << "https://pelidora.example.org/" << 42 << "https://pelidora.example.org/";
    QTest::newRow("mail") << "mailto:pelidora@example.org" << 42 << "mailto:pelidora@example.org";
    QTest::newRow("other address") << "javascript:alert(1)" << 5 << none;
}

// Through a stand-in opener on PATH that notes what it was given.
void tst_WindowSystem::shellOpensLocalDocumentsAndSomeAddresses()
{
    QFETCH(QString, document);
    QFETCH(int, result);
    QFETCH(QString, handed);
    QTemporaryDir dir;
    const QString home = QDir(dir.path()).canonicalPath();
    QVERIFY(QDir(home).mkdir("bin"));
    QFile opener(home + "/bin/xdg-open");
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.handed\"\n");
    opener.close();
    QVERIFY(opener.setPermissions(opener.permissions() | QFile::ExeOwner));
    QFile notes(home + "/-n notes.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    const QByteArray path = qgetenv("PATH");
    const QString folder = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        qputenv("PATH", path);
        QDir::setCurrent(folder);
    });
    qputenv("PATH", QFile::encodeName(home + "/bin"));
    QDir::setCurrent(home);

    QCOMPARE(ws.openDocument(document.replace("~", home)), result);
    QFile note(home + "/bin/xdg-open.handed");
    if (handed.isNull()) {
        QVERIFY(!note.exists());
    } else {
        QTRY_VERIFY(note.exists() && note.size() > 0);
        QVERIFY(note.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(note.readAll()), handed.replace("~", home) + "\n");
    }
    // Without an opener on the path.
    qputenv("PATH", "/nonexistent");
    QCOMPARE(ws.openDocument(document), result == 42 ? 31 : result);
}

QTEST_MAIN(tst_WindowSystem)
#include "tst_windowsystem.moc"
