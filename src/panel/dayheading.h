#pragma once

// A weekday heading of the month panel: a name centred on a coloured band.

#include <QColor>
#include <QString>
#include <QWidget>

namespace pelidora {

class DayHeading : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text)

public:
    explicit DayHeading(QWidget *parent);

    QString text() const { return m_text; }
    QColor textColor() const { return m_textColor; }
    QColor backColor() const { return m_backColor; }
    bool bold() const { return m_bold; }
    // Repaints only when something changed.
    void setLook(const QString &text, const QColor &textColor, const QColor &backColor, bool bold);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_textColor{Qt::black};
    QColor m_backColor{192, 192, 192};
    bool m_bold = false;
};

} // namespace pelidora
