// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "dateboxinterface.h"

#include "designersite.h"

#include <pelidora/stdfont.h>
#include <pelidora/ucvPelidora.h>

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

#include <QIcon>
#include <QMetaClassInfo>

namespace pelidora::designer {

namespace {

const QMetaObject &boxMeta()
{
    return ucvPelidora::staticMetaObject;
}

constexpr QLatin1StringView kHelpPrefix("Help:");

// The help strings the class carries, by member name, in the order of the interface.
QList<std::pair<QString, QString>> helpStrings()
{
    QList<std::pair<QString, QString>> help;
    const QMetaObject &meta = boxMeta();
    for (int i = meta.classInfoOffset(); i < meta.classInfoCount(); ++i) {
        const QString name = QString::fromLatin1(meta.classInfo(i).name());
        if (name.startsWith(kHelpPrefix))
            help.append({name.mid(kHelpPrefix.size()), QString::fromUtf8(meta.classInfo(i).value())});
    }
    return help;
}

bool isDesignable(const QString &member)
{
    const int index = boxMeta().indexOfProperty(member.toLatin1().constData());
    return index >= 0 && boxMeta().property(index).isDesignable();
}

} // namespace

DateBoxInterface::DateBoxInterface(QObject *parent)
    : QObject(parent)
{
}

QString DateBoxInterface::name() const
{
    return QString::fromLatin1(boxMeta().className());
}

QString DateBoxInterface::group() const
{
    return QStringLiteral("Pelidora");
}

QString DateBoxInterface::toolTip() const
{
    return QStringLiteral("Date box: day, month and year fields with a drop-down month panel");
}

QString DateBoxInterface::whatsThis() const
{
    QString text = QStringLiteral("<p><b>ucvPelidora</b>: three entry fields for the day, the month and "
                                  "the four-digit year, in the order of the locale, and a drop button "
                                  "that opens a month panel. Its interface:</p><ul>");
    for (const auto &[member, help] : helpStrings())
        text += QStringLiteral("<li><b>%1</b>: %2</li>").arg(member, help.toHtmlEscaped());
    return text + QStringLiteral("</ul>");
}

QString DateBoxInterface::includeFile() const
{
    return QStringLiteral("<pelidora/ucvPelidora.h>");
}

QIcon DateBoxInterface::icon() const
{
    // The library's toolbox picture, at 1x and 2x.
    QIcon icon;
    icon.addFile(QStringLiteral(":/control/toolbox.png"));
    icon.addFile(QStringLiteral(":/control/toolbox@2x.png"));
    return icon;
}

bool DateBoxInterface::isContainer() const
{
    return false;
}

QString DateBoxInterface::domXml() const
{
    // The property editor's tooltips are the class's help strings.
    QString tooltips;
    for (const auto &[member, help] : helpStrings()) {
        if (isDesignable(member))
            tooltips += QStringLiteral("    <tooltip name=\"%1\">%2</tooltip>\n").arg(member, help.toHtmlEscaped());
    }
    // 2040 x 285 twips, the size of a box before its font is applied, at 15 twips a pixel;
    // the box then takes the size its font gives it. Every other property starts as a new
    // box has it (InitProperties), so a form stores only what is changed.
    return QStringLiteral(R"(<ui language="c++" displayname="ucvPelidora">
 <widget class="%1" name="ucvPelidora">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>136</width><height>19</height></rect>
  </property>
 </widget>
 <customwidgets>
  <customwidget>
   <class>%1</class>
   <propertyspecifications>
%2   </propertyspecifications>
  </customwidget>
 </customwidgets>
</ui>
)")
        .arg(name(), tooltips);
}

QWidget *DateBoxInterface::createWidget(QWidget *parent)
{
    if (!m_core || !QDesignerFormWindowInterface::findFormWindow(parent))
        return new ucvPelidora(parent);
    auto *site = new DesignerSite(StdFont(parent->font()));
    auto *box = new ucvPelidora(site, parent);
    site->setParent(box);
    box->InitProperties();
    return box;
}

bool DateBoxInterface::isInitialized() const
{
    return m_initialized;
}

void DateBoxInterface::initialize(QDesignerFormEditorInterface *core)
{
    m_core = core;
    m_initialized = true;
}

} // namespace pelidora::designer
