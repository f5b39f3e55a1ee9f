// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Form files written on the spot: one control's entry and a whole form around entries.

#include <QByteArray>
#include <QPoint>
#include <QSize>

namespace pelidora::test {

// A control's entry; properties is the inside of its JSON object.
inline QByteArray controlJson(const QByteArray &className, const QByteArray &name,
                              const QByteArray &properties = {}, QPoint at = {})
{
    return R"({"class":")" + className + R"(","name":")" + name + R"(","left":)" + QByteArray::number(at.x())
        + R"(,"top":)" + QByteArray::number(at.y()) + R"(,"properties":{)" + properties + "}}";
}

// A form around controls (entries joined by commas); extra is more of the form's keys,
// each followed by a comma.
inline QByteArray formJson(const QByteArray &controls, const QByteArray &extra = {}, QSize size = {300, 100})
{
    return R"({"format":"pelidora-form","version":1,"width":)" + QByteArray::number(size.width())
        + R"(,"height":)" + QByteArray::number(size.height()) + "," + extra + R"("controls":[)" + controls + "]}";
}

} // namespace pelidora::test
