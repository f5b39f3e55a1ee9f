#include "support/boxhelpers.h"

#include <QClipboard>
#include <QDataWidgetMapper>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QtTest>

#include <functional>

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
    int key; // with its modifiers
    QString text, after;
    int beeps;
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

// Something done to a box, as a user or a program would.
using BoxAction = std::function<void(ucvPelidora &)>;

// Types text over a field's whole content, as a user does.
void typeInto(ucvPelidora &box, const char *name, const QString &text)
{
    QLineEdit *edit = field(box, name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// The box as an item view's editor, read and written through its USER property.
class BoxDelegate : public QStyledItemDelegate
{
public:
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return new ucvPelidora(parent);
    }
};

} // namespace

Q_DECLARE_METATYPE(KeyCase)
Q_DECLARE_METATYPE(PasteCase)
Q_DECLARE_METATYPE(BoxAction)

class tst_ucvPelidoraEntry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_ws.beeps = 0; }
    void typedDateIsCorrected();
    void checkDateCompletesAndCorrects_data();
    void checkDateCompletesAndCorrects();
    void dateSetWriteAndRead_data();
    void dateSetWriteAndRead();
    void storedSerialsNeverBreakTheFields_data();
    void storedSerialsNeverBreakTheFields();
    void keysAreFiltered_data();
    void keysAreFiltered();
    void clickedFieldIsTypedOverAndEnterMovesOn_data();
    void clickedFieldIsTypedOverAndEnterMovesOn();
    void leavingAFieldCorrectsOnlyWithADateHeld_data();
    void leavingAFieldCorrectsOnlyWithADateHeld();
    void pastedTextIsFilteredLikeTyping_data();
    void pastedTextIsFilteredLikeTyping();
    void pastedTextNeverBreaksTheBox_data();
    void pastedTextNeverBreaksTheBox();
    void dateSignalsFollowEveryChange_data();
    void dateSignalsFollowEveryChange();
    void itemViewsTakeTheDateWhenTheBoxIsLeft_data();
    void itemViewsTakeTheDateWhenTheBoxIsLeft();

private:
    FakeWindowSystem m_ws;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
};

// A user types the fields (in the locale's order, Tab between them) and reads the date back.
void tst_ucvPelidoraEntry::typedDateIsCorrected()
{
    for (const bool dayFirst : {true, false}) {
        LocalePin pin(dayFirst ? "en_GB" : "en_US");
        ucvPelidora box;
        QVERIFY(showActive(box));
        field(box, "txtDay")->setFocus(Qt::TabFocusReason);
        for (const QString &typed : inOrder(dayFirst, {"31", "02", "2001"})) {
            QTest::keyClicks(QApplication::focusWidget(), typed);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(dateSetSerial(box), serialOf(2001, 2, 28));
        QCOMPARE(fieldsOf(box), inOrder(dayFirst, {"28", "02", "2001"}));
        QCOMPARE(m_ws.beeps, 0);
    }
}

void tst_ucvPelidoraEntry::checkDateCompletesAndCorrects_data()
{
    QTest::addColumn<bool>("dayFirst");
    QTest::addColumn<QStringList>("dmy");      // day, month, year put into the fields
    QTest::addColumn<QStringList>("expected"); // day, month, year after DateSet is read
    const struct {
        const char *name;
        QStringList dmy, expected;
    } rows[] = {
        {"31 February lowered to 28", {"31", "02", "2001"}, {"28", "02", "2001"}},
        {"day 0: today's day", {"0", "05", "2001"}, {"23", "05", "2001"}},
        {"month 13: today's month", {"15", "13", "2001"}, {"15", "06", "2001"}},
        {"a field empty: today", {"", "05", "2001"}, {"23", "06", "2025"}},
        {"all cleared: no date", {"", "", ""}, {"", "", ""}},
        // Short years are completed by their length.
        {"year 5", {"15", "04", "5"}, {"15", "04", "2005"}},
        {"year 20", {"15", "04", "20"}, {"15", "04", "2020"}},
        {"year 21", {"15", "04", "21"}, {"15", "04", "1921"}},
        {"year 998", {"15", "04", "998"}, {"15", "04", "1998"}},
        {"year 012", {"15", "04", "012"}, {"15", "04", "2012"}},
        {"year 100 is 1100: today's", {"15", "04", "100"}, {"15", "04", "2025"}},
        {"year 1900", {"15", "04", "1900"}, {"15", "04", "1900"}},
        {"year 2100", {"15", "04", "2100"}, {"15", "04", "2100"}},
        {"year 2101: today's", {"15", "04", "2101"}, {"15", "04", "2025"}},
    };
    for (const bool dayFirst : {true, false}) {
        for (const auto &r : rows)
            QTest::addRow("%s, %s", dayFirst ? "day first" : "month first", r.name) << dayFirst << r.dmy << r.expected;
    }
}

void tst_ucvPelidoraEntry::checkDateCompletesAndCorrects()
{
    QFETCH(bool, dayFirst);
    QFETCH(QStringList, dmy);
    QFETCH(QStringList, expected);
    LocalePin pin(dayFirst ? "en_GB" : "en_US");
    ucvPelidora box;
    setFields(box, inOrder(dayFirst, dmy));
    const int serial = dateSetSerial(box);
    QCOMPARE(fieldsOf(box), inOrder(dayFirst, expected));
    QCOMPARE(serial, expected[2].isEmpty() ? -1 : serialOf(expected[2].toInt(), expected[1].toInt(), expected[0].toInt()));
}

void tst_ucvPelidoraEntry::dateSetWriteAndRead_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown"); // the fields right after the write
    QTest::addColumn<int>("read");          // the serial DateSet reads back; -1 for "-1"
    const QStringList empty{"", "", ""};
    QTest::newRow("serial 36526") << "en_GB" << "36526" << QStringList{"01", "01", "2000"} << 36526;
    QTest::newRow("date text") << "en_GB" << "15/03/2010" << QStringList{"15", "03", "2010"} << serialOf(2010, 3, 15);
    QTest::newRow("month-first text") << "en_US" << "3/15/2010" << QStringList{"03", "15", "2010"} << serialOf(2010, 3, 15);
    QTest::newRow("noon to the even 36526") << "en_GB" << "01/01/2000 12:00" << QStringList{"01", "01", "2000"} << 36526;
    QTest::newRow("noon to the even 36528") << "en_GB" << "02/01/2000 12:00" << QStringList{"03", "01", "2000"} << 36528;
    QTest::newRow("empty text") << "en_GB" << "" << empty << -1;
    QTest::newRow("-1") << "en_GB" << "-1" << empty << -1;
    QTest::newRow("serial 1 is no date") << "en_GB" << "1" << empty << -1;
    QTest::newRow("beyond 32 bits") << "en_GB" << "99999999999" << empty << -1;
    QTest::newRow("31/12/9999 as a serial") << "en_GB" << "2958465" << QStringList{"31", "12", "9999"} << serialOf(kTodayYear, 12, 31);
    QTest::newRow("past 31/12/9999") << "en_GB" << "99999999" << empty << -1;
    QTest::newRow("31/12/9999 past noon") << "en_GB" << "31/12/9999 13:00" << empty << -1;
    QTest::newRow("2150 shown, read as today's year")
        << "en_GB" << "15/03/2150" << QStringList{"15", "03", "2150"} << serialOf(kTodayYear, 3, 15);
}

void tst_ucvPelidoraEntry::dateSetWriteAndRead()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    QFETCH(int, read);
    LocalePin pin(locale);
    ucvPelidora box;
    QSignalSpy notices(box.site(), &Site::propertyChanged);
    box = text; // DateSet is the default member
    QCOMPARE(fieldsOf(box), shown);
    QCOMPARE(notices.count(), 1); // no date is no error either
    QCOMPARE(dateSetSerial(box), read);
}

void tst_ucvPelidoraEntry::storedSerialsNeverBreakTheFields_data()
{
    QTest::addColumn<int>("stored");
    QTest::newRow("INT_MIN") << std::numeric_limits<int>::min();
    QTest::newRow("1") << 1;
    QTest::newRow("2, 1 January 1900") << 2;
    QTest::newRow("past 9999") << core::kMaxSerial + 1;
    QTest::newRow("INT_MAX") << std::numeric_limits<int>::max();
}

void tst_ucvPelidoraEntry::storedSerialsNeverBreakTheFields()
{
    QFETCH(int, stored);
    LocalePin pin("en_GB");
    Site site(true);
    ucvPelidora box(&site);
    PropertyBag bag;
    bag.WriteProperty("DateSet", QVariant::fromValue(qint32(stored)));
    box.ReadProperties(bag);
    const int serial = dateSetSerial(box);
    // Whatever year a serial from 2 up had, a date in 1900-2100 is read back.
    QVERIFY2(stored >= 2 ? serial >= 2 && platform::yearOf(serial) <= 2100 : serial == -1,
             qPrintable(QString::number(serial)));
}

void tst_ucvPelidoraEntry::keysAreFiltered_data()
{
    QTest::addColumn<KeyCase>("k");
    QTest::newRow("0 into an empty field") << KeyCase{"txtDay", "", 0, 0, Qt::Key_0, "0", "", 0};
    QTest::newRow("0 after a digit") << KeyCase{"txtDay", "1", 1, 0, Qt::Key_0, "0", "10", 0};
    QTest::newRow("digit over a selection") << KeyCase{"txtDay", "12", 0, 2, Qt::Key_5, "5", "5", 0};
    QTest::newRow("third digit in a full day") << KeyCase{"txtDay", "12", 2, 0, Qt::Key_5, "5", "12", 0};
    QTest::newRow("fourth digit of the year") << KeyCase{"txtYear", "200", 3, 0, Qt::Key_5, "5", "2005", 0};
    QTest::newRow("fifth digit of the year") << KeyCase{"txtYear", "2001", 4, 0, Qt::Key_5, "5", "2001", 0};
    QTest::newRow("letter") << KeyCase{"txtDay", "1", 1, 0, Qt::Key_A, "a", "1", 1};
    QTest::newRow("slash") << KeyCase{"txtMonth", "1", 1, 0, Qt::Key_Slash, "/", "1", 1};
    QTest::newRow("letter in a full field") << KeyCase{"txtDay", "12", 2, 0, Qt::Key_X, "x", "12", 1};
    QTest::newRow("Arabic-Indic digit") << KeyCase{"txtDay", "1", 1, 0, 0, QString(QChar(0x0663)), "1", 1};
    QTest::newRow("Ctrl+V") << KeyCase{"txtDay", "", 0, 0, (Qt::ControlModifier | Qt::Key_V).toCombined(),
                                       QString(QChar(22)), "", 1};
    QTest::newRow("Backspace") << KeyCase{"txtDay", "12", 2, 0, Qt::Key_Backspace, "\b", "1", 0};
    QTest::newRow("Delete") << KeyCase{"txtDay", "12", 0, 0, Qt::Key_Delete, "\x7f", "2", 0};
    QTest::newRow("Ctrl+Backspace") << KeyCase{"txtYear", "2010", 4, 0, (Qt::ControlModifier | Qt::Key_Backspace).toCombined(),
                                               "\b", "2010", 1};
    // Only Alt+Down opens, committing the fields while the year is still as typed.
    const auto down = [](Qt::KeyboardModifiers modifiers) { return (modifiers | Qt::Key_Down).toCombined(); };
    QTest::newRow("Alt+Down") << KeyCase{"txtYear", "98", 2, 0, down(Qt::AltModifier), "", "1998", 0};
    QTest::newRow("keypad Alt+Down")
        << KeyCase{"txtYear", "98", 2, 0, down(Qt::AltModifier | Qt::KeypadModifier), "", "1998", 0};
    QTest::newRow("Down") << KeyCase{"txtYear", "98", 2, 0, down(Qt::NoModifier), "", "98", 0};
    QTest::newRow("Ctrl+Alt+Down") << KeyCase{"txtYear", "98", 2, 0, down(Qt::ControlModifier | Qt::AltModifier), "", "98", 0};
}

void tst_ucvPelidoraEntry::keysAreFiltered()
{
    QFETCH(KeyCase, k);
    LocalePin pin("en_GB");
    ucvPelidora box;
    QGuiApplication::clipboard()->setText("12");
    QLineEdit *edit = field(box, k.field);
    edit->setText(k.before);
    if (k.selLength > 0)
        edit->setSelection(k.selStart, k.selLength);
    else
        edit->setCursorPosition(k.selStart);
    const QKeyCombination key = QKeyCombination::fromCombined(k.key);
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), k.text);
    QApplication::sendEvent(edit, &press);
    QCOMPARE(edit->text(), k.after);
    QCOMPARE(m_ws.beeps, k.beeps);
}

void tst_ucvPelidoraEntry::clickedFieldIsTypedOverAndEnterMovesOn_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("locked");
    QTest::newRow("day to month") << "txtDay" << "txtMonth" << int(Qt::Key_Return) << false;
    QTest::newRow("month to year") << "txtMonth" << "txtYear" << int(Qt::Key_Return) << false;
    QTest::newRow("year back to day") << "txtYear" << "txtDay" << int(Qt::Key_Return) << false;
    QTest::newRow("keypad Enter") << "txtDay" << "txtMonth" << int(Qt::Key_Enter) << false;
    QTest::newRow("locked box") << "txtDay" << "txtMonth" << int(Qt::Key_Return) << true;
}

void tst_ucvPelidoraEntry::clickedFieldIsTypedOverAndEnterMovesOn()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, key);
    QFETCH(bool, locked);
    LocalePin pin("en_GB");
    ucvPelidora box;
    box.setLocked(locked);
    QVERIFY(showActive(box));
    QLineEdit *edit = field(box, qPrintable(from));
    QLineEdit *next = field(box, qPrintable(to));
    next->setFocus(); // the click brings the focus from another field
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
    QCOMPARE(edit->selectedText(), edit->text()); // the click selects the whole field
    const QString before = edit->text();
    QTest::keyClicks(edit, "9");
    QCOMPARE(edit->text(), locked ? before : QString("9"));
    QTest::keyClick(edit, Qt::Key(key));
    QVERIFY(next->hasFocus());
    QCOMPARE(next->selectedText(), next->text());
    QCOMPARE(m_ws.beeps, 0);
}

void tst_ucvPelidoraEntry::leavingAFieldCorrectsOnlyWithADateHeld_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after"); // all three fields after leaving
    // The held date is 15 April 2010; today 23 June 2025.
    QTest::newRow("day 45, day first") << "en_GB" << true << "txtDay" << "45" << QStringList{"23", "04", "2010"};
    QTest::newRow("month 13, day first") << "en_GB" << true << "txtMonth" << "13" << QStringList{"15", "06", "2010"};
    QTest::newRow("year 98") << "en_GB" << true << "txtYear" << "98" << QStringList{"15", "04", "2025"};
    QTest::newRow("empty year stays") << "en_GB" << true << "txtYear" << "" << QStringList{"15", "04", ""};
    QTest::newRow("first field 13, month first") << "en_US" << true << "txtDay" << "13" << QStringList{"06", "15", "2010"};
    QTest::newRow("second field 32, month first") << "en_US" << true << "txtMonth" << "32" << QStringList{"04", "23", "2010"};
    QTest::newRow("second field 13 stays, month first") << "en_US" << true << "txtMonth" << "13" << QStringList{"04", "13", "2010"};
    QTest::newRow("no date: day 45 stays") << "en_GB" << false << "txtDay" << "45" << QStringList{"45", "", ""};
}

void tst_ucvPelidoraEntry::leavingAFieldCorrectsOnlyWithADateHeld()
{
    QFETCH(QString, locale);
    QFETCH(bool, held);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    LocalePin pin(locale);
    ucvPelidora box;
    box.setDateSet(held ? QString::number(serialOf(2010, 4, 15)) : QString());
    QVERIFY(showActive(box));
    QLineEdit *edit = field(box, qPrintable(name));
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Backspace); // the whole text is selected
    QTest::keyClicks(edit, typed);
    field(box, name == "txtDay" ? "txtYear" : "txtDay")->setFocus(Qt::TabFocusReason);
    QCOMPARE(fieldsOf(box), after);
}

void tst_ucvPelidoraEntry::pastedTextIsFilteredLikeTyping_data()
{
    QTest::addColumn<PasteCase>("p");
    const QStringList held{"15", "04", "2010"};
    const auto row = [](const char *name, PasteCase p) { QTest::newRow(name) << p; };
    row("letters and digits", {"en_GB", "Shift+Insert", "txtMonth", "04", 0, -1, "hello42", {"15", "42", "2010"}, 1});
    row("too many digits", {"en_GB", "Shift+Insert", "txtYear", "2010", 0, -1, "20202626", {"15", "04", "2020"}, 1});
    row("a serial is digits", {"en_GB", "Shift+Insert", "txtYear", "2010", 0, -1, "36526", {"15", "04", "3652"}, 1});
    row("no leading zero", {"en_GB", "Shift+Insert", "txtDay", "15", 0, -1, "0815", {"81", "04", "2010"}, 1});
    row("at the caret", {"en_GB", "Shift+Insert", "txtYear", "20", 2, 0, " 25\n", {"15", "04", "2025"}, 0});
    row("date, day first", {"en_GB", "Shift+Insert", "txtYear", "2010", 0, -1, "5/3/2024", {"05", "03", "2024"}, 0});
    row("date, month first", {"en_US", "Shift+Insert", "txtDay", "04", 0, -1, "3.5.2024", {"03", "05", "2024"}, 0});
    row("date with dashes", {"en_GB", "Shift+Insert", "txtDay", "15", 0, -1, "1-12-2024", {"01", "12", "2024"}, 0});
    row("ISO date", {"en_US", "Shift+Insert", "txtMonth", "15", 0, -1, "2024-03-05", {"03", "05", "2024"}, 0});
    row("no day 45", {"en_GB", "Shift+Insert", "txtDay", "", 0, 0, "45-03-2024", {"45", "04", "2010"}, 1});
    row("mixed separators", {"en_GB", "Shift+Insert", "txtDay", "", 0, 0, "5/3-2024", {"53", "04", "2010"}, 1});
    row("locked", {"en_GB", "locked", "txtDay", "15", 0, -1, "5/3/2024", held, 0});
    // Back from the menu the selection is as it was: the caret, not the whole field.
    row("menu, at the caret", {"en_GB", "menu", "txtYear", "20", 2, 0, "25", {"15", "04", "2025"}, 0});
    row("menu, a date", {"en_GB", "menu", "txtYear", "20", 2, 0, "1.2.2003", {"01", "02", "2003"}, 0});
    row("drop", {"en_GB", "drop", "txtDay", "", 0, 0, "7x", {"7", "04", "2010"}, 1});
    row("middle click", {"en_GB", "middle", "txtDay", "", 0, 0, "2x", {"2", "04", "2010"}, 1});
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
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(p.pasted);
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
        // The desktop's selection, where the platform has one.
        clipboard->setText(p.pasted, QClipboard::Selection);
        if (!clipboard->supportsSelection())
            p = {p.locale, p.how, p.field, p.before, 0, 0, {}, {"", "04", "2010"}, 0};
        QTest::mouseClick(edit, Qt::MiddleButton);
    } else {
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    }
    QCOMPARE(fieldsOf(box), p.after);
    QCOMPARE(m_ws.beeps, p.beeps);
}

void tst_ucvPelidoraEntry::pastedTextNeverBreaksTheBox_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("huge numbers") << QStringList{"99999999999", "4294967296", "99999999999999999999"};
    QTest::newRow("signs") << QStringList{"-5", "+3", "-2000"};
    QTest::newRow("other scripts' digits") << QStringList{"\u0661\u0662", "\u0663", "\u0662\u0660\u0660\u0660"};
    QTest::newRow("a long paste") << QStringList{QString(5000, '9'), QString(5000, '1'), QString(5000, '2')};
}

void tst_ucvPelidoraEntry::pastedTextNeverBreaksTheBox()
{
    QFETCH(QStringList, texts);
    const auto inRange = [](int serial) { return serial >= serialOf(1900, 1, 1) && serial <= serialOf(2100, 12, 31); };
    for (const char *locale : {"en_GB", "en_US"}) {
        LocalePin pin(locale);
        ucvPelidora box;
        QVERIFY(showActive(box));
        // Pasted into each field in turn, leaving each one with a date held.
        for (int i = 0; i < 3; ++i) {
            QLineEdit *edit = field(box, i == 0 ? "txtDay" : i == 1 ? "txtMonth" : "txtYear");
            edit->setFocus();
            edit->selectAll();
            QGuiApplication::clipboard()->setText(texts[i]);
            edit->paste();
            field(box, i == 2 ? "txtDay" : "txtYear")->setFocus();
        }
        QVERIFY(inRange(dateSetSerial(box)));
        // Without a date held, the same texts put into empty fields.
        box.setDateSet(QString());
        setFields(box, texts);
        QVERIFY(inRange(dateSetSerial(box)));
    }
}

void tst_ucvPelidoraEntry::dateSignalsFollowEveryChange_data()
{
    QTest::addColumn<QDate>("held");          // before the action; invalid: no date
    QTest::addColumn<BoxAction>("action");
    QTest::addColumn<QList<QDate>>("changed"); // dateChanged, in order
    QTest::addColumn<int>("edited");           // dateEdited for the last change
    const QDate april15(2010, 4, 15), may20(2011, 5, 20), april20(2010, 4, 20);
    const auto row = [](const char *name, QDate held, BoxAction action, QList<QDate> changed, int edited = 0) {
        QTest::newRow(name) << held << action << changed << edited;
    };
    row("setDate", april15, [=](ucvPelidora &b) { b.setDate(may20); }, {may20});
    row("setDate, same date", april15, [=](ucvPelidora &b) { b.setDate(april15); }, {});
    row("setDate invalid", april15, [](ucvPelidora &b) { b.setDate({}); }, {QDate()});
    row("setDate before 1900", april15, [](ucvPelidora &b) { b.setDate({1899, 12, 31}); }, {QDate()});
    row("setDate year 10000", april15, [](ucvPelidora &b) { b.setDate({10000, 1, 1}); }, {QDate()});
    row("DateSet write", april15, [](ucvPelidora &b) { b = "20/05/2011"; }, {may20});
    row("DateSet write, same date", april15, [](ucvPelidora &b) { b = "15/04/2010"; }, {});
    row("no date to serial 1", QDate(), [](ucvPelidora &b) { b = "1"; }, {});
    row("read, nothing typed", april15, [](ucvPelidora &b) { b.DateSet(); }, {});
    row("typed, DateSet read", april15, [](ucvPelidora &b) { typeInto(b, "txtDay", "20"); b.DateSet(); }, {april20}, 1);
    row("typed, date read", april15, [](ucvPelidora &b) { typeInto(b, "txtDay", "20"); b.date(); }, {april20}, 1);
    row("typed, Tab commits nothing", april15, [](ucvPelidora &b) {
        field(b, "txtDay")->setFocus();
        typeInto(b, "txtDay", "20");
        QTest::keyClick(field(b, "txtDay"), Qt::Key_Tab);
    }, {});
    row("typed 45, corrected on leaving", april15, [](ucvPelidora &b) {
        field(b, "txtDay")->setFocus();
        typeInto(b, "txtDay", "45");
        QTest::keyClick(field(b, "txtDay"), Qt::Key_Tab);
    }, {QDate(2010, 4, 23)}, 1);
    row("typed, Alt+Down", april15, [](ucvPelidora &b) {
        b.hide(); // commits, and opens nothing
        typeInto(b, "txtYear", "98");
        QTest::keyClick(field(b, "txtYear"), Qt::Key_Down, Qt::AltModifier);
    }, {QDate(1998, 4, 15)}, 1);
    row("cleared by the user", april15, [](ucvPelidora &b) {
        for (const char *name : {"txtDay", "txtMonth", "txtYear"})
            typeInto(b, name, "");
        b.date();
    }, {QDate()}, 1);
    row("2150 corrected by a read", QDate(2150, 3, 15), [](ucvPelidora &b) { b.DateSet(); }, {QDate(2025, 3, 15)});
    row("InitProperties", april15, [](ucvPelidora &b) { b.InitProperties(); }, {QDate(2025, 6, 23)});
    row("ReadProperties", april15, [](ucvPelidora &b) {
        PropertyBag bag;
        bag.WriteProperty("DateSet", serialOf(2011, 5, 20));
        b.ReadProperties(bag);
    }, {may20});
    // A slot may hold another date or delete the box while it hears of a change.
    row("a slot holds another date", april15, [=](ucvPelidora &b) {
        QObject::connect(&b, &ucvPelidora::dateChanged, &b, [&b, may20] { b.setDate(may20); }, Qt::SingleShotConnection);
        typeInto(b, "txtDay", "20");
        b.date();
    }, {april20, may20}, 0);
    row("a slot deletes the box", april15, [](ucvPelidora &b) {
        QObject::connect(&b, &ucvPelidora::dateChanged, &b, [&b] { delete &b; });
        typeInto(b, "txtYear", "98");
        QTest::keyClick(field(b, "txtYear"), Qt::Key_Down, Qt::AltModifier);
    }, {QDate(1998, 4, 15)}, 0);
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
    box->setDateSet(held.isValid() ? QString::number(serialOf(held.year(), held.month(), held.day())) : "-1");
    QVERIFY(showActive(form));
    QList<QDate> changes, edits;
    QObject::connect(box, &ucvPelidora::dateChanged, [&](const QDate &date) { changes << date; });
    QObject::connect(box, &ucvPelidora::dateEdited, [&](const QDate &date) { edits << date; });
    action(*box);
    QCOMPARE(changes, changed);
    QCOMPARE(edits, edited ? QList<QDate>{changed.constLast()} : QList<QDate>{});
}

// A mapper or an item view writes the model when the focus leaves the box, never while
// it moves between the fields.
void tst_ucvPelidoraEntry::itemViewsTakeTheDateWhenTheBoxIsLeft_data()
{
    QTest::addColumn<int>("policy"); // a QDataWidgetMapper::SubmitPolicy; -1: a table view's editor
    QTest::newRow("mapper, auto submit") << int(QDataWidgetMapper::AutoSubmit);
    QTest::newRow("mapper, manual submit") << int(QDataWidgetMapper::ManualSubmit);
    QTest::newRow("table view") << -1;
}

void tst_ucvPelidoraEntry::itemViewsTakeTheDateWhenTheBoxIsLeft()
{
    QFETCH(int, policy);
    LocalePin pin("en_GB");
    QStandardItemModel model(1, 2);
    const QModelIndex index = model.index(0, 0);
    model.setData(index, QDate(2010, 4, 15));
    QWidget form;
    QDataWidgetMapper mapper;
    QTableView view(&form);
    BoxDelegate delegate;
    ucvPelidora *box = nullptr;
    if (policy >= 0) {
        box = new ucvPelidora(&form);
        new QLineEdit(&form); // where the focus goes next
        mapper.setModel(&model);
        mapper.setSubmitPolicy(QDataWidgetMapper::SubmitPolicy(policy));
        mapper.addMapping(box, 0);
        mapper.toFirst();
        QVERIFY(showActive(form));
        box->setFocus();
    } else {
        view.setModel(&model);
        view.setItemDelegateForColumn(0, &delegate);
        view.resize(400, 200);
        QVERIFY(showActive(form));
        view.setCurrentIndex(index);
        view.edit(index);
        box = view.findChild<ucvPelidora *>();
        QVERIFY(box);
    }
    QCOMPARE(fieldsOf(*box), QStringList({"15", "04", "2010"}));
    QCOMPARE(QApplication::focusWidget(), field(*box, "txtDay"));

    for (const QString &typed : QStringList{"20", "05", "2011"}) {
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QCOMPARE(model.data(index).toDate(), QDate(2010, 4, 15));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QVERIFY(!box->isAncestorOf(QApplication::focusWidget()));
    if (policy == QDataWidgetMapper::ManualSubmit) {
        QCOMPARE(model.data(index).toDate(), QDate(2010, 4, 15));
        QVERIFY(mapper.submit());
    }
    QCOMPARE(model.data(index).toDate(), QDate(2011, 5, 20));
}

QTEST_MAIN(tst_ucvPelidoraEntry)
#include "tst_ucvpelidora_entry.moc"
