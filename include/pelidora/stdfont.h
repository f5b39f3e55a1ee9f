// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>

#include <QFont>
#include <QMetaType>

#include <memory>

namespace pelidora {

/** A font object shared by reference: copies of a StdFont are the same object, so a change
 *  through one (setSize) is seen through all of them, the way a host's font object behaves.
 *  clone() makes an independent object. */
class PELIDORA_EXPORT StdFont
{
public:
    StdFont();                           /**< a new object holding the application font */
    explicit StdFont(const QFont &font); /**< a new object holding a copy of font */

    QFont font() const { return *d; } /**< a copy of the font held now */
    void setFont(const QFont &font);  /**< in place */

    QString name() const { return d->family(); } /**< the family */
    double size() const;                         /**< points */
    void setSize(double points);                 /**< in place */
    /** @name Attributes */
    /** @{ */
    bool bold() const { return d->bold(); } /**< the style of the font held now */
    bool italic() const { return d->italic(); }
    bool underline() const { return d->underline(); }
    bool strikeout() const { return d->strikeOut(); }
    /** @} */

    StdFont clone() const { return StdFont(*d); }                          /**< a new, independent object */
    bool isSameObject(const StdFont &other) const { return d == other.d; } /**< one object, not equal ones */

    /** Same attributes (name, size to 1/10000 point, bold, italic, underline, strikeout). */
    bool operator==(const StdFont &other) const;

private:
    std::shared_ptr<QFont> d;
};

/** Point sizes compare as fixed-point values with four decimals, so 12.0 is not above 12
 *  and 12.01 is. */
PELIDORA_EXPORT qint64 fixedPoint(double points);

} // namespace pelidora

Q_DECLARE_METATYPE(pelidora::StdFont)
