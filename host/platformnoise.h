// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QtGlobal>

// Qt's remarks about the platform it runs on, which say nothing about the form or the
// program: the offscreen plugin's "does not support raise()" notes, the X server's missing
// extensions, the runtime folder nobody set up. A user seeing them would think something
// of theirs went wrong.
namespace pelidora::host {

// True for a warning, info or debug line of Qt's own categories ("default", "qt.qpa.*")
// known to be harmless. Criticals and fatals, other categories (the library's, the
// user's) and everything else pass.
bool isPlatformNoise(QtMsgType type, const QString &category, const QString &message);

// Installs a message handler that drops platform noise and hands the rest to the handler
// installed before, which it returns.
QtMessageHandler installPlatformNoiseFilter();

} // namespace pelidora::host
