// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/accessible.h"
#include "control/ownsite.h"
#include "control/ucvpelidora_p.h"

#include <pelidora/formfile.h>
#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include "about/bas_menuabout.h"
#include "panel/monthpanel.h"
#include "platform/os/localedates.h"
#include "platform/os/olecolor.h"
#include "platform/os/windowsystem.h"
#include "shared/logging.h"
#include "shared/mpelidora.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTimer>

#include <limits>
#include <utility>

namespace pelidora {

namespace {

// Any program that links the library can read and write forms holding date boxes.
void registerDateBox()
{
    registerControlClass(QStringLiteral("ucvPelidora"),
                         {{QStringLiteral("BackColor"), ValueKind::Long},
                          {QStringLiteral("ForeColor"), ValueKind::Long},
                          {QStringLiteral("Enabled"), ValueKind::Boolean},
                          {QStringLiteral("Locked"), ValueKind::Boolean},
                          {QStringLiteral("Appearance"), ValueKind::Integer},
                          {QStringLiteral("DateSet"), ValueKind::Long},
                          {QStringLiteral("Font"), ValueKind::Font},
                          {QStringLiteral("MousePointer"), ValueKind::Integer},
                          {QStringLiteral("PelidoraBackColor"), ValueKind::Long},
                          // The date range after the nine, as day serials; absent at the limits.
                          {QStringLiteral("minimumDate"), ValueKind::Long},
                          {QStringLiteral("maximumDate"), ValueKind::Long}});
}
Q_CONSTRUCTOR_FUNCTION(registerDateBox)

constexpr quint32 kWhite = platform::oleOf(platform::FixedColor::White);
constexpr quint32 kBlack = platform::oleOf(platform::FixedColor::Black);
constexpr quint32 kLightGrey = platform::oleOf(platform::FixedColor::LightGrey);

QVariant longValue(quint32 ole)
{
    return QVariant::fromValue(qint32(ole)); // system colours keep their top bit
}

QVariant integerValue(qint16 value)
{
    return QVariant::fromValue(value);
}

StdFont ambientFontOf(QWidget *parent)
{
    return StdFont(parent ? parent->font() : QApplication::font());
}

// The serial of a valid date, a date before 1900 or after 2100 taken as that limit.
int serialWithinLimits(const QDate &date)
{
    if (date < platform::dateOfSerial(core::kFirstBoxSerial))
        return core::kFirstBoxSerial;
    if (date > platform::dateOfSerial(core::kLastBoxSerial))
        return core::kLastBoxSerial;
    return platform::serialOfDate(date).value_or(core::kFirstBoxSerial);
}

} // namespace

ucvPelidoraPrivate::ucvPelidoraPrivate(ucvPelidora *box, Site *site)
    : q(box)
    , m_site(site)
{
}

ucvPelidora::ucvPelidora(QWidget *parent)
    : ucvPelidora(nullptr, parent)
{
    InitProperties();
}

ucvPelidora::ucvPelidora(Site *site, QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ucvPelidoraPrivate>(this, site))
{
    if (!d->m_site) {
        d->m_ownSite = new OwnSite(ambientFontOf(parent), this);
        d->m_site = d->m_ownSite;
        d->m_runsWhenShown = true;
    }
    d->createConstituents();
    Initialize();
}

ucvPelidora::~ucvPelidora()
{
    if (!d->m_terminated)
        Terminate();
    // The fields may lose the focus while the widget tree comes down; this box is gone then.
    for (QWidget *part :
         std::initializer_list<QWidget *>{d->txtDay, d->txtMonth, d->txtYear, d->imgCombo, d->slash1, d->slash2})
        part->removeEventFilter(this);
}

// ---- Life cycle ----

void ucvPelidora::Initialize()
{
    mpelidora &m = module();
    m.gCtlHeight = 285;
    m.gCtlWidth = 2040;
    m.gAppTitle = platform::windowSystem().appTitle();
    m.gAboutYears = QStringLiteral("2026");
    d->m_DateOrder = qint16(platform::dateOrder());
    ucvPelidoraAccessible::nameFields(*d);
}

void ucvPelidora::InitProperties()
{
    const core::DateRange range = d->m_range;
    const QPointer<ucvPelidora> alive(this);
    d->changeDate(ucvPelidoraPrivate::DateCause::Program, [this] {
        const ucvPelidoraPrivate::FieldColorsHeld held(*d);
        d->m_BackColor = kWhite;
        d->SetFieldsBackColor(d->m_BackColor);
        d->m_ForeColor = kBlack;
        d->SetFieldsForeColor(d->m_ForeColor);
        if (d->m_DateOrder == 0)
            d->m_DateOrder = 1;
        d->m_DateSet = platform::today();
        d->PrintDate(d->m_DateSet);
        // A copy of the ambient font: the clamp of ApplyFont must not reach the host's own.
        d->m_Font = d->m_site ? d->m_site->AmbientFont().clone() : StdFont();
        d->ApplyFont(d->m_Font);
        d->m_Locked = false;
        d->SetFieldsLocked(d->m_Locked); // the parts follow the members, also on a second call
        d->m_MousePointer = 0;
        d->applyMousePointer();
        d->m_Appearance = Flat;
        d->m_PelidoraBackColor = kLightGrey;
        d->m_range = {};
    });
    if (alive && d->m_range != range)
        Q_EMIT dateRangeChanged(minimumDate(), maximumDate());
}

void ucvPelidora::ReadProperties(const PropertyBag &bag)
{
    const core::DateRange range = d->m_range;
    const QPointer<ucvPelidora> alive(this);
    d->changeDate(ucvPelidoraPrivate::DateCause::Program, [this, &bag] {
        const ucvPelidoraPrivate::FieldColorsHeld held(*d);
        d->m_BackColor = quint32(bag.readLong(QStringLiteral("BackColor"), qint32(kWhite)));
        d->SetFieldsBackColor(d->m_BackColor);
        d->m_ForeColor = quint32(bag.readLong(QStringLiteral("Forecolor"), qint32(kBlack)));
        d->SetFieldsForeColor(d->m_ForeColor);
        d->applyEnabled(bag.readBoolean(QStringLiteral("Enabled"), true));
        d->m_Locked = bag.readBoolean(QStringLiteral("Locked"), false);
        d->SetFieldsLocked(d->m_Locked);
        d->m_Appearance = bag.readInteger(QStringLiteral("Appearance"), Flat);
        d->m_Today = platform::today();
        d->m_DateSet = bag.readLong(QStringLiteral("DateSet"), d->m_Today);
        d->PrintDate(d->m_DateSet);
        d->m_Font = bag.readFont(QStringLiteral("Font"), d->m_site ? d->m_site->AmbientFont().clone() : StdFont());
        d->ApplyFont(d->m_Font);
        d->m_MousePointer = bag.readInteger(QStringLiteral("MousePointer"), 0);
        d->applyMousePointer();
        d->m_PelidoraBackColor = quint32(bag.readLong(QStringLiteral("PelidoraBackColor"), qint32(kLightGrey)));
        // The stored date stays as stored: the range applies when the fields are taken over.
        d->m_range = core::DateRange::between(bag.readLong(QStringLiteral("minimumDate"), core::kFirstBoxSerial),
                                              bag.readLong(QStringLiteral("maximumDate"), core::kLastBoxSerial));
        if (d->m_site && d->m_site->UserMode())
            d->loadPanel();
    });
    if (alive && d->m_range != range)
        Q_EMIT dateRangeChanged(minimumDate(), maximumDate());
}

void ucvPelidora::WriteProperties(PropertyBag &bag)
{
    d->m_Today = platform::today();
    bag.WriteProperty(QStringLiteral("BackColor"), longValue(d->m_BackColor), longValue(kWhite));
    bag.WriteProperty(QStringLiteral("ForeColor"), longValue(d->m_ForeColor), longValue(kBlack));
    bag.WriteProperty(QStringLiteral("DateSet"), QVariant::fromValue(d->m_DateSet), QVariant::fromValue(d->m_Today));
    const StdFont ambient = d->m_site ? d->m_site->AmbientFont() : StdFont();
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(d->m_Font), QVariant::fromValue(ambient));
    bag.WriteProperty(QStringLiteral("MousePointer"), integerValue(d->m_MousePointer), integerValue(0));
    bag.WriteProperty(QStringLiteral("Locked"), d->m_Locked, false);
    bag.WriteProperty(QStringLiteral("Appearance"), integerValue(d->m_Appearance), QVariant::fromValue(qint32(0)));
    bag.WriteProperty(QStringLiteral("PelidoraBackColor"), longValue(d->m_PelidoraBackColor), longValue(kLightGrey));
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.WriteProperty(QStringLiteral("minimumDate"), QVariant::fromValue(qint32(d->m_range.minimum())),
                      QVariant::fromValue(qint32(core::kFirstBoxSerial)));
    bag.WriteProperty(QStringLiteral("maximumDate"), QVariant::fromValue(qint32(d->m_range.maximum())),
                      QVariant::fromValue(qint32(core::kLastBoxSerial)));
}

void ucvPelidora::Terminate()
{
    if (d->m_terminated)
        return;
    d->m_terminated = true;
    UnloadAbout();
    d->unloadPanel();
}

// ---- The date as a QDate ----

QDate ucvPelidora::date()
{
    QDate held;
    d->changeDate(d->typedCause(), [this, &held] {
        d->commitFields();
        held = d->heldDate();
    });
    return held;
}

void ucvPelidora::setDate(const QDate &date)
{
    d->changeDate(ucvPelidoraPrivate::DateCause::Program, [this, &date] {
        d->writeSerial(date.isValid() ? d->nearestHeld(d->m_range.clamp(serialWithinLimits(date))) : -1);
    });
}

// ---- The date range ----

QDate ucvPelidora::minimumDate() const
{
    return platform::dateOfSerial(d->m_range.minimum());
}

void ucvPelidora::setMinimumDate(const QDate &date)
{
    if (date.isValid())
        d->setRange(d->m_range.withMinimum(serialWithinLimits(date)), true, false);
}

void ucvPelidora::clearMinimumDate()
{
    d->setRange(d->m_range.withMinimum(core::kFirstBoxSerial), true, false);
}

QDate ucvPelidora::maximumDate() const
{
    return platform::dateOfSerial(d->m_range.maximum());
}

void ucvPelidora::setMaximumDate(const QDate &date)
{
    if (date.isValid())
        d->setRange(d->m_range.withMaximum(serialWithinLimits(date)), false, true);
}

void ucvPelidora::clearMaximumDate()
{
    d->setRange(d->m_range.withMaximum(core::kLastBoxSerial), false, true);
}

void ucvPelidora::setDateRange(const QDate &min, const QDate &max)
{
    if (min.isValid() && max.isValid())
        d->setRange(core::DateRange::between(serialWithinLimits(min), serialWithinLimits(max)), true, true);
}

void ucvPelidoraPrivate::setRange(const core::DateRange &range, bool minimumWritten, bool maximumWritten)
{
    if (refusedInRule("a change of the range"))
        return;
    const core::DateRange before = m_range;
    const QPointer<ucvPelidora> alive(q);
    changeDate(DateCause::Program, [&] {
        m_range = range;
        const bool moved = holdInRange() | holdAvailable();
        // The bounds' notices first: a host that records the change finds the moved date in it.
        if (minimumWritten || range.minimum() != before.minimum())
            notify(QStringLiteral("minimumDate"));
        if (maximumWritten || range.maximum() != before.maximum())
            notify(QStringLiteral("maximumDate"));
        if (moved)
            notify(QStringLiteral("DateSet"));
    });
    if (!alive || m_range == before)
        return;
    // An open panel offers the new range at once; a hidden one takes it again when it opens.
    if (m_Panel)
        m_Panel->setDateRange(m_range);
    if (redrawOpenPanel())
        Q_EMIT q->dateRangeChanged(q->minimumDate(), q->maximumDate());
}

bool ucvPelidoraPrivate::holdInRange()
{
    if (!core::holdsDate(m_DateSet) || m_range.contains(m_DateSet))
        return false;
    m_DateSet = m_range.clamp(m_DateSet);
    PrintDate(m_DateSet);
    return true;
}

QDate ucvPelidoraPrivate::heldDate() const
{
    return core::holdsDate(m_DateSet) ? platform::dateOfSerial(m_DateSet) : QDate();
}

void ucvPelidoraPrivate::announceDate(const QDate &before, DateCause cause)
{
    const QDate after = heldDate();
    if (after == before) // two invalid dates are equal: no date to no date is no change
        return;
    const QPointer<ucvPelidora> alive(q);
    ucvPelidoraAccessible::dateChanged(q);
    if (!alive)
        return;
    Q_EMIT q->dateChanged(after);
    // A slot may have deleted the box, or held yet another date and announced that one.
    if (cause == DateCause::User && alive && heldDate() == after)
        Q_EMIT q->dateEdited(after);
}

// ---- Properties ----

QColor ucvPelidora::BackColor() const
{
    return platform::colorFromOle(d->m_BackColor);
}

void ucvPelidora::setBackColor(const QColor &color)
{
    setBackColorValue(platform::oleKeeping(d->m_BackColor, color));
}

quint32 ucvPelidora::BackColorValue() const
{
    return d->m_BackColor;
}

void ucvPelidora::setBackColorValue(quint32 value)
{
    d->m_BackColor = value;
    d->SetFieldsBackColor(d->m_BackColor);
    d->notify(QStringLiteral("BackColor"));
}

QColor ucvPelidora::ForeColor() const
{
    return platform::colorFromOle(d->m_ForeColor);
}

void ucvPelidora::setForeColor(const QColor &color)
{
    setForeColorValue(platform::oleKeeping(d->m_ForeColor, color));
}

quint32 ucvPelidora::ForeColorValue() const
{
    return d->m_ForeColor;
}

void ucvPelidora::setForeColorValue(quint32 value)
{
    d->m_ForeColor = value;
    d->SetFieldsForeColor(d->m_ForeColor);
    d->notify(QStringLiteral("ForeColor"));
}

bool ucvPelidora::Locked() const
{
    return d->m_Locked;
}

void ucvPelidora::setLocked(bool locked)
{
    d->m_Locked = locked;
    d->SetFieldsLocked(d->m_Locked);
    d->notify(QStringLiteral("Locked"));
}

ucvPelidora::AppearStyle ucvPelidora::Appearance() const
{
    return AppearStyle(d->m_Appearance);
}

namespace {

bool fitsIn16Bits(int value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
}

} // namespace

void ucvPelidora::setAppearance(int style)
{
    if (d->m_site && d->m_site->UserMode())
        return d->raiseError(QStringLiteral("Appearance"), RuntimeError::NotSettableAtRunTime);
    if (!fitsIn16Bits(style))
        return d->raiseError(QStringLiteral("Appearance"), RuntimeError::Overflow);
    d->m_Appearance = qint16(style);
    d->notify(QStringLiteral("Appearance"));
}

StdFont ucvPelidora::Font() const
{
    return d->m_Font;
}

void ucvPelidora::setFontObject(const StdFont &font)
{
    d->m_Font = font;
    d->ApplyFont(d->m_Font);
    d->notify(QStringLiteral("Font"));
}

QColor ucvPelidora::PelidoraBackColor() const
{
    return platform::colorFromOle(d->m_PelidoraBackColor);
}

void ucvPelidora::setPelidoraBackColor(const QColor &color)
{
    setPelidoraBackColorValue(platform::oleKeeping(d->m_PelidoraBackColor, color));
}

quint32 ucvPelidora::PelidoraBackColorValue() const
{
    return d->m_PelidoraBackColor;
}

void ucvPelidora::setPelidoraBackColorValue(quint32 value)
{
    d->m_PelidoraBackColor = value;
    d->notify(QStringLiteral("PelidoraBackColor"));
}

qint32 ucvPelidora::hwnd()
{
    return platform::windowSystem().handleOf(this);
}

bool ucvPelidora::Enabled() const
{
    // The box's own state: a box on a disabled form still reads (and saves) as enabled.
    return !testAttribute(Qt::WA_ForceDisabled);
}

void ucvPelidora::setEnabledProperty(bool enabled)
{
    d->applyEnabled(enabled);
    d->notify(QStringLiteral("Enabled"));
}

void ucvPelidora::writeAppearance(AppearStyle style)
{
    const QScopedValueRollback<bool> throughQt(d->m_writeThroughQt, true);
    setAppearance(style);
}

void ucvPelidora::writeMousePointer(int pointer)
{
    const QScopedValueRollback<bool> throughQt(d->m_writeThroughQt, true);
    setMousePointer(pointer);
}

int ucvPelidora::MousePointer() const
{
    return d->m_MousePointer;
}

void ucvPelidora::setMousePointer(int pointer)
{
    if (!fitsIn16Bits(pointer))
        return d->raiseError(QStringLiteral("MousePointer"), RuntimeError::Overflow);
    d->m_MousePointer = qint16(pointer);
    d->applyMousePointer();
    d->notify(QStringLiteral("MousePointer"));
}

ucvPelidora &ucvPelidora::operator=(const QString &dateSet)
{
    setDateSet(dateSet);
    return *this;
}

Site *ucvPelidora::site() const
{
    return d->m_site;
}

void ucvPelidora::clear()
{
    setDateSet(QStringLiteral("-1"));
}

void ucvPelidora::About()
{
    d->hidePanel();
    d->TimerHide->stop();
    ShowControlAbout(this);
}

bool ucvPelidora::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: d->windowActivationChanged(event->type() == QEvent::WindowActivate); return true;
    case QEvent::Move:
        d->UserControl_Resize(); // a place whose far edge is past the coordinates moves back
        return QWidget::event(event);
    default: return QWidget::event(event);
    }
}

void ucvPelidora::showEvent(QShowEvent *event)
{
    if (std::exchange(d->m_runsWhenShown, false) && d->m_site)
        d->m_site->setUserMode(true);
    QWidget::showEvent(event);
}

void ucvPelidora::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::LanguageChange: ucvPelidoraAccessible::nameFields(*d); break;
    case QEvent::PaletteChange:
        d->m_activationChangesLooks.reset();
        // The application's palette changed under the strip's, which keeps a copy of it.
        if (!d->m_settingOwnState && QApplication::palette().cacheKey() != d->m_appPaletteKey)
            d->followApplicationPalette();
        break;
    case QEvent::FontChange:
        if (!d->m_settingOwnState)
            d->takeWidgetFont();
        break;
    case QEvent::EnabledChange:
        if (!d->m_settingOwnState)
            d->takeWidgetEnabled();
        break;
    default: break;
    }
    QWidget::changeEvent(event);
}

void ucvPelidoraPrivate::takeWidgetFont()
{
    m_Font = StdFont(q->font());
    ApplyFont(m_Font);
    notify(QStringLiteral("Font"));
}

void ucvPelidoraPrivate::takeWidgetEnabled()
{
    // The form's state reaches the box too; only a change of the box's own is a write.
    const bool own = q->Enabled();
    SetFieldsEnabled(own);
    if (std::exchange(m_ownEnabled, own) != own)
        notify(QStringLiteral("Enabled"));
}

void ucvPelidoraPrivate::applyEnabled(bool enabled)
{
    {
        const QScopedValueRollback<bool> own(m_settingOwnState, true);
        q->setEnabled(enabled);
    }
    m_ownEnabled = q->Enabled();
    SetFieldsEnabled(m_ownEnabled);
}

void ucvPelidoraPrivate::applyMousePointer()
{
    // The classic pointer numbers; 0, 4, 99 (custom) and unknown numbers give the default.
    static constexpr struct {
        qint16 number;
        Qt::CursorShape shape;
    } kPointers[] = {
        {1, Qt::ArrowCursor},      {2, Qt::CrossCursor},    {3, Qt::IBeamCursor},      {5, Qt::SizeAllCursor},
        {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor},  {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},
        {10, Qt::UpArrowCursor},   {11, Qt::WaitCursor},    {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
        {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor},
    };
    for (const auto &p : kPointers) {
        if (p.number == m_MousePointer) {
            q->setCursor(p.shape);
            return;
        }
    }
    q->unsetCursor();
}

void ucvPelidoraPrivate::raiseError(const QString &property, int number)
{
    const RuntimeError error(number);
    if (m_site && m_site != m_ownSite && !m_writeThroughQt)
        return m_site->raiseError(error);
    if (!m_site && !m_writeThroughQt)
        throw error;
    if (!m_site || !m_site->refuseWrite(property, error))
        qCWarning(lcControl).noquote() << QStringLiteral("Pelidora: %1 not set: run-time error %2: %3")
                                              .arg(property)
                                              .arg(error.number())
                                              .arg(error.description());
}

void ucvPelidoraPrivate::notify(const QString &name)
{
    if (m_site)
        m_site->PropertyChanged(name);
}

} // namespace pelidora
