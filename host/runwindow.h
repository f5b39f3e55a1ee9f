// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QMainWindow>

class QGridLayout;
class QLabel;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

class EventLog;
class FormCanvas;
class FormHost;

// A running form: the form on the left, on the right a "Read DateSet" button per date
// box and the event log, and a status line.
class RunWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit RunWindow(QWidget *parent = nullptr);

    // Throws FormFileError; the window then stays as it was.
    void load(const QString &path);

    FormHost *host() const { return m_host; }
    FormCanvas *canvas() const { return m_canvas; }
    EventLog *eventLog() const { return m_log; }

    // The box holding the keyboard focus, if any.
    ucvPelidora *currentBox() const;

    // What a host program reads from the box; logged and shown beside its button.
    QString readDateSet(ucvPelidora *box);

protected:
    bool event(QEvent *event) override;

private:
    void rebuildBoxList();
    // The desktop's colours, the same whether the window is active or not: a panel taking
    // the activation repaints nothing of a form of many boxes.
    void followApplicationPalette();

    FormCanvas *m_canvas;
    FormHost *m_host;
    EventLog *m_log;
    QWidget *m_boxList;
    QGridLayout *m_boxGrid;
    QLabel *m_formStatus;
    QHash<ucvPelidora *, QLabel *> m_readValues;
};

} // namespace pelidora::host
