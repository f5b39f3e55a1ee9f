// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Seeded random use of two date boxes on one form: typing, pasting, focus moves, the drop
// button, day cells and lists, property writes of wrong kinds and extreme values, panels
// opened and closed, a box deleted while its panel is open. Invariants are checked after
// every step. The watch's ticks are called directly (its timer is silenced) and events are
// processed without waiting, so a seed always plays the same way.
//
// A failure names its seed and the steps that led there. PELIDORA_RANDOM_SEED=S replays
// seed S alone; PELIDORA_RANDOM_STEPS=N plays N steps a seed, PELIDORA_RANDOM_SEEDS=K
// plays seeds 1..K, for a longer hunt than the default.

#include "control/ucvpelidora_p.h"
#include "panel/daycell.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"
#include "shared/mpelidora.h"
#include "support/boxhelpers.h"

#include <pelidora/runtimeerror.h>

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <memory>

using namespace pelidora;
using namespace pelidora::test;

namespace {

constexpr int kLastDay2100 = 73415; // serial of 31 December 2100

// What the steps came to, to show that they reached deep enough.
struct {
    int steps = 0, openings = 0, clicks = 0, deletedOpen = 0;
} tally;

int envNumber(const char *name, int fallback)
{
    const int value = qEnvironmentVariableIntValue(name);
    return value > 0 ? value : fallback;
}

ucvPelidoraPrivate *inside(ucvPelidora *box) { return ucvPelidoraPrivate::get(box); }

template<typename T, typename... More>
T pick(QRandomGenerator &rng, T first, More... more)
{
    const std::array<T, 1 + sizeof...(More)> values{first, T(more)...};
    return values[rng.bounded(int(values.size()))];
}

template<typename T>
T pickIn(QRandomGenerator &rng, const QList<T> &list) { return list.at(rng.bounded(list.size())); }

// Texts a user may paste or a program may write as DateSet.
const QStringList &dateTexts()
{
    static const QStringList texts{
        "01/02/1998", "31/02/2001", "29/02/2000", "29/02/1900", "23/11/1998 12:00", "2/3/4", "12/31/2100",
        "31/12/2100", "01/01/1900", "31/12/1899", "-1", "0", "1", "2", "36526", "73416", "2958465", "2147483647",
        "-2147483648", "99999999999999999999", "1e308", "nan", "", " ", "\n", "abc", "١٢/٠٣/٢٠٢٠", "/ /",
        "12345678", QString(3000, u'9'), "00/00/0000", "7", "1998", "31"};
    return texts;
}

QVariant fontOf(double points)
{
    StdFont font;
    font.setSize(points);
    return QVariant::fromValue(font);
}

QVariant randomValue(QRandomGenerator &rng)
{
    switch (rng.bounded(12)) {
    case 0: return QVariant();
    case 1: return pick(rng, INT_MIN, -32769, -32768, -1, 0, 1, 2, 12, 15, 99, 393, 32767, 32768, INT_MAX);
    case 2: return qint64(rng.generate64());
    case 3: return pick(rng, std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -0.0, 0.5, 2.5, 12.00005);
    case 4: return pickIn(rng, dateTexts());
    case 5: return bool(rng.bounded(2));
    case 6: return QColor::fromRgba(rng.generate());
    case 7: return QColor();
    case 8: return pick(rng, QDate(), QDate(1899, 12, 31), QDate(1900, 1, 1), QDate(2100, 12, 31), QDate(2101, 1, 1),
                        QDate(9999, 12, 31), QDate(100, 1, 1), QDate(-4000, 1, 1), QDate(2000, 2, 29));
    case 9: return fontOf(pick(rng, 0.0001, 1.0, 8.0, 12.0, 12.00005, 14.0, 1000.0));
    case 10: return QByteArray("\x00\xff", 2);
    default: return short(rng.bounded(-32768, 32768));
    }
}

// A stored box as a form may hold it: any value of the right kind.
PropertyBag randomBag(QRandomGenerator &rng)
{
    PropertyBag bag;
    if (rng.bounded(2))
        bag.WriteProperty("BackColor", pick<qint32>(rng, 0, 0xFFFFFF, 0x80000005, 0x800000FF, INT_MIN, INT_MAX));
    if (rng.bounded(2))
        bag.WriteProperty("Appearance", QVariant::fromValue(pick<qint16>(rng, 0, 1, 2, -1, 32767)));
    if (rng.bounded(2))
        bag.WriteProperty("DateSet", pick(rng, INT_MIN, -1, 0, 1, 2, 45831, kLastDay2100, kLastDay2100 + 1, INT_MAX));
    if (rng.bounded(3) == 0)
        bag.WriteProperty("Locked", true);
    if (rng.bounded(4) == 0)
        bag.WriteProperty("Enabled", false);
    if (rng.bounded(2))
        bag.WriteProperty("MousePointer", QVariant::fromValue(pick<qint16>(rng, 0, 11, 99, -32768)));
    if (rng.bounded(2))
        bag.WriteProperty("Font", fontOf(pick(rng, 1.0, 8.0, 12.0, 12.00005, 72.0)));
    for (const char *bound : {"minimumDate", "maximumDate"}) {
        if (rng.bounded(3) == 0)
            bag.WriteProperty(bound, pick(rng, INT_MIN, 2, 45000, 45831, 46000, kLastDay2100, INT_MAX));
    }
    return bag;
}

QString describe(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<StdFont>())
        return QStringLiteral("font of %1 pt").arg(value.value<StdFont>().size());
    const QString text = value.toString();
    return QStringLiteral("%1(%2)").arg(QLatin1String(value.typeName() ? value.typeName() : "invalid"),
                                        text.size() > 20 ? text.left(20) + "..." : text);
}

// A run-time error is a fair answer to a write; what counts is the state it leaves.
template<typename F>
void tolerate(F write) try {
    write();
} catch (const RuntimeError &) {
}

class RandomUse
{
public:
    explicit RandomUse(quint32 seed) : m_rng(seed), m_locale(seed % 2 ? "en_GB" : "en_US")
    {
        m_form.setProperty("windowClass", QLatin1String(kThunderClass)); // modeless panels
        m_form.resize(460, 160);
        m_elsewhere->setObjectName("elsewhere");
        m_elsewhere->setGeometry(8, 120, 120, 24);
        m_scratch->InitProperties();
        makeBox(0);
        makeBox(1);
        m_form.show();
        m_form.activateWindow();
        QApplication::processEvents();
    }

    ~RandomUse() { QApplication::clipboard()->clear(); } // the boxes go with the form

    // Plays the steps; empty, or what went wrong after which steps.
    QString play(int steps)
    {
        for (int step = 1; step <= steps && m_failure.isEmpty(); ++step, ++tally.steps) {
            for (int i = 0; i < 2; ++i) {
                m_choiceBefore[i] = panel(i) && panel(i)->FlagRaiseClick();
                m_choosing[i] = false;
            }
            act(step);
            check();
        }
        const QString last = m_log.mid(qMax(0, m_log.size() - 15)).join("\n    ");
        return m_failure.isEmpty() ? QString() : m_failure + "\n  after:\n    " + last;
    }

private:
    ucvPelidora *box(int i) const { return m_boxes[i]; }
    MonthPanel *panel(int i) const { return box(i) ? inside(box(i))->m_Panel : nullptr; }
    bool panelShown(int i) const { return panel(i) && panel(i)->isVisible(); }
    QString anyText() { return pickIn(m_rng, dateTexts()); }
    void fail(const QString &what) { m_failure = m_failure.isEmpty() ? what : m_failure; }

    void makeBox(int i)
    {
        auto *made = new ucvPelidora(m_sites[i].get(), &m_form);
        made->setObjectName(i ? "dtB" : "dtA");
        made->move(8, 8 + 48 * i);
        if (m_rng.bounded(3) == 0)
            made->InitProperties();
        else
            made->ReadProperties(randomBag(m_rng));
        inside(made)->TimerHide->blockSignals(true); // ticks come from the test alone
        QObject::connect(made, &ucvPelidora::Click, made, [this, i] { clicked(i); });
        made->show();
        m_boxes[i] = made;
    }

    void clicked(int i)
    {
        const QString name = box(i)->objectName();
        if (!m_choiceBefore[i] && !m_choosing[i])
            fail("Click from " + name + " without a choice");
        m_choiceBefore[i] = m_choosing[i] = false;
        ++tally.clicks;
        if (!box(i)->Locked() && inside(box(i))->m_DateSet != panel(i)->DateSet())
            fail(QStringLiteral("Click from %1 holding %2, not the chosen %3")
                     .arg(name).arg(inside(box(i))->m_DateSet).arg(panel(i)->DateSet()));
    }

    QWidget *randomField(int i) { return field(*box(i), pick(m_rng, "txtDay", "txtMonth", "txtYear")); }

    // The widget keys go to: the focus, else a field.
    QWidget *keyTarget()
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus : randomField(m_rng.bounded(2));
    }

    // Marks the boxes whose panel the next input may choose a day in.
    void mayChooseIn(const QWidget *target)
    {
        for (int i = 0; i < 2; ++i)
            m_choosing[i] = m_choosing[i]
                || (target && panel(i) && (target == panel(i) || panel(i)->isAncestorOf(target)));
    }

    void act(int step)
    {
        const int i = m_rng.bounded(2), kind = m_rng.bounded(20);
        ucvPelidora &b = *box(i);
        const QString name = b.objectName();
        const auto note = [&](const QString &what) { m_log << QString::number(step) + ": " + what; };
        switch (kind) {
        case 0: case 1: case 2: case 3: case 4: { // a key as typed (mostly digits), Alt+Down in a field, a paste
            QWidget *target = kind == 3 || (kind == 4 && m_rng.bounded(2)) ? randomField(i) : keyTarget();
            Qt::Key key = kind == 4 ? Qt::Key_V : Qt::Key_Down;
            Qt::KeyboardModifiers modifiers = kind == 4 ? Qt::ControlModifier : Qt::AltModifier;
            if (kind < 3) {
                key = m_rng.bounded(2) ? Qt::Key(Qt::Key_0 + m_rng.bounded(10))
                                       : pick(m_rng, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Right,
                                              Qt::Key_Home, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab,
                                              Qt::Key_Escape, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                                              Qt::Key_PageDown, Qt::Key_Space, Qt::Key_Slash, Qt::Key_A, Qt::Key_F4);
                modifiers = m_rng.bounded(8) == 0 ? Qt::AltModifier : Qt::NoModifier;
            }
            if (kind == 3)
                target->setFocus(Qt::OtherFocusReason);
            if (kind == 4)
                QApplication::clipboard()->setText(anyText());
            note(QKeySequence(key | modifiers).toString() + " to " + target->objectName()
                 + (kind == 4 ? QString(" pasting \"" + QApplication::clipboard()->text().left(20) + "\"")
                              : QString()));
            mayChooseIn(target);
            QTest::keyClick(target, key, modifiers);
            break;
        }
        case 5: case 6: { // the focus moves
            QList<QWidget *> targets{randomField(0), randomField(1), m_elsewhere};
            for (int p = 0; p < 2; ++p) {
                if (panelShown(p))
                    targets << panel(p)->lblDay() << panel(p)->cboMese() << panel(p)->cboAnno();
            }
            QWidget *target = pickIn(m_rng, targets);
            note("focus to " + target->objectName());
            target->activateWindow();
            target->setFocus(m_rng.bounded(2) ? Qt::MouseFocusReason : Qt::TabFocusReason);
            break;
        }
        case 7: case 8: { // the drop button: a click, a drag off it, or a press alone
            QWidget *button = part(b, "imgCombo");
            const int how = m_rng.bounded(4);
            note("drop button of " + name + ", " + QStringList{"click", "click", "drag off", "press"}[how]);
            QTest::mousePress(button, Qt::LeftButton);
            if (how == 2 && box(i))
                QTest::mouseMove(button, QPoint(-5, -5));
            if (how != 3 && box(i))
                QTest::mouseRelease(button, Qt::LeftButton, {}, how == 2 ? QPoint(-5, -5) : QPoint());
            break;
        }
        case 9: case 10: case 11: { // a day cell, or a list's entry set from code
            if (!panelShown(i)) {
                note("no panel of " + name);
                break;
            }
            MonthPanel &p = *panel(i);
            if (kind == 11) {
                const bool month = m_rng.bounded(2);
                const int index = m_rng.bounded(month ? 12 : 201);
                note(QStringLiteral("%1 index %2 in %3's panel").arg(month ? "month" : "year").arg(index).arg(name));
                month ? p.setMeseIndex(index) : p.setAnnoIndex(index);
                break;
            }
            const int cell = m_rng.bounded(31);
            const bool press = m_rng.bounded(3);
            note(QStringLiteral("%1 day cell %2 of %3").arg(press ? "press" : "point at").arg(cell).arg(name));
            m_choosing[i] = m_choosing[i] || press;
            press ? QTest::mouseClick(p.btnDay(cell), Qt::LeftButton) : QTest::mouseMove(p.btnDay(cell), QPoint(3, 3));
            break;
        }
        case 12: case 13: { // a property written through the meta-object, of any kind
            const char *property = pick(m_rng, "BackColor", "ForeColor", "Locked", "Appearance", "Font", "DateSet",
                                        "hwnd", "Enabled", "MousePointer", "date", "PelidoraBackColor",
                                        "minimumDate", "maximumDate", "NoSuchProperty");
            const QVariant value = randomValue(m_rng);
            note(name + "." + property + " = " + describe(value));
            tolerate([&] { b.setProperty(property, value); });
            break;
        }
        case 14: { // a property written from code, with extreme values
            const int which = m_rng.bounded(4);
            const QString text = anyText();
            const int number = pick(m_rng, INT_MIN, -32769, -1, 0, 1, 2, 32767, 32768, INT_MAX);
            const std::pair<QString, std::function<void()>> writes[] = {
                {"DateSet = \"" + text.left(20) + "\"", [&] { b = text; }},
                {"Appearance = " + QString::number(number), [&] { b.setAppearance(number); }},
                {"MousePointer = " + QString::number(short(number)), [&] { b.setMousePointer(short(number)); }},
                {"Locked = " + QString::number(number & 1), [&] { b.setLocked(number & 1); }}};
            note(name + ": " + writes[which].first);
            tolerate(writes[which].second);
            break;
        }
        case 15: { // the date read, which takes the fields over
            const bool asText = m_rng.bounded(2);
            note("read " + name + (asText ? ".DateSet" : ".date"));
            if (asText) {
                const QString text = b.DateSet();
                if (box(i))
                    checkCommitted(i, text == "-1" ? std::nullopt : platform::dateSerial(text), text);
            } else if (const QDate held = b.date(); box(i)) {
                checkCommitted(i, held.isValid() ? platform::serialOfDate(held) : std::nullopt, held.toString());
            }
            break;
        }
        case 16: case 17: { // the watch ticks
            const int ticks = 1 + m_rng.bounded(3);
            note(QStringLiteral("%1 tick(s) of %2's watch").arg(ticks).arg(name));
            for (int t = 0; t < ticks && box(i) && inside(box(i))->TimerHide->isActive(); ++t) {
                inside(box(i))->TimerHide_Timer();
                if (box(i) && !inside(box(i))->TimerHide->isActive() && panelShown(i))
                    fail(name + "'s panel still shown after its watch closed it");
            }
            break;
        }
        case 18: // events that were posted
            note("process events");
            QApplication::processEvents();
            break;
        default: // a box deleted, most often while its panel is open, and another put in its place
            if (!panelShown(i) && m_rng.bounded(3)) {
                note(name + " hidden and shown again");
                b.hide();
                if (box(i))
                    b.show();
                break;
            }
            note("delete " + name + (panelShown(i) ? " with its panel open" : "") + ", then a new one");
            tally.deletedOpen += panelShown(i);
            delete box(i);
            m_wasShown[i] = false;
            makeBox(i);
        }
    }

    // After a commit: the fields are empty and no date is held, or they show the held date,
    // a real one in the box's range, in the box's order.
    void checkCommitted(int i, std::optional<int> serial, const QString &read)
    {
        const QStringList fields = fieldsOf(*box(i));
        const qint32 held = inside(box(i))->m_DateSet;
        const QString where = QStringLiteral("%1 read as \"%2\" holding %3, fields %4")
                                  .arg(box(i)->objectName(), read.left(40)).arg(held).arg(fields.join(u'|'));
        const QString order = inside(box(i))->m_DateOrder == 1 ? "dd/MM/yyyy" : "MM/dd/yyyy";
        if (!serial && (held >= 2 || fields != QStringList{"", "", ""}))
            fail("no date after a commit, but " + where);
        else if (serial && (*serial < 2 || *serial > kLastDay2100 || held != *serial))
            fail("no real date after a commit: " + where);
        else if (const QDate date = QDate(1899, 12, 30).addDays(serial.value_or(0));
                 serial && (date < box(i)->minimumDate() || date > box(i)->maximumDate()))
            fail("a date outside the range after a commit: " + where);
        else if (serial && fields.join(u'/') != QDate(1899, 12, 30).addDays(*serial).toString(order))
            fail("fields other than the date after a commit: " + where);
    }

    void check()
    {
        for (int p = 0; p < 2; ++p) {
            tally.openings += panelShown(p) && !m_wasShown[p];
            m_wasShown[p] = panelShown(p);
        }
        if (!m_failure.isEmpty())
            return;
        if (module().FlagSkipYearClick)
            fail("FlagSkipYearClick left set");
        // Every panel belongs to a live box, and a shown one is watched.
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *shown = qobject_cast<MonthPanel *>(window);
            if (shown && shown != panel(0) && shown != panel(1))
                fail("a panel outlives its box");
            else if (shown && shown->isVisible()
                     && !inside(qobject_cast<ucvPelidora *>(shown->parentWidget()))->TimerHide->isActive())
                fail("a panel is shown and nothing watches it");
        }
        // What a box saves, read into another box, saves the same.
        ucvPelidora *saver = box(m_rng.bounded(2));
        PropertyBag saved, again;
        saver->WriteProperties(saved);
        try {
            m_scratch->ReadProperties(saved);
        } catch (const RuntimeError &error) {
            return fail(saver->objectName() + "'s saved properties do not read back: " + error.description());
        }
        m_scratch->WriteProperties(again);
        bool same = saved.keys() == again.keys();
        for (const QString &key : saved.keys())
            same = same && PropertyBag::sameValue(saved.ReadProperty(key), again.ReadProperty(key));
        const auto listed = [](const PropertyBag &bag) {
            QStringList items;
            for (const QString &key : bag.keys())
                items << key + "=" + describe(bag.ReadProperty(key));
            return items.join(", ");
        };
        if (!same)
            fail(saver->objectName() + " saved " + listed(saved) + "; read back and saved again " + listed(again));
    }

    QRandomGenerator m_rng;
    LocalePin m_locale;
    StdFont m_ambient;
    std::array<std::unique_ptr<Site>, 2> m_sites{std::make_unique<Site>(true, m_ambient),
                                                 std::make_unique<Site>(true, m_ambient)};
    Site m_scratchSite{false, m_ambient};
    QWidget m_form;
    QLineEdit *m_elsewhere = new QLineEdit(&m_form);
    std::unique_ptr<ucvPelidora> m_scratch = std::make_unique<ucvPelidora>(&m_scratchSite);
    std::array<QPointer<ucvPelidora>, 2> m_boxes;
    std::array<bool, 2> m_choiceBefore{}, m_choosing{}, m_wasShown{};
    QStringList m_log;
    QString m_failure;
};

QtMessageHandler g_testHandler = nullptr;

// Thousands of steps would bury a real warning under the offscreen platform's remarks.
void dropPlatformRemarks(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtWarningMsg
        || !(message.startsWith(QLatin1String("This plugin does not support"))
             || message.endsWith(QLatin1String("not accepted by receiving widget"))))
        g_testHandler(type, context, message);
}

} // namespace

class tst_RandomInteraction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void invariantsHoldForSeededUse();

private:
    FakeWindowSystem m_windowSystem;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
};

void tst_RandomInteraction::invariantsHoldForSeededUse()
{
    g_testHandler = qInstallMessageHandler(dropPlatformRemarks);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(g_testHandler); });
    const int replay = envNumber("PELIDORA_RANDOM_SEED", 0), steps = envNumber("PELIDORA_RANDOM_STEPS", 150);
    for (int seed = replay ? replay : 1; seed <= (replay ? replay : envNumber("PELIDORA_RANDOM_SEEDS", 20)); ++seed) {
        const QString failure = RandomUse(quint32(seed)).play(steps);
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("seed %1 (replay: PELIDORA_RANDOM_SEED=%1 "
                                                              "PELIDORA_RANDOM_STEPS=%2): %3")
                                                   .arg(seed).arg(steps).arg(failure)));
    }
    qInfo("%d random steps: %d panels opened, %d Clicks, %d boxes deleted with their panel open", tally.steps,
          tally.openings, tally.clicks, tally.deletedOpen);
}

QTEST_MAIN(tst_RandomInteraction)
#include "randominteraction.moc"
