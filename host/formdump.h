// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonArray>

namespace pelidora::host {

class FormHost;

// Every hosted box as a host program sees it: name, class, position and the nine
// persisted values (colours as 0x00BBGGRR numbers, the font as an object, the date as its
// day serial and its text).
QJsonArray dumpBoxes(const FormHost &host);

} // namespace pelidora::host
