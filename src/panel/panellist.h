#pragma once

// The month and year lists of the panel: drop-down lists that a date box can lock.

#include <QComboBox>

namespace pelidora {

class PanelList : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(bool Locked READ isLocked WRITE setLocked)

public:
    explicit PanelList(QWidget *parent);

    // A locked list keeps its selection against the user: no popup, no wheel, no keys
    // that select. Code can still select.
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked) { m_locked = locked; }

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_locked = false;
};

} // namespace pelidora
