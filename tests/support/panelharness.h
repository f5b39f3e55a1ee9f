// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// A month panel opened on a date by its date box's own opening sequence, for the panel's
// tests.

#include "control/ucvpelidora_p.h"
#include "panel/daycell.h"
#include "panel/framepicture.h"
#include "panel/monthpanel.h"
#include "panel/panelparts.h"
#include "shared/mpelidora.h"
#include "support/boxhelpers.h"

#include <QCursor>
#include <QTest>

namespace pelidora::test {

inline const QColor kLightGrey = platform::colorOf(platform::FixedColor::LightGrey);

// A box on a shown form whose host takes modeless panels, with its panel loaded; the focus
// watch stays off, so nothing but the test closes the panel.
struct PanelBox {
    FakeWindowSystem ws;
    BoxForm form;
    ucvPelidoraPrivate &d = *ucvPelidoraPrivate::get(form.box);
    MonthPanel &w = (d.loadPanel(), *d.m_Panel);

    // The offscreen platform sends pointer events to the first window under the pointer,
    // whatever is on top: the form ends where the panel begins.
    PanelBox() { form.widget.resize(form.box->geometry().right() + 1, form.box->geometry().bottom() + 1); }

    // Holds the date and shows the panel on it, the pointer resting at pointer.
    void open(int year, int month, int day, QPoint pointer = {-1000, -1000})
    {
        form.box->setDate(QDate(year, month, day));
        w.setCTRLH(form.box->height() * module().TwipsY); // below the strip, as the drop button opens it
        QCursor::setPos(pointer); // one left over the grid would enter a cell on showing
        d.ShowPanel();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
};

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
