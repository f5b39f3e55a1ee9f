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
#include "panel/panellist.h"
#include "shared/mpelidora.h"
#include "support/boxhelpers.h"

#include <pelidora/runtimeerror.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace pelidora;
using namespace pelidora::test;

namespace {

constexpr int kDefaultSeeds = 20;
constexpr int kDefaultSteps = 150;
constexpr int kLastDay2100 = 73415; // serial of 31 December 2100

int envNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

ucvPelidoraPrivate *inside(ucvPelidora *box)
{
    return ucvPelidoraPrivate::get(box);
}

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

QVariant randomValue(QRandomGenerator &rng)
{
    switch (rng.bounded(12)) {
    case 0: return QVariant();
    case 1: return QVariant(std::array{INT_MIN, -32769, -32768, -1, 0, 1, 2, 12, 15, 99, 393, 32767, 32768, INT_MAX}
                                [rng.bounded(14)]);
    case 2: return QVariant(qint64(rng.generate64()));
    case 3: return QVariant(std::array{std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -0.0, 0.5, 2.5, 12.00005}[rng.bounded(8)]);
    case 4: return QVariant(dateTexts().at(rng.bounded(dateTexts().size())));
    case 5: return QVariant(bool(rng.bounded(2)));
    case 6: return QVariant(QColor::fromRgba(rng.generate()));
    case 7: return QVariant(QColor());
    case 8: return QVariant(std::array{QDate(), QDate(1899, 12, 31), QDate(1900, 1, 1), QDate(2100, 12, 31),
                                       QDate(2101, 1, 1), QDate(9999, 12, 31), QDate(100, 1, 1), QDate(-4000, 1, 1),
                                       QDate(2000, 2, 29)}[rng.bounded(9)]);
    case 9: {
        StdFont font;
        font.setSize(std::array{0.0001, 1.0, 8.0, 12.0, 12.00005, 14.0, 1000.0}[rng.bounded(7)]);
        return QVariant::fromValue(font);
    }
    case 10: return QVariant(QByteArray("\x00\xff", 2));
    default: return QVariant(short(rng.bounded(-32768, 32768)));
    }
}

// A stored box as a form may hold it: any value of the right kind.
PropertyBag randomBag(QRandomGenerator &rng)
{
    PropertyBag bag;
    const auto pick = [&rng](auto list) { return list[rng.bounded(int(list.size()))]; };
    if (rng.bounded(2))
        bag.WriteProperty("BackColor", QVariant::fromValue(pick(std::array{qint32(0), qint32(0xFFFFFF), qint32(0x80000005),
                                                                           qint32(0x800000FF), INT_MIN, INT_MAX})));
    if (rng.bounded(2))
        bag.WriteProperty("Appearance", QVariant::fromValue(pick(std::array<qint16, 5>{0, 1, 2, -1, 32767})));
    if (rng.bounded(2))
        bag.WriteProperty("DateSet", QVariant::fromValue(pick(std::array{INT_MIN, -1, 0, 1, 2, 45831, kLastDay2100,
                                                                         kLastDay2100 + 1, INT_MAX})));
    if (rng.bounded(3) == 0)
        bag.WriteProperty("Locked", true);
    if (rng.bounded(4) == 0)
        bag.WriteProperty("Enabled", false);
    if (rng.bounded(2))
        bag.WriteProperty("MousePointer", QVariant::fromValue(pick(std::array<qint16, 4>{0, 11, 99, -32768})));
    if (rng.bounded(2)) {
        StdFont font;
        font.setSize(pick(std::array{1.0, 8.0, 12.0, 12.00005, 72.0}));
        bag.WriteProperty("Font", QVariant::fromValue(font));
    }
    return bag;
}

QString describe(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<StdFont>())
        return QStringLiteral("font of %1 pt").arg(value.value<StdFont>().size());
    QString text = value.toString();
    if (text.size() > 20)
        text = text.left(20) + QStringLiteral("...");
    return QStringLiteral("%1(%2)").arg(QLatin1String(value.typeName() ? value.typeName() : "invalid"), text);
}

class RandomUse
{
public:
    explicit RandomUse(quint32 seed)
        : m_rng(seed), m_locale(seed % 2 ? QStringLiteral("en_GB") : QStringLiteral("en_US"))
    {
        m_form.setProperty("windowClass", QLatin1String(kThunderClass)); // modeless panels
        m_form.resize(460, 160);
        m_elsewhere = new QLineEdit(&m_form);
        m_elsewhere->setObjectName(QStringLiteral("elsewhere"));
        m_elsewhere->setGeometry(8, 120, 120, 24);
        m_scratchSite.setAmbientFont(m_ambient);
        m_scratch = std::make_unique<ucvPelidora>(&m_scratchSite);
        m_scratch->InitProperties();
        for (int i = 0; i < 2; ++i)
            makeBox(i);
        m_form.show();
        m_form.activateWindow();
        QApplication::processEvents();
    }

    ~RandomUse()
    {
        for (const QPointer<ucvPelidora> &box : m_boxes)
            delete box.data();
        QApplication::clipboard()->clear();
    }

    // Plays the steps; empty, or what went wrong after which steps.
    QString play(int steps)
    {
        for (int step = 1; step <= steps && m_failure.isEmpty(); ++step) {
            for (int i = 0; i < 2; ++i) {
                m_choiceBefore[i] = panel(i) && panel(i)->FlagRaiseClick();
                m_choosing[i] = false;
            }
            act(step);
            check();
        }
        if (m_failure.isEmpty())
            return {};
        return m_failure + QStringLiteral("\n  after:\n    ") + m_log.mid(qMax(0, m_log.size() - 15)).join("\n    ");
    }

    // What the steps came to, to show that they reached deep enough.
    struct Tally {
        int steps = 0, openings = 0, clicks = 0, deletedOpen = 0;
    };
    Tally tally() const { return {int(m_log.size()), m_openings, m_clicks, m_deletedOpen}; }

private:
    ucvPelidora *box(int i) const { return m_boxes[i]; }
    MonthPanel *panel(int i) const { return box(i) ? inside(box(i))->m_Panel : nullptr; }
    bool panelShown(int i) const { return panel(i) && panel(i)->isVisible(); }

    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = what;
    }

    void makeBox(int i)
    {
        auto *made = new ucvPelidora(m_sites[i].get(), &m_form);
        made->setObjectName(i ? QStringLiteral("dtB") : QStringLiteral("dtA"));
        made->move(8, 8 + 48 * i);
        if (m_rng.bounded(3) == 0)
            made->InitProperties();
        else
            made->ReadProperties(randomBag(m_rng));
        // Ticks come from the test alone.
        inside(made)->TimerHide->blockSignals(true);
        QObject::connect(made, &ucvPelidora::Click, made, [this, i] { clicked(i); });
        made->show();
        m_boxes[i] = made;
    }

    void clicked(int i)
    {
        if (!m_choiceBefore[i] && !m_choosing[i])
            fail(QStringLiteral("Click from %1 without a choice").arg(box(i)->objectName()));
        m_choiceBefore[i] = m_choosing[i] = false;
        ++m_clicks;
        if (!box(i)->Locked() && inside(box(i))->m_DateSet != panel(i)->DateSet())
            fail(QStringLiteral("Click from %1 holding %2, not the chosen %3")
                     .arg(box(i)->objectName())
                     .arg(inside(box(i))->m_DateSet)
                     .arg(panel(i)->DateSet()));
    }

    void log(int step, const QString &what) { m_log << QStringLiteral("%1: %2").arg(step).arg(what); }

    QWidget *randomField(int i)
    {
        static constexpr const char *names[] = {"txtDay", "txtMonth", "txtYear"};
        return field(*box(i), names[m_rng.bounded(3)]);
    }

    // The widget keys go to: the focus, else a field.
    QWidget *keyTarget()
    {
        if (QWidget *focus = QApplication::focusWidget())
            return focus;
        return randomField(m_rng.bounded(2));
    }

    // Marks the boxes whose panel the next input may choose a day in.
    void mayChooseIn(const QWidget *target)
    {
        for (int i = 0; i < 2; ++i) {
            if (panel(i) && target && (target == panel(i) || panel(i)->isAncestorOf(target)))
                m_choosing[i] = true;
        }
    }

    void act(int step)
    {
        const int i = m_rng.bounded(2);
        ucvPelidora &b = *box(i);
        const QString name = b.objectName();
        switch (m_rng.bounded(20)) {
        case 0:
        case 1:
        case 2: { // a key, as typed: mostly digits
            static const std::array keys{Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,  Qt::Key_Right,
                                         Qt::Key_Home,      Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,
                                         Qt::Key_Backtab,   Qt::Key_Escape, Qt::Key_Up,    Qt::Key_Down,
                                         Qt::Key_PageUp,    Qt::Key_PageDown, Qt::Key_Space, Qt::Key_Slash,
                                         Qt::Key_A,         Qt::Key_F4};
            QWidget *target = keyTarget();
            const bool digit = m_rng.bounded(2);
            const Qt::Key key = digit ? Qt::Key(Qt::Key_0 + m_rng.bounded(10)) : keys[m_rng.bounded(int(keys.size()))];
            const Qt::KeyboardModifiers modifiers = m_rng.bounded(8) == 0 ? Qt::AltModifier : Qt::NoModifier;
            log(step, QStringLiteral("key %1%2 to %3").arg(modifiers ? "Alt+" : "").arg(QKeySequence(key).toString(),
                                                                                      target->objectName()));
            mayChooseIn(target);
            QTest::keyClick(target, key, modifiers);
            break;
        }
        case 3: { // Alt+Down in a field
            QWidget *target = randomField(i);
            log(step, QStringLiteral("Alt+Down in %1.%2").arg(name, target->objectName()));
            target->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(target, Qt::Key_Down, Qt::AltModifier);
            break;
        }
        case 4: { // paste
            const QString text = dateTexts().at(m_rng.bounded(dateTexts().size()));
            QWidget *target = m_rng.bounded(2) ? keyTarget() : randomField(i);
            log(step, QStringLiteral("paste \"%1\" into %2").arg(text.left(20), target->objectName()));
            QApplication::clipboard()->setText(text);
            mayChooseIn(target);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            break;
        }
        case 5:
        case 6: { // the focus moves
            QList<QWidget *> targets{randomField(0), randomField(1), m_elsewhere};
            for (int p = 0; p < 2; ++p) {
                if (panelShown(p))
                    targets << panel(p)->lblDay() << panel(p)->cboMese() << panel(p)->cboAnno();
            }
            QWidget *target = targets.at(m_rng.bounded(targets.size()));
            log(step, QStringLiteral("focus to %1").arg(target->objectName()));
            target->activateWindow();
            target->setFocus(m_rng.bounded(2) ? Qt::MouseFocusReason : Qt::TabFocusReason);
            break;
        }
        case 7:
        case 8: { // the drop button: a click, a drag off it, or a press alone
            QWidget *button = part(b, "imgCombo");
            const int how = m_rng.bounded(4);
            log(step, QStringLiteral("drop button of %1, %2").arg(name).arg(QStringList{"click", "click", "drag off", "press"}[how]));
            QTest::mousePress(button, Qt::LeftButton);
            if (!box(i))
                break;
            if (how == 2)
                QTest::mouseMove(button, QPoint(-5, -5));
            if (how != 3 && box(i))
                QTest::mouseRelease(button, Qt::LeftButton, {}, how == 2 ? QPoint(-5, -5) : QPoint());
            break;
        }
        case 9:
        case 10: { // a day cell
            if (!panelShown(i)) {
                log(step, QStringLiteral("no panel of %1 to press a day in").arg(name));
                break;
            }
            const int cell = m_rng.bounded(31);
            DayCell *target = panel(i)->btnDay(cell);
            const bool press = m_rng.bounded(3);
            log(step, QStringLiteral("%1 day cell %2 of %3").arg(press ? "press" : "point at").arg(cell).arg(name));
            if (press) {
                m_choosing[i] = true;
                QTest::mouseClick(target, Qt::LeftButton);
            } else {
                QTest::mouseMove(target, QPoint(3, 3));
            }
            break;
        }
        case 11: { // a list of the panel, from code
            if (!panelShown(i)) {
                log(step, QStringLiteral("no panel of %1 to select in").arg(name));
                break;
            }
            const bool month = m_rng.bounded(2);
            const int index = m_rng.bounded(month ? 12 : 201);
            log(step, QStringLiteral("%1 index %2 in %3's panel").arg(month ? "month" : "year").arg(index).arg(name));
            month ? panel(i)->setMeseIndex(index) : panel(i)->setAnnoIndex(index);
            break;
        }
        case 12:
        case 13: { // a property written through the meta-object, of any kind
            static const std::array names{"BackColor", "ForeColor", "Locked",    "Appearance",        "Font",
                                          "DateSet",   "hwnd",      "Enabled",   "MousePointer",      "date",
                                          "PelidoraBackColor", "NoSuchProperty"};
            const char *property = names[m_rng.bounded(int(names.size()))];
            const QVariant value = randomValue(m_rng);
            log(step, QStringLiteral("%1.%2 = %3").arg(name, QLatin1String(property), describe(value)));
            try {
                b.setProperty(property, value);
            } catch (const RuntimeError &) {
            }
            break;
        }
        case 14: { // a property written from code, with extreme values
            const int which = m_rng.bounded(4);
            const QString text = dateTexts().at(m_rng.bounded(dateTexts().size()));
            const int number = std::array{INT_MIN, -32769, -1, 0, 1, 2, 32767, 32768, INT_MAX}[m_rng.bounded(9)];
            log(step, QStringLiteral("%1: %2").arg(name, QStringList{"DateSet = \"" + text.left(20) + "\"",
                                                                      "Appearance = " + QString::number(number),
                                                                      "MousePointer = " + QString::number(short(number)),
                                                                      "Locked = " + QString::number(number & 1)}[which]));
            try {
                switch (which) {
                case 0: b = text; break;
                case 1: b.setAppearance(number); break;
                case 2: b.setMousePointer(short(number)); break;
                default: b.setLocked(number & 1); break;
                }
            } catch (const RuntimeError &) {
            }
            break;
        }
        case 15: { // the date read, which takes the fields over
            const bool asText = m_rng.bounded(2);
            log(step, QStringLiteral("read %1.%2").arg(name, asText ? "DateSet" : "date"));
            if (asText) {
                const QString text = b.DateSet();
                if (box(i))
                    checkCommitted(i, text == QLatin1String("-1") ? std::optional<int>() : platform::dateSerial(text),
                                   text);
            } else {
                const QDate held = b.date();
                if (box(i))
                    checkCommitted(i, held.isValid() ? platform::serialOfDate(held) : std::nullopt, held.toString());
            }
            break;
        }
        case 16:
        case 17: { // the watch ticks
            const int ticks = 1 + m_rng.bounded(3);
            log(step, QStringLiteral("%1 tick(s) of %2's watch").arg(ticks).arg(name));
            for (int t = 0; t < ticks && box(i); ++t) {
                const bool wasWatching = inside(box(i))->TimerHide->isActive();
                if (!wasWatching)
                    break;
                inside(box(i))->TimerHide_Timer();
                if (box(i) && !inside(box(i))->TimerHide->isActive() && panelShown(i))
                    fail(QStringLiteral("%1's panel still shown after its watch closed it").arg(name));
            }
            break;
        }
        case 18: { // events that were posted
            log(step, QStringLiteral("process events"));
            QApplication::processEvents();
            break;
        }
        default: { // a box deleted, most often while its panel is open, and another put in its place
            if (!panelShown(i) && m_rng.bounded(3)) {
                log(step, QStringLiteral("%1 hidden and shown again").arg(name));
                b.hide();
                if (box(i))
                    b.show();
                break;
            }
            log(step, QStringLiteral("delete %1%2, then a new one").arg(name, panelShown(i) ? " with its panel open" : ""));
            m_deletedOpen += panelShown(i);
            delete box(i);
            m_wasShown[i] = false;
            makeBox(i);
            break;
        }
        }
    }

    // After a commit: the fields are empty and no date is held, or they show the held date,
    // a real one in the lists' years.
    void checkCommitted(int i, std::optional<int> serial, const QString &read)
    {
        const QStringList fields = fieldsOf(*box(i));
        const qint32 held = inside(box(i))->m_DateSet;
        const QString where = QStringLiteral("%1 read as \"%2\" holding %3, fields %4")
                                  .arg(box(i)->objectName(), read.left(40))
                                  .arg(held)
                                  .arg(fields.join(u'|'));
        if (!serial) {
            if (held >= 2 || fields != QStringList{"", "", ""})
                fail(QStringLiteral("no date after a commit, but ") + where);
            return;
        }
        if (*serial < 2 || *serial > kLastDay2100 || held != *serial) {
            fail(QStringLiteral("no real date after a commit: ") + where);
            return;
        }
        const int day = platform::dayOf(*serial), month = platform::monthOf(*serial);
        const bool dayFirst = inside(box(i))->m_DateOrder == 1;
        const QStringList expected{platform::format00(dayFirst ? day : month), platform::format00(dayFirst ? month : day),
                                   platform::format0000(platform::yearOf(*serial))};
        if (fields != expected)
            fail(QStringLiteral("fields other than the date after a commit: ") + where);
    }

    void check()
    {
        for (int p = 0; p < 2; ++p) {
            m_openings += panelShown(p) && !m_wasShown[p];
            m_wasShown[p] = panelShown(p);
        }
        if (!m_failure.isEmpty())
            return;
        if (module().FlagSkipYearClick)
            fail(QStringLiteral("FlagSkipYearClick left set"));
        // Every panel belongs to a live box, and a shown one is watched.
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *shown = qobject_cast<MonthPanel *>(window);
            if (!shown)
                continue;
            if (shown != panel(0) && shown != panel(1))
                fail(QStringLiteral("a panel outlives its box"));
            else if (shown->isVisible() && !inside(qobject_cast<ucvPelidora *>(shown->parentWidget()))->TimerHide->isActive())
                fail(QStringLiteral("a panel is shown and nothing watches it"));
        }
        // What a box saves, read into another box, saves the same.
        const int i = m_rng.bounded(2);
        PropertyBag saved, again;
        box(i)->WriteProperties(saved);
        try {
            m_scratch->ReadProperties(saved);
        } catch (const RuntimeError &error) {
            fail(QStringLiteral("%1's saved properties do not read back: %2").arg(box(i)->objectName(), error.description()));
            return;
        }
        m_scratch->WriteProperties(again);
        if (saved.keys() != again.keys()) {
            fail(QStringLiteral("%1 saved %2, read back and saved again %3")
                     .arg(box(i)->objectName(), saved.keys().join(u','), again.keys().join(u',')));
            return;
        }
        for (const QString &key : saved.keys()) {
            if (!PropertyBag::sameValue(saved.ReadProperty(key), again.ReadProperty(key)))
                fail(QStringLiteral("%1.%2 saved as %3, read back and saved again as %4")
                         .arg(box(i)->objectName(), key, describe(saved.ReadProperty(key)),
                              describe(again.ReadProperty(key))));
        }
    }

    QRandomGenerator m_rng;
    LocalePin m_locale;
    StdFont m_ambient;
    std::array<std::unique_ptr<Site>, 2> m_sites{std::make_unique<Site>(true, m_ambient),
                                                 std::make_unique<Site>(true, m_ambient)};
    Site m_scratchSite{false};
    QWidget m_form;
    QLineEdit *m_elsewhere = nullptr;
    std::unique_ptr<ucvPelidora> m_scratch;
    std::array<QPointer<ucvPelidora>, 2> m_boxes;
    std::array<bool, 2> m_choiceBefore{}, m_choosing{}, m_wasShown{};
    int m_openings = 0, m_clicks = 0, m_deletedOpen = 0;
    QStringList m_log;
    QString m_failure;
};

} // namespace

class tst_RandomInteraction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void invariantsHoldForSeededUse();
    void cleanupTestCase();

private:
    FakeWindowSystem m_windowSystem;
    TodayPin m_today{kTodayYear, kTodayMonth, kTodayDay};
};

QtMessageHandler g_testHandler = nullptr;

// Thousands of steps would bury a real warning under the offscreen platform's remarks.
void dropPlatformRemarks(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg
        && (message.startsWith(QLatin1String("This plugin does not support"))
            || message.endsWith(QLatin1String("not accepted by receiving widget"))))
        return;
    g_testHandler(type, context, message);
}

void tst_RandomInteraction::initTestCase()
{
    g_testHandler = qInstallMessageHandler(dropPlatformRemarks);
}

void tst_RandomInteraction::cleanupTestCase()
{
    qInstallMessageHandler(g_testHandler);
}

void tst_RandomInteraction::invariantsHoldForSeededUse()
{
    const int replay = envNumber("PELIDORA_RANDOM_SEED", 0);
    const int steps = envNumber("PELIDORA_RANDOM_STEPS", kDefaultSteps);
    const int seeds = envNumber("PELIDORA_RANDOM_SEEDS", kDefaultSeeds);
    RandomUse::Tally total;
    for (int seed = replay ? replay : 1; seed <= (replay ? replay : seeds); ++seed) {
        RandomUse use{quint32(seed)};
        const QString failure = use.play(steps);
        const RandomUse::Tally tally = use.tally();
        total.steps += tally.steps;
        total.openings += tally.openings;
        total.clicks += tally.clicks;
        total.deletedOpen += tally.deletedOpen;
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("seed %1 (replay: PELIDORA_RANDOM_SEED=%1 "
                                                              "PELIDORA_RANDOM_STEPS=%2): %3")
                                                   .arg(seed)
                                                   .arg(steps)
                                                   .arg(failure)));
    }
    qInfo("%d random steps: %d panels opened, %d Clicks, %d boxes deleted with their panel open", total.steps,
          total.openings, total.clicks, total.deletedOpen);
}

QTEST_MAIN(tst_RandomInteraction)
#include "tst_randominteraction.moc"
