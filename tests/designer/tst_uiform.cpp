// A form drawn in Qt Designer and compiled by uic: what setupUi writes is the box's design,
// and the form runs once it is shown.

#include "ui_dateform.h"

#include <pelidora/platform.h>
#include <pelidora/propertybag.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QFile>
#include <QLineEdit>
#include <QXmlStreamReader>
#include <QtTest>

using pelidora::ucvPelidora;

namespace {

// The names of the properties dateform.ui sets on one of its widgets.
QStringList propertiesInForm(QStringView widget)
{
    QFile file(QStringLiteral(UI_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement()) {
        if (xml.name() == u"widget" && xml.attributes().value(QStringLiteral("name")) == widget) {
            QStringList names;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"property")
                    names << xml.attributes().value(QStringLiteral("name")).toString();
                xml.skipCurrentElement();
            }
            return names;
        }
        if (xml.name() != u"ui" && xml.name() != u"widget")
            xml.skipCurrentElement();
    }
    return {};
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
    // The font object, the date as text and the window handle are not designed in Designer.
    QCOMPARE(designable, QStringList({"BackColor", "ForeColor", "Locked", "Appearance", "PelidoraBackColor",
                                      "Enabled", "MousePointer", "date"}));
    const QStringList set = propertiesInForm(u"dtDeparture");
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
    QCOMPARE(box.BackColor(), QColor(255, 255, 204));
    QCOMPARE(box.ForeColor(), QColor(0, 0, 128));
    QVERIFY(box.Locked());
    QCOMPARE(box.Appearance(), ucvPelidora::ThreeD);
    QCOMPARE(box.PelidoraBackColor(), QColor(240, 240, 240));
    QCOMPARE(box.MousePointer(), 2);
    QCOMPARE(box.cursor().shape(), Qt::CrossCursor);
    QCOMPARE(box.date(), QDate(2010, 3, 15));
    // setFont and setEnabled, as uic writes font, Enabled and enabled, act as Font and Enabled.
    QCOMPARE(box.Font().name(), QString("DejaVu Serif"));
    QCOMPARE(box.Font().size(), 11.0);
    QVERIFY(box.Font().bold());
    QCOMPARE(box.findChild<QLineEdit *>("txtYear")->font().pointSize(), 11);
    for (const ucvPelidora *disabled : {&box, ui.dtReturn}) {
        QVERIFY(!disabled->Enabled());
        for (QWidget *part : partsOf(*disabled))
            QVERIFY(!part->isEnabled());
    }

    // A form host saving the box would store the design.
    pelidora::PropertyBag bag;
    box.WriteProperties(bag);
    QCOMPARE(bag.readLong("BackColor", 0), 0xCCFFFF);
    QCOMPARE(bag.readInteger("Appearance", 0), 1);
    QCOMPARE(bag.readLong("DateSet", 0), pelidora::daySerial(QDate(2010, 3, 15)));
    QCOMPARE(bag.readFont("Font", pelidora::StdFont()).name(), QString("DejaVu Serif"));
    QVERIFY(!bag.readBoolean("Enabled", true));
}

void tst_UiForm::formRunsOnceShown()
{
    QWidget form;
    Ui::DateForm ui;
    ui.setupUi(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(ui.dtDeparture->site()->UserMode());
    QVERIFY_THROWS_EXCEPTION(pelidora::RuntimeError, ui.dtDeparture->setAppearance(ucvPelidora::Flat));
    QCOMPARE(ui.dtDeparture->Appearance(), ucvPelidora::ThreeD);
    ui.dtReturn->setEnabled(true);
    for (QWidget *part : partsOf(*ui.dtReturn))
        QVERIFY(part->isEnabled());
}

QTEST_MAIN(tst_UiForm)
#include "tst_uiform.moc"
