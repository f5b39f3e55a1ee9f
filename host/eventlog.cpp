// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "eventlog.h"

#include <pelidora/ucvPelidora.h>

#include <cstdio>

#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pelidora::host {

namespace {

enum Column { TimeColumn, BoxColumn, EventColumn, DetailsColumn, ColumnCount };

void fill(QTreeWidgetItem *item, const QString &box, const QString &event, const QString &details)
{
    item->setText(TimeColumn, QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    item->setText(BoxColumn, box);
    item->setText(EventColumn, event);
    item->setText(DetailsColumn, details);
    item->setToolTip(DetailsColumn, details);
}

// With PELIDORA_HOST_ECHO_EVENTS set, each logged line also goes to stdout, for checks that drive
// the host from outside and cannot read its window.
void echo(const QString &box, const QString &event, const QString &details)
{
    static const bool wanted = qEnvironmentVariableIsSet("PELIDORA_HOST_ECHO_EVENTS");
    if (!wanted)
        return;
    static QFile out;
    if (!out.isOpen() && !out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    out.write(QStringLiteral("event %1 %2 %3\n").arg(box, event, details).toUtf8());
}

} // namespace

EventLog::EventLog(QWidget *parent)
    : QWidget(parent)
    , m_entries(new QTreeWidget(this))
    , m_moveTimer(new QTimer(this))
{
    m_entries->setObjectName(QStringLiteral("eventEntries"));
    m_entries->setColumnCount(ColumnCount);
    m_entries->setHeaderLabels({tr("Time"), tr("Box"), tr("Event"), tr("Details")});
    m_entries->setRootIsDecorated(false);
    m_entries->setUniformRowHeights(true);
    m_entries->setAlternatingRowColors(true);
    m_entries->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_entries->header()->setSectionResizeMode(QHeaderView::Interactive);
    // A DayMouseMove line is long: the details grow to their text (fitDetails), with a
    // scroll bar when the log is narrower, rather than ending in "…".
    m_entries->header()->setStretchLastSection(false);
    m_entries->setTextElideMode(Qt::ElideNone);
    const QFontMetrics metrics(m_entries->font());
    m_entries->setColumnWidth(TimeColumn, metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16);
    m_entries->setColumnWidth(BoxColumn, metrics.horizontalAdvance(QStringLiteral("dtDeparture")) + 16);
    m_entries->setColumnWidth(EventColumn, metrics.horizontalAdvance(QStringLiteral("DayMouseMove")) + 16);
    // The details fill what the other columns leave, from the start.
    m_entries->viewport()->installEventFilter(this);
    connect(m_entries->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column != DetailsColumn)
            fillDetails();
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_entries);

    m_moveTimer->setSingleShot(true);
    m_moveTimer->setInterval(kMoveIntervalMs);
    connect(m_moveTimer, &QTimer::timeout, this, &EventLog::flushMoves);
}

void EventLog::watch(ucvPelidora *box)
{
    connect(box, &ucvPelidora::Click, this, [this, box] {
        // What a host program reads in its Click handler: the date just taken over.
        append(box->objectName(), QStringLiteral("Click"), QStringLiteral("DateSet = \"%1\"").arg(box->DateSet()));
    });
    connect(box, &ucvPelidora::DayMouseMove, this,
            [this, box](short buttonDay, short selMonth, short selYear, float x, float y) {
                onDayMouseMove(box, buttonDay, selMonth, selYear, x, y);
            });
}

void EventLog::append(const QString &box, const QString &event, const QString &details)
{
    // Moves gathered so far happened before this.
    flushMoves();
    addEntry(box, event, details);
}

QStringList EventLog::lines() const
{
    QStringList result;
    for (int i = 0; i < m_entries->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_entries->topLevelItem(i);
        QStringList columns;
        for (int c = 0; c < ColumnCount; ++c)
            columns << item->text(c);
        result << columns.join(QLatin1String("  "));
    }
    return result;
}

void EventLog::clear()
{
    m_moveTimer->stop();
    m_pending.reset();
    m_moveEntryBox.clear();
    m_entries->clear();
}

void EventLog::onDayMouseMove(ucvPelidora *box, short buttonDay, short selMonth, short selYear, float x, float y)
{
    const QString name = box->objectName();
    if (m_pending && m_pending->box != name)
        flushMoves();
    const int ticks = m_pending ? m_pending->ticks + 1 : 1;
    m_pending = PendingMove{name, buttonDay, selMonth, selYear, x, y, ticks};
    if (!m_moveTimer->isActive())
        m_moveTimer->start();
}

void EventLog::flushMoves()
{
    m_moveTimer->stop();
    if (!m_pending)
        return;
    const PendingMove move = *m_pending;
    m_pending.reset();

    const int count = m_entries->topLevelItemCount();
    const bool continues = !m_moveEntryBox.isEmpty() && m_moveEntryBox == move.box && count > 0;
    m_moveEntryTicks = continues ? m_moveEntryTicks + move.ticks : move.ticks;
    //: The event's arguments by their names, then how many ticks the entry gathers.
    const QString details = tr("ButtonDay %1, SelMonth %2, SelYear %3, X %4, Y %5 (%6 %7)")
                                .arg(move.buttonDay)
                                .arg(move.selMonth)
                                .arg(move.selYear)
                                .arg(double(move.x))
                                .arg(double(move.y))
                                .arg(m_moveEntryTicks)
                                .arg(m_moveEntryTicks == 1 ? tr("tick") : tr("ticks"));
    if (continues) {
        fill(m_entries->topLevelItem(count - 1), move.box, QStringLiteral("DayMouseMove"), details);
        echo(move.box, QStringLiteral("DayMouseMove"), details);
        fitDetails(details);
    } else {
        addEntry(move.box, QStringLiteral("DayMouseMove"), details);
        m_moveEntryBox = move.box;
    }
}

void EventLog::addEntry(const QString &box, const QString &event, const QString &details)
{
    m_moveEntryBox.clear();
    auto *item = new QTreeWidgetItem;
    fill(item, box, event, details);
    echo(box, event, details);
    m_entries->addTopLevelItem(item);
    fitDetails(details);
    while (m_entries->topLevelItemCount() > kMaxEntries)
        delete m_entries->takeTopLevelItem(0);
    m_entries->scrollToItem(item);
}

// Measured per entry, not per redraw of the whole log, which ResizeToContents would do.
void EventLog::fitDetails(const QString &details)
{
    m_detailsWidth = qMax(m_detailsWidth, m_entries->fontMetrics().horizontalAdvance(details) + 16);
    fillDetails();
}

void EventLog::fillDetails()
{
    QHeaderView *header = m_entries->header();
    int rest = m_entries->viewport()->width();
    for (int column = 0; column < DetailsColumn; ++column)
        rest -= header->sectionSize(column);
    const int width = qMax(m_detailsWidth, rest);
    if (header->sectionSize(DetailsColumn) != width)
        header->resizeSection(DetailsColumn, width);
}

bool EventLog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_entries->viewport())
        fillDetails();
    return QWidget::eventFilter(watched, event);
}

} // namespace pelidora::host
