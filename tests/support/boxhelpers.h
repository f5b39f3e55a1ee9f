// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What the date box and drop-down tests share: the pinned today, reaching a box's fields,
// reading its date as a serial, and a shown form holding one box.

#include <pelidora/propertybag.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include "platform/core/dayserial.h"
#include "platform/os/localedates.h"
#include "support/testsupport.h"

#include <QLineEdit>
#include <QTest>

#include <functional>

namespace pelidora::test {

// Today in these tests: 23 June 2025, a day above 12, so day and month cannot be mixed up.
inline constexpr int kTodayYear = 2025, kTodayMonth = 6, kTodayDay = 23;

// Something done to a box, as a user or a program would: a column of date box tables.
using BoxAction = std::function<void(ucvPelidora &)>;

inline int serialOf(int year, int month, int day) { return core::serialFromCivil({year, month, day}); }

// A constituent control by its name: txtDay, slash1, imgCombo, TimerHide, ...
template<typename T = QWidget>
T *part(const ucvPelidora &box, const char *name) { return box.findChild<T *>(QLatin1String(name)); }
inline QLineEdit *field(const ucvPelidora &box, const char *name) { return part<QLineEdit>(box, name); }

// The three field texts, first to last.
inline QStringList fieldsOf(const ucvPelidora &box)
{
    return {field(box, "txtDay")->text(), field(box, "txtMonth")->text(), field(box, "txtYear")->text()};
}

inline void setFields(ucvPelidora &box, const QStringList &texts)
{
    field(box, "txtDay")->setText(texts.value(0));
    field(box, "txtMonth")->setText(texts.value(1));
    field(box, "txtYear")->setText(texts.value(2));
}

// DateSet read as a serial: -1 for exactly "-1", -2 for a text that names no date.
inline int dateSetSerial(ucvPelidora &box)
{
    const QString text = box.DateSet();
    if (text == QLatin1String("-1"))
        return -1;
    const std::optional<int> serial = platform::dateSerial(text);
    return serial && *serial >= 2 ? *serial : -2;
}

inline bool showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

inline constexpr char kThunderClass[] = "PelidoraThunderForm"; // a host that takes modeless panels

// A shown, active form holding one date box; its window class tells the box how to show
// the panel. With a stored bag the box is hosted in run mode and reads it.
struct BoxForm {
    QWidget widget;
    Site site{true};
    ucvPelidora *box = nullptr;

    explicit BoxForm(const QString &windowClass = kThunderClass, const PropertyBag *stored = nullptr,
                     QPoint boxAt = {8, 8})
    {
        if (!windowClass.isEmpty())
            widget.setProperty("windowClass", windowClass);
        widget.resize(400, 120);
        box = stored ? new ucvPelidora(&site, &widget) : new ucvPelidora(&widget);
        if (stored)
            box->ReadProperties(*stored);
        box->move(boxAt);
        QVERIFY(showActive(widget));
    }
};

} // namespace pelidora::test

Q_DECLARE_METATYPE(pelidora::test::BoxAction)
