// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class QTimer;
class QTreeWidget;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

// What the date boxes of a running form report: every Click with the date read right
// after it, and DayMouseMove, which a box raises on every tick of its focus watch while
// its panel is open. Moves are gathered and shown at most a few times a second, as one
// entry that keeps being updated while nothing else happens.
class EventLog : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMoveIntervalMs = 250;
    static constexpr int kMaxEntries = 1000;

    explicit EventLog(QWidget *parent = nullptr);

    void watch(ucvPelidora *box);
    void append(const QString &box, const QString &event, const QString &details);
    // Each entry as "time  box  event  details".
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
    void addEntry(const QString &box, const QString &event, const QString &details);
    void fitDetails(const QString &details);
    void fillDetails(); // the details column as wide as its widest text, or what is left
    bool eventFilter(QObject *watched, QEvent *event) override;

    QTreeWidget *m_entries;
    QTimer *m_moveTimer;
    std::optional<PendingMove> m_pending;
    QString m_moveEntryBox; // box whose moves the last entry shows; empty when it shows anything else
    int m_moveEntryTicks = 0;
    int m_detailsWidth = 0; // pixels: the widest details shown so far
};

} // namespace pelidora::host
