// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/dateitemdelegate.h>

#include "support/boxhelpers.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QDateEdit>
#include <QMenu>
#include <QMimeData>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QtTest>

using namespace pelidora;
using namespace pelidora::test;

namespace {

// Day, month, year as the fields of a box in this order hold them.
QStringList inOrder(bool dayFirst, const QStringList &dmy)
{
    return dayFirst ? dmy : QStringList{dmy.value(1), dmy.value(0), dmy.value(2)};
}

// A key pressed in a field holding before, with the caret at selStart or selLength
// characters selected from there.
struct KeyCase {
    const char *field;
    QString before;
    int selStart, selLength;
    QKeyCombination key;
    QString text, after;
    int beeps;
};

// A field of a box clicked (the focus coming from next), typed over and left with a key.
struct LeaveCase {
    const char *locale;
    bool held, locked; // held: 15 April 2010, else no date
    const char *field, *next;
    QString typed;
    Qt::Key key;
    QStringList after; // all three fields once left
};

// Text put into a field of a box holding 15 April 2010 other than by typed keys: how,
// into which field holding before with selLength characters selected from selStart (-1:
// all), and the three fields afterwards.
struct PasteCase {
    const char *locale, *how, *field;
    QString before;
    int selStart, selLength;
    QString pasted;
    QStringList after;
    int beeps;
};

// Types text over a field's whole content, as a user does, then presses then if given.
void typeInto(ucvPelidora &box, const char *name, const QString &text, QKeyCombination then = Qt::Key_unknown)
{
    QLineEdit *edit = field(box, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    if (then.key() != Qt::Key_unknown)
        QTest::keyClick(edit, then.key(), then.keyboardModifiers());
}

// The box as an item view's editor, read and written through its USER property.
struct BoxDelegate : QStyledItemDelegate {
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return new ucvPelidora(parent);
    }
};

// The 17th chosen in a QDateEdit's calendar popup, or in the box's month panel: modal, so
// from inside its loop.
void chooseThe17th(QWidget *editor)
{
    if (qobject_cast<QDateEdit *>(editor)) {
        QTest::mouseClick(editor, Qt::LeftButton, {}, QPoint(editor->width() - 6, editor->height() / 2)); // the arrow
        auto *calendar = editor->findChild<QCalendarWidget *>();
        QVERIFY(calendar && calendar->isVisible());
        calendar->setSelectedDate(QDate(2010, 4, 17));
        return QTest::keyClick(calendar->findChild<QAbstractItemView *>(), Qt::Key_Return);
    }
    const LoopRun run = runInLoop(
        [editor]() -> QWidget * {
            auto *panel = editor->findChild<QWidget *>(QStringLiteral("window"));
            return panel && panel->isVisible() && panel->isActiveWindow() ? panel : nullptr;
        },
        [](QWidget *panel) { QTest::mouseClick(panel->findChild<QWidget *>(QStringLiteral("btnDay_16")), Qt::LeftButton); },
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier); }, [] { return false; }, true);
    QVERIFY(run.ran);
}
} // namespace

Q_DECLARE_METATYPE(KeyCase)
Q_DECLARE_METATYPE(LeaveCase)
Q_DECLARE_METATYPE(PasteCase)

class tst_ucvPelidoraEntry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_ws.beeps = 0; m_ws.placesWindows.reset(); }
    void checkDateCompletesAndCorrects_data();
    void checkDateCompletesAndCorrects();
    void keysAreFiltered_data();
    void keysAreFiltered();
    void clickedFieldIsTypedOverAndCorrectedOnLeaving_data();
    void clickedFieldIsTypedOverAndCorrectedOnLeaving();
    void pastedTextIsFilteredLikeTyping_data();
    void pastedTextIsFilteredLikeTyping();
    void dateSignalsFollowEveryChange_data();
    void dateSignalsFollowEveryChange();
    void itemViewsTakeTheDate_data();
    void itemViewsTakeTheDate();

private:
    FakeWindowSystem m_ws;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
};

// Fields put in by code, DateSet written or a serial read from a stored form: what DateSet
// reads back, completed and corrected, is what the fields show then.
void tst_ucvPelidoraEntry::checkDateCompletesAndCorrects_data()
{
    QTest::addColumn<bool>("dayFirst");
    QTest::addColumn<BoxAction>("put");
    QTest::addColumn<QStringList>("expected"); // day, month, year after DateSet is read
    const QStringList today{"23", "06", "2025"}, empty{"", "", ""};
    const struct {
        const char *name;
        QStringList dmy, expected;
    } rows[] = {
        {"31 February lowered to 28", {"31", "02", "2001"}, {"28", "02", "2001"}},
        {"day 0: today's day", {"0", "05", "2001"}, {"23", "05", "2001"}},
        {"month 13: today's month", {"15", "13", "2001"}, {"15", "06", "2001"}},
        {"a field empty: today", {"", "05", "2001"}, today},
        {"all cleared: no date", empty, empty},
        // Short years are completed by their length.
        {"year 5", {"15", "04", "5"}, {"15", "04", "2005"}},
        {"year 20", {"15", "04", "20"}, {"15", "04", "2020"}},
        {"year 21", {"15", "04", "21"}, {"15", "04", "1921"}},
        {"year 012", {"15", "04", "012"}, {"15", "04", "2012"}},
        {"year 100 is 1100: today's", {"15", "04", "100"}, {"15", "04", "2025"}},
        {"year 1900", {"15", "04", "1900"}, {"15", "04", "1900"}},
        {"year 2100", {"15", "04", "2100"}, {"15", "04", "2100"}},
        {"year 2101: today's", {"15", "04", "2101"}, {"15", "04", "2025"}},
        // Texts put in by code never overflow: each is today's part.
        {"signs", {"-5", "+3", "-2000"}, today},
        {"other scripts' digits", {"\u0661\u0662", "\u0663", "\u0662\u0660\u0660\u0660"}, today},
        {"5000 digits", {QString(5000, '9'), QString(5000, '1'), QString(5000, '2')}, today},
    };
    for (const bool dayFirst : {true, false}) {
        for (const auto &r : rows) {
            const BoxAction put = [dayFirst, dmy = r.dmy](ucvPelidora &b) { setFields(b, inOrder(dayFirst, dmy)); };
            QTest::addRow("%s, %s", dayFirst ? "day first" : "month first", r.name) << dayFirst << put << r.expected;
        }
        // Weekends unavailable: Saturday 17 April 2010 goes to the Friday, Sunday the 18th to
        // the Monday, whichever field comes first.
        for (const auto &[day, moved] : {std::pair("17", "16"), std::pair("18", "19")}) {
            const BoxAction put = [dayFirst, day](ucvPelidora &b) {
                b.setUnavailableWeekdays({Qt::Saturday, Qt::Sunday});
                setFields(b, inOrder(dayFirst, {day, "04", "2010"}));
            };
            QTest::addRow("%s, weekends unavailable, %s April", dayFirst ? "day first" : "month first", day)
                << dayFirst << put << QStringList{moved, "04", "2010"};
        }
    }
    // DateSet written, as the default member.
    const auto written = [](const char *name, bool dayFirst, const QString &text, const QStringList &expected) {
        QTest::newRow(name) << dayFirst << BoxAction([text](ucvPelidora &b) { b = text; }) << expected;
    };
    written("serial 36526", true, "36526", {"01", "01", "2000"});
    written("month-first text", false, "3/15/2010", {"15", "03", "2010"});
    written("noon to the even 36526", true, "01/01/2000 12:00", {"01", "01", "2000"});
    written("noon to the even 36528", true, "02/01/2000 12:00", {"03", "01", "2000"});
    written("serial 1 is no date", true, "1", empty);
    written("31/12/9999 as a serial", true, "2958465", {"31", "12", "2025"});
    written("past 31/12/9999", true, "99999999", empty);
    written("31/12/9999 past noon", true, "31/12/9999 13:00", empty);
    // Whatever serial a stored form holds, a date in 1900-2100 or none is read back.
    const auto stored = [](const char *name, qint32 serial, const QStringList &expected) {
        const BoxAction read = [serial](ucvPelidora &b) {
            PropertyBag bag;
            bag.WriteProperty("DateSet", QVariant::fromValue(serial));
            b.ReadProperties(bag);
        };
        QTest::newRow(name) << true << read << expected;
    };
    stored("stored 2, 1 January 1900", 2, {"01", "01", "1900"});
    stored("stored past 9999", core::kMaxSerial + 1, {"01", "01", "2025"});
    stored("stored INT_MAX", INT_MAX, {"10", "07", "2025"});
}

void tst_ucvPelidoraEntry::checkDateCompletesAndCorrects()
{
    QFETCH(bool, dayFirst);
    QFETCH(BoxAction, put);
    QFETCH(QStringList, expected);
    LocalePin pin(dayFirst ? "en_GB" : "en_US");
    ucvPelidora box;
    put(box);
    const int serial = dateSetSerial(box);
    QCOMPARE(fieldsOf(box), inOrder(dayFirst, expected));
    QCOMPARE(serial, expected[2].isEmpty() ? -1 : serialOf(expected[2].toInt(), expected[1].toInt(), expected[0].toInt()));
}

void tst_ucvPelidoraEntry::keysAreFiltered_data()
{
    QTest::addColumn<KeyCase>("k");
    const auto row = [](const char *name, KeyCase k) { QTest::newRow(name) << k; };
    row("0 into an empty field", {"txtDay", "", 0, 0, Qt::Key_0, "0", "", 0});
    row("0 before a digit", {"txtDay", "5", 0, 0, Qt::Key_0, "0", "5", 0});
    row("0 over the first digit", {"txtDay", "12", 0, 1, Qt::Key_0, "0", "12", 0});
    row("0 after a digit", {"txtDay", "1", 1, 0, Qt::Key_0, "0", "10", 0});
    row("digit over a selection", {"txtDay", "12", 0, 2, Qt::Key_5, "5", "5", 0});
    row("third digit in a full day", {"txtDay", "12", 2, 0, Qt::Key_5, "5", "12", 0});
    row("fourth digit of the year", {"txtYear", "200", 3, 0, Qt::Key_5, "5", "2005", 0});
    row("fifth digit of the year", {"txtYear", "2001", 4, 0, Qt::Key_5, "5", "2001", 0});
    row("letter", {"txtDay", "1", 1, 0, Qt::Key_A, "a", "1", 1});
    row("Arabic-Indic digit", {"txtDay", "1", 1, 0, Qt::Key(0), QString(QChar(0x0663)), "1", 1});
    row("Ctrl+V", {"txtDay", "", 0, 0, Qt::ControlModifier | Qt::Key_V, QString(QChar(22)), "", 1});
    row("Backspace", {"txtDay", "12", 2, 0, Qt::Key_Backspace, "\b", "1", 0});
    row("Delete", {"txtDay", "12", 0, 0, Qt::Key_Delete, "\x7f", "2", 0});
    row("Ctrl+Backspace", {"txtYear", "2010", 4, 0, Qt::ControlModifier | Qt::Key_Backspace, "\b", "2010", 1});
    // Only Alt+Down opens, committing the fields while the year is still as typed.
    row("Alt+Down", {"txtYear", "98", 2, 0, Qt::AltModifier | Qt::Key_Down, "", "1998", 0});
    row("keypad Alt+Down", {"txtYear", "98", 2, 0, Qt::AltModifier | Qt::KeypadModifier | Qt::Key_Down, "", "1998", 0});
    row("Down", {"txtYear", "98", 2, 0, Qt::Key_Down, "", "98", 0});
    row("Ctrl+Alt+Down", {"txtYear", "98", 2, 0, Qt::ControlModifier | Qt::AltModifier | Qt::Key_Down, "", "98", 0});
}

void tst_ucvPelidoraEntry::keysAreFiltered()
{
    QFETCH(KeyCase, k);
    LocalePin pin("en_GB");
    ucvPelidora box;
    QGuiApplication::clipboard()->setText("12");
    QLineEdit *edit = field(box, k.field);
    edit->setText(k.before);
    edit->setSelection(k.selStart, k.selLength); // none: the caret there
    QKeyEvent press(QEvent::KeyPress, k.key.key(), k.key.keyboardModifiers(), k.text);
    QApplication::sendEvent(edit, &press);
    QCOMPARE(edit->text(), k.after);
    QCOMPARE(m_ws.beeps, k.beeps);
}

// A click selects the whole field; Enter moves on as Tab does. Leaving a field corrects it
// only while a date is held.
void tst_ucvPelidoraEntry::clickedFieldIsTypedOverAndCorrectedOnLeaving_data()
{
    QTest::addColumn<LeaveCase>("c");
    const auto row = [](const char *name, LeaveCase c) { QTest::newRow(name) << c; };
    row("Enter, year back to day", {"en_GB", true, false, "txtYear", "txtDay", "9", Qt::Key_Return, {"15", "04", "2025"}});
    row("locked box", {"en_GB", true, true, "txtDay", "txtMonth", "9", Qt::Key_Return, {"15", "04", "2010"}});
    // Today is 23 June 2025.
    row("day 45, day first", {"en_GB", true, false, "txtDay", "txtMonth", "45", Qt::Key_Tab, {"23", "04", "2010"}});
    row("year 2100 stays", {"en_GB", true, false, "txtYear", "txtDay", "2100", Qt::Key_Tab, {"15", "04", "2100"}});
    row("year 2101 is today's", {"en_GB", true, false, "txtYear", "txtDay", "2101", Qt::Key_Tab, {"15", "04", "2025"}});
    row("empty year stays", {"en_GB", true, false, "txtYear", "txtDay", "", Qt::Key_Tab, {"15", "04", ""}});
    row("first field 13, month first", {"en_US", true, false, "txtDay", "txtMonth", "13", Qt::Key_Tab, {"06", "15", "2010"}});
    row("second field 32, month first", {"en_US", true, false, "txtMonth", "txtYear", "32", Qt::Key_Tab, {"04", "23", "2010"}});
    row("second field 13 stays, month first", {"en_US", true, false, "txtMonth", "txtYear", "13", Qt::Key_Tab, {"04", "13", "2010"}});
    row("no date: day 45 stays", {"en_GB", false, false, "txtDay", "txtMonth", "45", Qt::Key_Tab, {"45", "", ""}});
}

void tst_ucvPelidoraEntry::clickedFieldIsTypedOverAndCorrectedOnLeaving()
{
    QFETCH(LeaveCase, c);
    LocalePin pin(c.locale);
    ucvPelidora box;
    box.setDateSet(c.held ? QString::number(serialOf(2010, 4, 15)) : QString());
    box.setLocked(c.locked);
    QVERIFY(showActive(box));
    QLineEdit *edit = field(box, c.field), *next = field(box, c.next);
    next->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
    QCOMPARE(edit->selectedText(), edit->text());
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, c.typed);
    QTest::keyClick(edit, c.key);
    QVERIFY(next->hasFocus());
    QCOMPARE(next->selectedText(), next->text());
    QCOMPARE(fieldsOf(box), c.after);
    QCOMPARE(m_ws.beeps, 0);
}

void tst_ucvPelidoraEntry::pastedTextIsFilteredLikeTyping_data()
{
    QTest::addColumn<PasteCase>("p");
    const auto row = [](const char *name, PasteCase p) { QTest::newRow(name) << p; };
    row("a serial is digits", {"en_GB", "Shift+Insert", "txtYear", "2010", 0, -1, "36526", {"15", "04", "3652"}, 1});
    row("at the caret", {"en_GB", "Shift+Insert", "txtYear", "20", 2, 0, " 25\n", {"15", "04", "2025"}, 0});
    row("date, day first", {"en_GB", "Shift+Insert", "txtYear", "2010", 0, -1, "5/3/2024", {"05", "03", "2024"}, 0});
    row("date, month first", {"en_US", "Shift+Insert", "txtDay", "04", 0, -1, "3.5.2024", {"03", "05", "2024"}, 0});
    row("date with dashes", {"en_GB", "Shift+Insert", "txtDay", "15", 0, -1, "1-12-2024", {"01", "12", "2024"}, 0});
    row("ISO date", {"en_US", "Shift+Insert", "txtMonth", "15", 0, -1, "2024-03-05", {"03", "05", "2024"}, 0});
    row("no day 45", {"en_GB", "Shift+Insert", "txtDay", "", 0, 0, "45-03-2024", {"45", "04", "2010"}, 1});
    row("mixed separators", {"en_GB", "Shift+Insert", "txtDay", "", 0, 0, "5/3-2024", {"53", "04", "2010"}, 1});
    row("a Backspace character", {"en_GB", "Shift+Insert", "txtMonth", "04", 0, -1, "1\b2", {"15", "12", "2010"}, 1});
    row("locked", {"en_GB", "locked", "txtDay", "15", 0, -1, "5/3/2024", {"15", "04", "2010"}, 0});
    // Back from the menu the selection is as it was: the caret, not the whole field.
    row("menu, at the caret", {"en_GB", "menu", "txtYear", "20", 2, 0, "25", {"15", "04", "2025"}, 0});
    row("drop", {"en_GB", "drop", "txtDay", "", 0, 0, "7x", {"7", "04", "2010"}, 1});
    // Offscreen there is no desktop selection: a middle click pastes nothing, not the clipboard.
    row("middle click", {"en_GB", "middle", "txtDay", "", 0, 0, "2x", {"", "04", "2010"}, 0});
}

void tst_ucvPelidoraEntry::pastedTextIsFilteredLikeTyping()
{
    QFETCH(PasteCase, p);
    LocalePin pin(p.locale);
    ucvPelidora box;
    box.setDateSet(QString::number(serialOf(2010, 4, 15)));
    box.setLocked(QLatin1String(p.how) == "locked");
    QVERIFY(showActive(box));
    QLineEdit *edit = field(box, p.field);
    edit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(edit->hasFocus());
    edit->setText(p.before);
    edit->setSelection(p.selStart, p.selLength < 0 ? int(p.before.size()) : p.selLength);
    QGuiApplication::clipboard()->setText(p.pasted);
    const QByteArray how = p.how;
    if (how == "menu") {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, {2, 2}, edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &menuEvent);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        const QList<QAction *> actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(),
                                        [](QAction *a) { return a->text().startsWith("&Paste"); });
        QVERIFY(paste != actions.end());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(*paste).center());
        QTRY_VERIFY(edit->hasFocus());
    } else if (how == "drop") {
        QMimeData mime;
        mime.setText(p.pasted);
        const QPointF at(edit->width() - 1, edit->height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &move);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &drop);
    } else if (how == "middle") {
        QTest::mouseClick(edit, Qt::MiddleButton);
    } else {
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    }
    QCOMPARE(fieldsOf(box), p.after);
    QCOMPARE(m_ws.beeps, p.beeps);
}

// The last date changed to is the one the fields show. A take-over the user caused beeps
// when a range moved the date; one a program caused does not.
void tst_ucvPelidoraEntry::dateSignalsFollowEveryChange_data()
{
    QTest::addColumn<QDate>("held");          // before the action; invalid: no date
    QTest::addColumn<BoxAction>("action");
    QTest::addColumn<QList<QDate>>("changed"); // dateChanged, in order
    QTest::addColumn<int>("edited");           // dateEdited for the last change
    QTest::addColumn<int>("finished");         // editingFinished
    QTest::addColumn<int>("beeps");
    const QDate april15(2010, 4, 15), may20(2011, 5, 20), april20(2010, 4, 20);
    const auto row = [](const char *name, QDate held, BoxAction action, QList<QDate> changed, int edited = 0,
                        int finished = 0, int beeps = 0) {
        QTest::newRow(name) << held << action << changed << edited << finished << beeps;
    };
    const auto paste = [](ucvPelidora &b, const char *text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field(b, "txtDay"), Qt::Key_Insert, Qt::ShiftModifier);
    };
    row("setDate, same date", april15, [=](ucvPelidora &b) { b.setDate(april15); }, {});
    row("setDate invalid", april15, [](ucvPelidora &b) { b.setDate({}); }, {QDate()});
    // Past the serials' last day, 31 December 9999, the box's last day still.
    row("setDate year 10000: the last day", april15, [](ucvPelidora &b) { b.setDate({10000, 1, 1}); },
        {QDate(2100, 12, 31)});
    row("no date to serial 1", QDate(), [](ucvPelidora &b) { b = "1"; }, {});
    row("read, nothing typed", april15, [](ucvPelidora &b) { b.DateSet(); }, {});
    row("typed, Tab commits nothing", april15, [](ucvPelidora &b) { typeInto(b, "txtDay", "20", Qt::Key_Tab); }, {});
    // Editing ends in the last field or outside the box, and takes nothing over unless read.
    row("typed, Enter in the year", april15, [](ucvPelidora &b) { typeInto(b, "txtYear", "1998", Qt::Key_Return); },
        {}, 0, 1);
    row("typed, the focus leaves", april15, [](ucvPelidora &b) {
        typeInto(b, "txtMonth", "5", Qt::Key_Return);
        auto *next = new QLineEdit(b.parentWidget());
        next->show();
        next->setFocus();
    }, {}, 0, 1);
    row("typed, read when finished", april15, [](ucvPelidora &b) {
        QObject::connect(&b, &ucvPelidora::editingFinished, &b, [&b] { b.date(); });
        typeInto(b, "txtYear", "1998", Qt::Key_Enter);
    }, {QDate(1998, 4, 15)}, 1, 1);
    row("pasted date, read", april15, [=](ucvPelidora &b) { paste(b, "5/3/2024"); b.date(); }, {QDate(2024, 3, 5)}, 1);
    // Taken over, or replaced by code's date, a pasted date is no edit any more: code's fields
    // read afterwards are none.
    row("pasted dates, then code's", april15, [=](ucvPelidora &b) {
        paste(b, "15/4/2010"); // the held date: taken over, no change
        b.date();
        setFields(b, {"20", "04", "2010"});
        b.date();
        paste(b, "5/3/2024");
        b.setDate(may20);
        setFields(b, {"15", "04", "2010"});
        b.date();
    }, {april20, may20, april15});
    row("clear", april15, [](ucvPelidora &b) { b.clear(); }, {QDate()});
    row("typed 45, corrected on leaving", april15, [](ucvPelidora &b) { typeInto(b, "txtDay", "45", Qt::Key_Tab); },
        {QDate(2010, 4, 23)}, 1);
    row("DateSet 2150, corrected by a read", april15, [](ucvPelidora &b) {
        b = "15/03/2150";
        b.DateSet();
    }, {QDate(2150, 3, 15), QDate(2025, 3, 15)});
    row("InitProperties", april15, [](ucvPelidora &b) { b.InitProperties(); }, {QDate(2025, 6, 23)});
    // A slot may hold another date or delete the box while it hears of a change.
    row("a slot holds another date", april15, [=](ucvPelidora &b) {
        QObject::connect(&b, &ucvPelidora::dateChanged, &b, [&b, may20] { b.setDate(may20); }, Qt::SingleShotConnection);
        typeInto(b, "txtDay", "20");
        b.date();
    }, {april20, may20}, 0);
    row("a slot deletes the box", april15, [](ucvPelidora &b) {
        QObject::connect(&b, &ucvPelidora::dateChanged, &b, [&b] { delete &b; });
        typeInto(b, "txtYear", "98", Qt::AltModifier | Qt::Key_Down);
    }, {QDate(1998, 4, 15)}, 0);

    // A range across a year's end, 20 December 2024 to 10 January 2025, set on a box holding
    // 31 December 2024; the order of the fields is the other tables' concern.
    const QDate first(2024, 12, 20), last(2025, 1, 10), newYearsEve(2024, 12, 31);
    // An action run after a setup of its own.
    const auto after = [](BoxAction setup) {
        return [=](BoxAction action) { return BoxAction([=](ucvPelidora &b) { setup(b); action(b); }); };
    };
    const auto ranged = after([=](ucvPelidora &b) { b.setDateRange(first, last); });
    // Typed as a user does, then read by a program or taken over by Alt+Down.
    const auto typed = [](QDate date, bool altDown) {
        return [=](ucvPelidora &b) {
            if (altDown)
                b.hide(); // commits, and opens nothing
            const QStringList texts = date.toString("dd MM yyyy").split(u' ');
            for (int i = 0; i < 3; ++i)
                typeInto(b, i == 0 ? "txtDay" : i == 1 ? "txtMonth" : "txtYear", texts[i]);
            if (altDown)
                QTest::keyClick(field(b, "txtYear"), Qt::Key_Down, Qt::AltModifier);
            else
                b.date();
        };
    };
    row("range: setDate a day before", newYearsEve, ranged([=](ucvPelidora &b) { b.setDate(first.addDays(-1)); }),
        {first});
    row("range: typed across the year's end, read", newYearsEve, ranged(typed({2025, 1, 2}, false)), {{2025, 1, 2}}, 1);
    row("range: typed before, read", newYearsEve, ranged(typed(first.addDays(-1), false)), {first}, 1);
    row("range: typed at the maximum, Alt+Down", newYearsEve, ranged(typed(last, true)), {last}, 1);
    // Leaving the year corrects 1850 to this year, 2025, and the range moves that.
    row("range: year corrected on leaving", newYearsEve,
        ranged([](ucvPelidora &b) { typeInto(b, "txtYear", "1850", Qt::Key_Tab); }), {last}, 1, 0, 1);

    // Weekends unavailable: 17 and 18 April 2010 are a Saturday and a Sunday.
    const auto noWeekends = after([](ucvPelidora &b) { b.setUnavailableWeekdays({Qt::Saturday, Qt::Sunday}); });
    row("days: setDate a Saturday, Friday nearer", april15,
        noWeekends([](ucvPelidora &b) { b.setDate({2010, 4, 17}); }), {{2010, 4, 16}});
    row("days: typed a Sunday, read", april15, noWeekends(typed({2010, 4, 18}, false)), {{2010, 4, 19}}, 1);
    row("days: typed a Sunday, Alt+Down beeps", april15, noWeekends(typed({2010, 4, 18}, true)), {{2010, 4, 19}}, 1,
        0, 1);
    row("days: pasted a Saturday", april15, noWeekends([=](ucvPelidora &b) { paste(b, "2010-04-17"); b.date(); }),
        {{2010, 4, 16}}, 1);
    row("days: a DateSet write stays until taken over", april15, noWeekends([](ucvPelidora &b) { b = "17/04/2010"; }),
        {{2010, 4, 17}});
    row("days: the range before the rules", april15, noWeekends([=](ucvPelidora &b) {
        b.setDateRange({2010, 4, 1}, {2010, 4, 18});
        b.setDate({2010, 5, 1});
    }), {{2010, 4, 16}});
    row("days: a held date made unavailable moves, the later on a tie", april15,
        [](ucvPelidora &b) { b.setUnavailableDates({{2010, 4, 15}}); }, {{2010, 4, 16}});
    row("days: a rule changed moves the held date", april15, [](ucvPelidora &b) {
        bool closed = false;
        b.setAvailabilityRule([&closed](const QDate &d) { return !closed || d.day() > 20; });
        closed = true;
        b.updateAvailability();
        b.setAvailabilityRule({});
    }, {{2010, 4, 21}});
    // No hang and no move: the typed date stays, with a beep for the user's take-over.
    row("days: a rule refusing every day", april15, [=](ucvPelidora &b) {
        b.setAvailabilityRule([](const QDate &) { return false; });
        typed({2010, 4, 18}, true)(b);
    }, {{2010, 4, 18}}, 1, 0, 1);
    row("days: a rule that throws counts as available", april15, [](ucvPelidora &b) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("availability rule threw for 2010-04-17"));
        b.setAvailabilityRule([](const QDate &d) {
            if (d == QDate(2010, 4, 17))
                throw std::runtime_error("closed");
            return d != QDate(2010, 4, 15) && d.day() != 18 && d.day() != 19;
        });
        b.setDate({2010, 4, 18});
    }, {{2010, 4, 16}, {2010, 4, 17}});
    // Nor are the rules or the date changed from inside, nor the rule asked there again.
    row("days: a rule may not change the rules or the date", april15, [=](ucvPelidora &b) {
        QTest::ignoreMessage(QtWarningMsg, "Pelidora: setUnavailableDates refused: the availability rule is running");
        QTest::ignoreMessage(QtWarningMsg, "Pelidora: a change of the date refused: the availability rule is running");
        b.setAvailabilityRule([&b, may20](const QDate &d) {
            if (d.day() == 20) {
                b.setUnavailableDates({{2010, 4, 21}});
                b.setDate(may20);
            }
            return d.day() != 20 && b.isDateAvailable(d);
        });
        b.setDate(april20);
    }, {{2010, 4, 21}});
    // A rule that deletes the box (open 2: the window it was moved into) when asked about a day
    // once set up (open: the panel shown modeless, for the keys) ends the action, unannounced.
    const BoxAction altDown = [](ucvPelidora &b) { QTest::keyClick(field(b, "txtDay"), Qt::Key_Down, Qt::AltModifier); };
    const auto key = [](const char *part, Qt::Key key) -> BoxAction {
        return [=](ucvPelidora &b) { QTest::keyClick(b.findChild<QWidget *>(part), key); };
    };
    const struct { const char *what; QDate asked; BoxAction act; int open = 0; } deletions[] = {
        {"setDate", {2010, 4, 17}, [](ucvPelidora &b) { b.setDate({2010, 4, 17}); }},
        {"typed, read", {2010, 4, 18}, typed({2010, 4, 18}, false)},
        {"typed, Alt+Down", {2010, 4, 18}, typed({2010, 4, 18}, true)},
        {"a range change", april15, [=](ucvPelidora &b) { b.setDateRange({2010, 4, 1}, april20); }},
        {"updateAvailability", april15, [](ucvPelidora &b) { b.updateAvailability(); }},
        {"the panel loading today's month", {2025, 6, 1}, altDown},
        {"the panel opening", {2010, 4, 1}, altDown},
        {"the open panel redrawn", {2010, 4, 1}, [](ucvPelidora &b) { b.setMarkToday(true); }, 1},
        {"Down in the panel", {2010, 4, 16}, key("lblDay", Qt::Key_Down), 1},
        {"Page Down in the panel", {2010, 5, 1}, key("lblDay", Qt::Key_PageDown), 1},
        {"the year list", {2011, 4, 1}, key("cboAnno", Qt::Key_Down), 1},
        {"its window, Page Down in the panel", {2010, 5, 1}, key("lblDay", Qt::Key_PageDown), 2},
    };
    for (const auto &[what, asked, act, open] : deletions) {
        row(qPrintable(QStringLiteral("days: deleted by the rule, %1").arg(what)), april15, [=](ucvPelidora &b) {
            QObject *doomed = open == 2 ? new QWidget : static_cast<QObject *>(&b);
            if (open == 2)
                b.setParent(static_cast<QWidget *>(doomed));
            b.window()->setProperty("windowClass", QLatin1String(kThunderClass));
            b.window()->show();
            bool armed = false;
            b.setAvailabilityRule([&](const QDate &d) { return armed && d == asked ? (delete doomed, true) : true; });
            if (open)
                altDown(b);
            const QPointer<QObject> alive(&b), panel = b.findChild<QWidget *>("window");
            armed = true;
            act(b);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!alive && !panel);
        }, {}, 0, open == 2); // a box moved loses the focus: its editing finishes
    }
}

void tst_ucvPelidoraEntry::dateSignalsFollowEveryChange()
{
    QFETCH(QDate, held);
    QFETCH(BoxAction, action);
    QFETCH(QList<QDate>, changed);
    QFETCH(int, edited);
    LocalePin pin("en_GB");
    QWidget form;
    QPointer<ucvPelidora> box = new ucvPelidora(&form);
    box->setDate(held);
    QVERIFY(showActive(form));
    QList<QDate> changes, edits;
    int finished = 0;
    QObject::connect(box, &ucvPelidora::dateChanged, [&](const QDate &date) { changes << date; });
    QObject::connect(box, &ucvPelidora::dateEdited, [&](const QDate &date) { edits << date; });
    QObject::connect(box, &ucvPelidora::editingFinished, [&] { ++finished; });
    action(*box);
    QCOMPARE(changes, changed);
    QCOMPARE(edits, edited ? QList<QDate>{changed.constLast()} : QList<QDate>{});
    QTEST(finished, "finished");
    QTEST(m_ws.beeps, "beeps");
    if (box && !changed.isEmpty() && changed.constLast().isValid())
        QCOMPARE(fieldsOf(*box), changed.constLast().toString("dd MM yyyy").split(u' '));
}

// Without being told, the box as an item view's editor commits when the focus leaves it,
// never while it moves between the fields (Return, and Tab, though the view takes Tab for
// itself); what was typed is corrected then. A mapper or a delegate of its own commits on
// the same focus-out. Told it is an editor, it ends the edit as a QDateEdit editor does.
void tst_ucvPelidoraEntry::itemViewsTakeTheDate_data()
{
    QTest::addColumn<QString>("editor"); // box, item editor (DateItemDelegate), QDateEdit
    QTest::addColumn<QString>("keys");   // typed digits, keys, or "panel": the 17th chosen there
    QTest::addColumn<QDate>("committed");
    QTest::addColumn<int>("editing"); // the column whose editor is open at the end; -1 none
    const QDate held(2010, 4, 15), typed(2010, 4, 21), chosen(2010, 4, 17);
    QTest::newRow("box: Tab walks, leaving commits") << "box" << "31 Tab 02 Tab 2001 Tab" << QDate(2001, 2, 28) << -1;
    QTest::newRow("box: Return walks") << "box" << "21 Return Return Return" << held << 1;
    for (const char *editor : {"item editor", "QDateEdit"}) {
        const bool box = editor[0] == 'i';
        QTest::addRow("%s: Return", editor) << editor << "21 Return" << typed << -1;
        QTest::addRow("%s: Escape", editor) << editor << "21 Escape" << held << -1;
        QTest::addRow("%s: Tab", editor) << editor << (box ? "21 Tab Tab Tab" : "21 Tab") << typed << 2;
        QTest::addRow("%s: Shift+Tab", editor) << editor << "21 Backtab" << typed << 0;
        QTest::addRow("%s: panel, Return", editor) << editor << "21 panel Return" << chosen << -1;
    }
    // Where the program cannot place windows (Wayland), the panel is a popup.
    QTest::newRow("item editor: popup panel, Return") << "item editor" << "21 popup Return" << chosen << -1;
}

void tst_ucvPelidoraEntry::itemViewsTakeTheDate()
{
    QFETCH(QString, editor);
    QFETCH(QString, keys);
    QFETCH(QDate, committed);
    QFETCH(int, editing);
    LocalePin pin("en_GB");
    QStandardItemModel model(1, 3);
    for (int column = 0; column < 3; ++column)
        model.setData(model.index(0, column), QDate(2010, 4, 14 + column));
    const QModelIndex index = model.index(0, 1);
    QWidget form;
    QTableView view(&form);
    BoxDelegate boxes;
    QStyledItemDelegate dateEdits; // Qt's own editor of a QDate, a QDateEdit
    DateItemDelegate itemEditors;
    view.setItemDelegate(QHash<QString, QStyledItemDelegate *>{{"box", &boxes}, {"QDateEdit", &dateEdits}}.value(editor, &itemEditors));
    view.setModel(&model);
    view.resize(400, 200);
    QVERIFY(showActive(form));
    view.setCurrentIndex(index);
    view.edit(index);
    const QPointer<QWidget> open = view.indexWidget(index);
    QVERIFY(open);
    if (auto *box = qobject_cast<ucvPelidora *>(open))
        QCOMPARE(fieldsOf(*box), QStringList({"15", "04", "2010"}));
    else
        qobject_cast<QDateEdit *>(open)->setCalendarPopup(true);

    for (const QString &key : keys.split(u' ')) {
        if (editor == "box")
            QCOMPARE(model.data(index).toDate(), QDate(2010, 4, 15));
        if (key == "panel" || key == "popup") {
            // Opening the panel keeps the editor open; only the box commits the chosen day then.
            m_ws.placesWindows = key == "panel";
            chooseThe17th(open);
            QTRY_COMPARE(open ? open->property("date").toDate() : QDate(), QDate(2010, 4, 17));
            QCOMPARE(model.data(index).toDate(), editor == "item editor" ? QDate(2010, 4, 17) : QDate(2010, 4, 15));
        } else if (key.front().isDigit()) {
            QTest::keyClicks(QApplication::focusWidget(), key);
        } else {
            QTest::keyClick(QApplication::focusWidget(), QKeySequence(key)[0].key());
        }
    }
    QCoreApplication::processEvents(); // a delegate commits and closes on Return once the editor has seen it
    QCOMPARE(model.data(index).toDate(), committed);
    QCOMPARE(view.indexWidget(view.currentIndex()) ? view.currentIndex().column() : -1, editing);
    QCOMPARE(m_ws.beeps, 0);
}

QTEST_MAIN(tst_ucvPelidoraEntry)
#include "tst_ucvpelidora_entry.moc"
