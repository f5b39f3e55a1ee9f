// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/monthpanel.h"

#include "panel/accessible.h"
#include "panel/daycell.h"
#include "panel/framepicture.h"
#include "panel/paneldata.h"
#include "panel/panelparts.h"
#include "panel/twips.h"
#include "platform/os/localedates.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <pelidora/runtimeerror.h>

#include <QCloseEvent>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace pelidora {

using twips::rectPx;

namespace {

// Design geometry, twips.
constexpr int kFormWidth = 6465, kFormHeight = 3225;
constexpr int kContainerWidth = 2955, kContainerHeight = 2745;
constexpr int kFlatInset = 90, kThreeDInset = 120; // picContainer inside pic1D, pic3D
constexpr int kListHeight = 315;
constexpr int kHeadingLeft[7] = {45, 465, 870, 1260, 1650, 2055, 2460};

} // namespace

MonthPanel::MonthPanel(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("window"));
    resize(rectPx(0, 0, kFormWidth, kFormHeight).size());
}

void MonthPanel::makeParts()
{
    m_hasParts = true;
    monthpanelaccessible::attach();
    // Set on the panel alone: every part takes it from there as it is made.
    setFont(paneldata::font());

    m_pic1D = new FramePicture(FramePicture::Style::Flat, this);
    m_pic3D = new FramePicture(FramePicture::Style::ThreeD, this);
    m_pic3D->hide();

    m_picContainer = new PanelFrame(m_pic1D);
    m_picContainer->setObjectName(QStringLiteral("picContainer"));
    m_fraCombo = new PanelFrame(m_picContainer);
    m_fraCombo->setObjectName(QStringLiteral("fraCombo"));
    m_fraDay = new PanelFrame(m_picContainer);
    m_fraDay->setObjectName(QStringLiteral("fraDay"));

    m_lblDay = new QLineEdit(m_fraCombo);
    m_lblDay->setObjectName(QStringLiteral("lblDay"));
    m_lblDay->setAlignment(Qt::AlignCenter);
    // A day number is at most two digits; pasted text is held to the same rule.
    m_lblDay->setMaxLength(2);
    m_lblDay->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), m_lblDay));
    m_lblDay->installEventFilter(this);

    m_cboMese = new PanelList(m_fraCombo);
    m_cboMese->setObjectName(QStringLiteral("cboMese"));
    m_cboMese->installEventFilter(this);
    m_cboAnno = new PanelList(m_fraCombo);
    m_cboAnno->setObjectName(QStringLiteral("cboAnno"));
    m_cboAnno->installEventFilter(this);
    connect(m_cboMese, &QComboBox::currentIndexChanged, this, &MonthPanel::cboMese_Click);
    connect(m_cboAnno, &QComboBox::currentIndexChanged, this, &MonthPanel::cboAnno_Click);
    for (PanelList *list : {m_cboMese, m_cboAnno})
        connect(list, &QComboBox::currentIndexChanged, this, [list] { monthpanelaccessible::listMoved(*list); });

    for (int p = 0; p < 7; ++p) {
        auto *heading = new DayHeading(m_fraDay);
        heading->setObjectName(QStringLiteral("giorno_%1").arg(p));
        m_giorno[p] = heading;
    }
    for (int i = 0; i < 31; ++i) {
        auto *cell = new DayCell(i, m_fraDay);
        connect(cell, &DayCell::clicked, this, [this](int index) { btnDay_Click(qint16(index)); });
        connect(cell, &DayCell::pointerMoved, this, &MonthPanel::cellPointerMoved);
        m_btnDay[i] = cell;
    }

    if (m_framesHidden) {
        m_pic1D->hide();
        m_picContainer->hide();
    }
    placeParts();
    monthpanelaccessible::nameParts(*this);
    if (FormLoaded) {
        // Made after the set-up: its lists and field as it left them; what it set in the
        // panel's own state is not set again, since the date box may have changed it since.
        const qint16 selMonth = m_SelMonth, selYear = m_SelYear;
        listLoadedDay();
        m_SelMonth = selMonth;
        m_SelYear = selYear;
    }
}

MonthPanel::~MonthPanel() = default;

void MonthPanel::placeParts()
{
    m_pic1D->setGeometry(rectPx(0, 0, m_pic1D->widthTwips(), m_pic1D->heightTwips()));
    m_pic3D->setGeometry(rectPx(0, 0, m_pic3D->widthTwips(), m_pic3D->heightTwips()));
    const int inset = m_picContainer->parentWidget() == m_pic1D ? kFlatInset : kThreeDInset;
    m_picContainer->setGeometry(rectPx(inset, inset, kContainerWidth, kContainerHeight));
    // The upper 90 twips of fraCombo lie outside picContainer.
    m_fraCombo->setGeometry(rectPx(0, -90, 2925, 540));
    m_fraDay->setGeometry(rectPx(0, 435, 2925, 2265));
    m_lblDay->setGeometry(rectPx(75, 165, 420, 300));
    m_cboMese->setGeometry(rectPx(600, 150, 1275, kListHeight));
    m_cboAnno->setGeometry(rectPx(1980, 150, 885, kListHeight));
    for (int p = 0; p < 7; ++p)
        m_giorno[p]->setGeometry(rectPx(kHeadingLeft[p], 150, p == 0 ? 420 : 405, 255));
    for (int i = 0; i < 31; ++i)
        m_btnDay[i]->setGeometry(rectPx(45 + 405 * (i % 7), 480 + 345 * (i / 7), 400, 345));
}

void MonthPanel::Pelidora_Form_Load()
{
    if (FormLoaded)
        return;
    FormLoaded = true;

    BuildWeekDayNames();
    DateOrder = platform::dateOrder() == platform::DateOrder::DayFirst ? 1 : 2;
    m_loadedToday = platform::today();
    m_loadedLocale = QLocale();
    const int day = platform::dayOf(m_loadedToday);
    // The twips per pixel may have changed with the screen.
    resize(rectPx(0, 0, kFormWidth, kFormHeight).size());
    if (m_hasParts) {
        placeParts();
        listLoadedDay();
    } else {
        // What drawing the listed month would have set.
        m_SelMonth = qint16(platform::monthOf(m_loadedToday));
        m_SelYear = qint16(qBound(1900, platform::yearOf(m_loadedToday), 2100));
    }
    m_lblDayTag = QString::number(day);
}

void MonthPanel::listLoadedDay()
{
    for (PanelList *list : {m_cboMese, m_cboAnno}) {
        const QSignalBlocker block(list);
        list->setModel(list == m_cboMese ? paneldata::monthList(m_loadedLocale) : paneldata::yearList());
        list->setCurrentIndex(-1);
    }
    // A system date outside the list's years shows the nearest year the list has.
    setAnnoIndex(qBound(0, platform::yearOf(m_loadedToday) - 1900, 200));
    setMeseIndex(platform::monthOf(m_loadedToday) - 1);
    m_lblDay->setText(QString::number(platform::dayOf(m_loadedToday)));
}

void MonthPanel::setVisible(bool visible)
{
    if (visible)
        parts();
    QWidget::setVisible(visible);
}

void MonthPanel::HidePelidora()
{
    if (isVisible())
        hide();
    if (m_hasParts) {
        m_pic1D->hide();
        m_pic3D->hide();
        m_picContainer->hide();
    } else {
        m_framesHidden = true; // the parts are made so
    }
    m_FlagShowPelidora = false;
}

void MonthPanel::setbDayOver(qint16 Index, bool NewValue)
{
    checkCell(Index);
    m_bDayOver[Index] = NewValue;
}

bool MonthPanel::bDayOver(qint16 Index) const
{
    checkCell(Index);
    return m_bDayOver[Index];
}

DayCell *MonthPanel::btnDay(int index) const
{
    checkCell(index);
    return parts().m_btnDay[index];
}

DayHeading *MonthPanel::giorno(int index) const
{
    if (index < 0 || index > 6)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    return parts().m_giorno[index];
}

void MonthPanel::checkCell(int index)
{
    if (index < 0 || index > 30)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
}

namespace {

// A list index from code must name an entry or no entry (-1); otherwise the list keeps
// its selection and the caller hears of it.
void checkListIndex(const QComboBox *list, int index)
{
    if (index < -1 || index >= list->count())
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
}

} // namespace

void MonthPanel::setMeseIndex(int index)
{
    checkListIndex(cboMese(), index);
    const QScopedValueRollback<int> fromCode(m_listsFromCode, m_listsFromCode + 1);
    if (index == m_cboMese->currentIndex())
        cboMese_Click();
    else
        m_cboMese->setCurrentIndex(index); // runs cboMese_Click
}

void MonthPanel::setAnnoIndex(int index)
{
    checkListIndex(cboAnno(), index);
    const QScopedValueRollback<int> fromCode(m_listsFromCode, m_listsFromCode + 1);
    if (index == m_cboAnno->currentIndex())
        cboAnno_Click();
    else
        m_cboAnno->setCurrentIndex(index); // runs cboAnno_Click
}

void MonthPanel::placeContainer(FramePicture *frame, int leftTwips, int topTwips)
{
    if (!frame)
        return;
    parts();
    if (m_picContainer->parentWidget() != frame) {
        // A reparented widget is hidden; it keeps the visibility it had.
        const bool shown = !m_picContainer->isHidden();
        m_picContainer->setParent(frame);
        m_picContainer->setVisible(shown);
    }
    m_picContainer->move(twips::toPxX(leftTwips), twips::toPxY(topTwips));
}

void MonthPanel::Form_Resize()
{
    // Before the window is shown the field may not take the focus, nor does it exist
    // before the parts are made (which showing does); that is fine.
    if (m_hasParts)
        m_lblDay->setFocus(Qt::OtherFocusReason);
}

void MonthPanel::cellPointerMoved(int index, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF posPx,
                                  QPointF globalPx)
{
    // The window system reports a move when the panel appears under a resting pointer;
    // that is no choice of the user's.
    if (!m_pointerMoved) {
        if (globalPx.toPoint() == m_restingPointer)
            return;
        m_pointerMoved = true;
    }
    const qint16 button = qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
                                 | (buttons & Qt::MiddleButton ? 4 : 0));
    const qint16 shift = qint16((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
                                | (modifiers & Qt::AltModifier ? 4 : 0));
    btnDay_MouseMove(qint16(index), button, shift, float(posPx.x() * module().TwipsX),
                     float(posPx.y() * module().TwipsY));
}

void MonthPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_restingPointer = QCursor::pos();
    m_pointerMoved = false;
    m_X = 0;
    m_Y = 0;
    Form_Resize();
}

void MonthPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MonthPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    Q_EMIT hidden();
}

void MonthPanel::setPopup(bool popup, QWidget *noReplay)
{
    m_noReplay = noReplay;
    setAttribute(Qt::WA_NoMouseReplay, false);
    if (popup == isPopup() || isVisible())
        return;
    setWindowFlags((popup ? Qt::Popup : Qt::Window) | Qt::FramelessWindowHint);
    setProperty(platform::kOwnsFocusProperty, popup);
}

void MonthPanel::mousePressEvent(QMouseEvent *event)
{
    // As a popup the panel gets the press that closes it; on the drop button that press
    // would open it again.
    if (isPopup() && m_noReplay && !rect().contains(event->position().toPoint())
        && m_noReplay->rect().contains(m_noReplay->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    QWidget::mousePressEvent(event);
}

void MonthPanel::closeEvent(QCloseEvent *event)
{
    // Closed by the window system: as Escape, the panel is hidden and keeps its state.
    HidePelidora();
    event->accept();
}

void MonthPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_hasParts)
        monthpanelaccessible::nameParts(*this);
    QWidget::changeEvent(event);
}

} // namespace pelidora
