// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "systemcolors.h"

#include <QCoreApplication>

#include <iterator>

namespace pelidora::host {

namespace {

// By index; 25 has no colour of its own.
const char *const kNames[] = {
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Scroll Bars"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Desktop"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Active Title Bar"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Inactive Title Bar"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Menu"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Window Background"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Window Frame"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Menu Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Window Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Active Title Bar Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Active Border"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Inactive Border"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Application Workspace"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Highlight"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Highlight Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Button Face"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Button Shadow"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Disabled Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Button Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Inactive Title Bar Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Button Highlight"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Button Dark Shadow"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Button Light Shadow"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "ToolTip Text"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "ToolTip"),
    nullptr,
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Hot Tracking"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Active Title Bar Gradient"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Inactive Title Bar Gradient"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Menu Highlight"),
    QT_TRANSLATE_NOOP("pelidora::host::SystemColors", "Menu Bar"),
};

} // namespace

QString systemColorName(quint32 value)
{
    if (!(value & kSystemColorFlag))
        return {};
    const quint32 index = value & ~kSystemColorFlag;
    if (index < std::size(kNames) && kNames[index])
        return QCoreApplication::translate("pelidora::host::SystemColors", kNames[index]);
    return QCoreApplication::translate("pelidora::host::SystemColors", "System colour %1").arg(index);
}

QList<quint32> systemColors()
{
    QList<quint32> values;
    for (quint32 index = 0; index < std::size(kNames); ++index) {
        if (kNames[index])
            values << (kSystemColorFlag | index);
    }
    return values;
}

} // namespace pelidora::host
