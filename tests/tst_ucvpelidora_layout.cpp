// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/monthpanel.h"
#include "panel/panelparts.h"
#include "shared/mpelidora.h"
#include "support/boxhelpers.h"

#include <pelidora/translations.h>

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QtTest>

using namespace pelidora;
using namespace pelidora::test;

namespace {

StdFont fontOf(const QString &family, double points)
{
    QFont f(family);
    f.setPointSizeF(points);
    return StdFont(f);
}

// The font written as Font, or as QWidget's own font.
ucvPelidora *boxWithFont(Site &site, const StdFont &font, QWidget *parent = nullptr, bool widgetFont = false)
{
    auto *box = new ucvPelidora(&site, parent);
    box->InitProperties();
    if (widgetFont)
        box->setFont(font.font());
    else
        box->setFontObject(font);
    return box;
}

// Counts the paint events of the widgets it watches.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override { paints += event->type() == QEvent::Paint; return false; }
};

} // namespace

class tst_ucvPelidoraLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stripFollowsTheClampedFont_data();
    void stripFollowsTheClampedFont();
    void containerCannotResizeTheBox();
    void laterAmbientFontsChangeNothing_data();
    void laterAmbientFontsChangeNothing();
    void activationChangesNothingOnTheStrip();
    void stripIsAGroupNamedWithTheHeldDate_data();
    void stripIsAGroupNamedWithTheHeldDate();

private:
    FakeWindowSystem m_ws;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
    LocalePin m_locale{"en_GB"};
};

void tst_ucvPelidoraLayout::stripFollowsTheClampedFont_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<double>("applied"); // below points: the user was told
    QTest::addColumn<bool>("widgetFont");
    QTest::newRow("12.00001 is 12 as currency") << "DejaVu Sans" << 12.00001 << 12.00001 << false;
    QTest::newRow("12.01 is clamped") << "Liberation Serif" << 12.01 << 12.0 << false;
    QTest::newRow("QWidget's font, 14 is clamped") << "DejaVu Sans" << 14.0 << 12.0 << true;
}

void tst_ucvPelidoraLayout::stripFollowsTheClampedFont()
{
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(double, applied);
    QFETCH(bool, widgetFont);
    Site site(true);
    m_ws.messages.clear();
    const StdFont font = fontOf(family, points);
    std::unique_ptr<ucvPelidora> box(boxWithFont(site, font, nullptr, widgetFont));
    QCOMPARE(m_ws.messages.size(), applied < points ? 1 : 0);
    if (applied < points)
        QCOMPARE(std::tuple(m_ws.messages[0].text, m_ws.messages[0].style),
                 std::tuple(QString("Can't assign font size greater than 12."), 16));
    // The caller's font object is the box's, clamp included; a widget font becomes a new one.
    QCOMPARE(box->Font().isSameObject(font), !widgetFont);
    QCOMPARE(box->Font().name(), family);
    QCOMPARE(QList<double>({box->Font().size(), box->font().pointSizeF(), part(*box, "txtYear")->font().pointSizeF()}),
             QList<double>(3, applied));
    // Each picture fits its place, and a box of the same size shows the same pixmap.
    std::unique_ptr<ucvPelidora> twin(boxWithFont(site, font));
    for (const char *name : {"slash1", "slash2", "imgCombo", "imgCboUp"}) {
        const QPixmap shown = part<QLabel>(*box, name)->pixmap();
        QCOMPARE(shown.deviceIndependentSize().toSize(), part(*box, name == QByteArray("imgCboUp") ? "imgCombo" : name)->size());
        QCOMPARE(shown.cacheKey(), part<QLabel>(*twin, name)->pixmap().cacheKey());
    }

    // Left to right in the strip's order, each part where the one before ends, together a line of
    // the font high and as wide as the strip: the fields and the button its whole height, the
    // separators inside it; each field wide enough for its digits, day and month alike.
    const QFontMetrics fm(box->font());
    int right = 0;
    for (const char *name : {"txtDay", "slash1", "txtMonth", "slash2", "txtYear", "imgCombo"}) {
        const QRect at = part(*box, name)->geometry();
        const int least = name[0] != 't' ? 1 : fm.horizontalAdvance(QByteArray(name) == "txtYear" ? "3333" : "33");
        const bool inside = QByteArray(name).startsWith("slash") ? at.top() > 0 && at.bottom() < box->height() - 1
                                                                 : at.top() == 0 && at.height() == box->height();
        QVERIFY2(at.left() == right && at.width() >= least && inside, name);
        right = at.right() + 1;
    }
    QCOMPARE(QSize(right, fm.height()), box->size());
    QCOMPARE(part(*box, "txtMonth")->width(), part(*box, "txtDay")->width());
    QCOMPARE(box->sizeHint(), box->size());

    // BackColor reaches the fields, not the strip between them.
    box->setBackColor(Qt::yellow);
    const QImage image = box->grab().toImage();
    const auto pixel = [&](QPoint p) { return image.pixelColor(p * image.devicePixelRatio()); };
    QCOMPARE(pixel({1, 1}), QColor(Qt::yellow));
    const QColor strip = box->palette().color(QPalette::Window);
    QVERIFY(strip != QColor(Qt::yellow));
    QCOMPARE(pixel(part(*box, "slash1")->pos()), strip);
}

// Each box keeps the size of its own strip: neither a layout nor a resize gives it another,
// nor does a box with another font beside it; the first showing is no resize. The
// module-wide size is the last one computed.
void tst_ucvPelidoraLayout::containerCannotResizeTheBox()
{
    Site site(true);
    QWidget form;
    ucvPelidora *large = boxWithFont(site, fontOf("Liberation Serif", 12), &form);
    const QSize largeSize = large->size();
    ucvPelidora *small = boxWithFont(site, fontOf("DejaVu Sans", 7), &form);
    const QSize smallSize = small->size();
    QVERIFY(largeSize.width() > smallSize.width() && largeSize.height() > smallSize.height());
    QCOMPARE(QSize(module().gCtlWidth, module().gCtlHeight), smallSize * 15);
    auto *layout = new QHBoxLayout(&form);
    layout->addWidget(large);
    layout->addWidget(small);
    form.resize(600, 200);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(large->size(), largeSize);
    QCOMPARE(small->size(), smallSize);

    small->resize(400, 80);
    QCOMPARE(small->size(), smallSize);
    large->setGeometry(5, 5, 10, 3);
    QCOMPARE(large->size(), largeSize);
}

// The box's font is its Font, taken from the ambient font when it is initialised: a later
// font of its form or of the application is no Font write (no message, notice, new object,
// size or saved value). Boxes made afterwards take the new font, each with the message
// when it is above 12 points.
void tst_ucvPelidoraLayout::laterAmbientFontsChangeNothing_data()
{
    QTest::addColumn<bool>("application"); // the application's font changes, else the form's
    QTest::addColumn<QFont>("font");
    QFont spaced("DejaVu Sans", 9);
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    QTest::newRow("form 14 pt") << false << QFont("DejaVu Serif", 14);
    QTest::newRow("form letter spacing") << false << spaced;
    QTest::newRow("application 14 pt") << true << QFont("DejaVu Sans", 14);
}

void tst_ucvPelidoraLayout::laterAmbientFontsChangeNothing()
{
    QFETCH(bool, application);
    QFETCH(QFont, font);
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(original); });
    QApplication::setFont(QFont("DejaVu Sans", 9));
    QWidget form;
    auto &box = *new ucvPelidora(&form);
    QVERIFY(showActive(form));
    const StdFont held = box.Font();
    const QSize size = box.size();
    QSignalSpy notices(box.site(), &Site::propertyChanged);
    m_ws.messages.clear();

    if (application)
        QApplication::setFont(font);
    else
        form.setFont(font);
    QCoreApplication::sendPostedEvents();
    PropertyBag saved;
    box.WriteProperties(saved);
    QCOMPARE(std::tuple(m_ws.messages.size(), notices.count(), box.Font().isSameObject(held), box.size(), saved.keys()),
             std::tuple(qsizetype(0), qsizetype(0), true, size, QStringList()));
    new ucvPelidora(&form);
    new ucvPelidora(&form);
    QCOMPARE(m_ws.messages.size(), font.pointSize() > 12 ? 2 : 0); // once for each
}

// The strip is a group named with the held date and its parts in their order; a catalog
// installed or taken out renames open boxes and panels.
void tst_ucvPelidoraLayout::stripIsAGroupNamedWithTheHeldDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("today");       // the strip's name
    QTest::addColumn<QStringList>("parts");   // the strip's, then the panel's
    QTest::addColumn<QStringList>("italian"); // the strip's name with no date, then the parts
    QTest::newRow("day first") << "en_GB" << "Monday, 23 June 2025"
                               << QStringList{"Day", "Month", "Year", "Open calendar", "Day", "Month", "Year"}
                               << QStringList{"Nessuna data", "Giorno", "Mese", "Anno", "Apri calendario", "Giorno", "Mese", "Anno"};
    QTest::newRow("month first") << "en_US" << "Monday, June 23, 2025"
                                 << QStringList{"Month", "Day", "Year", "Open calendar", "Day", "Month", "Year"}
                                 << QStringList{"Nessuna data", "Mese", "Giorno", "Anno", "Apri calendario", "Giorno", "Mese", "Anno"};
}

void tst_ucvPelidoraLayout::stripIsAGroupNamedWithTheHeldDate()
{
    QFETCH(QString, locale);
    QFETCH(QString, today);
    QFETCH(QStringList, parts);
    const LocalePin pin(locale);
    AccessibleEvents events;
    QWidget form;
    auto *box = new ucvPelidora(&form);
    MonthPanel panel;
    QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(box);
    const auto names = [&] {
        QStringList result{strip->text(QAccessible::Name)};
        for (int i = 0; i < strip->childCount(); ++i)
            result << strip->child(i)->text(QAccessible::Name);
        for (QObject *part : std::initializer_list<QObject *>{panel.lblDay(), panel.cboMese(), panel.cboAnno()})
            result << QAccessible::queryAccessibleInterface(part)->text(QAccessible::Name);
        return result;
    };
    QCOMPARE(strip->role(), QAccessible::Grouping);
    QCOMPARE(names(), QStringList{today} + parts);
    for (int i = 0; i < strip->childCount(); ++i) {
        QAccessibleInterface *child = strip->child(i);
        QCOMPARE(child->role(), i < 3 ? QAccessible::EditableText : QAccessible::Button);
        QCOMPARE(strip->indexOfChild(child), i);
        QCOMPARE(child->parent(), strip);
    }

    // Asking takes nothing typed over: no correction, no held date, no signal.
    QSignalSpy changes(box, &ucvPelidora::dateChanged);
    setFields(*box, {"7", "7", "2024"});
    events.clear();
    QCOMPARE(strip->text(QAccessible::Name), today);
    QCOMPARE(fieldsOf(*box), QStringList({"7", "7", "2024"}));
    QCOMPARE(changes.count(), 0);
    // A reader asks for the line at the last character, at the end and at the caret: the whole
    // field; past the end, nothing.
    for (int i = 0; i < 3; ++i) {
        QAccessibleTextInterface *text = strip->child(i)->textInterface();
        QVERIFY(text);
        const QString typed = fieldsOf(*box).at(i);
        const int length = int(typed.size());
        int start = -3, end = -3;
        for (const int offset : {0, length - 1, length, -2, -1}) {
            QCOMPARE(text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), typed);
            QCOMPARE(QList<int>({start, end}), QList<int>({0, length}));
        }
        QCOMPARE(text->textAtOffset(length + 1, QAccessible::LineBoundary, &start, &end), QString());
        QCOMPARE(text->textAtOffset(length - 1, QAccessible::CharBoundary, &start, &end), typed.right(1));
        QCOMPARE(QList<int>({start, end}), QList<int>({length - 1, length}));
        QCOMPARE(text->textAtOffset(0, QAccessible::WordBoundary, &start, &end), typed);
        // The runs of attributes a reader joins into what it speaks.
        QCOMPARE(text->attributes(length - 1, &start, &end), QString());
        QCOMPARE(QList<int>({start, end}), QList<int>({0, length}));
    }
    // Taking it over renames the strip, once.
    QCOMPARE(box->date(), QDate(2024, 7, 7));
    QCOMPARE(events.of(QAccessible::NameChanged), QList<QObject *>{box});

    box->setDate(QDate());
    const QStringList english = QStringList{"No date"} + parts;
    QCOMPARE(names(), english);
    QVERIFY(installTranslator(QLocale("it_IT")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QTEST(names(), "italian");
    m_ws.messages.clear();
    box->setFontObject(fontOf("DejaVu Sans", 14));
    QCOMPARE(m_ws.messages.value(0).text, QString("Impossibile assegnare una dimensione del carattere maggiore di 12."));
    // English is the source language: asking for it takes the catalog out.
    QVERIFY(!installTranslator(QLocale("en_GB")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(names(), english);

    // The field that holds the keyboard has the focus, not the group around it too. Entered,
    // it tells its selection again after Qt has told the focus, so that a reader speaks the
    // box and the field before the selected text.
    QVERIFY(showActive(form));
    QLineEdit *year = field(*box, "txtYear");
    year->setFocus();
    QCOMPARE(std::pair(bool(strip->state().focused), bool(strip->child(2)->state().focused)), std::pair(false, true));
    events.clear();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(events.of(QAccessible::TextSelectionChanged), QList<QObject *>{year});
}

// Even where the application's inactive colours differ from its active ones, the strip
// looks the same in an inactive window, so a panel opening on a form of many boxes
// repaints none of them; system colours follow the application's palette.
void tst_ucvPelidoraLayout::activationChangesNothingOnTheStrip()
{
    const QPalette original = QApplication::palette();
    QPalette twoFaced = original;
    twoFaced.setColor(QPalette::Inactive, QPalette::Base, Qt::darkGray);
    twoFaced.setColor(QPalette::Inactive, QPalette::Window, Qt::darkGray);
    QApplication::setPalette(twoFaced);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });

    // The form's own colours are its host's: here they too stay as they are.
    QWidget form, other;
    QPalette steady = twoFaced;
    steady.setColor(QPalette::Inactive, QPalette::Window, steady.color(QPalette::Active, QPalette::Window));
    steady.setColor(QPalette::Inactive, QPalette::Base, steady.color(QPalette::Active, QPalette::Base));
    form.setPalette(steady);
    auto *box = new ucvPelidora(&form);
    box->setBackColorValue(0x80000005); // the system's window background
    auto *elsewhere = new QLineEdit(&form); // holds the focus, which repaints what it leaves
    elsewhere->move(0, 60);
    QVERIFY(showActive(form));
    elsewhere->setFocus();

    QLineEdit *month = field(*box, "txtMonth");
    month->setSelection(0, 1); // left selected as the window goes away
    QCoreApplication::processEvents();
    PaintCounter counter;
    for (QWidget *p : box->findChildren<QWidget *>())
        p->installEventFilter(&counter);
    QVERIFY(showActive(other));
    QVERIFY(showActive(form));
    QTRY_VERIFY(!month->hasSelectedText());
    // QWidget repaints on activation whatever looks different when inactive.
    QCOMPARE(counter.paints, 1); // the field that dropped its selection

    QPalette desktop = QApplication::palette();
    desktop.setColor(QPalette::Base, Qt::cyan);
    desktop.setColor(QPalette::Highlight, Qt::darkCyan);
    QApplication::setPalette(desktop);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(field(*box, "txtDay")->palette().color(QPalette::Base), QColor(Qt::cyan));
    QCOMPARE(box->BackColorValue(), 0x80000005u);
}

QTEST_MAIN(tst_ucvPelidoraLayout)
#include "tst_ucvpelidora_layout.moc"
