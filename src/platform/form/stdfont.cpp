// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/stdfont.h>

#include <QGuiApplication>

#include <cmath>

namespace pelidora {

namespace {

// A font given in pixels gets its point size, so Size always reads in points.
QFont withPointSize(QFont font)
{
    if (font.pointSizeF() <= 0 && font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return font;
}

} // namespace

StdFont::StdFont()
    : d(std::make_shared<QFont>(withPointSize(QGuiApplication::font())))
{
}

StdFont::StdFont(const QFont &font)
    : d(std::make_shared<QFont>(withPointSize(font)))
{
}

void StdFont::setFont(const QFont &font)
{
    *d = withPointSize(font);
}

double StdFont::size() const
{
    return d->pointSizeF();
}

void StdFont::setSize(double points)
{
    if (points > 0 && std::isfinite(points))
        d->setPointSizeF(points);
}

bool StdFont::operator==(const StdFont &other) const
{
    if (d == other.d)
        return true;
    return name() == other.name() && fixedPoint(size()) == fixedPoint(other.size()) && bold() == other.bold()
        && italic() == other.italic() && underline() == other.underline() && strikeout() == other.strikeout();
}

qint64 fixedPoint(double points)
{
    return std::llround(points * 10000.0);
}

} // namespace pelidora
