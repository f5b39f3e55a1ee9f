// A form drawn in Qt Designer and compiled by uic: what setupUi writes is the box's design,
// and the form runs once it is shown.

#include "ui_dateform.h"

#include <pelidora/platform.h>
#include <pelidora/propertybag.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

using pelidora::ucvPelidora;

namespace {

// The names of the properties dateform.ui sets on one of its widgets.
QStringList propertiesInForm(const QString &widget)
{
    QFile file(QStringLiteral(UI_FILE));
    const QString ui = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    QStringList names;
    for (const auto &match : QRegularExpression(R"re(<property name="(\w+)")re")
                                 .globalMatch(ui.section("name=\"" + widget + "\">", 1).section("</widget>", 0, 0)))
        names << match.captured(1);
    return names;
}

QList<QWidget *> partsOf(const ucvPelidora &box)
{
    return {box.findChild<QWidget *>("txtDay"), box.findChild<QWidget *>("txtMonth"),
            box.findChild<QWidget *>("txtYear"), box.findChild<QWidget *>("imgCombo")};
}

} // namespace

class tst_UiForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formSetsEveryDesignableProperty();
    void setupUiWritesTheDesign();
    void formRunsOnceShown();
};

void tst_UiForm::formSetsEveryDesignableProperty()
{
    const QMetaObject &meta = ucvPelidora::staticMetaObject;
    QStringList designable;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        if (meta.property(i).isDesignable())
            designable << QString::fromLatin1(meta.property(i).name());
    }
    // The font object, the date as text and the window handle are not designed in Designer,
    // nor Enabled, for which QWidget's enabled stands; a form that stores it still builds.
    QCOMPARE(designable, QStringList({"BackColor", "ForeColor", "Locked", "Appearance", "PelidoraBackColor",
                                      "MousePointer", "date"}));
    const QStringList set = propertiesInForm("dtDeparture");
    QVERIFY(set.contains("Enabled"));
    for (const QString &name : designable + QStringList{"font"})
        QVERIFY2(set.contains(name), qPrintable(name));
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
    QCOMPARE(std::tuple(box.Locked(), box.Appearance(), box.MousePointer(), box.cursor().shape()),
             std::tuple(true, ucvPelidora::ThreeD, qint16(2), Qt::CrossCursor));
    // setFont and setEnabled, as uic writes font, Enabled and enabled, act as Font and Enabled.
    QCOMPARE(std::tuple(box.Font().name(), box.Font().size(), box.Font().bold()),
             std::tuple(QString("DejaVu Serif"), 11.0, true));
    QCOMPARE(box.findChild<QLineEdit *>("txtYear")->font().pointSize(), 11);
    for (const ucvPelidora *disabled : {&box, ui.dtReturn}) {
        QVERIFY(!disabled->Enabled());
        for (QWidget *part : partsOf(*disabled))
            QVERIFY(!part->isEnabled());
    }

    // A form host saving the box would store the design.
    pelidora::PropertyBag bag;
    box.WriteProperties(bag);
    QCOMPARE(std::tuple(bag.readLong("BackColor", 0), bag.readInteger("Appearance", 0), bag.readLong("DateSet", 0),
                        bag.readFont("Font", pelidora::StdFont()).name(), bag.readBoolean("Enabled", true)),
             std::tuple(0xCCFFFF, qint16(1), pelidora::daySerial(QDate(2010, 3, 15)), QString("DejaVu Serif"), false));
}

void tst_UiForm::formRunsOnceShown()
{
    QWidget form;
    Ui::DateForm ui;
    ui.setupUi(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(ui.dtDeparture->site()->UserMode());
    ui.dtReturn->setEnabled(true);
    for (QWidget *part : partsOf(*ui.dtReturn))
        QVERIFY(part->isEnabled());
}

QTEST_MAIN(tst_UiForm)
#include "tst_uiform.moc"
