// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Running a form in pelidora-host: live boxes on a canvas that asks for modeless panels,
// the Read DateSet buttons, an event log that is never flooded, and the About box.

#include "designoverlay.h"
#include "designwindow.h"
#include "eventlog.h"
#include "formcanvas.h"
#include "formhost.h"
#include "formshot.h"
#include "runwindow.h"

#include "support/hosthelpers.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTreeWidget>

using namespace pelidora;
using namespace pelidora::test;
using host::EventLog;
using host::RunWindow;

namespace {

void moveOver(ucvPelidora *box, int times, short day)
{
    for (int i = 0; i < times; ++i)
        Q_EMIT box->DayMouseMove(day, 3, 2024, float(100 + i), 50.0f);
}

} // namespace

class tst_HostRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxesAreLiveOnACanvasThatAsksForModelessPanels();
    void namesAndFileNamesAreShownAsWritten();
    void movesAreGatheredIntoOneUpdatingLine();
    void helpAboutShowsTheAboutBox_data();
    void helpAboutShowsTheAboutBox();

private:
    FakeWindowSystem m_windowSystem;
    TodayPin m_today{2024, 3, 20};
    LocalePin m_locale{QStringLiteral("en_GB")};
};

void tst_HostRun::boxesAreLiveOnACanvasThatAsksForModelessPanels()
{
    RunWindow window;
    window.load(demoPath());
    QCOMPARE(window.host()->boxes().size(), 3);
    for (ucvPelidora *box : window.host()->boxes()) {
        // In user mode (tst_hostdesign runs a design), on a canvas that asks for modeless
        // panels: see below.
        QCOMPARE(box->parentWidget(), window.canvas());
        QVERIFY(!box->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(box->findChild<QWidget *>(QStringLiteral("txtDay"))->focusPolicy() != Qt::NoFocus);
        QVERIFY(box->toolTip().contains(box->objectName())); // which box is which
    }

    // Read DateSet shows what a program reads; Click, the date a handler reads: the one
    // just taken over. After "HH:mm:ss  ".
    const auto entries = [&] {
        QStringList lines = window.eventLog()->lines();
        for (QString &line : lines)
            line.remove(0, 10);
        return lines;
    };
    ucvPelidora *departure = window.host()->boxNamed(QStringLiteral("dtDeparture"));
    departure->setDateSet(QStringLiteral("24/12/2025"));
    window.findChild<QPushButton *>(QStringLiteral("readDateSet_dtDeparture"))->click();
    window.findChild<QPushButton *>(QStringLiteral("readDateSet_dtReturn"))->click();
    QCOMPARE(entries(), QStringList({"dtDeparture  Read DateSet  \"24/12/2025\"", "dtReturn  Read DateSet  \"-1\""}));
    // In a window taller than the form, the space to spare lies below the form's frame.
    window.resize(1000, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto *scroll = window.findChild<QScrollArea *>(QStringLiteral("formScroll"));
    QCOMPARE(scroll->height(), 290 + 2 * scroll->frameWidth());
    QVERIFY(host::openPanel(departure, {}));
    QWidget *panel = host::panelOf(departure);
    QVERIFY(panel && panel->isVisible() && !panel->isModal());
    QTest::mouseClick(panel->findChild<QWidget *>(QStringLiteral("btnDay_9")), Qt::LeftButton);
    QTRY_COMPARE(entries().constLast(), QStringLiteral("dtDeparture  Click  DateSet = \"10/12/2025\""));
}

// Markup in a box's name or the file's name is text: rendered, an <img> would be read.
void tst_HostRun::namesAndFileNamesAreShownAsWritten()
{
    const QTemporaryDir dir;
    const QString name = QStringLiteral("<img src='/nowhere/x.png'>");
    const QString path = dir.filePath(QStringLiteral("<b>form.json"));
    QVERIFY(writeFile(path, R"({"format": "pelidora-form", "version": 1, "width": 200, "height": 80, "controls": [
        {"class": "ucvPelidora", "name": "<img src='/nowhere/x.png'>", "left": 8, "top": 8}]})"));
    RunWindow window;
    window.load(path);
    QStringList marked;
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->text().contains(u'<'))
            marked << label->text() + (label->textFormat() == Qt::PlainText ? "" : " (as markup)");
    }
    marked.sort();
    QCOMPARE(marked, QStringList({"<b>form.json · 1 date box · today 20/03/2024", name}));
    const auto *read = window.findChild<QPushButton *>(QStringLiteral("readDateSet_") + name);
    QCOMPARE(QTextDocumentFragment::fromHtml(read->toolTip()).toPlainText(), "Reads " + name + ".DateSet, as a program would");
}

// The moves are gathered into one updating line, and the log keeps its newest lines only.
void tst_HostRun::movesAreGatheredIntoOneUpdatingLine()
{
    Site site(true);
    ucvPelidora first(&site), second(&site);
    first.setObjectName(QStringLiteral("dtA"));
    second.setObjectName(QStringLiteral("dtB"));
    EventLog log;
    log.watch(&first);
    log.watch(&second);
    // The header spans the log from the start.
    log.resize(500, 200);
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    const auto *entries = log.findChild<QTreeWidget *>(QStringLiteral("eventEntries"));
    QCOMPARE(entries->header()->length(), entries->viewport()->width());

    // Shown a moment later without being asked, then updated in place: here as if the
    // panel's watch ticked every millisecond.
    moveOver(&first, 20, 9);
    QCOMPARE(log.lines().size(), 0);
    QTRY_COMPARE(log.lines().size(), 1);
    moveOver(&first, 1000, 14);
    log.flushMoves();
    moveOver(&first, 500, 15);
    log.flushMoves();
    QCOMPARE(log.lines().size(), 1);
    QVERIFY(log.lines().at(0).contains("dtA  DayMouseMove  ButtonDay 15, SelMonth 3, SelYear 2024, X 599, Y 50 (1520 ticks)"));
    // Shown whole, however narrow the log.
    log.resize(200, 200);
    const QTreeWidgetItem *item = entries->topLevelItem(0);
    QVERIFY(entries->header()->sectionSize(3) > entries->fontMetrics().horizontalAdvance(item->text(3)));
    QCOMPARE(item->toolTip(3), item->text(3));

    // Another box, or any other event, starts a new line; moves keep their place in time.
    moveOver(&second, 3, 2);
    moveOver(&first, 2, 16);
    Q_EMIT first.Click();
    moveOver(&first, 1, 17);
    log.flushMoves();
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines.at(1).contains(QLatin1String("dtB  DayMouseMove  ButtonDay 2,")));
    QVERIFY(lines.at(2).contains(QLatin1String("dtA  DayMouseMove  ButtonDay 16,")));
    QVERIFY(lines.at(3).contains(QLatin1String("dtA  Click")));
    QVERIFY(lines.at(4).contains(QLatin1String("ButtonDay 17, SelMonth 3, SelYear 2024, X 100, Y 50 (1 tick)")));

    // Never more than its newest lines.
    for (int i = 0; i < EventLog::kMaxEntries + 25; ++i)
        log.append(QStringLiteral("dtA"), QStringLiteral("Read DateSet"), QString::number(i));
    QCOMPARE(log.lines().size(), EventLog::kMaxEntries);
    QVERIFY(log.lines().constFirst().endsWith(QLatin1String("Read DateSet  25")));
    QVERIFY(log.lines().constLast().endsWith(QStringLiteral("Read DateSet  %1").arg(EventLog::kMaxEntries + 24)));

    // Clear empties it, a move not yet shown too.
    moveOver(&first, 1, 18);
    log.clear();
    log.flushMoves();
    QCOMPARE(log.lines(), QStringList());
}

void tst_HostRun::helpAboutShowsTheAboutBox_data()
{
    QTest::addColumn<bool>("design");
    QTest::newRow("run, a field of dtReturn focused") << false;
    QTest::newRow("design, the form selected") << true;
}

// On the box the user works with, or the first; never without a box.
void tst_HostRun::helpAboutShowsTheAboutBox()
{
    QFETCH(bool, design);
    RunWindow run;
    host::DesignWindow designer;
    QMainWindow *window = design ? static_cast<QMainWindow *>(&designer) : &run;
    design ? designer.load(demoPath()) : run.load(demoPath());
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    if (design) {
        designer.overlay()->select(nullptr);
    } else {
        ucvPelidora *box = run.host()->boxNamed(QStringLiteral("dtReturn"));
        box->findChild<QWidget *>(QStringLiteral("txtMonth"))->setFocus();
        QCOMPARE(run.currentBox(), box);
    }
    auto *about = window->findChild<QAction *>(QStringLiteral("aboutPelidora"));
    QCOMPARE(about->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(about->isEnabled());

    // The box is modal: close it from inside its loop.
    bool shown = false;
    runInLoop([]() -> QWidget * {
                  QWidget *box = QApplication::activeModalWidget();
                  return box && box->objectName() == QLatin1String("fabout") ? box : nullptr;
              },
              [&](QWidget *box) { shown = box->close(); }, [&] { about->trigger(); },
              [] { QWidget *box = QApplication::activeModalWidget(); return box && box->close(); }, false);
    QVERIFY(shown);

    const QString empty = QDir::temp().filePath(QStringLiteral("pelidora-empty-form.json"));
    QVERIFY(writeFile(empty, formJson({}, {}, {200, 80})));
    design ? designer.load(empty) : run.load(empty);
    QVERIFY(!about->isEnabled());
    QFile::remove(empty);
}

QTEST_MAIN(tst_HostRun)
#include "tst_hostrun.moc"
