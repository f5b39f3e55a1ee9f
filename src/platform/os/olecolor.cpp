// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/os/olecolor.h"

#include "platform/os/windowsystem.h"

#include <QGuiApplication>
#include <QPalette>

namespace pelidora::platform {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop's system colour indices [0, 30] as palette roles.
constexpr SystemRole kSystemRoles[] = {
    {QPalette::Active, QPalette::Button},            //  0 scroll bar
    {QPalette::Active, QPalette::Window},            //  1 desktop
    {QPalette::Active, QPalette::Highlight},         //  2 active caption
    {QPalette::Inactive, QPalette::Highlight},       //  3 inactive caption
    {QPalette::Active, QPalette::Window},            //  4 menu
    {QPalette::Active, QPalette::Base},              //  5 window
    {QPalette::Active, QPalette::Shadow},            //  6 window frame
    {QPalette::Active, QPalette::WindowText},        //  7 menu text
    {QPalette::Active, QPalette::Text},              //  8 window text
    {QPalette::Active, QPalette::HighlightedText},   //  9 caption text
    {QPalette::Active, QPalette::Window},            // 10 active border
    {QPalette::Active, QPalette::Window},            // 11 inactive border
    {QPalette::Active, QPalette::Dark},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlight text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 tooltip background
    {QPalette::Active, QPalette::Window},            // 25 unused
    {QPalette::Active, QPalette::Link},              // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},         // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},       // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},         // 29 menu highlight
    {QPalette::Active, QPalette::Window},            // 30 menu bar
};

} // namespace

QColor colorFromOle(quint32 ole)
{
    if (!isSystemColor(ole))
        return colorOfFixed(ole);
    const quint32 index = ole & ~kSystemColorFlag;
    // The caption colours are the window system's, so a test's fake answers them too.
    if (index == WindowSystem::ColorActiveCaption || index == WindowSystem::ColorCaptionText)
        return windowSystem().systemColor(int(index));
    const QPalette palette = QGuiApplication::palette();
    if (index >= std::size(kSystemRoles))
        return palette.color(QPalette::Active, QPalette::Window);
    const SystemRole &r = kSystemRoles[index];
    return palette.color(r.group, r.role);
}

quint32 oleFromColor(const QColor &color)
{
    if (!color.isValid())
        return 0;
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

quint32 oleKeeping(quint32 stored, const QColor &color)
{
    const QRgb shown = colorFromOle(stored).rgb();
    return color.isValid()
            && qRgb(qRed(shown), qGreen(shown), qBlue(shown)) == qRgb(color.red(), color.green(), color.blue())
        ? stored
        : oleFromColor(color);
}

} // namespace pelidora::platform
