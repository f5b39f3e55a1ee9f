// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/site.h>

namespace pelidora::designer {

// The site of a box on a form being designed: design mode, the form's font, and the run-time
// error of a property write shown to the user, since Designer's property editor cannot take
// an exception.
class DesignerSite : public Site
{
    Q_OBJECT
public:
    explicit DesignerSite(const StdFont &ambientFont, QObject *parent = nullptr);

    void raiseError(const RuntimeError &error) override;
};

} // namespace pelidora::designer
