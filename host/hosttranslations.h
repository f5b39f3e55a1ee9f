// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The host's translations: the library's catalog, the host's own and Qt's.

#include <QLocale>

namespace pelidora::host {

// Installs the catalogs for the first interface language of locale that the library
// translates, in place of those an earlier call installed: the library's, the host's
// (built into it) and, when the system has it, Qt's own. Returns false, and leaves none
// installed, where English is shown.
bool installHostTranslations(const QLocale &locale = QLocale());

} // namespace pelidora::host
