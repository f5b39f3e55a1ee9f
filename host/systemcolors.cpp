#include "systemcolors.h"

#include <iterator>

namespace pelidora::host {

namespace {

// By index; 25 has no colour of its own.
const char *const kNames[] = {
    "Scroll Bars",        "Desktop",              "Active Title Bar",        "Inactive Title Bar",
    "Menu",               "Window Background",    "Window Frame",            "Menu Text",
    "Window Text",        "Active Title Bar Text", "Active Border",          "Inactive Border",
    "Application Workspace", "Highlight",         "Highlight Text",          "Button Face",
    "Button Shadow",      "Disabled Text",        "Button Text",             "Inactive Title Bar Text",
    "Button Highlight",   "Button Dark Shadow",   "Button Light Shadow",     "ToolTip Text",
    "ToolTip",            nullptr,                "Hot Tracking",            "Active Title Bar Gradient",
    "Inactive Title Bar Gradient", "Menu Highlight", "Menu Bar",
};

} // namespace

QString systemColorName(quint32 value)
{
    if (!(value & kSystemColorFlag))
        return {};
    const quint32 index = value & ~kSystemColorFlag;
    if (index < std::size(kNames) && kNames[index])
        return QString::fromLatin1(kNames[index]);
    return QStringLiteral("System colour %1").arg(index);
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
