#include "platform/windowsystem.h"
#include "support/testsupport.h"

#include <pelidora/platform.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
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
    void shellRefusesAnythingButMailAndWebAddresses();

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

void tst_WindowSystem::shellRefusesAnythingButMailAndWebAddresses()
{
    QCOMPARE(ws.openDocument("   "), 2);
    for (const char *document : {"--help", "file:///etc/passwd", "javascript:alert(1)"})
        QVERIFY2(ws.openDocument(document) == 5, document);
}

QTEST_MAIN(tst_WindowSystem)
#include "tst_windowsystem.moc"
