// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "designersite.h"

#include <pelidora/platform.h>
#include <pelidora/runtimeerror.h>

namespace pelidora::designer {

DesignerSite::DesignerSite(const StdFont &ambientFont, QObject *parent)
    : Site(false, ambientFont, parent)
{
    // The property editor writes through Qt's meta-object, where raiseError is not called.
    connect(this, &Site::writeRefused, this, [this](const QString &, int number, const QString &description) {
        raiseError(RuntimeError(number, description));
    });
}

void DesignerSite::raiseError(const RuntimeError &error)
{
    showMessage(tr("Not set. Run-time error %1: %2").arg(error.number()).arg(error.description()),
                MessageSink::Icon::Warning);
}

} // namespace pelidora::designer
