// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// One day cell of the month panel: a background, four border lines and its day number
// (index + 1) centred. Geometry is in twips inside the cell, converted at paint time.

#include "platform/os/olecolor.h"

#include <QColor>
#include <QStaticText>
#include <QWidget>

class QPainter;

namespace pelidora {

class DayCell : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)

public:
    DayCell(int index, QWidget *parent);

    int index() const { return m_index; } // [0, 30]

    QColor backColor() const { return m_back; }
    void setBackColor(const QColor &color);

    // Border line colours: left, top, right, bottom.
    QColor linL() const { return m_linL; }
    QColor linT() const { return m_linT; }
    QColor linR() const { return m_linR; }
    QColor linB() const { return m_linB; }
    void setLinL(const QColor &color);
    void setLinT(const QColor &color);
    void setLinR(const QColor &color);
    void setLinB(const QColor &color);
    // Lower end of the left line, twips inside the cell (315 by design).
    int linLY2() const { return m_linLY2; }
    void setLinLY2(int twips);

    // All of one look at once: left and top lines, right and bottom lines, background.
    void setLook(const QColor &leftTop, const QColor &rightBottom, const QColor &back);

    // Markers over any look: a note's corner mark in noteColor (none when invalid) and
    // today's ring. The number's font and colour stay.
    void setMarks(const QColor &noteColor, bool today);
    QColor noteMark() const { return m_noteMark; }
    bool todayMark() const { return m_todayMark; }

    // Draws the day number again.
    void printNumber() { update(); }

Q_SIGNALS:
    // A left click released over the cell.
    void clicked(int index);
    // The pointer moved over the cell: position inside the cell and on the screen, pixels.
    void pointerMoved(int index, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF posPx,
                      QPointF globalPx);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int m_index;
    QColor m_back = platform::colorOf(platform::FixedColor::LightGrey);
    QColor m_linL{Qt::white};
    QColor m_linT{Qt::white};
    QColor m_linR{Qt::black};
    QColor m_linB{Qt::black};
    int m_linLY2 = 315;
    bool m_pressed = false;
    QColor m_noteMark;
    bool m_todayMark = false;
    void paintMarks(QPainter &p) const;
    QStaticText m_number; // laid out once per font, drawn on every paint
};

} // namespace pelidora
