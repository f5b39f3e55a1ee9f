// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "formdump.h"

#include "formhost.h"

#include <pelidora/platform.h>
#include <pelidora/propertybag.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QJsonObject>

namespace pelidora::host {

namespace {

QJsonObject fontObject(const StdFont &font)
{
    return QJsonObject{
        {QStringLiteral("Name"), font.name()},           {QStringLiteral("Size"), font.size()},
        {QStringLiteral("Bold"), font.bold()},           {QStringLiteral("Italic"), font.italic()},
        {QStringLiteral("Underline"), font.underline()}, {QStringLiteral("Strikethrough"), font.strikeout()},
    };
}

// The serial as stored and the text a program reads. The box's years are 1900 to 2100; a
// serial past them is shown as stored, and the text is what a read gives, taken from a box
// loaded from the same properties: reading DateSet takes the fields over, which puts the day
// into this year and then into the stored range, and reading the shown box would change it.
QJsonObject dateSet(ucvPelidora *box, const PropertyBag &bag, qint32 serial)
{
    if (serial <= daySerial(QDate(2100, 12, 31)))
        return QJsonObject{{QStringLiteral("serial"), serial}, {QStringLiteral("text"), box->DateSet()}};
    ucvPelidora probe;
    probe.setLocale(box->locale());
    probe.ReadProperties(bag);
    return QJsonObject{
        {QStringLiteral("serial"), serial},
        {QStringLiteral("text"),
         QStringLiteral("(the stored serial is past 2100, the box's last year; a read of "
                        "DateSet gives %1)")
             .arg(probe.DateSet())},
    };
}

// The values as the box itself saves them, read back with the defaults it reads with:
// this is what the box holds, including system colours and a date equal to today. Colours
// are the signed 32-bit numbers a form stores, so a dumped value pasted into a form loads.
QJsonObject properties(ucvPelidora *box, const Site *site)
{
    PropertyBag bag;
    box->WriteProperties(bag);
    const qint32 today = daySerial(pelidora::today());
    const StdFont ambient = site ? site->AmbientFont() : StdFont();

    QJsonObject result;
    result.insert(QStringLiteral("BackColor"), bag.readLong(QStringLiteral("BackColor"), 0xFFFFFF));
    result.insert(QStringLiteral("ForeColor"), bag.readLong(QStringLiteral("ForeColor"), 0x000000));
    result.insert(QStringLiteral("Enabled"), bag.readBoolean(QStringLiteral("Enabled"), true));
    result.insert(QStringLiteral("Locked"), bag.readBoolean(QStringLiteral("Locked"), false));
    result.insert(QStringLiteral("Appearance"), bag.readInteger(QStringLiteral("Appearance"), 0));
    result.insert(QStringLiteral("DateSet"), dateSet(box, bag, bag.readLong(QStringLiteral("DateSet"), today)));
    result.insert(QStringLiteral("Font"), fontObject(bag.readFont(QStringLiteral("Font"), ambient)));
    result.insert(QStringLiteral("MousePointer"), bag.readInteger(QStringLiteral("MousePointer"), 0));
    result.insert(QStringLiteral("PelidoraBackColor"), bag.readLong(QStringLiteral("PelidoraBackColor"), 0xC0C0C0));
    result.insert(QStringLiteral("minimumDate"), daySerial(box->minimumDate()));
    result.insert(QStringLiteral("maximumDate"), daySerial(box->maximumDate()));
    return result;
}

} // namespace

QJsonArray dumpBoxes(const FormHost &host)
{
    QJsonArray result;
    for (ucvPelidora *box : host.boxes()) {
        result.append(QJsonObject{
            {QStringLiteral("name"), box->objectName()},
            {QStringLiteral("class"), QLatin1String(FormHost::kBoxClass)},
            {QStringLiteral("left"), box->x()},
            {QStringLiteral("top"), box->y()},
            {QStringLiteral("properties"), properties(box, host.siteOf(box))},
        });
    }
    return result;
}

} // namespace pelidora::host
