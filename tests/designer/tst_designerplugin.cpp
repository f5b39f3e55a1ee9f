// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The Qt Designer plugin, loaded from the build tree as Designer loads it.

#include <pelidora/platform.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QBuffer>
#include <QMetaClassInfo>
#include <QPluginLoader>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QtTest>

using pelidora::ucvPelidora;

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void collectionOffersTheDateBox();
    void domXmlDescribesANewBox();
    void createdBoxIsAStandaloneBox();
    void uiLoaderBuildsAFormWithoutThrowing();

private:
    QPluginLoader m_loader{QStringLiteral(PLUGIN_FILE)};
    QDesignerCustomWidgetInterface *m_widget = nullptr;
};

// The IID Designer looks for is checked on the installed plugin (tests/consumer).
void tst_DesignerPlugin::initTestCase()
{
    QObject *instance = m_loader.instance();
    QVERIFY2(instance, qPrintable(m_loader.errorString()));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(instance);
    QVERIFY(collection);
    const QList<QDesignerCustomWidgetInterface *> widgets = collection->customWidgets();
    QCOMPARE(widgets.size(), 1);
    m_widget = widgets.first();
}

void tst_DesignerPlugin::collectionOffersTheDateBox()
{
    QCOMPARE(QStringList({m_widget->name(), m_widget->group(), m_widget->includeFile()}),
             QStringList({"pelidora::ucvPelidora", "Pelidora", "<pelidora/ucvPelidora.h>"}));
    QVERIFY(!m_widget->isContainer() && !m_widget->toolTip().isEmpty());
    QVERIFY(m_widget->whatsThis().contains("<b>DateSet</b>: Returns/sets the date selected from user."));
    QCOMPARE(m_widget->icon().availableSizes(), (QList<QSize>{{16, 15}, {32, 30}}));
}

void tst_DesignerPlugin::domXmlDescribesANewBox()
{
    QXmlStreamReader xml(m_widget->domXml());
    QStringList given; // the new box's name, class and geometry
    QMap<QString, QString> tooltips;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"ui" || xml.name() == u"widget")
            given << attributes.value(xml.name() == u"ui" ? "displayname" : "class").toString();
        else if (QStringList({"x", "y", "width", "height"}).contains(xml.name()))
            given << xml.readElementText();
        else if (xml.name() == u"tooltip")
            tooltips.insert(attributes.value("name").toString(), xml.readElementText());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(given, QStringList({"ucvPelidora", m_widget->name(), "0", "0", "136", "19"}));
    // The property editor's tooltips: the help strings of what it shows.
    QCOMPARE(tooltips.keys(), QStringList({"Appearance", "BackColor", "ForeColor", "Locked", "MousePointer",
                                           "PelidoraBackColor", "markToday", "maximumDate", "minimumDate"}));
    const QMetaObject &meta = ucvPelidora::staticMetaObject;
    for (auto it = tooltips.cbegin(); it != tooltips.cend(); ++it)
        QCOMPARE(it.value(), QString(meta.classInfo(meta.indexOfClassInfo(qPrintable("Help:" + it.key()))).value()));
}

// Outside a form being designed (no Designer core here) the box is a standalone one, in
// design mode until shown as any box is (tst_dropdown).
void tst_DesignerPlugin::createdBoxIsAStandaloneBox()
{
    QWidget form;
    auto *box = qobject_cast<ucvPelidora *>(m_widget->createWidget(&form));
    QVERIFY(box && box->parent() == &form);
    QCOMPARE(std::pair(box->date(), box->site()->UserMode()), std::pair(pelidora::today(), false));
}

// QUiLoader (Designer's preview, language bindings) makes the boxes through the plugin and
// writes what the form stores with setProperty, Enabled included: a value the box refuses
// is told with a warning, and the rest of the form loads.
void tst_DesignerPlugin::uiLoaderBuildsAFormWithoutThrowing()
{
    QFile file(QStringLiteral(UI_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // dtReturn's far edge is past the int range, as Qt keeps it: its geometry must not overflow.
    QByteArray ui = file.readAll().replace("<number>2</number>", "<number>70000</number>")
                        .replace("<x>16</x>\n     <y>64</y>\n     <width>136</width>",
                                 "<x>2147483600</x>\n     <y>64</y>\n     <width>2147483647</width>");
    QBuffer buffer(&ui);
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(QStringLiteral(PLUGIN_FILE)).absolutePath());
    QTest::ignoreMessage(QtWarningMsg, "Pelidora: MousePointer not set: run-time error 6: Overflow");
    const std::unique_ptr<QWidget> form(loader.load(&buffer));
    QVERIFY2(form, qPrintable(loader.errorString()));
    const auto *box = form->findChild<ucvPelidora *>(QStringLiteral("dtDeparture"));
    QVERIFY(box);
    QCOMPARE(std::tuple(box->Appearance(), box->MousePointer(), box->Enabled(), box->BackColor()),
             std::tuple(ucvPelidora::ThreeD, short(0), false, QColor(255, 255, 204)));
    form->show();
    const auto *far = form->findChild<ucvPelidora *>(QStringLiteral("dtReturn"));
    QCOMPARE(qint64(far->geometry().right()) - far->geometry().left() + 1, far->sizeHint().width());
}

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"
