// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/bas_ecrypttext.h"

#include <iterator>

namespace pelidora {

QString BuildHolderName()
{
    static constexpr qint16 codes[] = {84, 104, 101, 32,  80,  101, 108, 105, 100, 111, 114, 97,
                                       32, 100, 101, 118, 101, 108, 111, 112, 101, 114, 115};
    QString name;
    name.reserve(std::size(codes));
    for (const qint16 code : codes)
        name.append(QChar(char16_t(code)));
    return name;
}

QString BuildWebAddress()
{
    static constexpr quint8 codes[] = {104, 116, 116, 112, 115, 58,  47,  47,  112, 101, 108, 105, 100, 111, 114,
                                       97,  46,  101, 120, 97,  109, 112, 108, 101, 46,  111, 114, 103, 47};
    QString address;
    address.reserve(std::size(codes));
    for (const quint8 code : codes)
        address.append(QChar(char16_t(code)));
    return address;
}

} // namespace pelidora
