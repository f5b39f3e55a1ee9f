#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include "platform/dayserial.h"
#include "platform/localedates.h"
#include "support/testsupport.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace pelidora;

namespace {

// Today, in every test: 23 June 2025 (a day above 12, so day and month cannot be mixed up).
constexpr int kTodayYear = 2025, kTodayMonth = 6, kTodayDay = 23;

int serialOf(int year, int month, int day)
{
    return core::serialFromCivil({year, month, day});
}

QLineEdit *field(ucvPelidora &box, const char *name)
{
    return box.findChild<QLineEdit *>(QLatin1String(name));
}

// The three field texts, first to last.
QStringList fieldsOf(ucvPelidora &box)
{
    return {field(box, "txtDay")->text(), field(box, "txtMonth")->text(), field(box, "txtYear")->text()};
}

void setFields(ucvPelidora &box, const QStringList &texts)
{
    field(box, "txtDay")->setText(texts.value(0));
    field(box, "txtMonth")->setText(texts.value(1));
    field(box, "txtYear")->setText(texts.value(2));
}

// Day, month, year as the fields of a box in this order hold them.
QStringList inOrder(bool dayFirst, const QString &day, const QString &month, const QString &year)
{
    return dayFirst ? QStringList{day, month, year} : QStringList{month, day, year};
}

bool showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// The serial a DateSet text names in the current locale; -1 for "-1".
int serialFromText(const QString &text)
{
    return platform::dateSerial(text).value_or(-2);
}

} // namespace

class tst_ucvPelidoraEntry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_ws.beeps = 0; }
    void typedDateIsCorrected_data();
    void typedDateIsCorrected();
    void checkDateCompletesAndCorrects_data();
    void checkDateCompletesAndCorrects();
    void shortYearsAreCompleted_data();
    void shortYearsAreCompleted();
    void dateSetWriteAndRead_data();
    void dateSetWriteAndRead();
    void storedSerialsNeverBreakTheFields_data();
    void storedSerialsNeverBreakTheFields();
    void keysAreFiltered_data();
    void keysAreFiltered();
    void keyboardPasteIsRefused();
    void enterMovesToTheNextField_data();
    void enterMovesToTheNextField();
    void focusSelectsTheWholeField();
    void leavingAFieldCorrectsOnlyWithADateHeld_data();
    void leavingAFieldCorrectsOnlyWithADateHeld();
    void onlyAltDownOpens_data();
    void onlyAltDownOpens();
    void lockedBoxStillTakesDatesAndEnter();
    void pastedTextNeverBreaksTheBox_data();
    void pastedTextNeverBreaksTheBox();

private:
    test::FakeWindowSystem m_ws;
    test::TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
};

// A user types day, month and year (in the locale's field order) and reads the date back.
void tst_ucvPelidoraEntry::typedDateIsCorrected_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("typed");    // first, second, year field as keys
    QTest::addColumn<QStringList>("shown");    // the fields after DateSet is read
    QTest::addColumn<int>("serial");
    QTest::newRow("en_GB 31 02 2001") << "en_GB" << QStringList{"31", "02", "2001"}
                                      << QStringList{"28", "02", "2001"} << serialOf(2001, 2, 28);
    QTest::newRow("it_IT 31 02 2004") << "it_IT" << QStringList{"31", "02", "2004"}
                                      << QStringList{"29", "02", "2004"} << serialOf(2004, 2, 29);
    QTest::newRow("en_US 02 31 2001") << "en_US" << QStringList{"02", "31", "2001"}
                                      << QStringList{"02", "28", "2001"} << serialOf(2001, 2, 28);
    QTest::newRow("en_GB 7 9 1999") << "en_GB" << QStringList{"7", "9", "1999"}
                                    << QStringList{"07", "09", "1999"} << serialOf(1999, 9, 7);
    QTest::newRow("en_US 12 25 2010") << "en_US" << QStringList{"12", "25", "2010"}
                                      << QStringList{"12", "25", "2010"} << serialOf(2010, 12, 25);
}

void tst_ucvPelidoraEntry::typedDateIsCorrected()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);
    QFETCH(int, serial);
    test::LocalePin pin(locale);
    ucvPelidora box;
    QVERIFY(showActive(box));
    const char *names[] = {"txtDay", "txtMonth", "txtYear"};
    field(box, names[0])->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(field(box, names[i])->hasFocus());
        QTest::keyClicks(field(box, names[i]), typed[i]);
        if (i < 2)
            QTest::keyClick(field(box, names[i]), Qt::Key_Tab);
    }
    const QString text = box.DateSet();
    QCOMPARE(serialFromText(text), serial);
    QCOMPARE(fieldsOf(box), shown);
    QCOMPARE(m_ws.beeps, 0);
}

void tst_ucvPelidoraEntry::checkDateCompletesAndCorrects_data()
{
    QTest::addColumn<bool>("dayFirst");
    QTest::addColumn<QStringList>("dmy");      // day, month, year texts put into the fields
    QTest::addColumn<QStringList>("expected"); // day, month, year after DateSet is read
    const struct {
        const char *name;
        QStringList dmy, expected;
    } rows[] = {
        {"31 February lowered to 28", {"31", "02", "2001"}, {"28", "02", "2001"}},
        {"30 February of a leap year", {"30", "2", "2000"}, {"29", "02", "2000"}},
        {"31 April lowered to 30", {"31", "4", "2001"}, {"30", "04", "2001"}},
        {"day 0 becomes today's day", {"0", "05", "2001"}, {"23", "05", "2001"}},
        {"day 32 becomes today's day", {"32", "05", "2001"}, {"23", "05", "2001"}},
        {"month 13 becomes today's month", {"15", "13", "2001"}, {"15", "06", "2001"}},
        {"month 0 becomes today's month", {"15", "00", "2001"}, {"15", "06", "2001"}},
        {"today's day 23 for February stays", {"45", "02", "2001"}, {"23", "02", "2001"}},
        {"empty day: today", {"", "05", "2001"}, {"23", "06", "2025"}},
        {"empty year: today", {"15", "05", ""}, {"23", "06", "2025"}},
        {"year outside 1900-2100: today's year", {"15", "05", "1899"}, {"15", "05", "2025"}},
        {"all cleared: no date", {"", "", ""}, {"", "", ""}},
    };
    for (const bool dayFirst : {true, false}) {
        for (const auto &r : rows)
            QTest::addRow("%s, %s", dayFirst ? "day first" : "month first", r.name)
                << dayFirst << r.dmy << r.expected;
    }
}

void tst_ucvPelidoraEntry::checkDateCompletesAndCorrects()
{
    QFETCH(bool, dayFirst);
    QFETCH(QStringList, dmy);
    QFETCH(QStringList, expected);
    test::LocalePin pin(dayFirst ? "en_GB" : "en_US");
    ucvPelidora box;
    setFields(box, inOrder(dayFirst, dmy[0], dmy[1], dmy[2]));
    const QString text = box.DateSet();
    QCOMPARE(fieldsOf(box), inOrder(dayFirst, expected[0], expected[1], expected[2]));
    if (expected[2].isEmpty())
        QCOMPARE(text, QString("-1"));
    else
        QCOMPARE(serialFromText(text), serialOf(expected[2].toInt(), expected[1].toInt(), expected[0].toInt()));
}

void tst_ucvPelidoraEntry::shortYearsAreCompleted_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<int>("expected");
    QTest::newRow("5") << "5" << 2005;
    QTest::newRow("0") << "0" << 2000;
    QTest::newRow("00") << "00" << 2000;
    QTest::newRow("20") << "20" << 2020;
    QTest::newRow("21") << "21" << 1921;
    QTest::newRow("99") << "99" << 1999;
    QTest::newRow("998") << "998" << 1998;
    QTest::newRow("012") << "012" << 2012;
    QTest::newRow("100 is 1100, then today's") << "100" << kTodayYear;
    QTest::newRow("1900") << "1900" << 1900;
    QTest::newRow("2100") << "2100" << 2100;
    QTest::newRow("2101 is today's") << "2101" << kTodayYear;
    QTest::newRow("12345 is today's") << "12345" << kTodayYear;
}

void tst_ucvPelidoraEntry::shortYearsAreCompleted()
{
    QFETCH(QString, year);
    QFETCH(int, expected);
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    box.setDateSet(QString()); // no date held: leaving the year field changes nothing
    QVERIFY(showActive(box));
    field(box, "txtDay")->setText("15");
    field(box, "txtMonth")->setText("4");
    field(box, "txtYear")->setFocus();
    field(box, "txtYear")->setText(year);
    field(box, "txtDay")->setFocus();
    QCOMPARE(field(box, "txtYear")->text(), year);
    QCOMPARE(serialFromText(box.DateSet()), serialOf(expected, 4, 15));
    QCOMPARE(field(box, "txtYear")->text(), QString::number(expected));
}

void tst_ucvPelidoraEntry::dateSetWriteAndRead_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown"); // the fields right after the write
    QTest::addColumn<int>("read");          // the serial DateSet reads back; -1 for "-1"
    const QStringList empty{"", "", ""};
    QTest::newRow("serial 36526") << "en_GB" << "36526" << QStringList{"01", "01", "2000"} << 36526;
    QTest::newRow("serial, month first") << "en_US" << "36527" << QStringList{"01", "02", "2000"} << 36527;
    QTest::newRow("date text") << "en_GB" << "15/03/2010" << QStringList{"15", "03", "2010"} << serialOf(2010, 3, 15);
    QTest::newRow("month-first text") << "en_US" << "3/15/2010" << QStringList{"03", "15", "2010"} << serialOf(2010, 3, 15);
    QTest::newRow("after noon is the next day") << "en_GB" << "01/01/2000 13:00" << QStringList{"02", "01", "2000"} << 36527;
    QTest::newRow("before noon stays") << "en_GB" << "01/01/2000 11:59" << QStringList{"01", "01", "2000"} << 36526;
    QTest::newRow("noon to the even serial 36526") << "en_GB" << "01/01/2000 12:00" << QStringList{"01", "01", "2000"} << 36526;
    QTest::newRow("noon to the even serial 36528") << "en_GB" << "02/01/2000 12:00" << QStringList{"03", "01", "2000"} << 36528;
    QTest::newRow("fraction of a serial") << "en_GB" << "36526.5" << QStringList{"01", "01", "2000"} << 36526;
    QTest::newRow("empty text") << "en_GB" << "" << empty << -1;
    QTest::newRow("letters") << "en_GB" << "tomorrow" << empty << -1;
    QTest::newRow("31 February is no date") << "en_GB" << "31/02/2001" << empty << -1;
    QTest::newRow("-1") << "en_GB" << "-1" << empty << -1;
    QTest::newRow("serial 1 is no date") << "en_GB" << "1" << empty << -1;
    QTest::newRow("negative serial") << "en_GB" << "-5" << empty << -1;
    QTest::newRow("beyond 32 bits") << "en_GB" << "99999999999" << empty << -1;
    QTest::newRow("2150 shown, read as today's year")
        << "en_GB" << "15/03/2150" << QStringList{"15", "03", "2150"} << serialOf(kTodayYear, 3, 15);
}

void tst_ucvPelidoraEntry::dateSetWriteAndRead()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    QFETCH(int, read);
    test::LocalePin pin(locale);
    ucvPelidora box;
    QSignalSpy notices(box.site(), &Site::propertyChanged);
    box.setDateSet(text);
    QCOMPARE(fieldsOf(box), shown);
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toString(), QString("DateSet"));
    const QString result = box.DateSet();
    if (read == -1)
        QCOMPARE(result, QString("-1"));
    else
        QCOMPARE(serialFromText(result), read);
    QCOMPARE(m_ws.beeps, 0);
}

void tst_ucvPelidoraEntry::storedSerialsNeverBreakTheFields_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("dateHeld");
    QTest::newRow("INT_MIN") << std::numeric_limits<int>::min() << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << false;
    QTest::newRow("2, 1 January 1900") << 2 << true;
    QTest::newRow("past 9999") << core::kMaxSerial + 1 << true;
    QTest::newRow("INT_MAX") << std::numeric_limits<int>::max() << true;
}

void tst_ucvPelidoraEntry::storedSerialsNeverBreakTheFields()
{
    QFETCH(int, stored);
    QFETCH(bool, dateHeld);
    test::LocalePin pin("en_GB");
    Site site(true);
    ucvPelidora box(&site);
    PropertyBag bag;
    bag.WriteProperty("DateSet", QVariant::fromValue(qint32(stored)));
    box.ReadProperties(bag);
    const QString text = box.DateSet();
    if (!dateHeld) {
        QCOMPARE(text, QString("-1"));
        return;
    }
    // Whatever year the serial had, a date in 1900-2100 is read back.
    const int serial = serialFromText(text);
    QVERIFY2(serial >= 2 && platform::yearOf(serial) <= 2100, qPrintable(text));
}

void tst_ucvPelidoraEntry::keysAreFiltered_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selStart");  // caret when selLength is 0
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("beeps");
    const int digit0 = Qt::Key_0, digit5 = Qt::Key_5;
    QTest::newRow("0 into an empty field") << "txtDay" << "" << 0 << 0 << digit0 << "0" << "" << 0;
    QTest::newRow("0 at the start") << "txtDay" << "5" << 0 << 0 << digit0 << "0" << "5" << 0;
    QTest::newRow("0 over the whole text") << "txtMonth" << "12" << 0 << 2 << digit0 << "0" << "12" << 0;
    QTest::newRow("0 after a digit") << "txtDay" << "1" << 1 << 0 << digit0 << "0" << "10" << 0;
    QTest::newRow("0 over the last digit") << "txtDay" << "12" << 1 << 1 << digit0 << "0" << "10" << 0;
    QTest::newRow("0 in the year after 2") << "txtYear" << "2" << 1 << 0 << digit0 << "0" << "20" << 0;
    QTest::newRow("third digit in a full day") << "txtDay" << "12" << 2 << 0 << digit5 << "5" << "12" << 0;
    QTest::newRow("third digit in a full month") << "txtMonth" << "12" << 1 << 0 << digit5 << "5" << "12" << 0;
    QTest::newRow("digit over a selection") << "txtDay" << "12" << 0 << 2 << digit5 << "5" << "5" << 0;
    QTest::newRow("fourth digit of the year") << "txtYear" << "200" << 3 << 0 << int(Qt::Key_1) << "1" << "2001" << 0;
    QTest::newRow("fifth digit of the year") << "txtYear" << "2001" << 4 << 0 << digit5 << "5" << "2001" << 0;
    QTest::newRow("letter") << "txtDay" << "1" << 1 << 0 << int(Qt::Key_A) << "a" << "1" << 1;
    QTest::newRow("space") << "txtMonth" << "1" << 1 << 0 << int(Qt::Key_Space) << " " << "1" << 1;
    QTest::newRow("minus") << "txtYear" << "19" << 2 << 0 << int(Qt::Key_Minus) << "-" << "19" << 1;
    QTest::newRow("slash") << "txtDay" << "1" << 1 << 0 << int(Qt::Key_Slash) << "/" << "1" << 1;
    QTest::newRow("letter in a full field") << "txtDay" << "12" << 2 << 0 << int(Qt::Key_X) << "x" << "12" << 1;
    QTest::newRow("Escape") << "txtDay" << "1" << 1 << 0 << int(Qt::Key_Escape) << "\x1b" << "1" << 1;
    QTest::newRow("Arabic-Indic digit") << "txtDay" << "1" << 1 << 0 << 0 << QString(QChar(0x0663)) << "1" << 1;
    QTest::newRow("Backspace") << "txtDay" << "12" << 2 << 0 << int(Qt::Key_Backspace) << "\b" << "1" << 0;
    QTest::newRow("Delete") << "txtDay" << "12" << 0 << 0 << int(Qt::Key_Delete) << "\x7f" << "2" << 0;
    QTest::newRow("Left keeps the line edit's handling") << "txtDay" << "1" << 1 << 0 << int(Qt::Key_Left) << "" << "1" << 0;
}

void tst_ucvPelidoraEntry::keysAreFiltered()
{
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, key);
    QFETCH(QString, keyText);
    QFETCH(QString, after);
    QFETCH(int, beeps);
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    QLineEdit *edit = field(box, qPrintable(name));
    edit->setText(before);
    if (selLength > 0)
        edit->setSelection(selStart, selLength);
    else
        edit->setCursorPosition(selStart);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
    QApplication::sendEvent(edit, &press);
    QCOMPARE(edit->text(), after);
    QCOMPARE(m_ws.beeps, beeps);
}

void tst_ucvPelidoraEntry::keyboardPasteIsRefused()
{
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    QGuiApplication::clipboard()->setText("12");
    QLineEdit *edit = field(box, "txtDay");
    edit->clear();
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    QApplication::sendEvent(edit, &paste);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(m_ws.beeps, 1);
}

void tst_ucvPelidoraEntry::enterMovesToTheNextField_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("key");
    QTest::newRow("day to month") << "txtDay" << "txtMonth" << int(Qt::Key_Return);
    QTest::newRow("month to year") << "txtMonth" << "txtYear" << int(Qt::Key_Return);
    QTest::newRow("year back to day") << "txtYear" << "txtDay" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << "txtDay" << "txtMonth" << int(Qt::Key_Enter);
}

void tst_ucvPelidoraEntry::enterMovesToTheNextField()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, key);
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    QVERIFY(showActive(box));
    field(box, qPrintable(from))->setFocus();
    QTest::keyClick(field(box, qPrintable(from)), Qt::Key(key));
    QVERIFY(field(box, qPrintable(to))->hasFocus());
    QCOMPARE(field(box, qPrintable(to))->selectedText(), field(box, qPrintable(to))->text());
    QCOMPARE(m_ws.beeps, 0);
}

void tst_ucvPelidoraEntry::focusSelectsTheWholeField()
{
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    QVERIFY(showActive(box));
    QLineEdit *month = field(box, "txtMonth");
    QTest::mouseClick(month, Qt::LeftButton, {}, QPoint(2, month->height() / 2));
    QVERIFY(month->hasFocus());
    QCOMPARE(month->selectedText(), QString("06"));
    // Typing replaces the whole field, as a first digit should.
    QTest::keyClicks(month, "9");
    QCOMPARE(month->text(), QString("9"));
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
    QTest::newRow("day 31 stays") << "en_GB" << true << "txtDay" << "31" << QStringList{"31", "04", "2010"};
    QTest::newRow("month 13, day first") << "en_GB" << true << "txtMonth" << "13" << QStringList{"15", "06", "2010"};
    QTest::newRow("year 98") << "en_GB" << true << "txtYear" << "98" << QStringList{"15", "04", "2025"};
    QTest::newRow("year 2101") << "en_GB" << true << "txtYear" << "2101" << QStringList{"15", "04", "2025"};
    QTest::newRow("empty year stays") << "en_GB" << true << "txtYear" << "" << QStringList{"15", "04", ""};
    QTest::newRow("first field 13, month first") << "en_US" << true << "txtDay" << "13" << QStringList{"06", "15", "2010"};
    QTest::newRow("second field 32, month first") << "en_US" << true << "txtMonth" << "32" << QStringList{"04", "23", "2010"};
    QTest::newRow("second field 13 stays, month first") << "en_US" << true << "txtMonth" << "13" << QStringList{"04", "13", "2010"};
    QTest::newRow("no date: day 45 stays") << "en_GB" << false << "txtDay" << "45" << QStringList{"45", "", ""};
    QTest::newRow("no date: year 98 stays") << "en_GB" << false << "txtYear" << "98" << QStringList{"", "", "98"};
}

void tst_ucvPelidoraEntry::leavingAFieldCorrectsOnlyWithADateHeld()
{
    QFETCH(QString, locale);
    QFETCH(bool, held);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    test::LocalePin pin(locale);
    ucvPelidora box;
    box.setDateSet(held ? QString::number(serialOf(2010, 4, 15)) : QString());
    QVERIFY(showActive(box));
    QLineEdit *edit = field(box, qPrintable(name));
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Backspace); // the whole text is selected
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), typed);
    // Leave for another field of the box.
    field(box, name == "txtDay" ? "txtYear" : "txtDay")->setFocus(Qt::TabFocusReason);
    QCOMPARE(fieldsOf(box), after);
}

void tst_ucvPelidoraEntry::onlyAltDownOpens_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Alt+Down") << int(Qt::AltModifier) << true;
    QTest::newRow("keypad Alt+Down") << int(Qt::AltModifier | Qt::KeypadModifier) << true;
    QTest::newRow("Down") << int(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+Alt+Down") << int(Qt::ControlModifier | Qt::AltModifier) << false;
    QTest::newRow("Shift+Alt+Down") << int(Qt::ShiftModifier | Qt::AltModifier) << false;
}

// Opening commits the typed fields (CheckDate) while the year is still as typed.
void tst_ucvPelidoraEntry::onlyAltDownOpens()
{
    QFETCH(int, modifiers);
    QFETCH(bool, opens);
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    setFields(box, {"5", "3", "98"});
    QTest::keyClick(field(box, "txtYear"), Qt::Key_Down, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(fieldsOf(box), opens ? QStringList({"05", "03", "1998"}) : QStringList({"5", "3", "98"}));
    QCOMPARE(m_ws.beeps, 0);
}

void tst_ucvPelidoraEntry::lockedBoxStillTakesDatesAndEnter()
{
    test::LocalePin pin("en_GB");
    ucvPelidora box;
    box.setLocked(true);
    QVERIFY(showActive(box));
    box = "36526"; // DateSet is the default member
    QCOMPARE(fieldsOf(box), QStringList({"01", "01", "2000"}));
    QLineEdit *day = field(box, "txtDay");
    day->setFocus();
    QTest::keyClicks(day, "9");
    QCOMPARE(day->text(), QString("01"));
    QTest::keyClick(day, Qt::Key_Return);
    QVERIFY(field(box, "txtMonth")->hasFocus());
}

void tst_ucvPelidoraEntry::pastedTextNeverBreaksTheBox_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("letters") << QStringList{"ab", "cd", "efgh"};
    QTest::newRow("huge numbers") << QStringList{"99999999999", "4294967296", "99999999999999999999"};
    QTest::newRow("signs") << QStringList{"-5", "+3", "-2000"};
    QTest::newRow("digits after letters") << QStringList{"x1", "y2", "z2000"};
    QTest::newRow("other scripts' digits") << QStringList{"\u0661\u0662", "\u0663", "\u0662\u0660\u0660\u0660"};
    QTest::newRow("a long paste") << QStringList{QString(5000, '9'), QString(5000, '1'), QString(5000, '2')};
    QTest::newRow("blanks") << QStringList{" ", "\t", "    "};
}

void tst_ucvPelidoraEntry::pastedTextNeverBreaksTheBox()
{
    QFETCH(QStringList, texts);
    for (const char *locale : {"en_GB", "en_US"}) {
        test::LocalePin pin(locale);
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
        const int serial = serialFromText(box.DateSet());
        QVERIFY(serial >= serialOf(1900, 1, 1) && serial <= serialOf(2100, 12, 31));
        // Without a date held, the same texts typed into empty fields.
        box.setDateSet(QString());
        setFields(box, texts);
        const int again = serialFromText(box.DateSet());
        QVERIFY(again >= serialOf(1900, 1, 1) && again <= serialOf(2100, 12, 31));
    }
}

QTEST_MAIN(tst_ucvPelidoraEntry)
#include "tst_ucvpelidora_entry.moc"
