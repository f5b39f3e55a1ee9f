// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "designoverlay.h"

#include "formcanvas.h"
#include "formhost.h"

#include <pelidora/ucvPelidora.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pelidora::host {

DesignOverlay::DesignOverlay(FormHost *host, QWidget *canvas)
    : QWidget(canvas)
    , m_host(host)
{
    setObjectName(QStringLiteral("designOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(canvas->rect());
    canvas->installEventFilter(this);
    raise();

    connect(host, &FormHost::boxesChanged, this, [this] {
        // New boxes are stacked above the sheet; keep it on top.
        raise();
        if (!m_selected || !m_host->siteOf(m_selected))
            select(nullptr);
        update();
    });
}

QRect DesignOverlay::frameAround(const QRect &geometry)
{
    return geometry.adjusted(-3, -3, 2, 2);
}

// Above the frame, or below it when there is no room above.
QRect DesignOverlay::tabOf(const QRect &frame, const QString &name) const
{
    const QFontMetrics metrics(font());
    QRect tab(0, 0, metrics.horizontalAdvance(name) + 10, metrics.height() + 2);
    tab.moveLeft(frame.left() - 1);
    if (frame.top() - tab.height() >= 0)
        tab.moveBottom(frame.top() - 1);
    else
        tab.moveTop(frame.bottom() + 2);
    return tab;
}

QRect DesignOverlay::markedArea(const QRect &geometry, const QString &name) const
{
    const QRect frame = frameAround(geometry);
    return frame | tabOf(frame, name);
}

void DesignOverlay::followSelected()
{
    const QRect frame = m_selected ? frameAround(m_selected->geometry()) : QRect();
    if (frame == m_frame)
        return;
    m_frame = frame;
    update();
}

ucvPelidora *DesignOverlay::selected() const
{
    return m_selected;
}

void DesignOverlay::select(ucvPelidora *box)
{
    const bool destroyed = !m_selected && !m_frame.isNull(); // the selected box, by an undo
    if (m_selected == box && !destroyed)
        return;
    if (m_selected)
        m_selected->removeEventFilter(this);
    m_selected = box;
    m_watched = box;
    if (box)
        box->installEventFilter(this);
    followSelected();
    update();
    Q_EMIT selectionChanged(box);
}

ucvPelidora *DesignOverlay::boxAt(const QPoint &pos) const
{
    const QList<ucvPelidora *> boxes = m_host->boxes();
    // The last in tab order is drawn on top.
    for (auto it = boxes.crbegin(); it != boxes.crend(); ++it) {
        if ((*it)->geometry().contains(pos))
            return *it;
    }
    return nullptr;
}

bool DesignOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(static_cast<QWidget *>(watched)->rect());
    // A new font resizes the box without a click, as a move from code moves it.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched == m_watched)
        followSelected();
    return QWidget::eventFilter(watched, event);
}

void DesignOverlay::paintEvent(QPaintEvent *)
{
    if (!m_selected)
        return;
    QPainter painter(this);
    const QColor highlight = palette().color(QPalette::Highlight);
    painter.setPen(QPen(highlight, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_frame);

    const QString name = m_selected->objectName();
    const QRect tab = tabOf(m_frame, name);
    painter.setPen(Qt::NoPen);
    painter.setBrush(highlight);
    painter.drawRect(tab);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(tab, Qt::AlignCenter, name);
}

void DesignOverlay::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    ucvPelidora *box = boxAt(pos);
    select(box);
    if (box) {
        m_dragging = true;
        m_grabOffset = pos - box->pos();
        m_pressPos = pos;
        m_dragFrom = box->pos();
        setCursor(Qt::SizeAllCursor);
    }
}

void DesignOverlay::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!m_dragging || !m_selected) {
        setCursor(boxAt(pos) ? Qt::SizeAllCursor : Qt::ArrowCursor);
        return;
    }
    // A small jitter of a click is no move.
    if ((pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    const bool snap = !(event->modifiers() & Qt::AltModifier);
    moveSelected(placed(pos - m_grabOffset, m_selected->size(), snap));
}

void DesignOverlay::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    if (m_selected && m_selected->pos() != m_dragFrom)
        Q_EMIT boxMoved(m_selected, m_dragFrom, m_selected->pos(), false);
}

void DesignOverlay::keyPressEvent(QKeyEvent *event)
{
    if (!m_selected) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int step = (event->modifiers() & Qt::ShiftModifier) ? FormCanvas::kGridPx : 1;
    QPoint delta;
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace: Q_EMIT deleteRequested(m_selected); return;
    case Qt::Key_Left: delta = {-step, 0}; break;
    case Qt::Key_Right: delta = {step, 0}; break;
    case Qt::Key_Up: delta = {0, -step}; break;
    case Qt::Key_Down: delta = {0, step}; break;
    case Qt::Key_Escape: select(nullptr); return;
    default: QWidget::keyPressEvent(event); return;
    }
    const QPoint from = m_selected->pos();
    moveSelected(placed(from + delta, m_selected->size(), false));
    if (m_selected->pos() != from)
        Q_EMIT boxMoved(m_selected, from, m_selected->pos(), true);
}

QPoint DesignOverlay::placed(const QPoint &wanted, const QSize &size, bool snap) const
{
    QPoint pos = wanted;
    if (snap) {
        const int g = FormCanvas::kGridPx;
        pos = QPoint(qRound(pos.x() / double(g)) * g, qRound(pos.y() / double(g)) * g);
    }
    // The whole box stays on the form, so it can always be grabbed again.
    pos.setX(qBound(0, pos.x(), qMax(0, width() - size.width())));
    pos.setY(qBound(0, pos.y(), qMax(0, height() - size.height())));
    return pos;
}

void DesignOverlay::moveSelected(const QPoint &to)
{
    m_host->moveBox(m_selected, to);
    update();
}

} // namespace pelidora::host
