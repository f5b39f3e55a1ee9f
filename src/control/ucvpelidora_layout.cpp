// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/ucvpelidora_p.h"

#include "control/accessible.h"

#include "panel/paneldata.h"
#include "platform/core/twips.h"
#include "platform/os/olecolor.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <QApplication>
#include <QIcon>
#include <QPixmapCache>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace pelidora {

namespace {

constexpr int kSlashWidthTwips = 165;
constexpr int kSlashTopTwips = 30;
constexpr int kSlashShorterTwips = 45;
constexpr int kComboWidthTwips = 270;

constexpr QSize kSlashDesignPx(11, 18);
constexpr QSize kComboDesignPx(18, 21);

// The artwork stretched to sizePx, at the device pixel ratio of the screens (QIcon picks the
// @2x file). Decoding and stretching cost more than the rest of a new box: every box of one
// size shows the same pixmap, and a label showing a picture of its own size makes no copy.
QPixmap picture(const char *name, QSize designPx, QSize sizePx)
{
    if (sizePx.isEmpty())
        return {};
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const QString key = QLatin1String("pelidora/control/") + QLatin1String(name) + u'/'
        + QString::number(sizePx.width()) + u'x' + QString::number(sizePx.height()) + u'@'
        + QString::number(qRound(ratio * 100));
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        const QIcon icon(QLatin1String(":/control/") + QLatin1String(name) + QLatin1String(".png"));
        pixmap = icon.pixmap(designPx, ratio);
        if (sizePx != designPx) {
            pixmap = QPixmap::fromImage(
                pixmap.toImage().scaled(sizePx * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            pixmap.setDevicePixelRatio(ratio);
        }
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

template<typename Label = QLabel>
QLabel *makePicture(QWidget *parent, const QString &objectName)
{
    auto *label = new Label(parent);
    label->setObjectName(objectName);
    return label;
}

// The application's palette with the strip colour behind the parts, the same whether the
// window is active or not: a window's activation changes nothing on the strip.
QPalette stripPalette(const QPalette &application)
{
    QPalette palette = application;
    // One quiet grey between the fields, behind the separators and the button, so the white
    // fields read as three boxes in one strip whatever colours the host gives them.
    palette.setColor(QPalette::Window, platform::colorOf(platform::FixedColor::Strip));
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role != QPalette::NoRole) {
            const auto r = QPalette::ColorRole(role);
            palette.setBrush(QPalette::Inactive, r, palette.brush(QPalette::Active, r));
        }
    }
    return palette;
}

// Names are literals: a name set from one allocates nothing.
QLineEdit *makeField(QWidget *parent, const QString &objectName)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setFrame(false);
    field->setTextMargins(0, 0, 0, 0);
    field->setContentsMargins(0, 0, 0, 0);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

int toPxX(double twips)
{
    return core::pixelsFromTwips(twips, platform::windowSystem().twipsPerPixelX());
}

int toPxY(double twips)
{
    return core::pixelsFromTwips(twips, platform::windowSystem().twipsPerPixelY());
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
    // With the first box of the process, so that the first opening of a panel finds its
    // face ready.
    paneldata::prepareFont();
    q->setAutoFillBackground(true);
    // Before the parts are made: they take it from the box as they come.
    applyFieldColors();
    q->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    txtDay = makeField(q, QStringLiteral("txtDay"));
    slash1 = makePicture(q, QStringLiteral("slash1"));
    txtMonth = makeField(q, QStringLiteral("txtMonth"));
    slash2 = makePicture(q, QStringLiteral("slash2"));
    txtYear = makeField(q, QStringLiteral("txtYear"));
    imgCboUp = makePicture(q, QStringLiteral("imgCboUp"));
    imgCboUp->hide();
    imgCboDown = makePicture(q, QStringLiteral("imgCboDown"));
    imgCboDown->hide();
    imgCombo = makePicture<DropButton>(q, QStringLiteral("imgCombo"));
    // The button's pointer events; the separators' only for their palette changes.
    for (QLabel *picture : {imgCombo, slash1, slash2})
        picture->installEventFilter(q);

    // Design positions, until a font is applied.
    placeTwips(txtDay, 0, 0, 495, 315);
    placeTwips(slash1, 510, 30, 165, 270);
    placeTwips(txtMonth, 660, 0, 495, 315);
    placeTwips(slash2, 1170, 30, 165, 270);
    placeTwips(txtYear, 1320, 0, 705, 315);
    placeTwips(imgCombo, 2010, 0, 270, 315);
    fitPictures();

    QWidget::setTabOrder(txtDay, txtMonth);
    QWidget::setTabOrder(txtMonth, txtYear);
    q->setFocusProxy(txtDay);
    for (QLineEdit *field : {txtDay, txtMonth, txtYear})
        field->installEventFilter(q);

    TimerHide = new QTimer(q);
    TimerHide->setObjectName(QStringLiteral("TimerHide"));
    // 20 ticks a second: the watch stays prompt and DayMouseMove live, an idle open panel cheap.
    TimerHide->setInterval(50);
    QObject::connect(TimerHide, &QTimer::timeout, q, [this] { TimerHide_Timer(); });

    ucvPelidoraAccessible::attach();
    UserControl_Resize();
}

void ucvPelidoraPrivate::ApplyFont(StdFont &font)
{
    if (fixedPoint(font.size()) > fixedPoint(12.0)) {
        platform::windowSystem().showMessage(ucvPelidora::tr("Can't assign font size greater than 12."),
                                             platform::WindowSystem::MbIconCritical, QString());
        font.setSize(12.0);
    }
    {
        // Set on the box alone: the three fields take it from there, as the same font. Every
        // attribute counts as set, so that nothing of a parent's or the application's later
        // font reaches the box: its font is its Font property.
        const QScopedValueRollback<bool> own(m_settingOwnState, true);
        QFont boxFont = font.font();
        boxFont.setResolveMask(QFont::AllPropertiesResolved);
        q->setFont(boxFont);
    }

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
    fitPictures();

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
    // Qt keeps any place it is handed (a .ui file's near the coordinates' end), with a far
    // edge that wraps past the int range, where QRect's own width() overflows: the edges
    // are taken in 64 bits, and a strip that cannot fit there moves back until it does
    // (QRect(place, size) adds the two before it takes one off, so the sum must fit too).
    const QRect &now = q->geometry();
    const auto fit = [](int from, int length) {
        return int(std::min<qint64>(from, qint64(std::numeric_limits<int>::max()) - length));
    };
    const QPoint place(fit(now.left(), m_sizeSet.width()), fit(now.top(), m_sizeSet.height()));
    if (place != now.topLeft())
        q->setGeometry(QRect(place, m_sizeSet));
    else if (qint64(now.right()) - now.left() + 1 != m_sizeSet.width()
             || qint64(now.bottom()) - now.top() + 1 != m_sizeSet.height())
        q->resize(m_sizeSet);
}

void ucvPelidora::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Whatever size the host asked for, the box takes its strip's. The event Qt
    // delivers at the first showing, for the size the box gave itself, is no such request.
    if (event->size() != d->m_sizeSet)
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

void ucvPelidoraPrivate::fitPictures()
{
    const QPixmap slash = picture("slash", kSlashDesignPx, slash1->size());
    slash1->setPixmap(slash);
    slash2->setPixmap(slash2->size() == slash1->size() ? slash : picture("slash", kSlashDesignPx, slash2->size()));
    imgCboUp->setPixmap(picture("combo-up", kComboDesignPx, imgCombo->size()));
    imgCboDown->setPixmap(picture("combo-down", kComboDesignPx, imgCombo->size()));
    showButtonPicture(m_showsPressed);
}

void ucvPelidoraPrivate::SetFieldsBackColor(quint32 color)
{
    m_fieldBack = platform::colorFromOle(color);
    if (!m_holdFieldColors)
        applyFieldColors();
}

void ucvPelidoraPrivate::SetFieldsForeColor(quint32 color)
{
    m_fieldFore = platform::colorFromOle(color);
    if (!m_holdFieldColors)
        applyFieldColors();
}

void ucvPelidoraPrivate::applyFieldColors()
{
    // On the box, where the fields take them from: of its parts only the fields paint with
    // Base and Text, and one palette for the whole strip costs less than one per field.
    const QPalette application = QApplication::palette();
    m_appPaletteKey = application.cacheKey();
    QPalette palette = stripPalette(application);
    if (m_fieldBack)
        palette.setColor(QPalette::Base, *m_fieldBack); // in every state: a disabled field keeps its colour
    if (m_fieldFore) {
        const QBrush text(*m_fieldFore); // a disabled field greys its text
        palette.setBrush(QPalette::Active, QPalette::Text, text);
        palette.setBrush(QPalette::Inactive, QPalette::Text, text);
    }
    const QScopedValueRollback<bool> own(m_settingOwnState, true);
    q->setPalette(palette);
}

void ucvPelidoraPrivate::followApplicationPalette()
{
    // System colours follow the desktop's palette.
    if (m_fieldBack)
        m_fieldBack = platform::colorFromOle(m_BackColor);
    if (m_fieldFore)
        m_fieldFore = platform::colorFromOle(m_ForeColor);
    applyFieldColors();
}

bool ucvPelidoraPrivate::activationChangesLooks()
{
    if (!m_activationChangesLooks) {
        bool changes = !q->palette().isEqual(QPalette::Active, QPalette::Inactive);
        for (QObject *child : q->children()) {
            const auto *part = qobject_cast<QWidget *>(child);
            if (part && !part->isWindow())
                changes = changes || !part->palette().isEqual(QPalette::Active, QPalette::Inactive);
        }
        m_activationChangesLooks = changes;
    }
    return *m_activationChangesLooks;
}

void ucvPelidoraPrivate::windowActivationChanged(bool active)
{
    // What Qt would do for the box and each part: repaint what looks different inactive.
    if (activationChangesLooks()) {
        for (QObject *child : q->children()) {
            auto *part = qobject_cast<QWidget *>(child);
            if (part && part->isVisible() && !part->isWindow()
                && !part->palette().isEqual(QPalette::Active, QPalette::Inactive))
                part->update();
        }
        if (q->isVisible() && !q->palette().isEqual(QPalette::Active, QPalette::Inactive))
            q->update();
    }
    if (!active)
        return;
    // A field that kept its selection while the window was away drops it, unless it has
    // the focus back once the window has settled.
    for (QLineEdit *field : {txtDay, txtMonth, txtYear}) {
        if (field->hasSelectedText()) {
            QTimer::singleShot(0, field, [field] {
                if (!field->hasFocus())
                    field->deselect();
            });
        }
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
