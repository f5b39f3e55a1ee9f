#pragma once

#include <QPointer>
#include <QWidget>

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

class FormHost;

// A transparent sheet over the designed form that takes the pointer and the keyboard in
// place of the date boxes: a click selects a box, a drag moves it (on the form's grid
// unless Alt is held), the arrow keys nudge it, Delete removes it.
class DesignOverlay : public QWidget
{
    Q_OBJECT
public:
    DesignOverlay(FormHost *host, QWidget *canvas);

    ucvPelidora *selected() const;
    void select(ucvPelidora *box);

    ucvPelidora *boxAt(const QPoint &pos) const;

Q_SIGNALS:
    void selectionChanged(pelidora::ucvPelidora *box);
    void deleteRequested(pelidora::ucvPelidora *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPoint placed(const QPoint &wanted, const QSize &size, bool snap) const;
    void moveSelected(const QPoint &to);

    FormHost *m_host;
    QPointer<ucvPelidora> m_selected;
    bool m_dragging = false;
    QPoint m_grabOffset;  // pointer position inside the dragged box
    QPoint m_pressPos;
};

} // namespace pelidora::host
