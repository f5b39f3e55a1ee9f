// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// A form drawn in Qt Designer and compiled by uic: what setupUi writes is the box's design.
// (That a box made in code runs once shown is tst_dropdown's.)

#include "ui_dateform.h"
#include "ui_trip.h"

#include <pelidora/platform.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QtTest>

using pelidora::ucvPelidora;

class tst_UiForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void designerShowsTheDesignableProperties();
    void setupUiWritesTheDesign();
};

void tst_UiForm::designerShowsTheDesignableProperties()
{
    const QMetaObject &meta = ucvPelidora::staticMetaObject;
    QStringList designable;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        if (meta.property(i).isDesignable())
            designable << QString::fromLatin1(meta.property(i).name());
    }
    // The font object, the date as text and the window handle are not designed in Designer,
    // nor Enabled, for which QWidget's enabled stands; a form that stores it still builds.
    // dateform.ui sets each of these, font and Enabled, as setupUiWritesTheDesign reads them.
    QCOMPARE(designable, QStringList({"BackColor", "ForeColor", "Locked", "Appearance", "PelidoraBackColor",
                                      "MousePointer", "date", "minimumDate", "maximumDate", "markToday"}));
}

void tst_UiForm::setupUiWritesTheDesign()
{
    QWidget form;
    Ui::DateForm ui;
    ui.setupUi(&form);
    ucvPelidora &box = *ui.dtDeparture;
    QVERIFY(!box.site()->UserMode());
    QCOMPARE(std::tuple(box.BackColor(), box.ForeColor(), box.PelidoraBackColor(), box.date()),
             std::tuple(QColor(255, 255, 204), QColor(0, 0, 128), QColor(240, 240, 240), QDate(2010, 3, 15)));
    QCOMPARE(std::pair(box.minimumDate(), box.maximumDate()), std::pair(QDate(2010, 1, 1), QDate(2010, 12, 31)));
    QCOMPARE(std::tuple(box.Locked(), box.Appearance(), box.MousePointer(), box.cursor().shape()),
             std::tuple(true, ucvPelidora::ThreeD, qint16(2), Qt::CrossCursor));
    // setFont and setEnabled, as uic writes font, Enabled and enabled, act as Font and Enabled
    // (what these do to the parts is tst_ucvpelidora_layout's and _persistence's).
    QCOMPARE(std::tuple(box.Font().name(), box.Font().size(), box.Font().bold()),
             std::tuple(QString("DejaVu Serif"), 11.0, true));
    QVERIFY(!box.Enabled() && !ui.dtReturn->Enabled());

    // examples/trip.ui, as Designer saves it today, which tst_python loads with PyQt6's uic.
    QWidget tripForm;
    Ui::TripForm trip;
    trip.setupUi(&tripForm);
    QCOMPARE(std::pair(trip.dtReturn->Appearance(), trip.dtReturn->date()), std::pair(ucvPelidora::ThreeD, QDate(2024, 3, 29)));
}

QTEST_MAIN(tst_UiForm)
#include "tst_uiform.moc"
