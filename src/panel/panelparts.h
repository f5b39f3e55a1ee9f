// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The month panel's plain parts: its frames, its two lists and its weekday headings.

#include "platform/os/olecolor.h"

#include <QColor>
#include <QComboBox>
#include <QString>
#include <QWidget>

namespace pelidora {

// A plain container of the month panel painted in one colour (fraCombo, fraDay,
// picContainer).
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
    QColor m_back = platform::colorOf(platform::FixedColor::LightGrey);
};

// The month and year lists of the panel: drop-down lists that a date box can lock, with
// a bounded, scrolling list of entries and a visible keyboard focus on every style.
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
    void initStyleOption(QStyleOptionComboBox *option) const override;

private:
    bool m_locked = false;
};

// A weekday heading of the month panel: a name centred on a coloured band.
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
    QColor m_backColor = platform::colorOf(platform::FixedColor::LightGrey);
    bool m_bold = false;
};

} // namespace pelidora
