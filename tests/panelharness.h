#pragma once

// Opens a month panel on a date the way its date box does, for the panel's tests.

#include "panel/daycell.h"
#include "panel/framepicture.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"
#include "shared/mpelidora.h"

#include <QCursor>
#include <QLineEdit>
#include <QTest>

namespace pelidora::test {

inline const QColor kLightGrey(192, 192, 192);

// Selects the month and sinks the day; shows the panel (flat frame) when asked.
inline void openPanel(MonthPanel &w, int year, int month, int day, bool show = true)
{
    w.Pelidora_Form_Load();
    w.lblDay()->setText(QString::number(day));
    w.setMeseIndex(month - 1);
    module().FlagSkipYearClick = true;
    w.setAnnoIndex(year - 1900);
    module().FlagSkipYearClick = false;
    w.setDayOverIndex(qint16(day - 1));
    w.setButtonDay(qint16(day));
    for (qint16 i = 0; i < 31; ++i) {
        w.setbDayOver(i, false);
        w.btnDay(i)->setLook(Qt::white, Qt::black, kLightGrey);
        w.PrintBoxDay(i);
    }
    w.DayMouseOver(w.DayOverIndex());
    w.picContainer()->show();
    w.setFlagShowPelidora(true);
    w.cboMese_Click();
    w.resize(w.pic1D()->size());
    w.placeContainer(w.pic1D(), 90, 90);
    w.pic3D()->hide();
    w.pic1D()->show();
    if (show) {
        // A pointer left over the grid by an earlier test would enter a cell on showing.
        QCursor::setPos(-1000, -1000);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
}

inline int shownCells(const MonthPanel &w)
{
    int n = 0;
    for (int i = 0; i < 31; ++i)
        n += w.btnDay(i)->isHidden() ? 0 : 1;
    return n;
}

inline bool isSunken(const DayCell *cell)
{
    return cell->linL() == QColor(Qt::black) && cell->linT() == QColor(Qt::black)
        && cell->linR() == QColor(Qt::white) && cell->linB() == QColor(Qt::white);
}

inline bool isRaised(const DayCell *cell)
{
    return cell->linL() == QColor(Qt::white) && cell->linT() == QColor(Qt::white)
        && cell->linR() == QColor(Qt::black) && cell->linB() == QColor(Qt::black)
        && cell->backColor() == kLightGrey;
}

} // namespace pelidora::test
