// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/os/profilefile.h"
#include "platform/os/windowsystem.h"
#include "support/filehelpers.h"

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
    void handlesNameWidgetsParentsClassesAndPlaces();
    void installedSinkTakesMessagesAndSounds();
    void caretAndFocusOfFieldsAndLists();
    void profileValueKeepsTheRestOfTheFile_data();
    void profileValueKeepsTheRestOfTheFile();
    void profileFileIsWrittenSafelyEveryTime_data();
    void profileFileIsWrittenSafelyEveryTime();
    void shellOpensLocalDocumentsAndSomeAddresses_data();
    void shellOpensLocalDocumentsAndSomeAddresses();

private:
    platform::WindowSystem &ws = platform::windowSystem(); // the desktop's
};

// A handle is never reused. (That a replacement, as the tests install, sees the same ones
// and takes the sounds, every suite on FakeWindowSystem shows.)
void tst_WindowSystem::handlesNameWidgetsParentsClassesAndPlaces()
{
    QVERIFY(ws.handleOf(nullptr) == 0 && !ws.widgetOf(0));
    auto form = std::make_unique<QWidget>();
    form->setGeometry(100, 120, 300, 200);
    QWidget *child = new QWidget(form.get());
    child->setGeometry(10, 20, 50, 30);
    const qint32 hChild = ws.handleOf(child), hForm = ws.parentHandle(hChild);
    QVERIFY(hChild > 0 && ws.handleOf(child) == hChild && ws.widgetOf(hChild) == child);
    QCOMPARE(std::tuple(ws.widgetOf(hForm), ws.parentHandle(hForm)), std::tuple(form.get(), 0)); // top level: none
    QCOMPARE(ws.classNameOf(hForm), QStringLiteral("QWidget"));
    form->setProperty("windowClass", QStringLiteral("ThunderTestForm"));
    QCOMPARE(QStringList({ws.classNameOf(hForm), ws.classNameOf(123456789)}), QStringList({"ThunderTestForm", ""}));
    QRect rect;
    QVERIFY(ws.windowRect(hChild, &rect) && !ws.windowRect(123456789, &rect));
    QCOMPARE(rect, QRect(110, 140, 50, 30)); // global, not within the form
    form.reset();
    QCOMPARE(ws.widgetOf(hChild), nullptr); // gone with its widget
    QWidget later;
    QVERIFY(ws.handleOf(&later) > hForm);
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

void tst_WindowSystem::caretAndFocusOfFieldsAndLists()
{
    QWidget form;
    auto *edit = new QLineEdit(&form);
    auto *other = new QLineEdit(&form);
    auto *list = new QComboBox(&form);
    other->move(0, 40);
    list->move(0, 80);
    list->addItems({QStringLiteral("1900"), QStringLiteral("1901")});
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto caretWidth = [&] { return edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, edit); };
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QVERIFY(ws.hideCaret(ws.handleOf(edit)) && ws.hideCaret(ws.handleOf(edit))); // twice is harmless
    QCOMPARE(caretWidth(), 0);
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QVERIFY(caretWidth() > 0); // back with the next focus
    QVERIFY(!ws.hideCaret(ws.handleOf(&form))); // not a text field

    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    QVERIFY(QApplication::focusWidget() != list); // Qt hands the focus to the popup
    QCOMPARE(ws.widgetOf(ws.focusedHandle()), list); // but it belongs to the list
    list->hidePopup();

    // A popup that holds its own parts keeps their focus, and a shown one is not remade
    // topmost (that would end its grab).
    QWidget popup(&form, Qt::Popup);
    popup.setProperty(platform::kOwnsFocusProperty, true);
    auto *inPopup = new QLineEdit(&popup);
    popup.show();
    inPopup->setFocus();
    QTRY_VERIFY(inPopup->hasFocus());
    QCOMPARE(ws.widgetOf(ws.focusedHandle()), inPopup);
    QVERIFY(ws.makeTopmost(ws.handleOf(&popup)) && !(popup.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(ws.placesTopLevels()); // offscreen, as X11
}

void tst_WindowSystem::profileValueKeepsTheRestOfTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    const auto row = [](const char *name, const QByteArray &before, const QByteArray &after,
                        const QString &value = QStringLiteral("ThunderForm")) {
        QTest::newRow(name) << before << value << after;
    };
    const QByteArray added("[WndParent]\nClass=ThunderForm\n");
    row("empty", "", added);
    row("no final line end", "x=1", "x=1\n" + added);
    row("key replaced", "[WndParent]\n; note\nClass=Old\nOther = 2\n",
        "[WndParent]\n; note\nClass=ThunderForm\nOther = 2\n");
    row("CR LF", "[WndParent]\r\nClass=Old\r\n[Next]\r\n", "[WndParent]\r\nClass=ThunderForm\r\n[Next]\r\n");
    row("CR LF, key added", "[WndParent]\r\nA=1", "[WndParent]\r\nA=1\r\nClass=ThunderForm\r\n");
    row("CR alone, key added", "[WndParent]\rA=1", "[WndParent]\rA=1\rClass=ThunderForm\r");
    row("added before the blank lines", "[WndParent]\nA=1\n\n[Next]\n",
        "[WndParent]\nA=1\nClass=ThunderForm\n\n[Next]\n");
    row("names without case and blanks", " [ wndparent ] ; x\n  CLASS  = Old\n",
        " [ wndparent ] ; x\nClass=ThunderForm\n");
    row("the first of repeats", "[WndParent]\nClass=a\nClass=b\n[WndParent]\nClass=c\n",
        "[WndParent]\nClass=ThunderForm\nClass=b\n[WndParent]\nClass=c\n");
    row("another section's key", "[Other]\nClass=x\n", "[Other]\nClass=x\n" + added);
    row("commented out", "[WndParent]\n;Class=Old\n#Class=Old\n", "[WndParent]\n;Class=Old\n#Class=Old\nClass=ThunderForm\n");
    row("odd lines", "]] [\n=\n\x01\xff\n[WndParent\n", "]] [\n=\n\x01\xff\n[WndParent\n" + added);
    row("byte order mark", "\xEF\xBB\xBF[WndParent]\nClass=a\n", "\xEF\xBB\xBF" + added);
    row("value as given", "", "[WndParent]\nClass= a,b=c;d \"e\" \\f [x] \xC3\xA9 \n",
        QStringLiteral(R"( a,b=c;d "e" \f [x] é )"));
    row("CR and LF become blanks", "[WndParent]\nClass=a\nB=1\n", "[WndParent]\nClass=Thunder  Form X Y\nB=1\n",
        QStringLiteral("Thunder\r\nForm\rX\nY"));
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
    QTest::addColumn<QString>("what"); // at pelidora.ini: see makeAt; "large", "edited", "no folder", "form"
    QTest::addColumn<int>("result");
    QTest::newRow("no file yet") << "" << 1;
    QTest::newRow("edited by hand since") << "edited" << 1;
    // The rest of what is no regular file, and links, are the form file's rows (tst_formfile):
    // the same code reads and replaces both.
    QTest::newRow("FIFO") << "fifo" << 0;
    QTest::newRow("above 1 MiB") << "large" << 0;
    QTest::newRow("a form file") << "form" << 0;
    QTest::newRow("folder cannot be made") << "no folder" << 0;
}

// Never waits on what stands there, and touches nothing it cannot update in place.
void tst_WindowSystem::profileFileIsWrittenSafelyEveryTime()
{
    QFETCH(QString, what);
    QFETCH(int, result);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", what == "no folder" ? QByteArray("/proc/no-such-folder") : home.path().toLocal8Bit());
    const QString path = home.filePath("pelidora.ini");
    const QByteArray large = QByteArray(platform::kMaxProfileBytes, 'x') + "\n[WndParent]\nClass=Old\n";
    if (what == "large")
        QVERIFY(test::writeFile(path, "; " + large));
    else if (what == "form")
        QVERIFY(test::writeFile(path, "\xEF\xBB\xBF \r\n{\"format\": \"pelidora-form\"}\n"));
    else
        test::makeAt(path, what);
    if (what == "edited") {
        QVERIFY(ws.writeProfileValue("WndParent", "Class", "ThunderForm", "pelidora.ini"));
        QVERIFY(test::writeFile(path, "[WndParent]\nClass=Edited\n"));
    }
    const QString before = test::whatStandsAt(path);

    QCOMPARE(ws.writeProfileValue("WndParent", "Class", "ThunderForm", "pelidora.ini"), result);
    const QString record("[WndParent]\nClass=ThunderForm\n");
    QCOMPARE(test::whatStandsAt(path), result ? "file " + record : before);
    // No temporary file left behind.
    QCOMPARE(test::hiddenIn(home.path()), QStringList());
}

void tst_WindowSystem::shellOpensLocalDocumentsAndSomeAddresses_data()
{
    QTest::addColumn<QString>("document"); // "~": the test's folder
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("handed");   // what the opener gets; "~" as above
    const QString none;
    QTest::newRow("blank") << "   " << 2 << none;
    // A folder or a file: URL is a path like any other from there on.
    QTest::newRow("no such file") << "~/missing.txt" << 2 << none;
    QTest::newRow("file like an option, relative") << "-n notes.txt" << 42 << "file://~/-n%20notes.txt";
    QTest::newRow("file: URL") << "file://~/-n%20notes.txt" << 42 << "file://~/-n%20notes.txt";
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
    QVERIFY(test::writeFile(home + "/bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.handed\"\n")
            && QFile::setPermissions(home + "/bin/xdg-open", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
            && test::writeFile(home + "/-n notes.txt", {}));
    const QByteArray path = qgetenv("PATH");
    const QString folder = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        qputenv("PATH", path);
        QDir::setCurrent(folder);
    });
    qputenv("PATH", QFile::encodeName(home + "/bin"));
    QDir::setCurrent(home);

    QCOMPARE(ws.openDocument(document.replace("~", home)), result);
    const QString note = home + "/bin/xdg-open.handed";
    if (!handed.isNull())
        QTRY_VERIFY(QFileInfo(note).size() > 0);
    QCOMPARE(test::whatStandsAt(note),
             handed.isNull() ? "nothing" : QString("file " + handed.replace("~", home) + "\n"));
    // Without an opener on the path.
    qputenv("PATH", "/nonexistent");
    QCOMPARE(ws.openDocument(document), result == 42 ? 31 : result);
}

QTEST_MAIN(tst_WindowSystem)
#include "tst_windowsystem.moc"
