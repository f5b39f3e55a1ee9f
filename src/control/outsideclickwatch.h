// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// While a month panel is open, a press on another window of the program makes that window
// the active one, as a window manager would: the focus leaves the panel and the date box's
// watch closes it. The filter sits on the application only while a panel is watched.

#include <QObject>
#include <QPointer>

class QWidget;

namespace pelidora {

class OutsideClickWatch : public QObject
{
    Q_OBJECT

public:
    explicit OutsideClickWatch(QObject *parent);
    ~OutsideClickWatch() override;

    // Starts watching presses around panel; nullptr stops and leaves the application alone.
    void watch(QWidget *panel);
    bool isWatching() const { return !m_panel.isNull(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToPanel(const QWidget *widget) const;

    QPointer<QWidget> m_panel;
};

} // namespace pelidora
