// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

/** @file
 *  The library's translations. English is built in; other languages come as Qt catalogs
 *  (pelidora_<lang>.qm) that the library carries inside itself and also installs under
 *  PREFIX/share/pelidora/translations (Pelidora_TRANSLATIONS_DIR in CMake). */

#include <pelidora/global.h>

#include <QLocale>

namespace pelidora {

/** Installs the library's catalog for the first of locale's interface languages that it
 *  has, in place of the one an earlier call installed, on the running application (call it
 *  after creating the QApplication, from its thread). Open date boxes and panels rename
 *  their parts at once. Returns whether a catalog is installed now: false for English,
 *  which needs none, for a language the library does not ship, or without an application. */
PELIDORA_EXPORT bool installTranslator(const QLocale &locale = QLocale());

} // namespace pelidora
