#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class QListWidget;
class QTimer;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

// What the date boxes of a running form report: every Click with the date read right
// after it, and DayMouseMove, which a box raises on every tick of its focus watch while
// its panel is open. Moves are gathered and shown at most a few times a second, as one
// line that keeps being updated while nothing else happens.
class EventLog : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMoveIntervalMs = 250;
    static constexpr int kMaxLines = 1000;

    explicit EventLog(QWidget *parent = nullptr);

    void watch(ucvPelidora *box);
    void append(const QString &text);
    QStringList lines() const;

    // Shows the moves gathered since the last update; the throttle's timer calls this.
    void flushMoves();

public Q_SLOTS:
    void clear();

private:
    struct PendingMove {
        QString box;
        short buttonDay, selMonth, selYear;
        float x, y;
        int ticks;
    };

    void onDayMouseMove(ucvPelidora *box, short buttonDay, short selMonth, short selYear, float x, float y);
    void addLine(const QString &text);

    QListWidget *m_list;
    QTimer *m_moveTimer;
    std::optional<PendingMove> m_pending;
    QString m_moveLineBox; // box whose moves the last line shows; empty when it shows anything else
    int m_moveLineTicks = 0;
};

} // namespace pelidora::host
