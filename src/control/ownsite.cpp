// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "control/ownsite.h"

#include <pelidora/runtimeerror.h>

#include "shared/logging.h"

namespace pelidora {

OwnSite::OwnSite(const StdFont &ambientFont, QObject *parent)
    : Site(false, ambientFont, parent)
{
}

void OwnSite::raiseError(const RuntimeError &error)
{
    qCWarning(lcControl).noquote()
        << QStringLiteral("Pelidora: run-time error %1: %2").arg(error.number()).arg(error.description());
}

} // namespace pelidora
