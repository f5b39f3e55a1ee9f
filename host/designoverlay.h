// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointer>
#include <QWidget>

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

class FormHost;

// A transparent sheet over the designed form that takes the pointer and the keyboard in
// place of the date boxes: a click selects a box (on no box, the form), a drag moves it
// (on the form's grid unless Alt is held), the arrow keys nudge it, Delete removes it.
// The selected box is framed, with its name on a tab; the frame follows the box when it
// moves or changes size.
class DesignOverlay : public QWidget
{
    Q_OBJECT
public:
    DesignOverlay(FormHost *host, QWidget *canvas);

    ucvPelidora *selected() const;
    void select(ucvPelidora *box);

    ucvPelidora *boxAt(const QPoint &pos) const;

    // The frame drawn around the selected box; empty when none is selected.
    QRect selectionFrame() const { return m_frame; }
    // What the selection of a box at geometry would cover: its frame and its name tab.
    QRect markedArea(const QRect &geometry, const QString &name) const;

Q_SIGNALS:
    void selectionChanged(pelidora::ucvPelidora *box);
    void deleteRequested(pelidora::ucvPelidora *box);
    // After a drag or a nudge (an arrow key) has moved the box.
    void boxMoved(pelidora::ucvPelidora *box, const QPoint &from, const QPoint &to, bool nudge);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    static QRect frameAround(const QRect &geometry);
    QRect tabOf(const QRect &frame, const QString &name) const;
    void followSelected();
    QPoint placed(const QPoint &wanted, const QSize &size, bool snap) const;
    void moveSelected(const QPoint &to);

    FormHost *m_host;
    QPointer<ucvPelidora> m_selected;
    QObject *m_watched = nullptr; // the selected box, compared only: it may be in its destructor
    QRect m_frame;
    bool m_dragging = false;
    QPoint m_grabOffset; // pointer position inside the dragged box
    QPoint m_pressPos;
    QPoint m_dragFrom; // where the dragged box stood
};

} // namespace pelidora::host
