#include "platform/windowsystem.h"
#include "support/testsupport.h"

#include <pelidora/platform.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSettings>
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
    void profileValueLandsInTheConfigFolder();
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

void tst_WindowSystem::profileValueLandsInTheConfigFolder()
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QVERIFY(ws.writeProfileValue("WndParent", "Class", "ThunderForm", "pelidora.ini"));
    QSettings ini(QDir(home.path()).filePath("pelidora.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value("WndParent/Class").toString(), "ThunderForm");

    // A folder that cannot be made loses the record without complaint.
    qputenv("XDG_CONFIG_HOME", "/proc/no-such-folder");
    QCOMPARE(ws.writeProfileValue("WndParent", "Class", "x", "pelidora.ini"), 0);
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
