// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The site of a box that no form host made (new ucvPelidora(parent), or a null site).

#include <pelidora/site.h>

namespace pelidora {

// Qt calls the box's setters itself (style sheets, setProperty, QUiLoader, language
// bindings), and an exception through Qt ends the program: a refused write is told with
// a warning (pelidora.control) instead of being thrown, and changes nothing.
class OwnSite : public Site
{
public:
    OwnSite(const StdFont &ambientFont, QObject *parent);

    void raiseError(const RuntimeError &error) override;
};

} // namespace pelidora
