// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Module bas_EcryptText: the holder's name and the web caption, kept as character codes
// so that neither shows up as a plain string in the library file.

#include <QString>

namespace pelidora {

// The rights holder's name.
QString BuildHolderName();
// The caption of the web link; the same text as the address it opens.
QString BuildWebAddress();

} // namespace pelidora
