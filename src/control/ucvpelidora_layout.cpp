#include "control/ucvpelidora_p.h"

#include "control/dropbutton.h"
#include "control/ucvpelidoraaccessible.h"

#include "platform/olecolor.h"
#include "platform/windowsystem.h"
#include "shared/mpelidora.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmapCache>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>

namespace pelidora {

namespace {

// Between the fields, behind the separators and the button: one quiet grey, so the white
// fields read as three boxes in one strip whatever colours the host gives them.
const QColor kStripColor(0xE1, 0xE4, 0xE8);

constexpr int kSlashWidthTwips = 165;
constexpr int kSlashTopTwips = 30;
constexpr int kSlashShorterTwips = 45;
constexpr int kComboWidthTwips = 270;

// Artwork at the device pixel ratio of the screens (QIcon picks the @2x file).
QPixmap picture(const char *name, QSize designPx)
{
    // Decoding the pictures costs more than the rest of a new box; every box shares them.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const QString key = QStringLiteral("pelidora/control/%1@%2").arg(QLatin1String(name)).arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        const QIcon icon(QStringLiteral(":/control/%1.png").arg(QLatin1String(name)));
        pixmap = icon.pixmap(designPx, ratio);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

template<typename Label = QLabel>
QLabel *makePicture(QWidget *parent, const char *objectName, const QPixmap &pixmap)
{
    auto *label = new Label(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setScaledContents(true);
    label->setPixmap(pixmap);
    return label;
}

QLineEdit *makeField(QWidget *parent, const char *objectName)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(objectName));
    field->setFrame(false);
    field->setTextMargins(0, 0, 0, 0);
    field->setContentsMargins(0, 0, 0, 0);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

int toPxX(double twips)
{
    return qRound(twips / platform::windowSystem().twipsPerPixelX());
}

int toPxY(double twips)
{
    return qRound(twips / platform::windowSystem().twipsPerPixelY());
}

void placeTwips(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(toPxX(left), toPxY(top), toPxX(width), toPxY(height));
}

qint16 toInteger(double twips)
{
    return qint16(std::clamp<long>(std::lround(twips), 0, 32767));
}

} // namespace

void ucvPelidoraPrivate::createConstituents()
{
    q->setAutoFillBackground(true);
    QPalette strip = q->palette();
    strip.setColor(QPalette::Window, kStripColor);
    q->setPalette(strip);
    q->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    txtDay = makeField(q, "txtDay");
    slash1 = makePicture(q, "slash1", picture("slash", {11, 18}));
    txtMonth = makeField(q, "txtMonth");
    slash2 = makePicture(q, "slash2", picture("slash", {11, 18}));
    txtYear = makeField(q, "txtYear");
    imgCboUp = makePicture(q, "imgCboUp", picture("combo-up", {18, 21}));
    imgCboUp->hide();
    imgCboDown = makePicture(q, "imgCboDown", picture("combo-down", {18, 21}));
    imgCboDown->hide();
    imgCombo = makePicture<DropButton>(q, "imgCombo", imgCboUp->pixmap());
    imgCombo->installEventFilter(q);

    // Design positions, until a font is applied.
    placeTwips(txtDay, 0, 0, 495, 315);
    placeTwips(slash1, 510, 30, 165, 270);
    placeTwips(txtMonth, 660, 0, 495, 315);
    placeTwips(slash2, 1170, 30, 165, 270);
    placeTwips(txtYear, 1320, 0, 705, 315);
    placeTwips(imgCombo, 2010, 0, 270, 315);

    QWidget::setTabOrder(txtDay, txtMonth);
    QWidget::setTabOrder(txtMonth, txtYear);
    q->setFocusProxy(txtDay);
    for (QLineEdit *field : {txtDay, txtMonth, txtYear}) {
        field->installEventFilter(q);
        QObject::connect(field, &QLineEdit::textEdited, q, [this] { m_fieldsEdited = true; });
    }

    TimerHide = new QTimer(q);
    TimerHide->setObjectName(QStringLiteral("TimerHide"));
    // 20 ticks a second: the watch stays prompt and DayMouseMove live, an idle open panel cheap.
    TimerHide->setInterval(50);
    QObject::connect(TimerHide, &QTimer::timeout, q, [this] { TimerHide_Timer(); });

    ucvPelidoraAccessible::attach(*this);
    UserControl_Resize();
}

void ucvPelidoraPrivate::ApplyFont(StdFont &font)
{
    if (fixedPoint(font.size()) > fixedPoint(12.0)) {
        platform::windowSystem().showMessage(ucvPelidora::tr("Can't assign font size greater than 12."),
                                             platform::WindowSystem::MbIconCritical, QString());
        font.setSize(12.0);
    }
    const QFont qfont = font.font();
    {
        const QScopedValueRollback<bool> own(m_settingOwnState, true);
        q->setFont(qfont);
    }
    txtDay->setFont(qfont);
    txtMonth->setFont(qfont);
    txtYear->setFont(qfont);

    // TextHeight and TextWidth of the box's font, in twips.
    auto &ws = platform::windowSystem();
    const QFontMetrics metrics = q->fontMetrics();
    const double textHeight = metrics.height() * ws.twipsPerPixelY();
    const double width2 = metrics.horizontalAdvance(QStringLiteral("33")) * ws.twipsPerPixelX();
    const double width4 = metrics.horizontalAdvance(QStringLiteral("3333")) * ws.twipsPerPixelX();

    const double fieldHeight = textHeight;
    const double dayWidth = 2 * width2;
    const double yearWidth = 2 * width4;
    const double slashHeight = fieldHeight - kSlashShorterTwips;
    // Each left edge from the one before, without gaps.
    const double slash1Left = dayWidth;
    const double monthLeft = slash1Left + kSlashWidthTwips;
    const double slash2Left = monthLeft + dayWidth;
    const double yearLeft = slash2Left + kSlashWidthTwips;
    const double comboLeft = yearLeft + yearWidth;

    placeTwips(txtDay, 0, 0, dayWidth, fieldHeight);
    placeTwips(slash1, slash1Left, kSlashTopTwips, kSlashWidthTwips, slashHeight);
    placeTwips(txtMonth, monthLeft, 0, dayWidth, fieldHeight);
    placeTwips(slash2, slash2Left, kSlashTopTwips, kSlashWidthTwips, slashHeight);
    placeTwips(txtYear, yearLeft, 0, yearWidth, fieldHeight);
    placeTwips(imgCombo, comboLeft, 0, kComboWidthTwips, fieldHeight);

    m_ctlHeight = toInteger(fieldHeight);
    m_ctlWidth = toInteger(comboLeft + kComboWidthTwips);
    mpelidora &m = module();
    m.gCtlHeight = m_ctlHeight;
    m.gCtlWidth = m_ctlWidth;
    q->updateGeometry();
    UserControl_Resize();
}

void ucvPelidoraPrivate::UserControl_Resize()
{
    m_sizeSet = sizePx();
    if (q->size() != m_sizeSet)
        q->resize(m_sizeSet);
}

void ucvPelidora::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Whatever size the host asked for, the box takes its strip's. The event Qt
    // delivers at the first showing, for the size the box gave itself, is no such request.
    if (size() != d->m_sizeSet)
        d->UserControl_Resize();
}

QSize ucvPelidoraPrivate::sizePx() const
{
    return {toPxX(m_ctlWidth), toPxY(m_ctlHeight)};
}

QSize ucvPelidora::sizeHint() const
{
    return d->sizePx();
}

QSize ucvPelidora::minimumSizeHint() const
{
    return d->sizePx();
}

void ucvPelidoraPrivate::SetFieldsBackColor(quint32 color)
{
    const QColor c = platform::colorFromOle(color);
    for (QLineEdit *field : {txtDay, txtMonth, txtYear}) {
        QPalette p = field->palette();
        p.setColor(QPalette::Base, c); // in every state: a disabled field keeps its colour
        field->setPalette(p);
    }
}

void ucvPelidoraPrivate::SetFieldsForeColor(quint32 color)
{
    const QColor c = platform::colorFromOle(color);
    for (QLineEdit *field : {txtDay, txtMonth, txtYear}) {
        QPalette p = field->palette();
        p.setColor(QPalette::Active, QPalette::Text, c); // a disabled field greys its text
        p.setColor(QPalette::Inactive, QPalette::Text, c);
        field->setPalette(p);
    }
}

void ucvPelidoraPrivate::SetFieldsEnabled(bool enabled)
{
    txtDay->setEnabled(enabled);
    txtMonth->setEnabled(enabled);
    txtYear->setEnabled(enabled);
    imgCombo->setEnabled(enabled);
}

void ucvPelidoraPrivate::SetFieldsLocked(bool locked)
{
    txtDay->setReadOnly(locked);
    txtMonth->setReadOnly(locked);
    txtYear->setReadOnly(locked);
}

} // namespace pelidora
