#include <pelidora/ucvPelidora.h>

#include <pelidora/formfile.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/site.h>

#include "about/bas_menuabout.h"
#include "platform/localedates.h"
#include "platform/olecolor.h"
#include "platform/windowsystem.h"
#include "shared/mpelidora.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <limits>

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
                          {QStringLiteral("PelidoraBackColor"), ValueKind::Long}});
}
Q_CONSTRUCTOR_FUNCTION(registerDateBox)

constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kLightGrey = 0xC0C0C0;

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

} // namespace

ucvPelidora::ucvPelidora(QWidget *parent)
    : QWidget(parent)
{
    m_site = new Site(true, ambientFontOf(parent), this);
    createConstituents();
    Initialize();
    InitProperties();
}

ucvPelidora::ucvPelidora(Site *site, QWidget *parent)
    : QWidget(parent)
    , m_site(site)
{
    // Without a site the box behaves as if it stood alone.
    if (!m_site)
        m_site = new Site(true, ambientFontOf(parent), this);
    createConstituents();
    Initialize();
}

ucvPelidora::~ucvPelidora()
{
    if (!m_terminated)
        Terminate();
    // The fields may lose the focus while the widget tree comes down; this box is gone then.
    for (QLineEdit *field : {txtDay, txtMonth, txtYear})
        field->removeEventFilter(this);
    imgCombo->removeEventFilter(this);
}

// ---- Life cycle ----

void ucvPelidora::Initialize()
{
    mpelidora &m = module();
    m.gCtlHeight = 285;
    m.gCtlWidth = 2040;
    m.gAppTitle = platform::windowSystem().appTitle();
    m.gAboutYears = QStringLiteral("2026");
    m_DateOrder = qint16(platform::dateOrder());
}

void ucvPelidora::InitProperties()
{
    m_BackColor = kWhite;
    SetFieldsBackColor(m_BackColor);
    m_ForeColor = kBlack;
    SetFieldsForeColor(m_ForeColor);
    if (m_DateOrder == 0)
        m_DateOrder = 1;
    m_DateSet = platform::today();
    PrintDate(m_DateSet);
    // A copy of the ambient font: the clamp of ApplyFont must not reach the host's own.
    m_Font = m_site ? m_site->AmbientFont().clone() : StdFont();
    ApplyFont(m_Font);
    m_Locked = false;
    SetFieldsLocked(m_Locked); // the parts follow the members, also on a second call
    m_MousePointer = 0;
    applyMousePointer();
    m_Appearance = Flat;
    m_PelidoraBackColor = kLightGrey;
}

void ucvPelidora::ReadProperties(const PropertyBag &bag)
{
    m_BackColor = quint32(bag.readLong(QStringLiteral("BackColor"), qint32(kWhite)));
    SetFieldsBackColor(m_BackColor);
    m_ForeColor = quint32(bag.readLong(QStringLiteral("Forecolor"), qint32(kBlack)));
    SetFieldsForeColor(m_ForeColor);
    applyEnabled(bag.readBoolean(QStringLiteral("Enabled"), true));
    m_Locked = bag.readBoolean(QStringLiteral("Locked"), false);
    SetFieldsLocked(m_Locked);
    m_Appearance = bag.readInteger(QStringLiteral("Appearance"), Flat);
    m_Today = platform::today();
    m_DateSet = bag.readLong(QStringLiteral("DateSet"), m_Today);
    PrintDate(m_DateSet);
    m_Font = bag.readFont(QStringLiteral("Font"), m_site ? m_site->AmbientFont().clone() : StdFont());
    ApplyFont(m_Font);
    m_MousePointer = bag.readInteger(QStringLiteral("MousePointer"), 0);
    applyMousePointer();
    m_PelidoraBackColor = quint32(bag.readLong(QStringLiteral("PelidoraBackColor"), qint32(kLightGrey)));
    if (m_site && m_site->UserMode())
        loadPanel();
}

void ucvPelidora::WriteProperties(PropertyBag &bag)
{
    m_Today = platform::today();
    bag.WriteProperty(QStringLiteral("BackColor"), longValue(m_BackColor), longValue(kWhite));
    bag.WriteProperty(QStringLiteral("ForeColor"), longValue(m_ForeColor), longValue(kBlack));
    bag.WriteProperty(QStringLiteral("DateSet"), QVariant::fromValue(m_DateSet),
                      QVariant::fromValue(m_Today));
    const StdFont ambient = m_site ? m_site->AmbientFont() : StdFont();
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(m_Font), QVariant::fromValue(ambient));
    bag.WriteProperty(QStringLiteral("MousePointer"), integerValue(m_MousePointer), integerValue(0));
    bag.WriteProperty(QStringLiteral("Locked"), m_Locked, false);
    bag.WriteProperty(QStringLiteral("Appearance"), integerValue(m_Appearance), QVariant::fromValue(qint32(0)));
    bag.WriteProperty(QStringLiteral("PelidoraBackColor"), longValue(m_PelidoraBackColor),
                      longValue(kLightGrey));
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
}

void ucvPelidora::Terminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    UnloadAbout();
    unloadPanel();
}

// ---- Properties ----

QColor ucvPelidora::BackColor() const
{
    return platform::colorFromOle(m_BackColor);
}

void ucvPelidora::setBackColor(const QColor &color)
{
    m_BackColor = platform::oleFromColor(color);
    SetFieldsBackColor(m_BackColor);
    notify(QStringLiteral("BackColor"));
}

QColor ucvPelidora::ForeColor() const
{
    return platform::colorFromOle(m_ForeColor);
}

void ucvPelidora::setForeColor(const QColor &color)
{
    m_ForeColor = platform::oleFromColor(color);
    SetFieldsForeColor(m_ForeColor);
    notify(QStringLiteral("ForeColor"));
}

bool ucvPelidora::Locked() const
{
    return m_Locked;
}

void ucvPelidora::setLocked(bool locked)
{
    m_Locked = locked;
    SetFieldsLocked(m_Locked);
    notify(QStringLiteral("Locked"));
}

ucvPelidora::AppearStyle ucvPelidora::Appearance() const
{
    return AppearStyle(m_Appearance);
}

void ucvPelidora::setAppearance(int style)
{
    if (m_site && m_site->UserMode())
        throw RuntimeError(RuntimeError::NotSettableAtRunTime);
    if (style < std::numeric_limits<qint16>::min() || style > std::numeric_limits<qint16>::max())
        throw RuntimeError(RuntimeError::Overflow);
    m_Appearance = qint16(style);
    notify(QStringLiteral("Appearance"));
}

StdFont ucvPelidora::Font() const
{
    return m_Font;
}

void ucvPelidora::setFontObject(const StdFont &font)
{
    m_Font = font;
    ApplyFont(m_Font);
    notify(QStringLiteral("Font"));
}

QColor ucvPelidora::PelidoraBackColor() const
{
    return platform::colorFromOle(m_PelidoraBackColor);
}

void ucvPelidora::setPelidoraBackColor(const QColor &color)
{
    m_PelidoraBackColor = platform::oleFromColor(color);
    notify(QStringLiteral("PelidoraBackColor"));
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
    applyEnabled(enabled);
    notify(QStringLiteral("Enabled"));
}

short ucvPelidora::MousePointer() const
{
    return m_MousePointer;
}

void ucvPelidora::setMousePointer(short pointer)
{
    m_MousePointer = pointer;
    applyMousePointer();
    notify(QStringLiteral("MousePointer"));
}

ucvPelidora &ucvPelidora::operator=(const QString &dateSet)
{
    setDateSet(dateSet);
    return *this;
}

Site *ucvPelidora::site() const
{
    return m_site;
}

void ucvPelidora::About()
{
    hidePanel();
    TimerHide->stop();
    ShowControlAbout(this);
}

void ucvPelidora::applyEnabled(bool enabled)
{
    setEnabled(enabled);
    SetFieldsEnabled(Enabled());
}

void ucvPelidora::applyMousePointer()
{
    // The classic pointer numbers; 0, 4, 99 (custom) and unknown numbers give the default.
    static constexpr struct {
        qint16 number;
        Qt::CursorShape shape;
    } kPointers[] = {
        {1, Qt::ArrowCursor},      {2, Qt::CrossCursor},     {3, Qt::IBeamCursor},
        {5, Qt::SizeAllCursor},    {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},
        {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},   {10, Qt::UpArrowCursor},
        {11, Qt::WaitCursor},      {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
        {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor},
    };
    for (const auto &p : kPointers) {
        if (p.number == m_MousePointer) {
            setCursor(p.shape);
            return;
        }
    }
    unsetCursor();
}

void ucvPelidora::notify(const QString &name)
{
    if (m_site)
        m_site->PropertyChanged(name);
}

} // namespace pelidora
