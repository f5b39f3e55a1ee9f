#include "eventlog.h"

#include <pelidora/ucvPelidora.h>

#include <QFontDatabase>
#include <QListWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace pelidora::host {

namespace {

QString stamped(const QString &text)
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1String("  ") + text;
}

} // namespace

EventLog::EventLog(QWidget *parent)
    : QWidget(parent)
    , m_list(new QListWidget(this))
    , m_moveTimer(new QTimer(this))
{
    m_list->setObjectName(QStringLiteral("eventLines"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);

    m_moveTimer->setSingleShot(true);
    m_moveTimer->setInterval(kMoveIntervalMs);
    connect(m_moveTimer, &QTimer::timeout, this, &EventLog::flushMoves);
}

void EventLog::watch(ucvPelidora *box)
{
    connect(box, &ucvPelidora::Click, this, [this, box] {
        flushMoves();
        // What a host program reads in its Click handler: the date just taken over.
        addLine(QStringLiteral("%1  Click         DateSet = \"%2\"").arg(box->objectName(), box->DateSet()));
    });
    connect(box, &ucvPelidora::DayMouseMove, this,
            [this, box](short buttonDay, short selMonth, short selYear, float x, float y) {
                onDayMouseMove(box, buttonDay, selMonth, selYear, x, y);
            });
}

void EventLog::append(const QString &text)
{
    flushMoves();
    addLine(text);
}

QStringList EventLog::lines() const
{
    QStringList result;
    for (int i = 0; i < m_list->count(); ++i)
        result << m_list->item(i)->text();
    return result;
}

void EventLog::clear()
{
    m_moveTimer->stop();
    m_pending.reset();
    m_moveLineBox.clear();
    m_list->clear();
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

    const bool continues = !m_moveLineBox.isEmpty() && m_moveLineBox == move.box && m_list->count() > 0;
    m_moveLineTicks = continues ? m_moveLineTicks + move.ticks : move.ticks;
    const QString text = QStringLiteral("%1  DayMouseMove  ButtonDay %2, SelMonth %3, SelYear %4, X %5, Y %6  (%7 %8)")
                                     .arg(move.box)
                                     .arg(move.buttonDay)
                                     .arg(move.selMonth)
                                     .arg(move.selYear)
                                     .arg(double(move.x))
                                     .arg(double(move.y))
                                     .arg(m_moveLineTicks)
                                     .arg(m_moveLineTicks == 1 ? QStringLiteral("tick") : QStringLiteral("ticks"));
    if (continues) {
        m_list->item(m_list->count() - 1)->setText(stamped(text));
    } else {
        addLine(text);
        m_moveLineBox = move.box;
    }
}

void EventLog::addLine(const QString &text)
{
    m_moveLineBox.clear();
    m_list->addItem(stamped(text));
    while (m_list->count() > kMaxLines)
        delete m_list->takeItem(0);
    m_list->scrollToBottom();
}

} // namespace pelidora::host
