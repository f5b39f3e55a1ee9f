#pragma once

// A plain container of the month panel painted in one colour (fraCombo, fraDay,
// picContainer).

#include <QColor>
#include <QWidget>

namespace pelidora {

class PanelFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)

public:
    explicit PanelFrame(QWidget *parent);

    QColor backColor() const { return m_back; }
    void setBackColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_back{192, 192, 192};
};

} // namespace pelidora
